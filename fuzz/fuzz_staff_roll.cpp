// Staff rolls are outside data: any text played as a text-window roll (`roll`) and as a page
// roll (`sroll`) over the tiny game ends, leaves ScreenMode 0 with the menus unlocked, and
// never reads or writes outside a buffer. The input's lines become the roll resource "R".
#include "fuzz_check.h"
#include "engine_fixture.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr uint64_t kMaxVirtualMs = 10 * 60 * 1000;

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "staff roll", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orv::fuzz::GameFolder& game = orv::fuzz::TheGame();
    game.ClearData();
    // One line a roll line; NUL ends a line as the archive stores it.
    std::string roll(reinterpret_cast<const char*>(data), size);
    for (char& c : roll) {
        c = c == '\n' ? '\0' : c;
    }
    orv::Bytes entry(roll.begin(), roll.end());
    orv::NegateBytes(entry.data(), entry.size());
    orv::Bytes text;
    if (!orv::BuildArchive(
            orv::IndexForm::A, 0,
            {{"main", orv::fuzz::ScriptEntry({"*roll R", "*sroll R", "*sleep 10"})}, {"R", entry}},
            text)) {
        return 0;
    }
    std::filesystem::path folder = game.Data() / "game";
    std::filesystem::create_directories(folder);
    orv::fuzz::WriteBytes(folder / "ov_data.orv", text);
    std::filesystem::copy_file(game.Game() / "ov_gra.orv", folder / "ov_gra.orv",
                               std::filesystem::copy_options::overwrite_existing);

    orv::EngineOptions options;
    options.GameDirectory = folder;
    options.DataDirectory = game.Data();
    options.Seed = 1;
    orv::fuzz::NullBuffer nothing;
    std::ostream log(&nothing);
    orv::fuzz::BoundedPlatform platform(log);
    orv::Engine engine(platform, options);
    platform.Attach(engine);
    engine.FormCreate();
    // Ten minutes of game time: a roll's lines may each wait a minute and a half, which the
    // engine honours sample by sample; such a roll is dropped rather than played to its end.
    platform.LimitClock(platform.Now() + kMaxVirtualMs);
    try {
        for (int i = 0; i < 8 && engine.wait.PassWait != -1; ++i) {
            engine.AppIdle();
            platform.PumpMessages();
        }
    } catch (const orv::fuzz::OutOfVirtualTime&) {
        platform.StopAudio();
        return 0;
    }
    Check(engine.wait.PassWait == -1, "the script did not get past both rolls");
    Check(engine.screens.Mode() == orv::screen_mode::Game, "a roll left its screen mode");
    Check(engine.MenusLocked == 0, "a roll left the menus locked");
    platform.StopAudio();
    return 0;
}
