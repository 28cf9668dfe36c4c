#include "gfx/bmp_file.h"

#include <algorithm>
#include <cstring>
#include <optional>

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

namespace {

constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;

    explicit Channel(uint32_t mask = 0) : Mask(mask) {
        if (mask == 0) {
            return;
        }
        while (((mask >> Shift) & 1) == 0) {
            ++Shift;
        }
        Max = mask >> Shift;
    }
    uint8_t Of(uint32_t pixel) const {
        if (Max == 0) {
            return 0;
        }
        uint64_t value = (pixel & Mask) >> Shift;
        return static_cast<uint8_t>(value * 255 / Max);
    }
};

struct BmpLayout {
    int64_t Width = 0;
    int64_t Height = 0; // rows stored bottom-up when positive
    int Bits = 0;
    uint64_t PixelOffset = 0;
    uint64_t PaletteOffset = 0;
    uint64_t PaletteCount = 0;
    int PaletteEntryBytes = 4;
    Channel Red, Green, Blue;
};

std::optional<BmpLayout> ReadLayout(ByteSpan file) {
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') {
        return std::nullopt;
    }
    const uint8_t* p = file.data();
    BmpLayout layout;
    layout.PixelOffset = LoadU32(p + 10);
    uint32_t headerSize = LoadU32(p + 14);
    uint32_t compression = kCompressionRgb;
    uint32_t colours = 0;
    if (headerSize == 12) {
        layout.Width = LoadU16(p + 18);
        layout.Height = LoadU16(p + 20);
        layout.Bits = LoadU16(p + 24);
        layout.PaletteEntryBytes = 3;
    } else if (headerSize >= 40 && file.size() >= 54) {
        layout.Width = static_cast<int32_t>(LoadU32(p + 18));
        layout.Height = static_cast<int32_t>(LoadU32(p + 22));
        layout.Bits = LoadU16(p + 28);
        compression = LoadU32(p + 30);
        colours = LoadU32(p + 46);
    } else {
        return std::nullopt;
    }
    layout.PaletteOffset = 14 + uint64_t{headerSize};
    if (compression == kCompressionBitFields) {
        if (layout.Bits != 16 && layout.Bits != 32) {
            return std::nullopt;
        }
        // The masks follow a 40-byte header; longer headers hold them in place.
        uint64_t at = 14 + 40;
        if (file.size() < at + 12) {
            return std::nullopt;
        }
        layout.Red = Channel(LoadU32(p + at));
        layout.Green = Channel(LoadU32(p + at + 4));
        layout.Blue = Channel(LoadU32(p + at + 8));
        if (headerSize == 40) {
            layout.PaletteOffset += 12;
        }
    } else if (compression != kCompressionRgb) {
        return std::nullopt;
    } else if (layout.Bits == 16) {
        layout.Red = Channel(0x7C00);
        layout.Green = Channel(0x03E0);
        layout.Blue = Channel(0x001F);
    }
    switch (layout.Bits) {
    case 1:
    case 4:
    case 8:
        layout.PaletteCount =
            colours != 0 ? std::min<uint64_t>(colours, 1u << layout.Bits) : 1u << layout.Bits;
        break;
    case 16:
    case 24:
    case 32:
        break;
    default:
        return std::nullopt;
    }
    if (layout.Width <= 0 || layout.Height == 0) {
        return std::nullopt;
    }
    return layout;
}

uint32_t PaletteColour(ByteSpan file, const BmpLayout& layout, uint32_t index) {
    if (index >= layout.PaletteCount) {
        return 0;
    }
    uint64_t at = layout.PaletteOffset + uint64_t{index} * layout.PaletteEntryBytes;
    if (at + 3 > file.size()) {
        return 0;
    }
    const uint8_t* entry = file.data() + at;
    return static_cast<uint32_t>(entry[0]) << 16 | static_cast<uint32_t>(entry[1]) << 8 | entry[2];
}

// The colour (0xBBGGRR) of pixel x of a stored row that holds it whole.
uint32_t PixelColour(ByteSpan file, const BmpLayout& layout, const uint8_t* row, int x) {
    switch (layout.Bits) {
    case 1:
    case 4:
    case 8: {
        size_t bit = static_cast<size_t>(x) * static_cast<size_t>(layout.Bits);
        int shift = 8 - layout.Bits - static_cast<int>(bit % 8);
        uint32_t index = (row[bit / 8] >> shift) & ((1u << layout.Bits) - 1);
        return PaletteColour(file, layout, index);
    }
    case 16: {
        uint32_t pixel = LoadU16(row + static_cast<size_t>(x) * 2);
        return static_cast<uint32_t>(layout.Blue.Of(pixel)) << 16 |
               static_cast<uint32_t>(layout.Green.Of(pixel)) << 8 | layout.Red.Of(pixel);
    }
    case 24: {
        const uint8_t* p = row + static_cast<size_t>(x) * 3;
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
    default: {
        const uint8_t* p = row + static_cast<size_t>(x) * 4;
        if (layout.Red.Mask == 0) {
            return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
        }
        uint32_t pixel = LoadU32(p);
        return static_cast<uint32_t>(layout.Blue.Of(pixel)) << 16 |
               static_cast<uint32_t>(layout.Green.Of(pixel)) << 8 | layout.Red.Of(pixel);
    }
    }
}

} // namespace

bool DecodeBmp(ByteSpan file, Surface& target) {
    target.Fill(0x000000);
    auto layout = ReadLayout(file);
    if (!layout) {
        return false;
    }
    int64_t height = layout->Height < 0 ? -layout->Height : layout->Height;
    uint64_t stride = (static_cast<uint64_t>(layout->Width) * layout->Bits + 31) / 32 * 4;
    int width = static_cast<int>(std::min<int64_t>(layout->Width, target.Width()));
    int rows = static_cast<int>(std::min<int64_t>(height, target.Height()));
    uint64_t needed = (static_cast<uint64_t>(width) * layout->Bits + 7) / 8;
    for (int y = 0; y < rows; ++y) {
        uint64_t stored =
            layout->Height < 0 ? static_cast<uint64_t>(y) : static_cast<uint64_t>(height - 1 - y);
        if (stored > file.size() / stride) {
            continue; // the file ends before this row
        }
        uint64_t at = layout->PixelOffset + stored * stride;
        if (at > file.size() || file.size() - at < needed) {
            continue; // the file ends before this row
        }
        const uint8_t* row = file.data() + at;
        for (int x = 0; x < width; ++x) {
            target.SetPixel(x, y, PixelColour(file, *layout, row, x));
        }
    }
    return true;
}

} // namespace orv
