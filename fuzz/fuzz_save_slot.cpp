// A saved game is outside data: a slot file of any length and content is loaded into a
// running game, which must then go on without reading or writing outside its buffers. The
// loader checks the file, clamps what indexes a buffer and rebuilds the scene and the script
// from the names; a few idle passes and a click run the game from wherever the file says.
#include "engine_fixture.h"

#include "base/files.h"
#include "save/save_slots.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orv::fuzz::GameFolder& game = orv::fuzz::TheGame();
    game.ClearData();
    orv::fuzz::EngineRun run(game);
    orv::Engine& engine = *run.Engine;
    run.Passes(3);
    std::string error =
        orv::WriteFileAtomic(engine.saves.Location.SlotPath(1), std::span(data, size));
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    engine.saves.LoadSlot(1, true);
    run.Passes(10);
    run.Click();
    run.Passes(10);
    // What was loaded saves again: the exchange in the other direction.
    engine.saves.SaveSlot(2, true);
    return 0;
}
