#include "headless/play_runner.h"

#include "base/cp932.h"
#include "base/files.h"
#include "engine/engine.h"
#include "headless/headless_platform.h"
#include "headless/png_writer.h"
#include "headless/state_dump.h"
#include "headless/state_fields.h"
#include "prompts/prompts.h"

#include <charconv>
#include <cstdio>
#include <system_error>

namespace orv {

namespace {

std::string HexColour(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFF);
    return text;
}

uint32_t BgrToRgb(uint32_t bgr) {
    return (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
}

// Below this a mix counts as silent: dither and the rounding of a faded tail stay under it.
constexpr int32_t kSilentPeak = 8;

} // namespace

bool ScriptFinished(const Engine& engine) {
    // The read position passes the last line as soon as it is fetched; a sleep, a tick wait,
    // a voice wait or a blocking effect on that line still has to run out.
    const WaitState& wait = engine.wait;
    return engine.dispatcher.AtScriptEnd() && wait.TickWait == 0 && wait.PassWait == 0 &&
           wait.VoiceWait == 0 && !engine.blocking.Busy();
}

bool GameWaitsForPlayer(const Engine& engine) {
    const WaitState& wait = engine.wait;
    int32_t autoLevel = engine.vars.S(cell::AutoLevel);
    return (wait.WaitKind != wait_kind::None && autoLevel == 0 && engine.SkipActive == 0) ||
           engine.choices.SelectionKind != selection_kind::None || wait.PassWait == -1 ||
           engine.prompts.IsOpen() || ScriptFinished(engine) ||
           // The map holds the script until the player has chosen on it.
           engine.screens.Mode() == screen_mode::Map;
}

PlayRunner::PlayRunner(Engine& engine, HeadlessPlatform& platform,
                       std::filesystem::path outDirectory, std::ostream& out, std::ostream& err)
    : m_engine(engine), m_pad(engine), m_platform(platform), m_outDirectory(std::move(outDirectory)), m_out(out),
      m_err(err) {}

PlayRunner::~PlayRunner() {
    // Queued inputs call back into this runner.
    m_platform.ClearQueuedInputs();
}

void PlayRunner::Pass() {
    m_engine.AppIdle();
    ++m_passes;
    m_platform.PumpMessages();
}

RunStatus PlayRunner::Run(std::span<const PlayCommand> commands) {
    m_laterFailure = RunStatus::Done;
    for (const PlayCommand& command : commands) {
        RunStatus status = Execute(command);
        if (status == RunStatus::Done) {
            // A shot or pixel check that ran later, inside this command, may have failed.
            status = m_laterFailure;
        }
        if (status != RunStatus::Done) {
            return status;
        }
        if (m_platform.WindowClosed()) {
            m_out << "window closed at line " << command.Line << '\n';
            break;
        }
    }
    if (!m_laterLines.empty() && !m_platform.WindowClosed()) {
        // A look at the screen that never happened would pass for one that found it right.
        int line = m_laterLines.front();
        m_laterLines.clear();
        return Fail(RunStatus::ExpectFailed,
                    "in at line " + std::to_string(line) + ": its time never came before the end");
    }
    m_out.flush();
    return RunStatus::Done;
}

RunStatus PlayRunner::Fail(RunStatus status, const std::string& message) {
    m_out.flush();
    m_err << message << '\n';
    m_err.flush();
    return status;
}

RunStatus PlayRunner::Execute(const PlayCommand& command) {
    if (command.DelayMs) {
        uint64_t due = m_platform.Now() + static_cast<uint64_t>(*command.DelayMs);
        if (IsInputCommand(command.Kind)) {
            m_platform.QueueInput(due, [this, command] { DeliverInput(command); });
            return RunStatus::Done;
        }
        PlayCommand now = command;
        now.DelayMs.reset();
        m_laterLines.push_back(command.Line);
        m_platform.QueueInput(due, [this, now] {
            std::erase(m_laterLines, now.Line);
            RunStatus status = Execute(now);
            if (m_laterFailure == RunStatus::Done) {
                m_laterFailure = status;
            }
        });
        return RunStatus::Done;
    }
    switch (command.Kind) {
    case PlayCommandKind::Pass:
        for (int64_t i = 0; i < command.Count && !m_platform.WindowClosed(); ++i) {
            Pass();
        }
        return RunStatus::Done;
    case PlayCommandKind::Ms:
        AdvanceMs(command.Count);
        return RunStatus::Done;
    case PlayCommandKind::Wait:
        return WaitForPlayer(command);
    case PlayCommandKind::Click:
    case PlayCommandKind::RightClick:
    case PlayCommandKind::Move:
    case PlayCommandKind::Leave:
    case PlayCommandKind::Press:
    case PlayCommandKind::Release:
    case PlayCommandKind::Wheel:
    case PlayCommandKind::Key:
    case PlayCommandKind::KeyDown:
    case PlayCommandKind::KeyUp:
    case PlayCommandKind::Pad:
    case PlayCommandKind::PadDown:
    case PlayCommandKind::PadUp:
    case PlayCommandKind::Menu:
        DeliverInput(command);
        return RunStatus::Done;
    case PlayCommandKind::Answer:
        m_platform.QueueAnswer(command.AnswerOk ? MessageBoxResult::Ok : MessageBoxResult::Cancel);
        return RunStatus::Done;
    case PlayCommandKind::DialogSave:
    case PlayCommandKind::DialogLoad:
    case PlayCommandKind::DialogClose: {
        SaveListAction action;
        action.Action = command.Kind == PlayCommandKind::DialogSave   ? SaveListAction::Kind::Save
                        : command.Kind == PlayCommandKind::DialogLoad ? SaveListAction::Kind::Load
                                                                      : SaveListAction::Kind::Close;
        action.Slot = static_cast<int>(command.Count);
        // Without a comment the edit keeps what selecting the slot put there.
        if (!command.Name.empty()) {
            action.Comment = command.Name;
        }
        m_platform.QueueSaveListAction(std::move(action));
        return RunStatus::Done;
    }
    case PlayCommandKind::DialogSettings:
        m_platform.QueueSettingsAction(command.Settings);
        return RunStatus::Done;
    case PlayCommandKind::DialogNames:
        m_platform.QueueNameEntryAction(command.Names);
        return RunStatus::Done;
    case PlayCommandKind::DialogSlotName:
        m_platform.QueueSlotNameAction(command.SlotName);
        return RunStatus::Done;
    case PlayCommandKind::Shot:
    case PlayCommandKind::Dump:
        return WriteOutput(command);
    case PlayCommandKind::Expect:
        return Expect(command);
    case PlayCommandKind::ExpectPixel:
        return ExpectPixel(command);
    case PlayCommandKind::ExpectAudio:
        return ExpectAudio(command);
    case PlayCommandKind::Quit:
        m_platform.CloseMainWindow();
        return RunStatus::Done;
    case PlayCommandKind::Echo:
        m_out << command.Name << '\n';
        return RunStatus::Done;
    }
    return RunStatus::Done;
}

void PlayRunner::PointerTo(int x, int y) {
    // A real press always follows the pointer's move to where it lands, and hover states
    // depend on that move.
    Point origin = m_platform.PaintBoxOrigin();
    Point cursor = m_platform.GetCursorPos();
    if (!m_engine.PointerOutside && cursor.X - origin.X == x && cursor.Y - origin.Y == y) {
        return;
    }
    m_platform.SetCursorPos(Point{origin.X + x, origin.Y + y});
    m_engine.PBMouseMove(x, y);
}

void PlayRunner::DeliverInput(const PlayCommand& command) {
    if (m_platform.WindowClosed()) {
        return;
    }
    switch (command.Kind) {
    case PlayCommandKind::Click:
    case PlayCommandKind::RightClick: {
        MouseButton button =
            command.Kind == PlayCommandKind::Click ? MouseButton::Left : MouseButton::Right;
        PointerTo(command.X, command.Y);
        m_engine.PBMouseDown(button, command.X, command.Y);
        m_engine.PBMouseUp(button, command.X, command.Y);
        break;
    }
    case PlayCommandKind::Move:
        PointerTo(command.X, command.Y);
        break;
    case PlayCommandKind::Leave:
        m_engine.PBMouseLeave();
        break;
    case PlayCommandKind::Press:
        PointerTo(command.X, command.Y);
        m_engine.PBMouseDown(MouseButton::Left, command.X, command.Y);
        break;
    case PlayCommandKind::Release:
        PointerTo(command.X, command.Y);
        m_engine.PBMouseUp(MouseButton::Left, command.X, command.Y);
        break;
    case PlayCommandKind::Wheel:
        m_engine.FormMouseWheel(static_cast<int>(command.Count));
        break;
    case PlayCommandKind::Key:
        m_engine.FormKeyDown(command.Key.Code);
        if (command.Key.HasPress) {
            m_engine.FormKeyPress(command.Key.Press);
        }
        m_engine.FormKeyUp(command.Key.Code);
        break;
    case PlayCommandKind::KeyDown:
        m_engine.FormKeyDown(command.Key.Code);
        break;
    case PlayCommandKind::KeyUp:
        m_engine.FormKeyUp(command.Key.Code);
        break;
    case PlayCommandKind::Pad:
        m_pad.ButtonDown(command.Pad);
        m_pad.ButtonUp(command.Pad);
        break;
    case PlayCommandKind::PadDown:
        m_pad.ButtonDown(command.Pad);
        break;
    case PlayCommandKind::PadUp:
        m_pad.ButtonUp(command.Pad);
        break;
    case PlayCommandKind::Menu:
        // The parser let through component names only, so the engine knows this one.
        m_engine.MenuItemClick(command.Name);
        break;
    default:
        break;
    }
}

void PlayRunner::AdvanceMs(int64_t ms) {
    uint64_t target = m_platform.Now() + static_cast<uint64_t>(ms);
    while (m_platform.Now() < target && !m_platform.WindowClosed()) {
        uint64_t before = m_platform.Now();
        Pass();
        if (m_platform.Now() == before) {
            // A pass that takes no time (an auto level that asks for no pacing) would never
            // reach the target.
            m_platform.AdvanceTo(target);
            m_platform.PumpMessages();
        }
    }
}

RunStatus PlayRunner::WaitForPlayer(const PlayCommand& command) {
    for (int64_t passes = 0; !m_platform.WindowClosed(); ++passes) {
        if (GameWaitsForPlayer(m_engine)) {
            return RunStatus::Done;
        }
        if (passes >= command.Count) {
            return Fail(RunStatus::WaitRanOut,
                        "wait ran out at line " + std::to_string(command.Line));
        }
        Pass();
    }
    return RunStatus::Done;
}

RunStatus PlayRunner::Expect(const PlayCommand& command) {
    auto field = FindStateField(command.Name);
    if (!field) {
        return Fail(RunStatus::BadInput, "expect at line " + std::to_string(command.Line) +
                                             ": unknown name " + command.Name);
    }
    FieldValue value = ReadStateField(m_engine, *field);
    bool match = false;
    if (value.Kind == FieldKind::Text) {
        match = value.Text == command.Value;
    } else {
        int64_t expected = 0;
        const char* end = command.Value.data() + command.Value.size();
        auto result = std::from_chars(command.Value.data(), end, expected);
        match = result.ec == std::errc() && result.ptr == end && value.Integer == expected;
    }
    if (match) {
        return RunStatus::Done;
    }
    return Fail(RunStatus::ExpectFailed,
                "expect failed at line " + std::to_string(command.Line) + ": " + command.Name +
                    " is " + FormatFieldValue(value) + ", expected " + command.Value);
}

RunStatus PlayRunner::ExpectPixel(const PlayCommand& command) {
    uint32_t actual = BgrToRgb(m_platform.PaintBox().Pixel(command.X, command.Y));
    if (actual == command.Colour) {
        return RunStatus::Done;
    }
    return Fail(RunStatus::ExpectFailed,
                "expect failed at line " + std::to_string(command.Line) + ": pixel " +
                    std::to_string(command.X) + " " + std::to_string(command.Y) + " is " +
                    HexColour(actual) + ", expected " + HexColour(command.Colour));
}

RunStatus PlayRunner::ExpectAudio(const PlayCommand& command) {
    int32_t peak = m_platform.PeakOfLastMs(static_cast<uint64_t>(command.Count));
    std::string_view actual = peak > kSilentPeak ? "sound" : "silent";
    if (actual == command.Value) {
        return RunStatus::Done;
    }
    return Fail(RunStatus::ExpectFailed, "expect failed at line " + std::to_string(command.Line) +
                                             ": audio of the last " +
                                             std::to_string(command.Count) + " ms is " +
                                             std::string(actual) + ", expected " + command.Value);
}

RunStatus PlayRunner::WriteOutput(const PlayCommand& command) {
    std::filesystem::path path = m_outDirectory / command.Name;
    std::error_code ec;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
    }
    std::string problem = command.Kind == PlayCommandKind::Shot
                              ? WritePng(path, m_platform.PaintBox())
                              : WriteFileAtomic(path, StateDumpJson(m_engine));
    if (problem.empty()) {
        return RunStatus::Done;
    }
    return Fail(RunStatus::BadInput,
                std::string(command.Kind == PlayCommandKind::Shot ? "shot" : "dump") + " at line " +
                    std::to_string(command.Line) + ": " + path.string() + ": " + problem);
}

namespace {

// Sees the top-level script reach the title, leave it, and reach it again.
class TitleWatch {
public:
    bool BackAtTitle(std::string_view script) {
        bool atTitle = cp932::EqualsIgnoreCase(script, kTitleScript);
        if (atTitle && m_left) {
            return true;
        }
        m_seen = m_seen || atTitle;
        m_left = m_left || (m_seen && !atTitle);
        return false;
    }

private:
    bool m_seen = false;
    bool m_left = false;
};

} // namespace

bool PlayRunner::PressToLeaveScreen() {
    // The gallery and the recollection wait for the player without a script wait: a player
    // playing through leaves them by their exit (or backs out of a viewed picture).
    std::optional<Point> exit;
    int32_t mode = m_engine.screens.Mode();
    if (mode == screen_mode::Gallery) {
        exit = m_engine.screens.gallery.LeavePoint();
    } else if (mode == screen_mode::Recollection) {
        exit = m_engine.screens.recollection.LeavePoint();
    } else {
        return false;
    }
    PlayCommand press;
    press.Kind = exit ? PlayCommandKind::Click : PlayCommandKind::RightClick;
    press.X = exit ? exit->X : kScreenWidth / 2;
    press.Y = exit ? exit->Y : kScreenHeight / 2;
    DeliverInput(press);
    return true;
}

RunStatus PlayRunner::AutoPlay(int64_t maxPasses) {
    const char* reason = "the pass limit was reached";
    // A game plays itself round in a circle: title, story, an ending, the title again. One
    // turn of the circle is one play-through.
    TitleWatch title;
    // No play file: no shot or pixel check can look at PB while an effect runs.
    m_engine.gfx.FramesWatched = false;
    // Nor can it ask for the mix's peaks; only --audio-out still listens.
    m_platform.MixUnheard();
    m_engine.sound.SamplesHeard = m_platform.MixHeard();
    while (true) {
        if (m_platform.WindowClosed()) {
            reason = "the window closed";
            break;
        }
        if (ScriptFinished(m_engine)) {
            reason = "the script ended";
            break;
        }
        if (title.BackAtTitle(m_engine.script.CurrentScriptNameText())) {
            reason = "the game came back to its title";
            break;
        }
        if (m_passes >= maxPasses) {
            break;
        }
        if (PressToLeaveScreen()) {
            Pass();
            continue;
        }
        if (GameWaitsForPlayer(m_engine) && !m_engine.choices.TakeFirstChoice()) {
            PlayCommand click;
            click.Kind = PlayCommandKind::Click;
            click.X = kScreenWidth / 2;
            click.Y = kScreenHeight / 2;
            DeliverInput(click);
            if (m_platform.WindowClosed()) {
                continue;
            }
        }
        Pass();
    }
    m_out << "auto play: " << m_passes << " passes, " << m_platform.TicksDelivered() << " ticks, "
          << m_platform.Now() << " ms, script "
          << cp932::ToUtf8(m_engine.script.CurrentScriptNameText()) << ": stopped because "
          << reason << '\n';
    m_out.flush();
    return RunStatus::Done;
}

} // namespace orv
