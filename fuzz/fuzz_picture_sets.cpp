// `_bgset` and `_sprset` are outside data: any text, read at start-up, gives composites that
// `bg #LABEL` and `spr #LABEL` draw without reading or writing outside a surface. The input
// is `_bgset`, a line "%%", then `_sprset`; the script shows every label of both.
#include "engine_fixture.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The labels of a set, at most `limit` of them, as the script names them.
std::vector<std::string> Labels(const std::vector<std::string>& lines, size_t limit) {
    std::vector<std::string> labels;
    for (const std::string& line : lines) {
        if (line.size() > 1 && line[0] == ':' && labels.size() < limit &&
            line.find_first_of(std::string_view("\0,", 2)) == std::string::npos) {
            labels.push_back(line.substr(1));
        }
    }
    return labels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t split = text.find("%%\n");
    std::vector<std::string> bgset = Lines(text.substr(0, split));
    std::vector<std::string> sprset =
        split == std::string_view::npos ? std::vector<std::string>() : Lines(text.substr(split + 3));
    std::vector<std::string> main = {"*title Sets"};
    for (const std::string& label : Labels(bgset, 8)) {
        main.push_back("*bg #" + label + " 0");
    }
    main.push_back("*bg A010 0");
    for (const std::string& label : Labels(sprset, 8)) {
        main.push_back("*spr #" + label);
        main.push_back("*spr B031:#" + label + ":1");
    }
    main.push_back("*end");
    orv::Bytes archive;
    if (!orv::BuildArchive(orv::IndexForm::A, 0,
                           {{"main", orv::fuzz::ScriptEntry(main)},
                            {"_bgset", orv::fuzz::ScriptEntry(bgset)},
                            {"_sprset", orv::fuzz::ScriptEntry(sprset)}},
                           archive)) {
        std::abort();
    }
    const orv::fuzz::GameFolder& game = orv::fuzz::TheGame();
    game.ClearData();
    orv::fuzz::WriteBytes(game.Game() / "ov_data.orv", archive);
    orv::fuzz::EngineRun run(game);
    for (int round = 0; round < 20 && !run.Engine->QuitRequested; ++round) {
        run.Passes(4);
        run.Click();
    }
    return 0;
}
