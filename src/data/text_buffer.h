#pragma once
// A fixed buffer for a text entry read as NUL-terminated lines: the running script or a
// definition script. Allocated once at start-up and reused for every load.

#include "base/zeroed_array.h"

#include <cstdint>
#include <string_view>

namespace orv {

struct TextBuffer {
    static constexpr int32_t Capacity = 262144;

    TextBuffer() : Bytes(AllocateZeroed<uint8_t>(Capacity + 1)) {}

    // Capacity bytes plus one NUL past the end, so that a scan for a line's end always stops
    // inside the allocation even when the data's last line lacks its NUL.
    ZeroedArray<uint8_t> Bytes;
    int32_t Size = 0;    // bytes of the last entry read
    int32_t ReadPos = 0; // read position of the buffer's reader

    const char* Chars() const { return reinterpret_cast<const char*>(Bytes.get()); }
    std::string_view View() const { return {Chars(), static_cast<size_t>(Size)}; }
};

} // namespace orv
