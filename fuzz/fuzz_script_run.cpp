// A game's scripts are outside data, and so is everything they make the engine do. Each input
// is a small game: its text is split at lines "%%" into the script "main", the script "sub",
// the game configuration "_config", the click maps "map", the selection trees "seltree",
// the map events "mapctrl" and the picture sets "_bgset" and "_sprset"; the bytes after a line
// "%%input" are the player's clicks, keys and wheel turns. The game runs on the headless
// platform for a bounded number of passes and of virtual time, and after every pass the
// script's positions lie inside its buffers and the call stack inside its nine entries.
#include "fuzz_check.h"
#include "engine_fixture.h"

#include "base/bytes.h"
#include "engine/keys.h"
#include "script/script_search.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kMaxPasses = 300;
// Five minutes of game time: every fade, wait and voice of a short game, while a script that
// fades for days (its durations are ints of milliseconds) ends the input instead of hanging it.
constexpr uint64_t kMaxVirtualMs = 5 * 60 * 1000;
constexpr std::string_view kInputMarker = "%%input\n";
constexpr std::array<std::string_view, 8> kEntryNames = {
    "main", "sub", "_config", "map", "seltree", "mapctrl", "_bgset", "_sprset"};

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "script run", what);
}

struct Game {
    std::vector<orv::ArchiveEntryInput> Entries;
    std::string_view Input;
};

// One text entry: the section's lines, each ended by its NUL.
orv::Bytes EntryOf(std::string_view section) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < section.size()) {
        size_t end = section.find('\n', start);
        if (end == std::string_view::npos) {
            end = section.size();
        }
        lines.emplace_back(section.substr(start, end - start));
        start = end + 1;
    }
    return orv::fuzz::ScriptEntry(lines);
}

Game Split(std::string_view text) {
    Game game;
    if (size_t at = text.find(kInputMarker); at != std::string_view::npos) {
        game.Input = text.substr(at + kInputMarker.size());
        text = text.substr(0, at);
    }
    for (std::string_view name : kEntryNames) {
        size_t end = text.find("%%\n");
        std::string_view section = text.substr(0, end);
        // An absent section leaves the entry out: the engine's path for a missing resource.
        if (!section.empty() || name == "main") {
            game.Entries.push_back({std::string(name), EntryOf(section)});
        }
        if (end == std::string_view::npos) {
            break;
        }
        text = text.substr(end + 3);
    }
    return game;
}

void WriteTextArchive(const Game& game) {
    orv::Bytes archive;
    std::string problem;
    if (!orv::BuildArchive(orv::IndexForm::A, 0, game.Entries, archive, &problem)) {
        std::fprintf(stderr, "cannot build the text archive: %s\n", problem.c_str());
        std::abort();
    }
    orv::fuzz::WriteBytes(orv::fuzz::TheGame().Game() / "ov_data.orv", archive);
}

void CheckInvariants(const orv::Engine& engine) {
    const orv::ScriptState& script = engine.script;
    Check(script.ScriptSize >= 0 && script.ScriptSize <= orv::TextBuffer::Capacity, "script size");
    Check(script.DefinitionSize >= 0 && script.DefinitionSize <= orv::TextBuffer::Capacity,
          "definition size");
    // A block search that finds nothing ends the script with a position past any script.
    if ((script.ReadPos < 0 || script.ReadPos > script.ScriptSize) && script.ReadPos != orv::kNotFound) {
        std::fprintf(stderr, "ReadPos %d, script size %d\n", script.ReadPos, script.ScriptSize);
        Check(false, "ReadPos outside the script");
    }
    // The line being executed may belong to the script before a chain or a call until the
    // next line is fetched; it stays inside the buffer.
    Check(engine.dispatcher.LineStart >= 0 && engine.dispatcher.LineStart <= orv::TextBuffer::Capacity,
          "LineStart outside the buffer");
    Check(script.LinePos >= 0 && script.LinePos < orv::ScriptState::kLineBufferSize,
          "LinePos outside the line");
    Check(script.InsertPtr >= 0 && script.InsertPtr <= orv::ScriptState::kInsertTextSize,
          "InsertPtr outside the inserted text");
    Check(engine.dispatcher.CallDepth >= 0 &&
              engine.dispatcher.CallDepth <= orv::Dispatcher::kCallStackSize,
          "call depth");
    Check(engine.gfx.BackBuffer.Width() == orv::kScreenWidth &&
              engine.gfx.BackBuffer.Height() == orv::kScreenHeight,
          "BackBuffer resized");
}

// The player's actions, read from the input's last section a byte or three at a time.
class Player {
public:
    explicit Player(std::string_view input) : m_input(input) {}
    bool Done() const { return m_at >= m_input.size(); }

    // One action and the passes after it.
    int Act(orv::fuzz::EngineRun& run) {
        orv::Engine& e = *run.Engine;
        switch (Next() % 9) {
        case 0: return 1 + Next() % 16;
        case 1: Press(e, orv::MouseButton::Left); break;
        case 2: Press(e, orv::MouseButton::Right); break;
        case 3: e.PBMouseMove(X(), Y()); break;
        case 4: e.FormMouseWheel(Next() % 2 ? 120 : -120); break;
        case 5: Key(e); break;
        case 6: e.FormKeyPress(static_cast<char>(Next())); break;
        case 7: e.PBMouseLeave(); break;
        default: run.Platform.AdvanceTo(run.Platform.Now() + 55 * (Next() % 40)); break;
        }
        return 1;
    }

private:
    uint8_t Next() { return m_at < m_input.size() ? static_cast<uint8_t>(m_input[m_at++]) : 0; }
    int X() { return Next() * orv::kScreenWidth / 256; }
    int Y() { return Next() * orv::kScreenHeight / 256; }

    void Press(orv::Engine& e, orv::MouseButton button) {
        int x = X();
        int y = Y();
        e.PBMouseMove(x, y);
        e.PBMouseDown(button, x, y);
        e.PBMouseUp(button, x, y);
    }

    void Key(orv::Engine& e) {
        namespace k = orv::keys;
        static constexpr std::array<int, 16> kNamed = {
            k::Return, k::Space,  k::Escape,   k::Backspace, k::Tab,  k::Up,
            k::Down,   k::Left,   k::Right,    k::Control,   k::Shift, k::PageUp,
            k::PageDown, k::Home, k::End,      'S'};
        uint8_t pick = Next();
        int code = pick < kNamed.size() * 8 ? kNamed[pick % kNamed.size()] : 'A' + pick % 26;
        e.FormKeyDown(code);
        if (code == k::Return || code == k::Space || code == k::Escape || code == k::Backspace) {
            e.FormKeyPress(static_cast<char>(code));
        } else if (code >= 'A' && code <= 'Z') {
            e.FormKeyPress(static_cast<char>(code - 'A' + 'a'));
        }
        e.FormKeyUp(code);
    }

    std::string_view m_input;
    size_t m_at = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orv::fuzz::GameFolder& folder = orv::fuzz::TheGame();
    folder.ClearData();
    Game game = Split(std::string_view(reinterpret_cast<const char*>(data), size));
    WriteTextArchive(game);
    orv::fuzz::EngineRun run(folder);
    CheckInvariants(*run.Engine);
    run.Platform.LimitClock(run.Platform.Now() + kMaxVirtualMs);
    Player player(game.Input);
    int passes = 0;
    try {
        while (passes < kMaxPasses && !run.Engine->QuitRequested) {
            // Without input of its own the game is clicked through, as a player in a hurry
            // would.
            int count = player.Done() ? 1 : player.Act(run);
            if (player.Done() && passes % 4 == 3) {
                run.Click();
            }
            for (int i = 0; i < count && passes < kMaxPasses; ++i, ++passes) {
                run.Passes(1);
                CheckInvariants(*run.Engine);
            }
        }
    } catch (const orv::fuzz::OutOfVirtualTime&) {
        // The engine stopped inside a sleep; what it holds is only torn down.
    }
    return 0;
}
