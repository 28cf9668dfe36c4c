// save0.dat is outside data: a file of any length and content is merged into memory at
// start-up and again after a save, and the file written back must always be whole, with a
// checksum that holds. A file the game takes keeps every bit it had: the merge only adds.
#include "fuzz_check.h"
#include "engine_fixture.h"

#include "base/files.h"
#include "save/global_data.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

namespace gl = orv::global_layout;

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "global data", what);
}

// True when `file` is a save0.dat the game takes as it is.
bool Valid(std::span<const uint8_t> file) {
    return file.size() == gl::kFileSize &&
           orv::GlobalChecksum(file.first(gl::kChecksum)) == orv::LoadU32(file.data() + gl::kChecksum);
}

// Every bit set in the file's block is set in memory.
bool Holds(std::span<const uint8_t> memory, std::span<const uint8_t> file) {
    for (size_t i = 0; i < memory.size() && i < file.size(); ++i) {
        if ((memory[i] & file[i]) != file[i]) {
            return false;
        }
    }
    return true;
}

void CheckWritten(const orv::Engine& engine) {
    std::optional<orv::Bytes> written = orv::ReadWholeFile(engine.saves.Location.GlobalPath());
    Check(written && Valid(*written), "the file written back is not whole, or fails its checksum");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const orv::fuzz::GameFolder& game = orv::fuzz::TheGame();
    game.ClearData();
    // A mutated file almost never keeps its checksum, and the loader would refuse it whole:
    // an input one byte longer than the file stands for the file with its checksum sealed,
    // so that what lies behind the check is reached too.
    orv::Bytes sealed(data, data + size);
    if (sealed.size() == gl::kFileSize + 1) {
        sealed.pop_back();
        orv::StoreU32(sealed.data() + gl::kChecksum,
                      orv::GlobalChecksum(std::span(sealed).first(gl::kChecksum)));
    }
    std::span<const uint8_t> input(sealed);
    std::filesystem::path path = game.Data() / "save0.dat";
    orv::WriteFileAtomic(path, input);

    // Start-up merges the file into empty memory and takes its change count.
    orv::fuzz::EngineRun run(game);
    orv::Engine& engine = *run.Engine;
    const orv::VariableStore& vars = engine.vars;
    CheckWritten(engine);
    if (Valid(input)) {
        Check(Holds(vars.EFlags, input.subspan(gl::kEFlags, gl::kEFlagsSize)), "an E flag was lost");
        Check(Holds(vars.ReadMarks, input.subspan(gl::kReadMarks, gl::kReadMarksSize)),
              "a read mark was lost");
        Check(engine.globals.CharacterChangeCount ==
                  static_cast<int32_t>(orv::LoadU32(data + gl::kPictures + gl::kChangeCount)),
              "the change count was not taken from the file");
    }

    // The merge after a save: the same file again into what memory holds now.
    engine.vars.SetFlag(orv::FlagKind::E, 7);
    engine.vars.SetReadMark(80000);
    orv::WriteFileAtomic(path, input);
    engine.globals.Save();
    CheckWritten(engine);
    Check(engine.vars.TestFlag(orv::FlagKind::E, 7), "a flag set in memory was lost");
    return 0;
}
