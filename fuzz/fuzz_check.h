#pragma once
// The invariants of the fuzz targets: a broken one names its target and what broke, then
// aborts, which libFuzzer reports as a crash and keeps the input for.

#include <cstdio>
#include <cstdlib>

namespace orv::fuzz {

inline void Require(bool condition, const char* target, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s: %s\n", target, what);
        std::abort();
    }
}

} // namespace orv::fuzz
