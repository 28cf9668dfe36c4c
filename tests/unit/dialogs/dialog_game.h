#pragma once
// A small game for the dialogs' tests: a script that sleeps, a configuration that names the
// hero and the window's tint, a music track, and the engine started on it.
#include "base/cp932.h"
#include "base/files.h"
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "test_support.h"

#include <memory>
#include <string>
#include <vector>

namespace orv::test {

class DialogGame {
public:
    // `configLines` in UTF-8 ("KEY:value"), `script` the lines of main.
    void Build(const std::vector<std::string>& configLines, const std::vector<std::string>& script,
               const Bytes& music = {}) {
        std::string config, main;
        for (const std::string& line : configLines) {
            config += cp932::FromUtf8Lenient(line);
            config.push_back('\0');
        }
        for (const std::string& line : script) {
            main += cp932::FromUtf8Lenient(line);
            main.push_back('\0');
        }
        WriteFile(Dir / "ov_data.orv",
                  MakeTextArchive({{"main", ToBytes(main)}, {"_config", ToBytes(config)}}));
        WriteFile(Dir / "ov_gra.orv", MakeArchive({}));
        if (!music.empty()) {
            WriteFile(Dir / "ov_bgm.orv", MakeArchive({{"M01", music}}));
        }
    }

    template <class Platform>
    Engine& Start(Platform& platform) {
        engine = StartEngine(platform, Dir.Path(), Dir / "data");
        platform.Pass(); // the first pass starts the game and the sound
        return *engine;
    }

    SettingsStore Store() const { return SettingsStore(SettingsRoot(Dir / "data")); }
    // The settings file as it is on disk; empty when there is none.
    std::string StoredBytes() const {
        std::optional<Bytes> bytes =
            ReadWholeFile(Store().FileFor(GameSettingsLocation(engine->config)));
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }
    std::optional<std::string> Stored(std::string_view name) const {
        return Store().Load(GameSettingsLocation(engine->config)).Text(name);
    }

    TempDir Dir;
    std::unique_ptr<Engine> engine;
};

} // namespace orv::test
