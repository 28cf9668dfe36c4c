// The drawing steps of the transition patterns. Each copies to PB only what its step changed
// (columns, rows, tiles, spans), or the work surface whole where every row changes.
#include "gfx/blend.h"
#include "gfx/blend_kernels.h"
#include "gfx/transitions.h"
#include "script/random.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORVELL_SHUFFLES 1
#endif

namespace orv::pattern {

namespace {

constexpr int kW = kScreenWidth;
constexpr int kH = kScreenHeight;
constexpr int kCentreX = kW / 2;
constexpr int kCentreY = kH / 2;
constexpr size_t kRowBytes = static_cast<size_t>(kW) * 3;

// Clips a copy of `from` of `source` to (x, y) of the screen; false when nothing is left.
bool ClipToScreen(const Surface& source, Rect& from, int& x, int& y) {
    return ClipBlit(source, kW, kH, from, x, y);
}

void PaintMoved(TransitionSurfaces& s, const Surface& source, Rect from, int x, int y) {
    if (ClipToScreen(source, from, x, y)) {
        s.Paint.Present(source, from, x, y);
    }
}

void PaintWhole(TransitionSurfaces& s, const Surface& source) {
    PaintArea(s, source, Rect{0, 0, kW, kH});
}

Surface& WholeFrame(TransitionSurfaces& s) {
    return FrameSurface(s.Paint.Canvas(), s.Work, s.Old, s.New);
}

void CopyRow(const Surface& from, Surface& to, int y, int x0, int x1) {
    if (x0 < x1) {
        std::memcpy(to.Row(y) + static_cast<size_t>(x0) * 3,
                    from.Row(y) + static_cast<size_t>(x0) * 3, static_cast<size_t>(x1 - x0) * 3);
    }
}

// One span of the iris: row `row` from column 400 - half to 400 + half, of which the row
// shows the part within its last half width already.
void IrisSpan(TransitionSurfaces& s, int64_t row, int64_t half) {
    if (row < 0 || row >= kH) {
        return;
    }
    int32_t& shown = s.Scratch.IrisShown[static_cast<size_t>(row)];
    if (half <= shown) {
        return;
    }
    int y = static_cast<int>(row);
    int h = static_cast<int>(half);
    // The new parts: [400 - h, 400 - shown) on the left, (400 + shown, 400 + h] on the
    // right; column 400 itself comes with the right part of the first span.
    PaintArea(s, s.New, Rect{kCentreX - h, y, h - std::max(shown, 0), 1});
    PaintArea(s, s.New, Rect{kCentreX + shown + 1, y, h - shown, 1});
    shown = h;
}

void FinishTile(TransitionSurfaces& s, int tile) {
    int x = tile % 10 * kBlendTileWidth, y = tile / 10 * kBlendTileHeight;
    BlendTile(s.Old, s.New, s.Work, x, y, 0);
    PaintArea(s, s.Work, Rect{x, y, kBlendTileWidth, kBlendTileHeight});
}

// The ramp of the soft wipe, one byte per colour byte: 32 pixels of 0, then 0..255.
constexpr int kRampPixels = 288;
constexpr std::array<uint8_t, kRampPixels* 3> kRamp = [] {
    std::array<uint8_t, kRampPixels * 3> ramp{};
    for (int p = 32; p < kRampPixels; ++p) {
        for (int c = 0; c < 3; ++c) {
            ramp[static_cast<size_t>(p * 3 + c)] = static_cast<uint8_t>(p - 32);
        }
    }
    return ramp;
}();

uint8_t Towards(uint8_t a, uint8_t b) {
    if (a < b) {
        return static_cast<uint8_t>(std::min(a + 16, static_cast<int>(b)));
    }
    return static_cast<uint8_t>(std::max(a - 16, static_cast<int>(b)));
}

// Towards over a row, sixteen bytes at a time where SSE2 is there (always on x86-64): up by
// 16 but not past the target, or down by 16 but not below it, with saturating steps.
void RowTowards(uint8_t* row, const uint8_t* target, size_t bytes) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i step = _mm_set1_epi8(16);
    for (; i + 16 <= bytes; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + i));
        __m128i up = _mm_min_epu8(_mm_adds_epu8(a, step), b);
        __m128i down = _mm_max_epu8(_mm_subs_epu8(a, step), b);
        __m128i atOrAbove = _mm_cmpeq_epi8(_mm_max_epu8(a, b), a);
        __m128i moved = _mm_or_si128(_mm_and_si128(atOrAbove, down), _mm_andnot_si128(atOrAbove, up));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), moved);
    }
#endif
    for (; i < bytes; ++i) {
        row[i] = Towards(row[i], target[i]);
    }
}

// The bytes of a row that belong to its even (0) and odd (1) pixels.
constexpr std::array<std::array<uint8_t, kRowBytes>, 2> kPixelParityMasks = [] {
    std::array<std::array<uint8_t, kRowBytes>, 2> masks{};
    for (size_t parity = 0; parity < 2; ++parity) {
        for (size_t b = 0; b < kRowBytes; ++b) {
            masks[parity][b] = (b / 3) % 2 == parity ? 0xFF : 0;
        }
    }
    return masks;
}();

static_assert(kRowBytes % 16 == 0, "the zoom's shuffles cover a row in steps of 16 bytes");

// Plans the zoom's gather as shuffles of 16-byte windows of the old row; false when some 16
// bytes of the sampled row come from further apart than that (a zoom out, which the pattern
// never draws).
bool PlanSampleShuffles(TransitionScratch& scratch) {
    for (size_t chunk = 0; chunk < TransitionScratch::kSampleChunks; ++chunk) {
        std::array<size_t, 16> from{};
        for (size_t j = 0; j < 16; ++j) {
            size_t out = chunk * 16 + j;
            from[j] = static_cast<size_t>(scratch.SampleX[out / 3]) * 3 + out % 3;
        }
        auto [lowest, highest] = std::minmax_element(from.begin(), from.end());
        if (*highest - *lowest >= 16) {
            return false;
        }
        // The window stays within the row.
        size_t window = std::min(*lowest, kRowBytes - 16);
        scratch.SampleWindow[chunk] = static_cast<uint16_t>(window);
        for (size_t j = 0; j < 16; ++j) {
            scratch.SampleShuffle[chunk][j] = static_cast<uint8_t>(from[j] - window);
        }
    }
    return true;
}

// Gathers a row of the old picture by the frame's planned windows and shuffles.
using ShuffleGather = void (*)(const uint8_t* row, const TransitionScratch& scratch, uint8_t* out);

#if ORVELL_SHUFFLES
__attribute__((target("ssse3"))) void GatherByShuffles(const uint8_t* row,
                                                      const TransitionScratch& scratch,
                                                      uint8_t* out) {
    for (size_t chunk = 0; chunk < TransitionScratch::kSampleChunks; ++chunk) {
        __m128i window = _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(row + scratch.SampleWindow[chunk]));
        __m128i shuffle =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(scratch.SampleShuffle[chunk].data()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + chunk * 16),
                         _mm_shuffle_epi8(window, shuffle));
    }
}

// Two windows a step: vpshufb shuffles each 128-bit half on its own, which is what two
// windows need (150 windows a row, an even number).
__attribute__((target("avx2"))) void GatherByShuffles2(const uint8_t* row,
                                                      const TransitionScratch& scratch,
                                                      uint8_t* out) {
    static_assert(TransitionScratch::kSampleChunks % 2 == 0);
    for (size_t chunk = 0; chunk < TransitionScratch::kSampleChunks; chunk += 2) {
        __m256i windows = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(
                reinterpret_cast<const __m128i*>(row + scratch.SampleWindow[chunk]))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + scratch.SampleWindow[chunk + 1])),
            1);
        __m256i shuffles = _mm256_loadu_si256(
            reinterpret_cast<const __m256i*>(scratch.SampleShuffle[chunk].data()));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + chunk * 16),
                            _mm256_shuffle_epi8(windows, shuffles));
    }
}

// The shuffle gather this processor has, or nullptr.
ShuffleGather ChooseShuffleGather() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) {
        return GatherByShuffles2;
    }
    return __builtin_cpu_supports("ssse3") ? GatherByShuffles : nullptr;
}

ShuffleGather AvailableShuffleGather() {
    static const ShuffleGather gather = ChooseShuffleGather();
    return gather;
}
#else
ShuffleGather AvailableShuffleGather() {
    return nullptr;
}
#endif

// Row `from` of the old picture sampled at the zoom's columns, by `shuffles` when the frame's
// windows hold.
void GatherSampledRow(const uint8_t* row, const TransitionScratch& scratch,
                      ShuffleGather shuffles, uint8_t* sampled) {
    if (shuffles != nullptr) {
        shuffles(row, scratch, sampled);
        return;
    }
    // Four bytes a pixel, the fourth overwritten by the next pixel: one load and one store
    // instead of two of each. A read past the last pixel of the last row stays within the
    // surface's spare bytes; the last pixel is copied in three.
    for (int x = 0; x + 1 < kW; ++x) {
        std::memcpy(sampled + x * 3, row + scratch.SampleX[static_cast<size_t>(x)] * 3, 4);
    }
    std::memcpy(sampled + (kW - 1) * 3, row + scratch.SampleX[kW - 1] * 3, 3);
}

} // namespace

void CrossFadeStep(TransitionSurfaces& s, int weight) {
    Surface& frame = WholeFrame(s);
    CrossFadeFull(s.New, s.Old, weight, frame);
    PaintWhole(s, frame);
}

void MaskWipeStep(TransitionSurfaces& s, const Surface& mask, int v, bool brighten) {
    Surface& frame = WholeFrame(s);
    MaskBlendShiftedMask(s.Old, s.New, mask, v, brighten, frame);
    PaintWhole(s, frame);
}

void BlindsStep(TransitionSurfaces& s, int t) {
    for (int c = 0; c * 16 < kW; ++c) {
        int width = t - c + 1;
        if (width >= 1 && width <= 16) {
            PaintArea(s, s.New, Rect{16 * c + width - 1, 0, 1, kH});
        }
    }
}

void IrisBegin(TransitionSurfaces& s) {
    s.Scratch.IrisShown.fill(-1);
}

int64_t IrisLimit(int32_t s020, int32_t s021) {
    int64_t dx = std::abs(int64_t{s020} - kCentreX), dy = std::abs(int64_t{s021} - kCentreY);
    return std::min(std::max(dx, dy) + 500, kMaxIrisRadius);
}

void IrisStep(TransitionSurfaces& s, int64_t radius) {
    int64_t x = std::min(radius, kMaxIrisRadius), y = 0, err = x;
    while (x >= y) {
        if (y <= kCentreY) {
            int64_t half = std::min<int64_t>(x, kCentreX);
            IrisSpan(s, kCentreY - y, half);
            IrisSpan(s, kCentreY + y, half);
        }
        if (x <= kCentreY) {
            int64_t half = std::min<int64_t>(y, kCentreX);
            IrisSpan(s, kCentreY - x, half);
            IrisSpan(s, kCentreY + x, half);
        }
        err -= 2 * y - 1;
        ++y;
        if (err < 0) {
            err += 2 * (x - 1);
            --x;
        }
    }
}

void TilesBegin(TransitionSurfaces& s, RandomGenerator& random) {
    s.Work.CopyFrom(s.Old, Rect{0, 0, kW, kH}, 0, 0);
    auto& order = s.Scratch.TileOrder;
    for (int i = 0; i < TransitionScratch::kTiles; ++i) {
        order[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        std::swap(order[i], order[static_cast<size_t>(random.Next() % TransitionScratch::kTiles)]);
    }
    s.Scratch.TilesFinished = 0;
}

void TilesStep(TransitionSurfaces& s, int t) {
    // A tile that reached the end of its fade is drawn fully new once, however many steps
    // the frame clock skipped past it.
    int& finished = s.Scratch.TilesFinished;
    while (finished < TransitionScratch::kTiles && finished + 16 <= t) {
        FinishTile(s, s.Scratch.TileOrder[static_cast<size_t>(finished)]);
        ++finished;
    }
    for (int j = std::max(finished, t - 15); j <= std::min(t, TransitionScratch::kTiles - 1); ++j) {
        int tile = s.Scratch.TileOrder[static_cast<size_t>(j)];
        int x = tile % 10 * kBlendTileWidth, y = tile / 10 * kBlendTileHeight;
        BlendTile(s.Old, s.New, s.Work, x, y, (16 - (t - j)) * 16);
        PaintArea(s, s.Work, Rect{x, y, kBlendTileWidth, kBlendTileHeight});
    }
}

void RowsStep(TransitionSurfaces& s, int k) {
    for (int i = 0; i < 5; ++i) {
        int offset = 2 * (5 * k + i);
        PaintArea(s, s.New, Rect{0, offset, kW, 1});
        PaintArea(s, s.New, Rect{0, kH - 1 - offset, kW, 1});
    }
}

void ColumnsStep(TransitionSurfaces& s, int k) {
    for (int i = 0; i < 5; ++i) {
        int offset = 2 * (5 * k + i);
        PaintArea(s, s.New, Rect{offset, 0, 1, kH});
        PaintArea(s, s.New, Rect{kW - 1 - offset, 0, 1, kH});
    }
}

void SquaresStep(TransitionSurfaces& s, int t) {
    // Centres (32 + 64i, 32 + 64j) for i 0..24 and j 0..9; cells past the edges clip away.
    for (int j = 0; j < 10; ++j) {
        for (int i = 0; i < 25 && 64 * i < kW; ++i) {
            int half = t - i - j;
            if (half >= 1 && half <= 32) {
                int cx = 32 + 64 * i, cy = 32 + 64 * j;
                PaintArea(s, s.New, Rect{cx - half, cy - half, 2 * half, 2 * half});
            }
        }
    }
}

void SoftWipeBegin(TransitionSurfaces& s) {
    s.Work.CopyFrom(s.Old, Rect{0, 0, kW, kH}, 0, 0);
    s.Scratch.WipedColumns = 0;
}

void SoftWipeStep(TransitionSurfaces& s, int v) {
    int x0 = std::clamp(v, 0, kW), x1 = std::clamp(v + kRampPixels, 0, kW);
    int& wiped = s.Scratch.WipedColumns;
    int first = std::min(wiped, x0);
    const BlendKernels& k = ActiveBlendKernels();
    for (int y = 0; y < kH; ++y) {
        // Whatever lies left of the ramp is new, even where skipped frames left the ramp's
        // earlier places half done.
        CopyRow(s.New, s.Work, y, wiped, x0);
        if (x0 < x1) {
            size_t at = static_cast<size_t>(x0) * 3;
            k.Mask(s.New.Row(y) + at, s.Old.Row(y) + at, s.Work.Row(y) + at,
                   kRamp.data() + static_cast<size_t>(x0 - v) * 3,
                   static_cast<size_t>(x1 - x0) * 3);
        }
    }
    wiped = std::max(wiped, x0);
    PaintArea(s, s.Work, Rect{first, 0, x1 - first, kH});
}

void LinePiecesBegin(TransitionSurfaces& s, RandomGenerator& random) {
    auto& pieces = s.Scratch.Pieces;
    for (int r = 0; r < kH; ++r) {
        auto split = static_cast<int16_t>(random.Next() % 600 + 20);
        auto row = static_cast<int16_t>(r);
        pieces[static_cast<size_t>(2 * r)] = {row, 0, split};
        pieces[static_cast<size_t>(2 * r + 1)] = {row, split, static_cast<int16_t>(kW)};
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        std::swap(pieces[i], pieces[static_cast<size_t>(2 * (random.Next() % 600))]);
    }
}

void LinePiecesStep(TransitionSurfaces& s, int k) {
    for (int i = 24 * k; i < 24 * (k + 1) && i < TransitionScratch::kLinePieces; ++i) {
        const auto& piece = s.Scratch.Pieces[static_cast<size_t>(i)];
        PaintArea(s, s.New, Rect{piece.Left, piece.Row, piece.Right - piece.Left, 1});
    }
}

void BandStep(TransitionSurfaces& s, int t) {
    int top = std::max(t, 0), bottom = std::min(t + 128, kH);
    for (int y = top; y < bottom; ++y) {
        RowTowards(s.Old.Row(y), s.New.Row(y), kRowBytes);
    }
    if (top < bottom) {
        PaintArea(s, s.Old, Rect{0, top, kW, bottom - top});
    }
}

void SlatsStep(TransitionSurfaces& s, int t) {
    // Slat c is t - c + 1 pixels wide at step t (c from t - 19 to t), from column 20c - y of
    // row y. The steps run in order from 0, so a step draws only the pixel each slat gains at
    // its right end: column 19c + t - y.
    for (int c = t - 19; c <= t; ++c) {
        int column = 19 * c + t;
        int top = std::max(0, column - kW + 1), bottom = std::min(kH - 1, column);
        for (int y = top; y <= bottom; ++y) {
            size_t at = static_cast<size_t>(column - y) * 3;
            std::memcpy(s.Old.Row(y) + at, s.New.Row(y) + at, 3);
        }
    }
    if (t % 2 == 1) {
        PaintWhole(s, s.Old);
    }
}

void SteppedFadeBegin(TransitionSurfaces& s) {
    // Pixels of the quarters not yet drawn show the old picture.
    s.Work.CopyFrom(s.Old, Rect{0, 0, kW, kH}, 0, 0);
}

void SteppedFadeStage(TransitionSurfaces& s, int stage, int stages) {
    stages = std::clamp(stages, 1, kMaxMeanStages);
    s.Scratch.FadeStages = stages;
    s.Scratch.FadeStage = std::clamp(stage, 0, stages);
}

void SteppedFadeQuarter(TransitionSurfaces& s, int quarter) {
    // Even rows even pixels, odd rows odd pixels, even rows odd pixels, odd rows even pixels.
    static constexpr int kRowParity[4] = {0, 1, 0, 1};
    static constexpr int kPixelParity[4] = {0, 1, 1, 0};
    const BlendKernels& k = ActiveBlendKernels();
    int q = quarter & 3;
    const uint8_t* pixels = kPixelParityMasks[static_cast<size_t>(kPixelParity[q])].data();
    for (int y = kRowParity[q]; y < kH; y += 2) {
        k.StagedMean(s.Old.Row(y), s.New.Row(y), s.Work.Row(y), pixels, kRowBytes,
                     s.Scratch.FadeStage, s.Scratch.FadeStages);
    }
    PaintWhole(s, s.Work);
}

void SplitSlideStep(TransitionSurfaces& s, int v) {
    v = std::clamp(v, 0, kCentreX);
    PaintMoved(s, s.New, Rect{kCentreX - v, 0, v, kH}, 0, 0);
    PaintMoved(s, s.New, Rect{kCentreX, 0, v, kH}, kW - v, 0);
}

void PushRightStep(TransitionSurfaces& s, int v) {
    v = std::clamp(v, 0, kW);
    PaintMoved(s, s.New, Rect{kW - v, 0, v, kH}, 0, 0);
    PaintMoved(s, s.Old, Rect{0, 0, kW - v, kH}, v, 0);
}

void ZoomFadeStep(TransitionSurfaces& s, int w) {
    auto& scratch = s.Scratch;
    int divisor = w + 300;
    for (int x = 0; x < kW; ++x) {
        scratch.SampleX[static_cast<size_t>(x)] =
            std::clamp(kCentreX + ((x - kCentreX) * 76800 / divisor) / 256, 0, kW - 1);
    }
    for (int y = 0; y < kH; ++y) {
        scratch.SampleY[static_cast<size_t>(y)] =
            std::clamp(kCentreY + ((y - kCentreY) * 76800 / divisor) / 256, 0, kH - 1);
    }
    const BlendKernels& k = ActiveBlendKernels();
    ShuffleGather shuffles = AvailableShuffleGather();
    if (shuffles != nullptr && !PlanSampleShuffles(scratch)) {
        shuffles = nullptr;
    }
    uint8_t* sampled = scratch.RowA.data();
    Surface& frame = WholeFrame(s);
    int lastRow = -1;
    for (int y = 0; y < kH; ++y) {
        int from = scratch.SampleY[static_cast<size_t>(y)];
        if (from != lastRow) {
            GatherSampledRow(s.Old.Row(from), scratch, shuffles, sampled);
            lastRow = from;
        }
        k.Weighted(s.New.Row(y), sampled, frame.Row(y), kRowBytes, std::clamp(w, 0, 256));
    }
    PaintWhole(s, frame);
}

void SlideFadeStep(TransitionSurfaces& s, int w, int oldShift, int newShift) {
    w = std::clamp(w, 0, 256);
    oldShift = std::clamp(oldShift, -kW, kW);
    newShift = std::clamp(newShift, -kW, kW);
    // The columns each shifted picture covers; outside them it is black, and a blend with
    // black is a scale of the other picture, or black where neither lands.
    auto covered = [](int shift) { return std::pair{std::max(0, shift), std::min(kW, kW + shift)}; };
    auto [newFrom, newTo] = covered(newShift);
    auto [oldFrom, oldTo] = covered(oldShift);
    std::array<int, 6> cuts{0, newFrom, newTo, oldFrom, oldTo, kW};
    std::sort(cuts.begin(), cuts.end());
    const BlendKernels& k = ActiveBlendKernels();
    Surface& frame = WholeFrame(s);
    for (int y = 0; y < kH; ++y) {
        uint8_t* out = frame.Row(y);
        for (size_t c = 0; c + 1 < cuts.size(); ++c) {
            int from = cuts[c], to = cuts[c + 1];
            if (from >= to) {
                continue;
            }
            bool hasNew = from >= newFrom && to <= newTo, hasOld = from >= oldFrom && to <= oldTo;
            const uint8_t* fresh = s.New.Row(y) + static_cast<ptrdiff_t>(from - newShift) * 3;
            const uint8_t* old = s.Old.Row(y) + static_cast<ptrdiff_t>(from - oldShift) * 3;
            uint8_t* at = out + static_cast<size_t>(from) * 3;
            auto bytes = static_cast<size_t>(to - from) * 3;
            if (hasNew && hasOld) {
                k.Weighted(fresh, old, at, bytes, w);
            } else if (hasNew) {
                k.Scale(fresh, at, bytes, w);
            } else if (hasOld) {
                k.Scale(old, at, bytes, 256 - w);
            } else {
                std::memset(at, 0, bytes);
            }
        }
    }
    PaintWhole(s, frame);
}

} // namespace orv::pattern

namespace orv {

SpeedRow SpeedTable(int32_t speed) {
    static constexpr SpeedRow kRows[17] = {
        {4, 8, 20},  {32, 4, 1},  {32, 8, 2},   {32, 12, 3},  {16, 8, 5},   {16, 12, 8},
        {8, 8, 12},  {8, 12, 16}, {4, 8, 20},   {4, 10, 30},  {4, 12, 40},  {2, 8, 60},
        {2, 12, 70}, {1, 8, 80},  {1, 12, 100}, {1, 16, 120}, {1, 20, 140},
    };
    return speed >= 0 && speed <= 16 ? kRows[speed] : kRows[0];
}

void PaintArea(TransitionSurfaces& s, const Surface& source, Rect area) {
    int x = area.X, y = area.Y;
    if (pattern::ClipToScreen(source, area, x, y)) {
        s.Paint.Present(source, area, x, y);
    }
}

namespace {

// Fills `pixels` pixels from `out` with the colour of `pixel`, one store of four bytes a
// pixel: the fourth byte of each lands on the next pixel, which the next store covers, and the
// one past the last pixel is covered by the caller.
void FillPixelsOverrunning(uint8_t* out, const uint8_t* pixel, int pixels) {
    // Put together from its bytes: four bytes loaded over three just stored would wait for them.
    uint32_t colour = 0;
    if constexpr (std::endian::native == std::endian::little) {
        colour = uint32_t{pixel[0]} | uint32_t{pixel[1]} << 8 | uint32_t{pixel[2]} << 16;
    } else {
        colour = uint32_t{pixel[0]} << 24 | uint32_t{pixel[1]} << 16 | uint32_t{pixel[2]} << 8;
    }
    for (int x = 0; x < pixels; ++x) {
        std::memcpy(out + static_cast<size_t>(x) * 3, &colour, 4);
    }
}

} // namespace

void DrawMosaic(const Surface& source, int block, Surface& work, PaintTarget& paint) {
    // Every pixel of the frame is drawn anew from `source`.
    Surface& frame = FrameSurface(paint.Canvas(), work, source, source);
    int width = std::min(source.Width(), frame.Width());
    int height = std::min(source.Height(), frame.Height());
    block = std::max(block, 1);
    for (int top = 0; top < height; top += block) {
        const uint8_t* from = source.Row(top);
        uint8_t* first = frame.Row(top);
        int left = 0;
        // Every block but the last of the row may write past its end: the next block covers it.
        for (; left + block < width; left += block) {
            const uint8_t* pixel = from + static_cast<size_t>(left) * 3;
            FillPixelsOverrunning(first + static_cast<size_t>(left) * 3, pixel, block);
        }
        for (int x = left; x < width; ++x) {
            std::memcpy(first + static_cast<size_t>(x) * 3, from + static_cast<size_t>(left) * 3, 3);
        }
        for (int y = top + 1; y < std::min(top + block, height); ++y) {
            std::memcpy(frame.Row(y), first, static_cast<size_t>(width) * 3);
        }
    }
    Rect whole{0, 0, std::min(width, kScreenWidth), std::min(height, kScreenHeight)};
    if (whole.Width > 0 && whole.Height > 0) {
        paint.Present(frame, whole, 0, 0);
    }
}

} // namespace orv
