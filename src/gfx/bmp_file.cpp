#include "gfx/bmp_file.h"

#include <cstring>

namespace orv {

Bytes EncodeBmp(const Surface& surface) {
    constexpr uint32_t kHeaders = 14 + 40;
    const uint32_t stride = (static_cast<uint32_t>(surface.RowBytes()) + 3) & ~3u;
    const uint32_t pixels = stride * static_cast<uint32_t>(surface.Height());
    Bytes out;
    out.reserve(kHeaders + pixels);
    out.push_back('B');
    out.push_back('M');
    AppendU32(out, kHeaders + pixels);
    AppendU32(out, 0);
    AppendU32(out, kHeaders);
    AppendU32(out, 40); // BITMAPINFOHEADER
    AppendU32(out, static_cast<uint32_t>(surface.Width()));
    AppendU32(out, static_cast<uint32_t>(surface.Height())); // positive: bottom-up rows
    AppendU16(out, 1);
    AppendU16(out, 24);
    AppendU32(out, 0); // BI_RGB
    AppendU32(out, pixels);
    AppendU32(out, 2835); // 72 dots per inch
    AppendU32(out, 2835);
    AppendU32(out, 0);
    AppendU32(out, 0);
    size_t start = out.size();
    out.resize(start + pixels);
    for (int y = 0; y < surface.Height(); ++y) {
        uint8_t* row =
            out.data() + start + static_cast<size_t>(stride) * (surface.Height() - 1 - y);
        std::memcpy(row, surface.Row(y), static_cast<size_t>(surface.RowBytes()));
    }
    return out;
}

} // namespace orv
