#pragma once
// Branch groups that the script decides by itself: `switch` takes the first branch whose
// condition holds, `cjmp` the branch with a given number. Both return where the script
// continues; the branch lines themselves are skipped over when the running branch reaches
// the next of them, so each branch goes on after the group.

#include <cstdint>
#include <functional>
#include <string_view>

namespace orv {

using ConditionTest = std::function<bool(std::string_view)>;

// `switch name` (name may be empty) from the line start `from`: the line after the first
// branch line taken, or after the closing line when none is taken (kNotFound when the
// group is never closed).
int32_t SwitchTarget(std::string_view script, int32_t from, std::string_view name,
                     const ConditionTest& condition);

// `cjmp n` from the line start `from`: the line after branch line n (from 0); the closing
// line when there is no such branch; the group's first branch line for a negative n, which
// then skips the whole group.
int32_t ComputedJumpTarget(std::string_view script, int32_t from, int32_t n);

} // namespace orv
