// kaiso.dat is outside data: a file of any length and content gives ten record slots of
// scene numbers and ten names that end inside their fields, and the file written back from
// them reads back to the same slots.
#include "fuzz_check.h"
#include "engine_fixture.h"

#include "base/files.h"
#include "save/global_data.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace {

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "record slots", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orv::fuzz::GameFolder& game = orv::fuzz::TheGame();
    game.ClearData();
    orv::WriteFileAtomic(game.Data() / "kaiso.dat", std::span(data, size));
    // Start-up reads the file (and writes it back with the first merge).
    orv::fuzz::EngineRun run(game);
    orv::GlobalData& globals = run.Engine->globals;
    for (const auto& name : globals.RecordNames) {
        Check(std::memchr(name.data(), 0, name.size()) != nullptr, "a name runs past its field");
    }
    auto slots = globals.RecordSlots;
    auto names = globals.RecordNames;
    std::optional<orv::Bytes> written = orv::ReadWholeFile(run.Engine->saves.Location.RecollectionPath());
    Check(written && written->size() == orv::global_layout::kRecollectionFileSize,
          "the file written back is not whole");
    globals.ReadRecollection();
    Check(globals.RecordSlots == slots && globals.RecordNames == names,
          "the file written back reads back to other slots");
    return 0;
}
