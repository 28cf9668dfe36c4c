// The headless platform: virtual clock, ticks and queued input at pumps, answers, records.
#include "tiny_game.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::HeadlessSession;
using test::TinyGame;

TEST(HeadlessClock, SleepAdvancesAtOnceAndCountersWrapAt32Bits) {
    std::ostringstream log;
    HeadlessPlatform platform(log);
    EXPECT_EQ(platform.GetTickCount(), 0u);
    platform.Sleep(20);
    EXPECT_EQ(platform.Now(), 20u);
    platform.AdvanceTo((uint64_t{1} << 32) + 5);
    EXPECT_EQ(platform.GetTickCount(), 5u);
    EXPECT_EQ(platform.TimeGetTime(), 5u);
    // The clock never runs backwards.
    platform.AdvanceTo(10);
    EXPECT_EQ(platform.Now(), (uint64_t{1} << 32) + 5);
}

TEST(HeadlessClock, LocalTimeStartsAtTheGivenDateAndFollowsVirtualTime) {
    std::ostringstream log;
    HeadlessPlatform platform(log, test::FixedStartTime());
    std::tm start = platform.LocalTime();
    EXPECT_EQ(start.tm_year, 124);
    EXPECT_EQ(start.tm_mon, 1);
    EXPECT_EQ(start.tm_mday, 28);
    EXPECT_EQ(start.tm_hour, 23);
    EXPECT_EQ(start.tm_sec, 30);
    platform.Sleep(45999);
    std::tm later = platform.LocalTime();
    EXPECT_EQ(later.tm_mon, 1);
    EXPECT_EQ(later.tm_mday, 29); // 2024 is a leap year
    EXPECT_EQ(later.tm_hour, 0);
    EXPECT_EQ(later.tm_min, 0);
    EXPECT_EQ(later.tm_sec, 15);
    EXPECT_EQ(later.tm_wday, 4); // a Thursday
}

TEST(HeadlessTicks, OneTickForEveryMultipleOf55Crossed) {
    TinyGame game({"line"});
    HeadlessSession session(game.Path());
    HeadlessPlatform& platform = session.Platform;
    platform.Sleep(54);
    platform.DeliverDueTicks();
    EXPECT_EQ(session.Game->TickCounter, 0);
    platform.Sleep(1);
    platform.DeliverDueTicks();
    EXPECT_EQ(session.Game->TickCounter, 1);
    platform.DeliverDueTicks();
    EXPECT_EQ(session.Game->TickCounter, 1);
    platform.Sleep(5 * 55 + 54);
    platform.PumpMessages();
    EXPECT_EQ(session.Game->TickCounter, 6);
}

TEST(HeadlessPump, DeliversTicksAndDueInputInTimeOrder) {
    TinyGame game({"line"});
    HeadlessSession session(game.Path());
    HeadlessPlatform& platform = session.Platform;
    std::vector<std::string> seen;
    auto record = [&](std::string name) {
        return [&seen, &session, name] {
            seen.push_back(name + "@" + std::to_string(session.Game->TickCounter));
        };
    };
    platform.QueueInput(120, record("c"));
    platform.QueueInput(60, record("a"));
    platform.QueueInput(60, record("b"));
    platform.QueueInput(500, record("late"));

    // Inside a blocking effect: sleeping moves time, a pump delivers what fell due.
    platform.Sleep(59);
    platform.PumpMessages();
    EXPECT_TRUE(seen.empty());
    platform.Sleep(71);
    platform.PumpMessages();
    EXPECT_EQ(seen, (std::vector<std::string>{"a@1", "b@1", "c@2"}));
    EXPECT_EQ(platform.QueuedInputs(), 1u);
    // Ticks alone never deliver input.
    platform.Sleep(1000);
    platform.DeliverDueTicks();
    EXPECT_EQ(platform.QueuedInputs(), 1u);
}

TEST(HeadlessPump, AClosedWindowGetsNoMoreTicksOrInput) {
    TinyGame game({"line"});
    HeadlessSession session(game.Path());
    HeadlessPlatform& platform = session.Platform;
    bool delivered = false;
    platform.QueueInput(10, [&] { delivered = true; });
    session.Game->QuitRequested = 1;
    platform.CloseMainWindow();
    ASSERT_TRUE(platform.WindowClosed());
    platform.Sleep(1000);
    platform.PumpMessages();
    EXPECT_FALSE(delivered);
    EXPECT_EQ(session.Game->TickCounter, 0);
}

TEST(HeadlessMessageBoxes, ConfirmationsTakeQueuedAnswersAndOkBoxesDoNot) {
    std::ostringstream log;
    HeadlessPlatform platform(log);
    platform.QueueAnswer(MessageBoxResult::Cancel);
    EXPECT_EQ(platform.MessageBox("note", "Info", MessageBoxButtons::Ok, MessageBoxIcon::None),
              MessageBoxResult::Ok);
    EXPECT_EQ(
        platform.MessageBox("sure?", "Ask", MessageBoxButtons::OkCancel, MessageBoxIcon::Question),
        MessageBoxResult::Cancel);
    EXPECT_EQ(
        platform.MessageBox("again?", "Ask", MessageBoxButtons::OkCancel, MessageBoxIcon::Question),
        MessageBoxResult::Ok);
    ASSERT_EQ(platform.MessageBoxes().size(), 3u);
    EXPECT_EQ(platform.MessageBoxes()[1].Text, "sure?");
    EXPECT_EQ(platform.MessageBoxes()[1].Caption, "Ask");
    EXPECT_EQ(log.str(), "message box: Info: note -> OK\nmessage box: Ask: sure? -> Cancel\n"
                         "message box: Ask: again? -> OK\n");
}

TEST(HeadlessRecords, KeepsMenuStatesDialogActionsAndDesktopOpens) {
    test::TempDir dir;
    test::WriteFile(dir / "op.mpg", "movie");
    std::ostringstream log;
    HeadlessPlatform platform(log);
    EXPECT_FALSE(platform.MenuItemEnabled("N20"));
    platform.SetMenuItemEnabled("N20", false);
    platform.SetMenuItemVisible("N20", true);
    platform.SetMenuItemEnabled("N20", true);
    EXPECT_EQ(platform.MenuItemEnabled("N20"), true);
    EXPECT_EQ(platform.MenuItemVisible("N20"), true);

    platform.QueueSaveListAction({SaveListAction::Kind::Save, 3, "note"});
    platform.QueueSaveListAction({SaveListAction::Kind::Close, 0, ""});
    auto first = platform.PopSaveListAction();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Action, SaveListAction::Kind::Save);
    EXPECT_EQ(first->Slot, 3);
    EXPECT_EQ(first->Comment, "note");
    EXPECT_EQ(platform.PopSaveListAction()->Action, SaveListAction::Kind::Close);
    EXPECT_FALSE(platform.PopSaveListAction());

    EXPECT_TRUE(platform.OpenMovie((dir / "op.mpg").string()));
    EXPECT_FALSE(platform.OpenMovie((dir / "absent.mpg").string()));
    EXPECT_FALSE(platform.IsMoviePlaying());

    EXPECT_TRUE(platform.OpenWithDesktop("https://example.org/"));
    EXPECT_EQ(platform.DesktopOpens(), std::vector<std::string>{"https://example.org/"});
    EXPECT_EQ(log.str(), "open: https://example.org/\n");
}

TEST(HeadlessPaintBox, PresentCopiesTheRectangleAndFillFillsAll) {
    std::ostringstream log;
    HeadlessPlatform platform(log);
    platform.FillPaintBox(0x010203);
    Surface source(10, 10);
    source.Fill(0xAABBCC);
    platform.Present(source, Rect{0, 0, 4, 4}, 798, 598);
    EXPECT_EQ(platform.PaintBox().Pixel(0, 0), 0x010203u);
    EXPECT_EQ(platform.PaintBox().Pixel(797, 598), 0x010203u);
    EXPECT_EQ(platform.PaintBox().Pixel(799, 599), 0xAABBCCu);
}

TEST(HeadlessClosing, CloseAsksTheEngineAndDestroysOnlyWhenAllowed) {
    TinyGame game({"line"});
    HeadlessSession session(game.Path());
    session.Platform.QueueAnswer(MessageBoxResult::Cancel);
    session.Platform.CloseMainWindow();
    EXPECT_FALSE(session.Platform.WindowClosed());
    session.Platform.CloseMainWindow();
    EXPECT_TRUE(session.Platform.WindowClosed());
    // Once closed, further requests ask nothing.
    session.Platform.CloseMainWindow();
    EXPECT_EQ(session.Platform.MessageBoxes().size(), 2u);
}

} // namespace
} // namespace orv
