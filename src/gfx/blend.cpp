// The blends over rows and surfaces: the clipping and the grouping into 8-byte groups; the
// arithmetic itself is in the kernels.
#include "gfx/blend.h"

#include "base/diagnostics.h"
#include "gfx/blend_kernels.h"

#include <algorithm>
#include <initializer_list>

namespace orv {

namespace {

int ClampWeight(int weight) {
    return std::clamp(weight, 0, 256);
}

// The rows and row bytes that every surface of a whole-surface blend has; `Whole` when they
// all have the same size without row padding, so that one call covers every pixel.
struct CommonArea {
    int Rows = 0;
    size_t RowBytes = 0;
    bool Whole = false;
};

CommonArea Common(std::initializer_list<const Surface*> surfaces) {
    const Surface& first = **surfaces.begin();
    CommonArea area{first.Height(), static_cast<size_t>(first.RowBytes()), true};
    for (const Surface* s : surfaces) {
        area.Rows = std::min(area.Rows, s->Height());
        area.RowBytes = std::min(area.RowBytes, static_cast<size_t>(s->RowBytes()));
        area.Whole = area.Whole && s->Contiguous() && s->Width() == first.Width() &&
                     s->Height() == first.Height();
    }
    if (area.Rows == 0 || area.RowBytes == 0) {
        area = {};
    }
    return area;
}

// One saturating add or subtract over whole groups of each row of `s`.
void SaturateSurface(const Surface& s, Surface& d, int value, bool add) {
    const BlendKernels& k = ActiveBlendKernels();
    auto run = add ? k.AddSaturate : k.SubSaturate;
    auto v = static_cast<uint8_t>(std::clamp(value, 0, 255));
    CommonArea area = Common({&s, &d});
    size_t groupBytes = static_cast<size_t>(s.RowBytes()) / kBlendGroupBytes * kBlendGroupBytes;
    size_t bytes = std::min(area.RowBytes, groupBytes);
    if (area.Whole && bytes == static_cast<size_t>(s.RowBytes())) {
        run(s.Data(), d.Data(), bytes * static_cast<size_t>(area.Rows), v);
        return;
    }
    for (int y = 0; y < area.Rows; ++y) {
        run(s.Row(y), d.Row(y), bytes, v);
    }
}

// The rows of a masked picture after clipping to the destination.
struct Placement {
    int X = 0, Y = 0; // destination pixel of the first drawn pixel
    int SourceX = 0;  // first drawn pixel within the picture
    int SourceY = 0;
    int Width = 0;  // drawn pixels per row
    int Height = 0; // drawn rows
};

// False when nothing of a w x h picture at (x, y) falls inside `d`.
bool Clip(const Surface& d, int x, int y, int w, int h, Placement& out) {
    out = {x, y, 0, 0, w, h};
    if (out.X < 0) {
        out.Width += out.X;
        out.SourceX = -out.X;
        out.X = 0;
    }
    if (out.Y < 0) {
        out.Height += out.Y;
        out.SourceY = -out.Y;
        out.Y = 0;
    }
    if (out.X >= d.Width() || out.Y >= d.Height() || out.Width <= 0 || out.Height <= 0) {
        return false;
    }
    out.Width = std::min(out.Width, d.Width() - out.X);
    out.Height = std::min(out.Height, d.Height() - out.Y);
    return true;
}

} // namespace

void BlendRow(const uint8_t* a, const uint8_t* b, uint8_t* d, int groups, int weight) {
    if (groups <= 0) {
        return;
    }
    ActiveBlendKernels().Weighted(b, a, d, static_cast<size_t>(groups) * kBlendGroupBytes,
                                  ClampWeight(weight));
}

void ConstBlendRow(const uint8_t* a, const uint8_t* b, uint8_t* d, int weight, int pixels) {
    if (pixels > 0) {
        BlendRow(a, b, d, pixels * 3 / 8, weight);
    }
}

void MaskBlendRow(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m, int groups) {
    if (groups > 0) {
        ActiveBlendKernels().MaskGroups(a, b, d, m, static_cast<size_t>(groups));
    }
}

void MaskBlendRowTail(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m,
                      int pixels) {
    if (pixels <= 0) {
        return;
    }
    size_t groups = static_cast<size_t>(pixels >> 3) * 3;
    size_t done = groups * kBlendGroupBytes;
    ActiveBlendKernels().MaskGroups(a, b, d, m, groups);
    ReferenceBlendKernels().Mask(a + done, b + done, d + done, m + done,
                                 static_cast<size_t>(pixels & 7) * 3);
}

void CrossFadeFull(const Surface& a, const Surface& b, int weight, Surface& d) {
    const BlendKernels& k = ActiveBlendKernels();
    weight = ClampWeight(weight);
    CommonArea area = Common({&a, &b, &d});
    if (area.Whole) {
        k.Weighted(a.Data(), b.Data(), d.Data(), area.RowBytes * area.Rows, weight);
        return;
    }
    for (int y = 0; y < area.Rows; ++y) {
        k.Weighted(a.Row(y), b.Row(y), d.Row(y), area.RowBytes, weight);
    }
}

void BlendTile(const Surface& previous, const Surface& back, Surface& work, int x, int y,
               int weight) {
    weight = ClampWeight(weight);
    CommonArea area = Common({&previous, &back, &work});
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = std::min<int64_t>(int64_t{x} + kBlendTileWidth, area.RowBytes / 3);
    int bottom = std::min<int64_t>(int64_t{y} + kBlendTileHeight, area.Rows);
    if (left >= right || top >= bottom) {
        return;
    }
    const BlendKernels& k = ActiveBlendKernels();
    size_t offset = static_cast<size_t>(left) * 3, bytes = static_cast<size_t>(right - left) * 3;
    // The rows top..bottom - 1 lie on all three surfaces (clipped above): stepped by stride.
    const uint8_t* from = previous.Row(top) + offset;
    const uint8_t* to = back.Row(top) + offset;
    uint8_t* out = work.Row(top) + offset;
    for (int row = top; row < bottom; ++row) {
        k.Weighted(from, to, out, bytes, weight);
        from += previous.Stride();
        to += back.Stride();
        out += work.Stride();
    }
}

void MaskBlendFull(const Surface& a, const Surface& b, const Surface& m, Surface& d) {
    const BlendKernels& k = ActiveBlendKernels();
    CommonArea area = Common({&a, &b, &m, &d});
    if (area.Whole) {
        k.Mask(a.Data(), b.Data(), d.Data(), m.Data(), area.RowBytes * area.Rows);
        return;
    }
    for (int y = 0; y < area.Rows; ++y) {
        k.Mask(a.Row(y), b.Row(y), d.Row(y), m.Row(y), area.RowBytes);
    }
}

void ScaleBrightness(const Surface& s, Surface& d, int factor) {
    const BlendKernels& k = ActiveBlendKernels();
    factor = ClampWeight(factor);
    CommonArea area = Common({&s, &d});
    if (area.Whole) {
        k.Scale(s.Data(), d.Data(), area.RowBytes * area.Rows, factor);
        return;
    }
    for (int y = 0; y < area.Rows; ++y) {
        k.Scale(s.Row(y), d.Row(y), area.RowBytes, factor);
    }
}

void AddConstSaturate(const Surface& s, Surface& d, int value) {
    SaturateSurface(s, d, value, true);
}

void SubConstSaturate(const Surface& s, Surface& d, int value) {
    SaturateSurface(s, d, value, false);
}

void MaskBlendShiftedMask(const Surface& a, const Surface& b, const Surface& mask, int value,
                          bool add, Surface& d) {
    CommonArea area = Common({&a, &b, &mask, &d});
    size_t bytes = area.RowBytes * static_cast<size_t>(area.Rows);
    if (!area.Whole || area.RowBytes % kBlendGroupBytes != 0) {
        // Rows with a part group keep bytes the saturation does not reach: the two whole
        // passes say what those hold.
        SaturateSurface(mask, d, value, add);
        MaskBlendFull(a, b, d, d);
        return;
    }
    auto v = static_cast<uint8_t>(std::clamp(value, 0, 255));
    ActiveBlendKernels().ShiftedMask(a.Data(), b.Data(), d.Data(), mask.Data(), bytes, v, add);
}

void DrawMaskedPicture(Surface& d, const Surface& picture, const Surface& mask, int x, int y) {
    // A mask smaller than its picture limits the drawing to what both hold.
    int w = std::min(picture.Width(), mask.Width());
    int h = std::min(picture.Height(), mask.Height());
    Placement at;
    if (!Clip(d, x, y, w, h, at)) {
        return;
    }
    size_t from = static_cast<size_t>(at.SourceX) * 3, to = static_cast<size_t>(at.X) * 3;
    for (int r = 0; r < at.Height; ++r) {
        uint8_t* row = d.Row(at.Y + r) + to;
        MaskBlendRowTail(row, picture.Row(at.SourceY + r) + from, row,
                         mask.Row(at.SourceY + r) + from, at.Width);
    }
}

void DrawSideBySideSprite(Surface& d, int x, const Surface& sprite, int y) {
    int half = sprite.Width() / 2;
    Placement at;
    if (!Clip(d, x, y, half, sprite.Height(), at)) {
        return;
    }
    // The mask pixel sits a whole half width to the right of its colour pixel, wherever the
    // clipped row starts.
    size_t from = static_cast<size_t>(at.SourceX) * 3, to = static_cast<size_t>(at.X) * 3;
    size_t maskOffset = static_cast<size_t>(half) * 3;
    for (int r = 0; r < at.Height; ++r) {
        uint8_t* row = d.Row(at.Y + r) + to;
        const uint8_t* colour = sprite.Row(at.SourceY + r) + from;
        MaskBlendRowTail(row, colour, row, colour + maskOffset, at.Width);
    }
}

void DrawStackedSprite(Surface& d, int x, const Surface& sprite, int y) {
    int h = sprite.Height() / 2, w = sprite.Width();
    // The sprite must lie wholly inside: it is drawn unclipped. A negative position is
    // refused as well, where the unclipped drawing would write before the first pixel.
    if (x < 0 || y < 0 || int64_t{x} + w > d.Width() || int64_t{y} + h > d.Height()) {
        Diagnostic("ILLEGAL BMP");
        return;
    }
    int groups = w * 3 / 8;
    size_t to = static_cast<size_t>(x) * 3;
    for (int r = 0; r < h; ++r) {
        uint8_t* row = d.Row(y + r) + to;
        MaskBlendRow(row, sprite.Row(r), row, sprite.Row(h + r), groups);
    }
}

} // namespace orv
