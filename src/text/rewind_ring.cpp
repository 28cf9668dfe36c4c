#include "text/rewind_ring.h"

#include "save/save_io.h"

#include <algorithm>

namespace orv {

namespace {

// Far below the largest count, and a multiple of the ring's size.
constexpr int32_t kCounterCeiling = 2'000'000'000;
constexpr int32_t kCounterStepBack = 1'000'000'000;
static_assert(kCounterStepBack % RewindRing::kPages == 0);

namespace layout = save_layout;
static_assert(sizeof(PageSnapshot::PageText) * RewindRing::kPages == layout::kRewindPagesSize);
static_assert(PageSnapshot::kSceneSize * RewindRing::kPages == layout::kRewindScenesSize);
static_assert(PageSnapshot::kVoicesSize * RewindRing::kPages == layout::kRewindVoicesSize);
static_assert(sizeof(PageSnapshot::PositionsX) * RewindRing::kPages ==
              layout::kRewindPositionsXSize);
static_assert(4 * RewindRing::kPages == layout::kRewindOverlayWeightsSize);
static_assert(4 * RewindRing::kPages == layout::kRewindNovelModesSize);

} // namespace

int32_t RewindRing::SlotAt(int32_t provisional, int32_t depth) const {
    int64_t n = int64_t{SnapshotCounter} + (provisional != 0 ? 1 : 0) - depth;
    return static_cast<int32_t>(((n % kPages) + kPages) % kPages);
}

bool RewindRing::HasPage(int32_t provisional, int32_t depth) const {
    return int64_t{SnapshotCounter} + (provisional != 0 ? 1 : 0) - depth >= 0;
}

void RewindRing::Advance() {
    ++SnapshotCounter;
    if (SnapshotCounter >= kCounterCeiling) {
        SnapshotCounter -= kCounterStepBack;
    }
}

void RewindRing::Retreat() {
    SnapshotCounter = std::max(SnapshotCounter - 1, 0);
}

void RewindRing::Clear() {
    Pages.fill(PageSnapshot{});
    SnapshotCounter = 0;
}

void RewindRing::Exchange(SaveIo& io) {
    io.Int(layout::RecordOffset(layout::record::SnapshotCounter), SnapshotCounter);
    for (size_t i = 0; i < Pages.size(); ++i) {
        PageSnapshot& page = Pages[i];
        io.Bytes(layout::kRewindPages + i * sizeof page.PageText,
                 std::span(page.PageText.front().data(), sizeof page.PageText));
        io.Int(layout::kRewindOverlayWeights + 4 * i, page.OverlayWeight);
        io.Ints(layout::kRewindPositionsX + i * sizeof page.PositionsX, page.PositionsX);
        io.Ints(layout::kRewindPositionsY + i * sizeof page.PositionsY, page.PositionsY);
        io.Bytes(layout::kRewindScenes + i * PageSnapshot::kSceneSize, std::span(page.Scene));
        io.Bytes(layout::kRewindVoices + i * PageSnapshot::kVoicesSize, std::span(page.Voices));
        io.Int(layout::kRewindNovelModes + 4 * i, page.LayoutFlag);
        if (io.Reading()) {
            page.Scene[PageSnapshot::kSceneSize - 1] = '\0';
            page.Voices[PageSnapshot::kVoicesSize - 1] = '\0';
        }
    }
    if (io.Reading()) {
        SnapshotCounter = std::clamp(SnapshotCounter, 0, kCounterCeiling - 1);
    }
}

} // namespace orv
