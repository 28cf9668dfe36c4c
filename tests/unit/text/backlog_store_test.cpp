// The backlog's data on its own: the line store, the arithmetic of the scroll bar, the
// rewind ring's slots, and what a saved game may bring into them.
#include "base/bytes.h"
#include "base/cp932.h"
#include "save/save_io.h"
#include "text/backlog_layout.h"
#include "text/backlog_store.h"
#include "text/rewind_ring.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

std::string Sjis(std::string_view utf8) {
    return cp932::FromUtf8Lenient(utf8);
}

std::vector<std::string> FinishedLines(const BacklogStore& store) {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < store.Count(); ++i) {
        lines.emplace_back(store.Line(i));
    }
    return lines;
}

TEST(BacklogStoreTest, TheTwoHundredAndFirstLineDropsTheOldest) {
    BacklogStore store;
    for (int i = 0; i < 201; ++i) {
        store.Append("line " + std::to_string(i));
        store.Commit();
        ASSERT_EQ(store.WritePos(), store.Count() * BacklogStore::kLineBytes);
    }
    EXPECT_EQ(store.Count(), 200);
    EXPECT_EQ(store.Line(0), "line 1");
    EXPECT_EQ(store.Line(199), "line 200");
    EXPECT_EQ(store.Line(200), "") << "the line being written is empty";
    store.Append("next");
    EXPECT_EQ(store.Line(200), "next");
    EXPECT_EQ(store.Line(201), "");
    EXPECT_EQ(store.Line(-1), "");
}

struct LongLine {
    const char* Name;
    std::string Text;
    std::vector<std::string> Finished; // after a commit
};

class LongLineTest : public ::testing::TestWithParam<LongLine> {};

TEST_P(LongLineTest, IsSplitBeforeTheCharacterThatWouldPassTheLine) {
    BacklogStore store;
    store.Append(GetParam().Text);
    store.Commit();
    EXPECT_EQ(FinishedLines(store), GetParam().Finished);
    for (const std::string& line : FinishedLines(store)) {
        EXPECT_LE(line.size(), 69u);
    }
}

std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LongLineTest,
    ::testing::Values(
        LongLine{"SingleBytes", std::string(75, 'a'), {std::string(69, 'a'), std::string(6, 'a')}},
        // 34 full-width characters fill 68 bytes; the 35th would need bytes 69 and 70.
        LongLine{
            "FullWidth", Repeat(Sjis("あ"), 40), {Repeat(Sjis("あ"), 34), Repeat(Sjis("あ"), 6)}},
        LongLine{"FullWidthAfterAnOddCount",
                 std::string(68, 'a') + Sjis("あい"),
                 {std::string(68, 'a'), Sjis("あい")}},
        LongLine{"ExactlyFull", std::string(69, 'a'), {std::string(69, 'a')}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BacklogStoreTest, AVoiceNameLongerThanTheLineIsCutOnACharacterBoundary) {
    BacklogStore store;
    store.AppendVoice(std::string(100, 'v'));
    // '@', 67 bytes, and a double-byte character that would take bytes 69 and 70.
    store.AppendVoice(std::string(67, 'w') + Sjis("声") + "x");
    EXPECT_EQ(FinishedLines(store),
              (std::vector<std::string>{"@" + std::string(68, 'v'), "@" + std::string(67, 'w')}));
}

// A save image with the store's count and write position set, and `text` at `offset`.
SaveImage ImageWith(int32_t count, int32_t writePos, size_t offset = 0,
                    std::string_view text = {}) {
    SaveImage image;
    image.Clear();
    auto bytes = image.Bytes();
    StoreU32(bytes.data() + save_layout::RecordOffset(save_layout::record::BacklogCount),
             static_cast<uint32_t>(count));
    StoreU32(bytes.data() + save_layout::RecordOffset(save_layout::record::BacklogWritePos),
             static_cast<uint32_t>(writePos));
    std::copy(text.begin(), text.end(),
              bytes.begin() + static_cast<ptrdiff_t>(save_layout::kBacklog + offset));
    return image;
}

struct LoadedStore {
    const char* Name;
    int32_t Count, WritePos;
    size_t TextOffset;
    std::string Text;
    int32_t ExpectedCount, ExpectedWritePos;
};

class LoadedStoreTest : public ::testing::TestWithParam<LoadedStore> {};

TEST_P(LoadedStoreTest, ComesBackInsideTheStore) {
    const LoadedStore& c = GetParam();
    SaveImage image = ImageWith(c.Count, c.WritePos, c.TextOffset, c.Text);
    BacklogStore store;
    store.Append("left over from the game before the load");
    SaveIo io(image, SaveIo::Direction::Read);
    store.Exchange(io);
    EXPECT_EQ(store.Count(), c.ExpectedCount);
    EXPECT_EQ(store.WritePos(), c.ExpectedWritePos);
    store.Append("z");
    store.Commit();
    EXPECT_EQ(store.Line(store.Count() - 1).back(), 'z');
}

INSTANTIATE_TEST_SUITE_P(
    Saves, LoadedStoreTest,
    ::testing::Values(
        LoadedStore{"Valid", 3, 213, 210, "abc", 3, 213},
        LoadedStore{"NegativeCount", -5, 99999, 0, "", 0, 0},
        LoadedStore{"CountPastTheStore", 500, 0, 0, "", 200, 14000},
        LoadedStore{"PositionBeforeItsLine", 3, 10, 0, "", 3, 210},
        // Nothing stands between the line's start and the position: the line is empty.
        LoadedStore{"PositionPastItsText", 3, 279, 210, "ab", 3, 212},
        LoadedStore{"FullStoreWritingTheUnsavedLine", 200, 14030, 0, "", 200, 14000}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BacklogStoreTest, EveryLoadedLineEndsInsideItsSeventyBytes) {
    SaveImage image = ImageWith(2, 140, 0, std::string(140, 'q'));
    BacklogStore store;
    SaveIo io(image, SaveIo::Direction::Read);
    store.Exchange(io);
    EXPECT_EQ(store.Line(0), std::string(69, 'q'));
    EXPECT_EQ(store.Line(1), std::string(69, 'q'));
}

TEST(BacklogLayoutTest, TheThumbStandsAtTheBottomForTheNewestLinesAndAtTheTopForTheOldest) {
    // 50 lines, 20 rows: the view scrolls 0..30 over a track of 300 pixels from y = 100.
    EXPECT_EQ(ThumbTop(100, 300, 0, 50, 20), 400);
    EXPECT_EQ(ThumbTop(100, 300, 30, 50, 20), 100);
    EXPECT_EQ(ThumbTop(100, 300, 15, 50, 20), 250);
    EXPECT_EQ(ScrollForThumb(300, 300, 50, 20, 7), 0);
    EXPECT_EQ(ScrollForThumb(0, 300, 50, 20, 7), 30);
    EXPECT_EQ(ScrollForThumb(150, 300, 50, 20, 7), 15);
    EXPECT_EQ(ScrollForThumb(-40, 300, 50, 20, 7), 30) << "above the track: the oldest";
    EXPECT_EQ(ScrollForThumb(900, 300, 50, 20, 7), 0) << "below the track: the newest";
    EXPECT_EQ(ScrollForThumb(150, 300, 10, 20, 7), 0) << "everything fits";
    EXPECT_EQ(MaxScroll(10, 20), 0);
    EXPECT_EQ(FirstShownLine(50, 20, 30), 0);
    EXPECT_EQ(FirstShownLine(50, 20, 0), 30);
}

TEST(BacklogLayoutTest, ATrackOfNoLengthMovesNothing) {
    EXPECT_EQ(ScrollForThumb(0, 0, 50, 20, 7), 7);
    EXPECT_EQ(ScrollForThumb(10, -25, 50, 20, 7), 7);
    EXPECT_EQ(ThumbTop(100, 0, 30, 50, 20), 100);
}

TEST(BacklogLayoutTest, RowsPitchAndCoordinatesAreHeldToUsableValues) {
    GameConfig config;
    config.LOG_LINES = 0;
    config.LOG_PITCH = -3;
    config.LOG_FONTSIZE = 12;
    config.LOG_BAR = {INT_MAX, INT_MIN, 0, 0};
    config.LOG_BAR_INSIDE = {INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    BacklogLayout layout = BacklogLayout::FromConfig(config);
    EXPECT_EQ(layout.Rows, 1);
    EXPECT_EQ(layout.Pitch, 1);
    EXPECT_EQ(layout.TextPixels, 16) << "12 points at 96 pixels an inch";
    EXPECT_GT(layout.Track.Left, 0) << "no overflow";
    config.LOG_LINES = 99;
    EXPECT_EQ(BacklogLayout::FromConfig(config).Rows, 50);
}

struct RingCase {
    int32_t Counter, Provisional, Depth;
    int32_t Slot;
    bool HasPage;
};

class RewindSlotTest : public ::testing::TestWithParam<RingCase> {};

TEST_P(RewindSlotTest, LiesInsideTheRingWhateverTheCountersHold) {
    const RingCase& c = GetParam();
    RewindRing ring;
    ring.SnapshotCounter = c.Counter;
    EXPECT_EQ(ring.SlotAt(c.Provisional, c.Depth), c.Slot);
    EXPECT_EQ(ring.HasPage(c.Provisional, c.Depth), c.HasPage);
}

INSTANTIATE_TEST_SUITE_P(Counters, RewindSlotTest,
                         ::testing::Values(RingCase{2, 0, 2, 0, true}, RingCase{1, 0, 2, 49, false},
                                           RingCase{1, 1, 2, 0, true},
                                           RingCase{60, 0, 50, 10, true},
                                           RingCase{60, 1, 50, 11, true},
                                           // Any non-zero S039 counts as one provisional snapshot.
                                           RingCase{3, -7, 2, 2, true},
                                           RingCase{0, 0, 50, 0, false},
                                           RingCase{INT_MAX, 1, 2, (INT_MAX - 1) % 50, true}));

TEST(RewindRingTest, TheCounterNeitherOverflowsNorGoesNegativeAndKeepsItsSlot) {
    RewindRing ring;
    ring.Retreat();
    EXPECT_EQ(ring.SnapshotCounter, 0);
    ring.SnapshotCounter = 1'999'999'999;
    int32_t next = ring.SlotAt(0, -1);
    ring.Advance();
    EXPECT_LT(ring.SnapshotCounter, 1'999'999'999);
    EXPECT_EQ(ring.SlotAt(0, 0), next);
    EXPECT_TRUE(ring.HasPage(0, 50));
}

TEST(RewindRingTest, ALoadedRingHasTerminatedTextsAndACounterNotBelowZero) {
    SaveImage image;
    auto bytes = image.Bytes();
    std::fill(bytes.begin(), bytes.end(), uint8_t{'x'});
    StoreU32(bytes.data() + save_layout::RecordOffset(save_layout::record::SnapshotCounter),
             static_cast<uint32_t>(-20));
    RewindRing ring;
    SaveIo io(image, SaveIo::Direction::Read);
    ring.Exchange(io);
    EXPECT_EQ(ring.SnapshotCounter, 0);
    for (const PageSnapshot& page : ring.Pages) {
        EXPECT_EQ(page.Scene[PageSnapshot::kSceneSize - 1], '\0');
        EXPECT_EQ(page.Voices[PageSnapshot::kVoicesSize - 1], '\0');
    }
}

} // namespace
} // namespace orv::test
