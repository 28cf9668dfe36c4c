#pragma once
// The transition patterns, one drawing step at a time. Each step function draws the picture
// of one step from the old screen and the new one and copies what changed to the paint box;
// the loops that pace the steps, skip frames and answer clicks are Graphics::RunTransition's
// (transitions.cpp). Kept apart so that tests and benchmarks can draw any step alone.

#include "gfx/surface.h"

#include <array>
#include <cstdint>

namespace orv {

class RandomGenerator;

// One row of the speed table, chosen by S016: the step s of the fades, the interval i (ms)
// they wait between frames, and the frame time f (ms) of the other patterns.
struct SpeedRow {
    int32_t Step;
    int32_t Interval;
    int32_t FrameMs;
};
// A speed outside 0..16 uses the row of 0.
SpeedRow SpeedTable(int32_t speed);

// Transition numbers from this one up are durations in milliseconds (timed cross-fades).
constexpr int32_t kTimedTransitionMs = 128;
constexpr int32_t kLastPattern = 22;

// Where the steps copy what they drew: PB in the engine, a plain surface in benchmarks.
class PaintTarget {
public:
    virtual ~PaintTarget() = default;
    // `from` lies inside `source` and, moved to (x, y), inside the 800 x 600 screen.
    virtual void Present(const Surface& source, Rect from, int x, int y) = 0;
    // The 800 x 600 surface the target shows, for a step that draws its whole frame anew:
    // drawn there and presented from there, the frame is not copied. nullptr when the
    // target keeps none; such steps then draw on the work surface.
    virtual Surface* Canvas() { return nullptr; }
};

// Where a frame drawn whole from the pictures `a` and `b` is drawn: on `canvas`, the surface
// shown, when there is one and it is neither picture (so that presenting it copies nothing);
// on `work` otherwise, since drawing on a picture would blend it into itself frame by frame.
inline Surface& FrameSurface(Surface* canvas, Surface& work, const Surface& a, const Surface& b) {
    return canvas && canvas != &a && canvas != &b ? *canvas : work;
}

// Scratch space of the patterns that keep state between steps, allocated once.
struct TransitionScratch {
    struct LinePiece {
        int16_t Row;
        int16_t Left;
        int16_t Right; // one past the last column
    };
    static constexpr int kTiles = 100;
    static constexpr int kLinePieces = 2 * kScreenHeight;

    // Iris: the half width each row already shows (-1 none).
    std::array<int32_t, kScreenHeight> IrisShown{};
    // Random tiles: the shuffled order, and how many of it are finished.
    std::array<uint8_t, kTiles> TileOrder{};
    int32_t TilesFinished = 0;
    // Soft wipe: the columns left of this one show the new picture already.
    int32_t WipedColumns = 0;
    std::array<LinePiece, kLinePieces> Pieces{};
    // Stepped colour fade: the stage drawn, of how many.
    int32_t FadeStage = 0;
    int32_t FadeStages = 1;
    // Zoom cross-fade: the old picture's column and row each screen pixel samples.
    std::array<int32_t, kScreenWidth> SampleX{};
    std::array<int32_t, kScreenHeight> SampleY{};
    // The old picture's row the zoom samples, built before its blend.
    std::array<uint8_t, kScreenWidth * 3> RowA{};
    // The same gather as byte shuffles: for each 16 bytes of the sampled row, the old row's
    // byte its window of 16 starts at, and which byte of the window each one takes.
    static constexpr size_t kSampleChunks = kScreenWidth * 3 / 16;
    std::array<uint16_t, kSampleChunks> SampleWindow{};
    std::array<std::array<uint8_t, 16>, kSampleChunks> SampleShuffle{};
};

// The surfaces of one transition. All are 800 x 600. Patterns 15 and 16 write into the old
// picture; the others leave old and new as they are.
struct TransitionSurfaces {
    Surface& Old;       // PreviousSurface
    const Surface& New; // BackBuffer
    Surface& Work;      // WorkSurface
    PaintTarget& Paint;
    TransitionScratch& Scratch;
};

// Copies the part of `area` that lies inside the screen from `source` to the same place.
void PaintArea(TransitionSurfaces& s, const Surface& source, Rect area);

namespace pattern {

// 1..3 and the timed forms: work = (new x a + old x (256 - a)) / 256, shown whole.
void CrossFadeStep(TransitionSurfaces& s, int weight);
// 5: the mask minus v (first half, `brighten` false) or plus v (second half), saturated,
// is the mask of old into new.
void MaskWipeStep(TransitionSurfaces& s, const Surface& mask, int v, bool brighten);
// 6: step t of 0..69 uncovers one more pixel column of every 16-pixel blind.
void BlindsStep(TransitionSurfaces& s, int t);
constexpr int kBlindsSteps = 70;
// 7: the disc of new around the middle at radius r; call IrisBegin first.
void IrisBegin(TransitionSurfaces& s);
void IrisStep(TransitionSurfaces& s, int64_t radius);
// The iris never grows past this radius, whatever S020 and S021 hold (500 covers the
// screen).
constexpr int64_t kMaxIrisRadius = 1500;
// The radius the iris grows to from S020 and S021.
int64_t IrisLimit(int32_t s020, int32_t s021);
// 8: the tiles shuffled (old copied into work); step t fades the started tiles.
void TilesBegin(TransitionSurfaces& s, RandomGenerator& random);
void TilesStep(TransitionSurfaces& s, int t);
constexpr int kTilesSteps = 116;
// 9: step k of 0..59 shows five more rows from the top and from the bottom.
void RowsStep(TransitionSurfaces& s, int k);
constexpr int kRowsSteps = 60;
// 10: step k of 0..79 shows five more columns from the left and from the right.
void ColumnsStep(TransitionSurfaces& s, int k);
constexpr int kColumnsSteps = 80;
// 11: step t of 0..56 grows the squares of new in a grid of 64-pixel cells.
void SquaresStep(TransitionSurfaces& s, int t);
constexpr int kSquaresSteps = 57;
// 12: the mosaic block sizes.
constexpr std::array<int, 10> kMosaicBlocks = {2, 3, 4, 6, 8, 12, 16, 20, 28, 40};
// 13: the soft edge at v (old copied into work first, by SoftWipeBegin).
void SoftWipeBegin(TransitionSurfaces& s);
void SoftWipeStep(TransitionSurfaces& s, int v);
constexpr int kSoftWipeStart = -280;
// 14: the random pieces of rows; step k of 0..49 shows the next 24 of them.
void LinePiecesBegin(TransitionSurfaces& s, RandomGenerator& random);
void LinePiecesStep(TransitionSurfaces& s, int k);
constexpr int kLinePiecesSteps = 50;
// 15: the 128-row band from row t moves old 16 towards new.
void BandStep(TransitionSurfaces& s, int t);
constexpr int kBandStart = -124;
constexpr int kBandEnd = 664;
// 16: step t of 0..94 widens the slanted slats of new in old; shown on odd steps. The
// steps run in order from 0.
void SlatsStep(TransitionSurfaces& s, int t);
constexpr int kSlatsSteps = 95;
// 17: stage `stage` of `stages` of the colour fade, then one of its four interlaced
// quarters (old copied into work first, by SteppedFadeBegin).
void SteppedFadeBegin(TransitionSurfaces& s);
void SteppedFadeStage(TransitionSurfaces& s, int stage, int stages);
void SteppedFadeQuarter(TransitionSurfaces& s, int quarter);
// 18: the two halves of new sliding in from the edges, v pixels wide each.
void SplitSlideStep(TransitionSurfaces& s, int v);
// 19: new pushing old to the right by v.
void PushRightStep(TransitionSurfaces& s, int v);
// 20: new at weight w over old zoomed.
void ZoomFadeStep(TransitionSurfaces& s, int w);
// 21 and 22: new at weight w over old, each shifted (to the right when positive; what
// comes from outside the picture is black).
void SlideFadeStep(TransitionSurfaces& s, int w, int oldShift, int newShift);

} // namespace pattern

// Every b x b block of `work` (from the top left, the last ones cut at the edges) filled
// with the block's top-left pixel of `source`; then work is shown whole.
void DrawMosaic(const Surface& source, int block, Surface& work, PaintTarget& paint);

} // namespace orv
