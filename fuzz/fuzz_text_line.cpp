// A line of script text is outside data: any bytes, with every inline tag, ruby, wait mark
// and string insertion they may hold, are typed into the message window and then over the
// whole screen in novel mode, under a speaker's name and in the backlog, and the engine goes
// on without reading or writing outside a buffer. The input is the line (NUL and line breaks
// dropped: a line holds neither).
#include "fuzz_check.h"
#include "engine_fixture.h"

#include "engine/keys.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "text line", what);
}

void WriteGame(const std::string& line) {
    std::vector<std::string> main = {
        "*title Line",
        "!S028=1",
        "*string 0,Name",
        ">Aoi",
        line,
        "\\",
        line,
        "!S160=1",
        ">Hina",
        line,
        "\\",
        "*end",
    };
    orv::Bytes archive;
    if (!orv::BuildArchive(orv::IndexForm::A, 0, {{"main", orv::fuzz::ScriptEntry(main)}}, archive)) {
        std::abort();
    }
    orv::fuzz::WriteBytes(orv::fuzz::TheGame().Game() / "ov_data.orv", archive);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != '\0' && data[i] != '\n') {
            line.push_back(static_cast<char>(data[i]));
        }
    }
    // A line longer than the line buffer is cut by the loader; a little past it is enough.
    if (line.size() > 2100) {
        line.resize(2100);
    }
    const orv::fuzz::GameFolder& game = orv::fuzz::TheGame();
    game.ClearData();
    WriteGame(line);
    orv::fuzz::EngineRun run(game);
    orv::Engine& e = *run.Engine;
    for (int round = 0; round < 12 && !e.QuitRequested; ++round) {
        run.Passes(8);
        run.Click();
        Check(e.script.LinePos >= 0 && e.script.LinePos < orv::ScriptState::kLineBufferSize,
              "LinePos outside the line");
        Check(e.script.InsertPtr >= 0 && e.script.InsertPtr <= orv::ScriptState::kInsertTextSize,
              "InsertPtr outside the inserted text");
    }
    // The backlog shows what was typed, scrolled to its oldest line and back.
    e.FormKeyDown(orv::keys::Backspace);
    e.FormKeyPress('\b');
    run.Passes(2);
    e.FormMouseWheel(120);
    e.FormMouseWheel(-120);
    run.Passes(2);
    return 0;
}
