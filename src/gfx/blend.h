#pragma once
// The byte-wise blends behind every transparency, fade and tint. A row is a plain byte
// sequence: the three colour bytes of a pixel are never told apart, so a mask is itself a
// 24-bit picture whose bytes weight the colour bytes at the same place (0 = background,
// 255 = picture). Most routines work on groups of 8 bytes and leave a shorter tail alone.
//
// Weights a run 0..256 (256 = only the first-named picture); a weight outside that range is
// clamped. Every formula truncates (shift right by 8) and never saturates.

#include "gfx/surface.h"

#include <cstdint>

namespace orv {

// ---- Rows. The caller passes rows that hold the bytes the counts name.

// d = (b * weight + a * (256 - weight)) >> 8 over `groups` groups of 8 bytes.
void BlendRow(const uint8_t* a, const uint8_t* b, uint8_t* d, int groups, int weight);

// BlendRow over (pixels x 3) / 8 groups; the last (pixels x 3) mod 8 bytes are not written.
void ConstBlendRow(const uint8_t* a, const uint8_t* b, uint8_t* d, int weight, int pixels);

// Per group: when all 8 mask bytes are 0, d = a; otherwise d = (a * (255 - m) + b * m) >> 8.
// `a` is the background, `b` the picture; `d` may be `a`.
void MaskBlendRow(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m, int groups);

// (pixels >> 3) x 3 groups as MaskBlendRow, then the last (pixels & 7) x 3 bytes one by one
// with the formula (no all-zero shortcut for them).
void MaskBlendRowTail(const uint8_t* a, const uint8_t* b, uint8_t* d, const uint8_t* m, int pixels);

// ---- Whole surfaces. Each works over the rows and columns that all its surfaces have (the
// screen surfaces are all 800 x 600); a destination may be one of the sources.

// d = (a * weight + b * (256 - weight)) >> 8.
void CrossFadeFull(const Surface& a, const Surface& b, int weight, Surface& d);

// The 80 x 60 tile at (x, y): work = (previous * weight + back * (256 - weight)) >> 8, where
// `weight` is that of the old picture. Clipped to the surfaces.
void BlendTile(const Surface& previous, const Surface& back, Surface& work, int x, int y,
               int weight);
constexpr int kBlendTileWidth = 80;
constexpr int kBlendTileHeight = 60;

// d = (a * (255 - m) + b * m) >> 8 for every byte (no all-zero shortcut).
void MaskBlendFull(const Surface& a, const Surface& b, const Surface& m, Surface& d);

// d = (s * factor) >> 8, factor 0..256.
void ScaleBrightness(const Surface& s, Surface& d, int factor);

// d = min(s + value, 255) and d = max(s - value, 0), value 0..255 (clamped), over
// (width x 3) / 8 groups of each row.
void AddConstSaturate(const Surface& s, Surface& d, int value);
void SubConstSaturate(const Surface& s, Surface& d, int value);

// AddConstSaturate (add) or SubConstSaturate of `mask` into d, then MaskBlendFull(a, b, d, d):
// the same bytes, with the mask moved in the same pass as the blend.
void MaskBlendShiftedMask(const Surface& a, const Surface& b, const Surface& mask, int value,
                          bool add, Surface& d);

// ---- Pictures drawn through masks.

// `picture` blended onto `d` through `mask` (same size as the picture) with its top left at
// (x, y), clipped to `d` on every side.
void DrawMaskedPicture(Surface& d, const Surface& picture, const Surface& mask, int x, int y);

// The left half of `sprite` blended onto `d` through its right half, at (x, y), clipped.
void DrawSideBySideSprite(Surface& d, int x, const Surface& sprite, int y);

// The upper half of `sprite` blended onto `d` through its lower half, at (x, y). Not clipped:
// a sprite that does not lie wholly inside `d` draws nothing and says "ILLEGAL BMP" on the
// diagnostic output. Whole groups of 8 bytes only: the last (width x 3) mod 8 bytes of each
// row are left as they were.
void DrawStackedSprite(Surface& d, int x, const Surface& sprite, int y);

} // namespace orv
