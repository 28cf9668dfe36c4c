#include "headless/png_writer.h"

#include "base/files.h"

#include <zlib.h>

namespace orv {

namespace {

void PutBigEndian32(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutChunk(Bytes& out, const char (&type)[5], const uint8_t* data, size_t size) {
    PutBigEndian32(out, static_cast<uint32_t>(size));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + size));
    PutBigEndian32(out, static_cast<uint32_t>(crc));
}

// The filtered scan lines: filter type 0 and the pixels in red, green, blue order.
Bytes ScanLines(const Surface& surface) {
    size_t rowBytes = static_cast<size_t>(surface.Width()) * 3 + 1;
    Bytes raw(rowBytes * static_cast<size_t>(surface.Height()));
    for (int y = 0; y < surface.Height(); ++y) {
        uint8_t* out = raw.data() + rowBytes * static_cast<size_t>(y);
        *out++ = 0;
        const uint8_t* in = surface.Row(y);
        for (int x = 0; x < surface.Width(); ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return raw;
}

} // namespace

Bytes EncodePng(const Surface& surface) {
    if (surface.Empty()) {
        return {};
    }
    Bytes raw = ScanLines(surface);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        return {};
    }

    static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes out(kSignature, kSignature + sizeof kSignature);
    Bytes header;
    PutBigEndian32(header, static_cast<uint32_t>(surface.Width()));
    PutBigEndian32(header, static_cast<uint32_t>(surface.Height()));
    // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(out, "IHDR", header.data(), header.size());
    PutChunk(out, "IDAT", packed.data(), packedSize);
    PutChunk(out, "IEND", nullptr, 0);
    return out;
}

std::string WritePng(const std::filesystem::path& path, const Surface& surface) {
    Bytes png = EncodePng(surface);
    if (png.empty()) {
        return "cannot encode an empty picture";
    }
    return WriteFileAtomic(path, png);
}

} // namespace orv
