// The choices inside a running engine, on games whose data leaves them little to work
// with: no configuration values, no plates, no map definition.
#include "headless/tiny_game.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(ChoicesInTheEngine, AutomaticPlayTakesTheFirstChoice) {
    TinyGame game({"*select", "{(V001=1)Hidden", "!V002=1", "{Shown", "!V002=2", "{Other",
                   "!V002=3", "}", "!V003=V002"});
    HeadlessSession session(game.Path());
    EXPECT_EQ(session.Runner->AutoPlay(), RunStatus::Done);
    EXPECT_EQ(session.Game->vars.V(3), 2);
    EXPECT_NE(session.Out.str().find("stopped because the script ended"), std::string::npos);
}

TEST(ChoicesInTheEngine, WithoutRowsNoPointerPositionPicksAChoice) {
    // SELECT_Y_PITCH 0: every choice row is empty and no position may divide by it.
    TinyGame game({"*select", "{A", "}"});
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("wait\nmove 400 0\nmove 400 300\nclick 401 299"), RunStatus::Done);
    EXPECT_EQ(session.Game->choices.SelectionKind, 1);
    EXPECT_EQ(session.Game->choices.ChoiceHover, 0);
}

TEST(ChoicesInTheEngine, AChoiceWithNothingToChooseGoesOnAfterTheGroup) {
    TinyGame game({"*select", "{(V001=1)A", "!V002=1", "}", "!V003=1"});
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("wait"), RunStatus::Done);
    EXPECT_EQ(session.Game->choices.SelectionKind, 0);
    EXPECT_EQ(session.Game->vars.V(2), 0);
    EXPECT_EQ(session.Game->vars.V(3), 1);
}

TEST(ChoicesInTheEngine, AClickMapWithoutDefinitionGoesOnAfterTheGroup) {
    TinyGame game({"*clickmap nowhere", "{", "!V002=1", "}", "!V003=1"});
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("wait"), RunStatus::Done);
    EXPECT_EQ(session.Game->choices.SelectionKind, 0);
    EXPECT_EQ(session.Game->vars.V(3), 1);
}

TEST(ChoicesInTheEngine, ManyBranchesOfferThirtyTwoChoices) {
    std::vector<std::string> lines{"*select"};
    for (int i = 0; i < 40; ++i) {
        lines.push_back("{Choice " + std::to_string(i));
        lines.push_back("!V001=" + std::to_string(i + 1));
    }
    lines.push_back("}");
    TinyGame game(lines);
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("wait"), RunStatus::Done);
    EXPECT_EQ(session.Game->choices.ChoiceCount, 32);
    session.Game->choices.ChoiceHover = 32;
    session.Game->choices.CommitChoice(MouseButton::Left);
    ASSERT_EQ(session.Play("wait"), RunStatus::Done);
    EXPECT_EQ(session.Game->vars.V(1), 32);
}

TEST(ChoicesInTheEngine, HoverAndKeysDoNothingWhileNoChoiceWaits) {
    TinyGame game({"*sleep 10", "!V001=1"});
    HeadlessSession session(game.Path());
    ASSERT_EQ(session.Play("wait\nkey Down\nmove 10 10\nkey Return"), RunStatus::Done);
    EXPECT_EQ(session.Game->choices.ChoiceHover, 0);
    EXPECT_EQ(session.Game->choices.SelectionKind, 0);
}

} // namespace
} // namespace orv::test
