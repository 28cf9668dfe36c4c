#pragma once
// A tiny game for headless tests: ov_data.orv with a script "main" of the given lines and an
// image archive without entries, in a temporary directory; and an engine on the headless
// platform with a runner to drive it.

#include "engine/engine.h"
#include "headless/headless_platform.h"
#include "headless/play_file.h"
#include "headless/play_runner.h"
#include "headless/run_options.h"
#include "test_support.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {

// The stored form of a script: every line ends in a NUL.
inline Bytes ScriptBytes(const std::vector<std::string>& lines) {
    Bytes bytes;
    for (const auto& line : lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back(0);
    }
    return bytes;
}

struct TinyGameParts {
    bool TextArchive = true;
    bool ImageArchive = true;
};

class TinyGame {
public:
    explicit TinyGame(const std::vector<std::string>& mainLines, TinyGameParts parts = {}) {
        if (parts.TextArchive) {
            // An empty configuration: every value keeps its default.
            WriteFile(Dir / "ov_data.orv",
                      MakeTextArchive({{"_config", {}}, {"main", ScriptBytes(mainLines)}}));
        }
        if (parts.ImageArchive) {
            WriteFile(Dir / "ov_gra.orv", MakeArchive({}));
        }
    }
    const std::filesystem::path& Path() const { return Dir.Path(); }

    TempDir Dir;
};

inline std::tm FixedStartTime() {
    return *ParseDateTime("2024-02-28T23:59:30");
}

// An engine created on the headless platform, ready for its first idle pass.
class HeadlessSession {
public:
    explicit HeadlessSession(const std::filesystem::path& gameDirectory)
        : Platform(Out, FixedStartTime()) {
        EngineOptions options;
        options.GameDirectory = gameDirectory;
        options.DataDirectory = Data.Path();
        options.Seed = 1;
        Game = std::make_unique<Engine>(Platform, options);
        Platform.Attach(*Game);
        Runner = std::make_unique<PlayRunner>(*Game, Platform, OutDir.Path(), Out, Err);
        Game->FormCreate();
    }

    RunStatus Play(std::string_view text) {
        std::vector<PlayCommand> commands;
        std::string error;
        EXPECT_TRUE(ParsePlayFile(text, "session.play", commands, error)) << error;
        return Runner->Run(commands);
    }

    TempDir Data;
    TempDir OutDir;
    std::ostringstream Out;
    std::ostringstream Err;
    HeadlessPlatform Platform;
    std::unique_ptr<Engine> Game;
    std::unique_ptr<PlayRunner> Runner;
};

} // namespace orv::test
