#include "headless/headless_run.h"

#include "engine/engine.h"
#include "headless/headless_platform.h"
#include "headless/play_file.h"
#include "headless/play_runner.h"
#include "headless/wav_writer.h"

#include <memory>
#include <optional>
#include <system_error>
#include <vector>

namespace orv {

namespace {

int Status(RunStatus status) {
    return static_cast<int>(status);
}

// The settings store, saves and global data: the given directory, or a scratch one.
std::optional<std::filesystem::path> DataDirectoryFor(const RunOptions& options,
                                                      std::optional<ScratchDirectory>& scratch,
                                                      std::ostream& err) {
    if (options.DataDirectory) {
        std::error_code ec;
        std::filesystem::create_directories(*options.DataDirectory, ec);
        if (!std::filesystem::is_directory(*options.DataDirectory, ec)) {
            err << "orvell: --data-dir " << options.DataDirectory->string()
                << " is not a directory that can be made\n";
            return std::nullopt;
        }
        return *options.DataDirectory;
    }
    scratch.emplace();
    if (scratch->Path().empty()) {
        err << "orvell: cannot make a temporary data directory\n";
        return std::nullopt;
    }
    return scratch->Path();
}

// The whole mix of the run, one frame for every 1/44100 s of virtual time; silent frames
// when nothing played.
bool WriteAudio(const RunOptions& options, const HeadlessPlatform& platform, std::ostream& err) {
    if (!options.AudioOut) {
        return true;
    }
    std::string problem = WriteWav(*options.AudioOut, platform.WholeMix());
    if (!problem.empty()) {
        err << "orvell: --audio-out " << options.AudioOut->string() << ": " << problem << '\n';
        return false;
    }
    return true;
}

} // namespace

int RunHeadless(const RunOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<PlayCommand> commands;
    if (options.PlayFile) {
        std::string error;
        if (!LoadPlayFile(*options.PlayFile, commands, error)) {
            err << error << '\n';
            return Status(RunStatus::BadInput);
        }
    }
    std::optional<ScratchDirectory> scratch;
    auto dataDirectory = DataDirectoryFor(options, scratch, err);
    if (!dataDirectory) {
        return Status(RunStatus::BadInput);
    }

    EngineOptions engineOptions;
    engineOptions.GameDirectory = options.GameDirectory.value_or(".");
    engineOptions.DataDirectory = *dataDirectory;
    engineOptions.Seed = options.Seed;
    HeadlessPlatform platform(out, options.Date);
    if (options.AudioOut) {
        platform.KeepWholeMix();
    }
    auto engine = std::make_unique<Engine>(platform, engineOptions);
    platform.Attach(*engine);
    if (options.TextHookStdout) {
        engine->text.SetTextHook([&out](std::string_view line) { out << line << '\n'; });
    }
    PlayRunner runner(*engine, platform, options.OutDirectory.value_or("."), out, err);

    engine->FormCreate();
    RunStatus status = RunStatus::Done;
    if (engine->DataMissing) {
        // The engine closes itself at its first idle pass, as the desktop program does.
        runner.Pass();
        out.flush();
        err << "orvell: cannot read the game data in " << engineOptions.GameDirectory.string()
            << '\n';
        status = RunStatus::DataMissing;
    } else if (options.PlayFile) {
        status = runner.Run(commands);
    } else {
        status = runner.AutoPlay(options.MaxPasses);
    }
    if (!WriteAudio(options, platform, err) && status == RunStatus::Done) {
        status = RunStatus::BadInput;
    }
    // The mixer goes with the engine; nothing may pull from it after.
    platform.StopAudio();
    out.flush();
    return Status(status);
}

} // namespace orv
