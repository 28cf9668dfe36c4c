// Play files: every command form, `in`, and errors that name their line.
#include "engine/keys.h"
#include "headless/play_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::vector<PlayCommand> Parse(std::string_view text) {
    std::vector<PlayCommand> commands;
    std::string error;
    EXPECT_TRUE(ParsePlayFile(text, "test.play", commands, error)) << error;
    return commands;
}

PlayCommand ParseOne(std::string_view line) {
    auto commands = Parse(line);
    EXPECT_EQ(commands.size(), 1u) << line;
    return commands.empty() ? PlayCommand{} : commands[0];
}

std::string ErrorOf(std::string_view text) {
    std::vector<PlayCommand> commands;
    std::string error;
    EXPECT_FALSE(ParsePlayFile(text, "test.play", commands, error)) << text;
    EXPECT_TRUE(commands.empty());
    return error;
}

TEST(PlayFileParser, SkipsCommentsAndBlankLinesAndKeepsLineNumbers) {
    auto commands = Parse("# a comment\n\n   \npass 3\r\n  # indented comment\n\tms 40\nquit");
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].Kind, PlayCommandKind::Pass);
    EXPECT_EQ(commands[0].Count, 3);
    EXPECT_EQ(commands[0].Line, 4);
    EXPECT_EQ(commands[1].Kind, PlayCommandKind::Ms);
    EXPECT_EQ(commands[1].Count, 40);
    EXPECT_EQ(commands[1].Line, 6);
    EXPECT_EQ(commands[2].Kind, PlayCommandKind::Quit);
    EXPECT_EQ(commands[2].Line, 7);
}

TEST(PlayFileParser, ReadsEveryCommandForm) {
    EXPECT_EQ(ParseOne("wait").Count, kDefaultWaitPasses);
    EXPECT_EQ(ParseOne("wait 12").Count, 12);

    PlayCommand click = ParseOne("click 10   20");
    EXPECT_EQ(click.Kind, PlayCommandKind::Click);
    EXPECT_EQ(click.X, 10);
    EXPECT_EQ(click.Y, 20);
    EXPECT_EQ(ParseOne("rclick 1 2").Kind, PlayCommandKind::RightClick);
    PlayCommand move = ParseOne("move -5 600");
    EXPECT_EQ(move.Kind, PlayCommandKind::Move);
    EXPECT_EQ(move.X, -5);
    PlayCommand press = ParseOne("press 7 8");
    EXPECT_EQ(press.Kind, PlayCommandKind::Press);
    EXPECT_EQ(press.Y, 8);
    EXPECT_EQ(ParseOne("in 30 release 1 2").Kind, PlayCommandKind::Release);
    PlayCommand wheel = ParseOne("wheel -120");
    EXPECT_EQ(wheel.Kind, PlayCommandKind::Wheel);
    EXPECT_EQ(wheel.Count, -120);

    PlayCommand menu = ParseOne("menu SpeedButton3");
    EXPECT_EQ(menu.Kind, PlayCommandKind::Menu);
    EXPECT_EQ(menu.Name, "SpeedButton3");

    EXPECT_TRUE(ParseOne("answer ok").AnswerOk);
    EXPECT_FALSE(ParseOne("answer cancel").AnswerOk);

    PlayCommand save = ParseOne("dialog save 3 before  the choice");
    EXPECT_EQ(save.Kind, PlayCommandKind::DialogSave);
    EXPECT_EQ(save.Count, 3);
    EXPECT_EQ(save.Name, "before  the choice");
    EXPECT_EQ(ParseOne("dialog save 4").Name, "");
    PlayCommand load = ParseOne("dialog load 7");
    EXPECT_EQ(load.Kind, PlayCommandKind::DialogLoad);
    EXPECT_EQ(load.Count, 7);
    EXPECT_EQ(ParseOne("dialog close").Kind, PlayCommandKind::DialogClose);

    PlayCommand shot = ParseOne("shot shots/title.png");
    EXPECT_EQ(shot.Kind, PlayCommandKind::Shot);
    EXPECT_EQ(shot.Name, "shots/title.png");
    EXPECT_EQ(ParseOne("dump state.json").Kind, PlayCommandKind::Dump);

    PlayCommand pixel = ParseOne("expect-pixel 799 599 ff8000");
    EXPECT_EQ(pixel.Kind, PlayCommandKind::ExpectPixel);
    EXPECT_EQ(pixel.X, 799);
    EXPECT_EQ(pixel.Y, 599);
    EXPECT_EQ(pixel.Colour, 0xFF8000u);

    PlayCommand audio = ParseOne("expect-audio 60000 sound");
    EXPECT_EQ(audio.Kind, PlayCommandKind::ExpectAudio);
    EXPECT_EQ(audio.Count, 60000);
    EXPECT_EQ(audio.Value, "sound");
    EXPECT_EQ(ParseOne("expect-audio 1 silent").Value, "silent");

    PlayCommand echo = ParseOne("echo  two  blanks kept ");
    EXPECT_EQ(echo.Kind, PlayCommandKind::Echo);
    EXPECT_EQ(echo.Name, " two  blanks kept ");
    EXPECT_EQ(ParseOne("echo").Name, "");
}

TEST(PlayFileParser, MapsKeyNamesToCodesAndTypedCharacters) {
    PlayCommand enter = ParseOne("key Return");
    EXPECT_EQ(enter.Kind, PlayCommandKind::Key);
    EXPECT_EQ(enter.Key.Code, keys::Return);
    EXPECT_TRUE(enter.Key.HasPress);
    EXPECT_EQ(enter.Key.Press, '\r');

    PlayCommand control = ParseOne("keydown Control");
    EXPECT_EQ(control.Kind, PlayCommandKind::KeyDown);
    EXPECT_EQ(control.Key.Code, keys::Control);
    EXPECT_FALSE(control.Key.HasPress);
    EXPECT_FALSE(ParseOne("keyup Tab").Key.HasPress);
    EXPECT_EQ(ParseOne("key Escape").Key.Press, '\x1B');
    EXPECT_EQ(ParseOne("key Backspace").Key.Press, '\b');
    EXPECT_EQ(ParseOne("key Space").Key.Press, ' ');

    PlayCommand letter = ParseOne("key s");
    EXPECT_EQ(letter.Key.Code, 'S');
    EXPECT_EQ(letter.Key.Press, 's');
    EXPECT_EQ(ParseOne("key 7").Key.Code, '7');
    EXPECT_EQ(ParseOne("key ?").Key.Press, '?');
}

TEST(PlayFileParser, NamesEveryPadButtonAndTheThreePadForms) {
    struct Case {
        std::string_view Line;
        PlayCommandKind Kind;
        PadButton Button;
    };
    const Case kCases[] = {
        {"pad a", PlayCommandKind::Pad, PadButton::A},
        {"pad b", PlayCommandKind::Pad, PadButton::B},
        {"pad x", PlayCommandKind::Pad, PadButton::X},
        {"pad y", PlayCommandKind::Pad, PadButton::Y},
        {"pad back", PlayCommandKind::Pad, PadButton::Back},
        {"pad start", PlayCommandKind::Pad, PadButton::Start},
        {"paddown leftshoulder", PlayCommandKind::PadDown, PadButton::LeftShoulder},
        {"padup rightshoulder", PlayCommandKind::PadUp, PadButton::RightShoulder},
        {"pad up", PlayCommandKind::Pad, PadButton::Up},
        {"pad down", PlayCommandKind::Pad, PadButton::Down},
        {"pad left", PlayCommandKind::Pad, PadButton::Left},
        {"in 40 pad right", PlayCommandKind::Pad, PadButton::Right},
    };
    for (const Case& c : kCases) {
        PlayCommand command = ParseOne(c.Line);
        EXPECT_EQ(command.Kind, c.Kind) << c.Line;
        EXPECT_EQ(command.Pad, c.Button) << c.Line;
        EXPECT_EQ(PadButtonName(command.Pad), command.Name) << c.Line;
    }
    EXPECT_NE(ErrorOf("pad").find("usage: pad BUTTON"), std::string::npos);
    EXPECT_NE(ErrorOf("pad A").find("unknown pad button \"A\""), std::string::npos);
    EXPECT_NE(ErrorOf("paddown dpup").find("unknown pad button"), std::string::npos);
    EXPECT_NE(ErrorOf("padup a b").find("usage"), std::string::npos);
}

TEST(PlayFileParser, ExpectValidatesNamesAndValuesThroughTheRegistry) {
    PlayCommand cell = ParseOne("expect V123 -42");
    EXPECT_EQ(cell.Kind, PlayCommandKind::Expect);
    EXPECT_EQ(cell.Name, "V123");
    EXPECT_EQ(cell.Value, "-42");
    EXPECT_EQ(ParseOne("expect E1023 1").Value, "1");
    EXPECT_EQ(ParseOne("expect WaitKind 0").Name, "WaitKind");

    // Text values are the rest of the line after one blank, blanks and all.
    EXPECT_EQ(ParseOne("expect $0 Taro  Yamada").Value, "Taro  Yamada");
    EXPECT_EQ(ParseOne("expect CurrentScriptName main").Value, "main");
    EXPECT_EQ(ParseOne("expect $1").Value, "");

    EXPECT_NE(ErrorOf("expect V1000 0").find("unknown name \"V1000\""), std::string::npos);
    EXPECT_NE(ErrorOf("expect V12 0").find("unknown name"), std::string::npos);
    EXPECT_NE(ErrorOf("expect E1024 0").find("unknown name"), std::string::npos);
    EXPECT_NE(ErrorOf("expect T999 0").find("unknown name"), std::string::npos);
    EXPECT_NE(ErrorOf("expect NoSuchField 0").find("unknown name"), std::string::npos);
    EXPECT_NE(ErrorOf("expect F001 2").find("0 or 1"), std::string::npos);
    EXPECT_NE(ErrorOf("expect ScreenMode zero").find("decimal integer"), std::string::npos);
    EXPECT_NE(ErrorOf("expect ScreenMode 0 1").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("expect ScreenMode").find("usage"), std::string::npos);
}

TEST(PlayFileParser, InDelaysOnlyInputCommands) {
    PlayCommand later = ParseOne("in 250 click 5 6");
    EXPECT_EQ(later.Kind, PlayCommandKind::Click);
    ASSERT_TRUE(later.DelayMs);
    EXPECT_EQ(*later.DelayMs, 250);
    EXPECT_EQ(later.X, 5);
    EXPECT_FALSE(ParseOne("click 5 6").DelayMs);

    for (std::string_view line :
         {"in 0 rclick 1 1", "in 0 move 1 1", "in 0 wheel 1", "in 0 key a", "in 0 keydown Up",
          "in 0 keyup Up", "in 0 menu N14", "in 10 shot a.png", "in 10 expect-pixel 1 2 00FF00",
          "in 10 expect V000 0", "in 10 quit"}) {
        EXPECT_TRUE(ParseOne(line).DelayMs) << line;
    }
    for (std::string_view line : {"in 10 pass 1", "in 10 wait", "in 10 echo hi", "in 10 answer ok",
                                  "in 10 in 5 click 1 1", "in 10 dump a.json"}) {
        EXPECT_NE(ErrorOf(line).find("cannot be delivered later"), std::string::npos) << line;
    }
    EXPECT_NE(ErrorOf("in click 1 1").find("not a count of ms"), std::string::npos);
    EXPECT_NE(ErrorOf("in -5 click 1 1").find("not a count of ms"), std::string::npos);
    EXPECT_NE(ErrorOf("in 5").find("usage: in MS COMMAND"), std::string::npos);
    EXPECT_NE(ErrorOf("in 5 jump").find("unknown command"), std::string::npos);
}

TEST(PlayFileParser, ErrorsNameTheFileAndLine) {
    EXPECT_EQ(ErrorOf("pass 1\n\njump 3\n"), "play file test.play:3: unknown command \"jump\"");
    EXPECT_EQ(ErrorOf("pass"), "play file test.play:1: pass: usage: pass N");
    EXPECT_EQ(ErrorOf("# c\nkey Enter"), "play file test.play:2: key: unknown key name \"Enter\"");
    EXPECT_NE(ErrorOf("pass -1").find("test.play:1: pass: \"-1\" is not a count"),
              std::string::npos);
    EXPECT_NE(ErrorOf("pass 1 2").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("ms ten").find("not a count"), std::string::npos);
    EXPECT_NE(ErrorOf("wait 3 4").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("click 1").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("click 1 2 3").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("click 1 99999999999").find("y coordinate"), std::string::npos);
    EXPECT_NE(ErrorOf("wheel").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("key").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("key ab").find("unknown key name"), std::string::npos);
    EXPECT_NE(ErrorOf("keydown return").find("unknown key name"), std::string::npos);
    EXPECT_NE(ErrorOf("menu N99").find("\"N99\""), std::string::npos);
    EXPECT_NE(ErrorOf("answer yes").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("dialog open 1").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("dialog load").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("dialog load x").find("save slot"), std::string::npos);
    EXPECT_NE(ErrorOf("dialog close now").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("shot").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("dump a b").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("expect-pixel 800 0 000000").find("x coordinate"), std::string::npos);
    EXPECT_NE(ErrorOf("expect-pixel 0 600 000000").find("y coordinate"), std::string::npos);
    EXPECT_NE(ErrorOf("expect-pixel 0 0 12345").find("RRGGBB"), std::string::npos);
    EXPECT_NE(ErrorOf("expect-pixel 0 0 12345G").find("RRGGBB"), std::string::npos);
    // What a headless run keeps of the mix bounds how far back a check looks.
    EXPECT_NE(ErrorOf("expect-audio 60001 sound").find("count of ms"), std::string::npos);
    EXPECT_NE(ErrorOf("expect-audio 0 sound").find("count of ms"), std::string::npos);
    EXPECT_NE(ErrorOf("expect-audio 100 loud").find("usage: expect-audio MS silent|sound"),
              std::string::npos);
    EXPECT_NE(ErrorOf("expect-audio 100").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("expect-audio 100 sound now").find("usage"), std::string::npos);
    EXPECT_NE(ErrorOf("quit now").find("usage"), std::string::npos);
}

TEST(PlayFileParser, LoadingAMissingFileIsAnError) {
    test::TempDir dir;
    std::vector<PlayCommand> commands;
    std::string error;
    EXPECT_FALSE(LoadPlayFile(dir / "absent.play", commands, error));
    EXPECT_NE(error.find("absent.play: cannot be read"), std::string::npos);

    test::WriteFile(dir / "good.play", "pass 2\nwait\n");
    EXPECT_TRUE(LoadPlayFile(dir / "good.play", commands, error)) << error;
    EXPECT_EQ(commands.size(), 2u);
}

} // namespace
} // namespace orv
