#pragma once
// Runs a play file's commands against an engine on the headless platform, or plays the game
// automatically by clicking through every wait.

#include "engine/gamepad_input.h"
#include "headless/play_file.h"

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace orv {

class Engine;
class HeadlessPlatform;

// Exit statuses of a headless run.
enum class RunStatus : int {
    Done = 0,
    ExpectFailed = 1,
    BadInput = 2, // bad arguments, a bad play file, or an output file that cannot be written
    WaitRanOut = 3,
    DataMissing = 4,
};

// True when the top-level script has run off its end and nothing it started is pending.
bool ScriptFinished(const Engine& engine);

// True when the game waits for the player: a page or line wait with auto and skip mode off,
// a choice, a sleep until a click, an open prompt, or a finished script.
bool GameWaitsForPlayer(const Engine& engine);

constexpr int64_t kDefaultAutoPlayPasses = 200000;

class PlayRunner {
public:
    // `outDirectory`: where `shot` and `dump` write. `out` gets echo and progress lines,
    // `err` the failures.
    PlayRunner(Engine& engine, HeadlessPlatform& platform, std::filesystem::path outDirectory,
               std::ostream& out, std::ostream& err);
    ~PlayRunner();
    PlayRunner(const PlayRunner&) = delete;
    PlayRunner& operator=(const PlayRunner&) = delete;

    // Runs the commands in order until one fails or the main window closes.
    RunStatus Run(std::span<const PlayCommand> commands);

    // Clicks through every wait until the top-level script ends, the game is back at its
    // title after leaving it, the window closes or `maxPasses` passes ran; then prints one
    // summary line.
    RunStatus AutoPlay(int64_t maxPasses = kDefaultAutoPlayPasses);

    // One idle pass, then the messages that fell due during it.
    void Pass();

    int64_t PassesRun() const { return m_passes; }

private:
    RunStatus Execute(const PlayCommand& command);
    void DeliverInput(const PlayCommand& command);
    void PointerTo(int x, int y);
    bool PressToLeaveScreen();
    void AdvanceMs(int64_t ms);
    RunStatus WaitForPlayer(const PlayCommand& command);
    RunStatus Expect(const PlayCommand& command);
    RunStatus ExpectPixel(const PlayCommand& command);
    RunStatus ExpectAudio(const PlayCommand& command);
    RunStatus WriteOutput(const PlayCommand& command);
    RunStatus Fail(RunStatus status, const std::string& message);

    Engine& m_engine;
    GamepadInput m_pad;
    HeadlessPlatform& m_platform;
    std::filesystem::path m_outDirectory;
    std::ostream& m_out;
    std::ostream& m_err;
    int64_t m_passes = 0;
    // Shots and pixel checks that `in` queued: the lines of those not yet run, and the
    // status of the first that failed.
    std::vector<int> m_laterLines;
    RunStatus m_laterFailure = RunStatus::Done;
};

} // namespace orv
