#pragma once
// A 24-bit picture: 3 bytes a pixel in blue, green, red order, rows top to bottom. Rows are
// padded to a multiple of 4 bytes, as device-independent bitmaps are.

#include "base/zeroed_array.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

namespace orv {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

struct Rect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// Stops the program with a message naming the bad row. A row outside the surface is a fault
// of the calling code, never of game data (decoders clip before they reach a surface), and
// stopping is better than writing over whatever lies past the pixels.
[[noreturn]] void SurfaceRowOutOfRange(int y, int height);

class Surface {
public:
    Surface() = default;
    Surface(int width, int height) { Allocate(width, height); }

    // Bytes every buffer has past its last row, which a decoder may use as scratch while it
    // writes the pixels in place.
    static constexpr size_t kSpareBytes = 512;

    // A fresh zeroed (black) buffer of the given size; negative sizes count as 0.
    void Allocate(int width, int height) {
        SetDimensions(width, height);
        m_capacity = static_cast<size_t>(m_stride) * m_height;
        m_pixels = ZeroedPixels(m_capacity + kSpareBytes);
    }

    // Changes the size, keeping the buffer when it is large enough, so that loading pictures
    // of the same or a smaller size again and again allocates nothing. The pixels are left as
    // they happen to be: callers overwrite all of them.
    void SetSize(int width, int height) {
        if (width == m_width && height == m_height) {
            return;
        }
        SetDimensions(width, height);
        size_t needed = static_cast<size_t>(m_stride) * m_height;
        if (needed > m_capacity || !m_pixels) {
            m_capacity = needed;
            m_pixels = ZeroedPixels(m_capacity + kSpareBytes);
        }
    }

    // The whole buffer: the rows, the rest of a larger earlier size, and the spare bytes.
    std::span<uint8_t> Buffer() {
        return {m_pixels.get(), m_pixels ? m_capacity + kSpareBytes : 0};
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return m_stride; }
    // Bytes of pixels in a row (the stride without its padding).
    int RowBytes() const { return m_width * 3; }
    bool Empty() const { return m_width == 0 || m_height == 0; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    uint8_t* Row(int y) { return m_pixels.get() + RowOffset(y); }
    const uint8_t* Row(int y) const { return m_pixels.get() + RowOffset(y); }
    std::span<uint8_t> RowSpan(int y) { return {Row(y), static_cast<size_t>(RowBytes())}; }
    std::span<const uint8_t> RowSpan(int y) const {
        return {Row(y), static_cast<size_t>(RowBytes())};
    }
    uint8_t* Data() { return m_pixels.get(); }
    const uint8_t* Data() const { return m_pixels.get(); }
    // True when the rows follow each other without padding, so that the pixels can be
    // handled as one run of Height() x RowBytes() bytes.
    bool Contiguous() const { return m_stride == m_width * 3; }

    // The colour at (x, y) as 0xBBGGRR, or 0 outside the surface.
    uint32_t Pixel(int x, int y) const {
        if (!Contains(x, y)) {
            return 0;
        }
        const uint8_t* p = Row(y) + x * 3;
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }

    // Sets the pixel at (x, y) to 0xBBGGRR; nothing outside the surface.
    void SetPixel(int x, int y, uint32_t bgr) {
        if (!Contains(x, y)) {
            return;
        }
        uint8_t* p = Row(y) + x * 3;
        p[0] = static_cast<uint8_t>(bgr >> 16);
        p[1] = static_cast<uint8_t>(bgr >> 8);
        p[2] = static_cast<uint8_t>(bgr);
    }

    // Fills every pixel with 0xBBGGRR.
    void Fill(uint32_t bgr);

    // Copies `source` (rectangle `from`) to (x, y), clipped to both surfaces.
    void CopyFrom(const Surface& source, Rect from, int x, int y);

private:
    void SetDimensions(int width, int height) {
        m_width = width > 0 ? width : 0;
        m_height = height > 0 ? height : 0;
        m_stride = (m_width * 3 + 3) & ~3;
    }
    size_t RowOffset(int y) const {
        if (y < 0 || y >= m_height) [[unlikely]] {
            SurfaceRowOutOfRange(y, m_height);
        }
        return static_cast<size_t>(y) * static_cast<size_t>(m_stride);
    }

    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    size_t m_capacity = 0;
    // calloc'd: the surfaces reserved at start-up for effects that a game never runs take
    // no memory until drawn on. On a cache line, as the blends' vector loops want.
    using Pixels = CacheAlignedZeroedBytes;
    static Pixels ZeroedPixels(size_t bytes) { return Pixels(bytes); }

    Pixels m_pixels;
};

// Clips a copy of `from` of `source` to (x, y) of `target` to both surfaces, moving the
// rectangle and the destination together. False when nothing is left to copy.
bool ClipBlit(const Surface& source, const Surface& target, Rect& from, int& x, int& y);
// The same for a target of `targetWidth` x `targetHeight` (the screen, without a surface).
bool ClipBlit(const Surface& source, int targetWidth, int targetHeight, Rect& from, int& x, int& y);

} // namespace orv
