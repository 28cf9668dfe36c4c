// The panic picture is a bitmap file the player can put beside the game: any bytes must be
// read or refused without reading past the file or writing outside the target.
#include "gfx/bmp_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static orv::Surface target(orv::kScreenWidth, orv::kScreenHeight);
    orv::DecodeBmp(orv::ByteSpan(data, size), target);
    return 0;
}
