#pragma once
// Play files: one command a line that drives a headless run (input, waits, checks, dumps).
// Blank lines and lines starting with '#' are skipped; fields are separated by blanks.

#include "engine/gamepad_input.h"
#include "headless/key_names.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

enum class PlayCommandKind {
    Pass,        // pass N
    Ms,          // ms N
    Wait,        // wait [N]
    Click,       // click X Y
    RightClick,  // rclick X Y
    Move,        // move X Y
    Leave,       // leave
    Press,       // press X Y: the left button goes down there
    Release,     // release X Y: and comes up there
    Wheel,       // wheel D
    Key,         // key NAME
    KeyDown,     // keydown NAME
    KeyUp,       // keyup NAME
    Pad,         // pad BUTTON: a game-controller button goes down and up
    PadDown,     // paddown BUTTON
    PadUp,       // padup BUTTON
    Menu,        // menu NAME
    Answer,      // answer ok|cancel
    DialogSave,  // dialog save N [COMMENT]
    DialogLoad,  // dialog load N
    DialogClose, // dialog close
    DialogSettings, // dialog settings NAME VALUE ... [FontName NAME]
    DialogNames,    // dialog names A [B [C]]
    DialogSlotName, // dialog slotname TEXT|cancel
    Shot,        // shot FILE
    Dump,        // dump FILE
    Expect,      // expect NAME VALUE
    ExpectPixel, // expect-pixel X Y RRGGBB
    ExpectAudio, // expect-audio MS silent|sound
    Quit,        // quit
    Echo,        // echo TEXT
};

constexpr int64_t kDefaultWaitPasses = 100000;
// The longest stretch of the mix `expect-audio` looks back over: what a headless run keeps.
constexpr int64_t kLongestAudioCheckMs = 60000;

struct PlayCommand {
    PlayCommandKind Kind = PlayCommandKind::Pass;
    int Line = 0;
    // pass, ms, wait: N; wheel: D; dialog save and load: the slot; expect-audio: MS.
    int64_t Count = 0;
    // click, rclick, move, expect-pixel.
    int X = 0;
    int Y = 0;
    KeyStroke Key;
    PadButton Pad = PadButton::A; // pad, paddown, padup
    // menu: component; shot, dump: file; expect: name; echo: text; dialog save: comment.
    std::string Name;
    std::string Value;   // expect: the expected value as written; expect-audio: silent|sound
    uint32_t Colour = 0; // expect-pixel: 0xRRGGBB
    bool AnswerOk = true;
    // dialog settings: names and values in turn (a button name stands alone, its value
    // empty); dialog names: the names ("" for an empty one); dialog slotname: the text, or
    // nothing for cancel.
    std::vector<std::pair<std::string, std::string>> Settings;
    std::vector<std::string> Names;
    std::optional<std::string> SlotName;
    // `in MS COMMAND`: the command is delivered at the first message pump this many virtual
    // milliseconds after its line runs.
    std::optional<int64_t> DelayMs;
};

// True for the input commands (click, move, keys, pad buttons, wheel, menu).
bool IsInputCommand(PlayCommandKind kind);
// True for the commands that `in` may run later: the input commands, and the looks at the
// screen (shot, expect-pixel) that catch an effect in the middle.
bool CanRunLater(PlayCommandKind kind);

// Parses a whole play file. On the first error returns false with `error` set to
// "play file FILE:LINE: what is wrong".
bool ParsePlayFile(std::string_view text, std::string_view fileName,
                   std::vector<PlayCommand>& commands, std::string& error);

// Reads and parses the file at `path`.
bool LoadPlayFile(const std::filesystem::path& path, std::vector<PlayCommand>& commands,
                  std::string& error);

} // namespace orv
