#pragma once
// The pages kept for page review: a ring of 50 snapshots of the message page and the scene
// under it, filled in the order the pages ended. SnapshotCounter counts every snapshot ever
// taken; slot n mod 50 holds snapshot n. A provisional snapshot (taken at a line wait inside
// a page) stands in the slot the page's final snapshot will take: it is marked by S039 = 1
// with the counter not advanced.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orv {

class SaveIo;

struct PageSnapshot {
    static constexpr int kRows = 20;
    static constexpr int kColumns = 100;
    static constexpr size_t kSceneSize = 128;
    static constexpr size_t kVoicesSize = 256;
    static constexpr int kPositions = 10;

    // The page as typed; in the window layout row 0 holds the speaker's name.
    std::array<std::array<char, kColumns>, kRows> PageText{};
    // The background name, ',' and the character list, NUL-terminated.
    char Scene[kSceneSize] = {};
    int32_t OverlayWeight = 0;                    // S023, kept with the game
    int32_t LayoutFlag = 0;                       // S160: not 0 for the full-screen text layout
    std::array<int32_t, kPositions> PositionsX{}; // S080..S089
    std::array<int32_t, kPositions> PositionsY{}; // S090..S099
    // The voices played on the page, each followed by one blank; NUL-terminated.
    char Voices[kVoicesSize] = {};
};

class RewindRing {
public:
    static constexpr int32_t kPages = 50;

    // Review shows the newest snapshot at depth 1 (the page on the screen), the one before
    // it at depth 2, and so on. `provisional` is S039, any value: only 0 and not 0 count.
    // The slot of `depth` pages back, kept inside the ring whatever the counter holds.
    int32_t SlotAt(int32_t provisional, int32_t depth) const;
    // A snapshot exists `depth` pages back (depth 2 and more).
    bool HasPage(int32_t provisional, int32_t depth) const;

    // The slot the next snapshot goes into.
    PageSnapshot& NextSlot() { return Pages[static_cast<size_t>(SlotAt(0, 0))]; }
    // One more snapshot taken, or one taken back (a provisional snapshot leaves the counter
    // where it was). The counter never goes below 0 and never overflows: far out it steps
    // back by a multiple of the ring's size, which keeps every slot where it was.
    void Advance();
    void Retreat();

    // All slots empty, no snapshot taken.
    void Clear();

    // A saved game keeps every slot and the counter (clamped to 0 and up when read).
    void Exchange(SaveIo& io);

    std::array<PageSnapshot, kPages> Pages{};
    int32_t SnapshotCounter = 0;
};

} // namespace orv
