#include "gfx/surface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace orv {

void SurfaceRowOutOfRange(int y, int height) {
    std::fprintf(stderr, "orvell: surface row %d outside 0..%d\n", y, height - 1);
    std::abort();
}

void Surface::Fill(uint32_t bgr) {
    if (Empty()) {
        return;
    }
    const uint8_t pixel[3] = {static_cast<uint8_t>(bgr >> 16), static_cast<uint8_t>(bgr >> 8),
                              static_cast<uint8_t>(bgr)};
    uint8_t* first = Row(0);
    for (int x = 0; x < m_width; ++x) {
        std::memcpy(first + x * 3, pixel, 3);
    }
    for (int y = 1; y < m_height; ++y) {
        std::memcpy(Row(y), first, static_cast<size_t>(RowBytes()));
    }
}

bool ClipBlit(const Surface& source, const Surface& target, Rect& from, int& x, int& y) {
    return ClipBlit(source, target.Width(), target.Height(), from, x, y);
}

bool ClipBlit(const Surface& source, int targetWidth, int targetHeight, Rect& from, int& x, int& y) {
    // Clip the source rectangle to the source, then the destination to the target.
    if (from.X < 0) {
        from.Width += from.X;
        x -= from.X;
        from.X = 0;
    }
    if (from.Y < 0) {
        from.Height += from.Y;
        y -= from.Y;
        from.Y = 0;
    }
    if (x < 0) {
        from.X -= x;
        from.Width += x;
        x = 0;
    }
    if (y < 0) {
        from.Y -= y;
        from.Height += y;
        y = 0;
    }
    from.Width = std::min({from.Width, source.Width() - from.X, targetWidth - x});
    from.Height = std::min({from.Height, source.Height() - from.Y, targetHeight - y});
    return from.Width > 0 && from.Height > 0;
}

void Surface::CopyFrom(const Surface& source, Rect from, int x, int y) {
    if (!ClipBlit(source, *this, from, x, y)) {
        return;
    }
    size_t bytes = static_cast<size_t>(from.Width) * 3;
    for (int row = 0; row < from.Height; ++row) {
        std::memmove(Row(y + row) + x * 3, source.Row(from.Y + row) + from.X * 3, bytes);
    }
}

} // namespace orv
