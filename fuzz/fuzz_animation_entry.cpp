// Animation entries are untrusted: the input is stored as the one entry of ov_anim.orv and
// played by anim and animq on a headless engine at a place where its frames reach past the
// screen, so that every table, frame, catch-up copy and sound the entry names is read and
// drawn as the player would.
#include "engine_fixture.h"
#include "gfx/animation_entry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    const fuzz::GameFolder& game = fuzz::TheGame();
    game.ClearData();
    Bytes entry(data, data + size);
    // The pacing is tested on its own; long frames here would only spend virtual time.
    if (entry.size() >= 8) {
        StoreU32(entry.data() + 4, std::min<uint32_t>(LoadU32(entry.data() + 4), 20));
    }
    AnimationEntry parsed;
    ParseAnimationEntry(entry, entry.size(), parsed);
    Bytes archive;
    BuildArchive(IndexForm::B, 32, {{"F", entry}}, archive);
    fuzz::WriteBytes(game.Game() / "ov_anim.orv", archive);
    fuzz::EngineRun run(game);
    run.Engine->gfx.PlayAnimation("F,-7,590,0");
    run.Engine->gfx.PlayEnlargedAnimation("F,700,-3,1");
    return 0;
}
