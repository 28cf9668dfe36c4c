#include "gfx/picture_sets.h"

#include "base/cp932.h"
#include "base/diagnostics.h"
#include "base/files.h"
#include "gfx/bmp_file.h"

#include <system_error>

namespace orv {

namespace {

constexpr std::string_view kEnd = ":END";

// Calls `keep(upper-cased line)` for each line of the definition script `name` that is not
// empty, until `keep` returns false.
template <typename Keep>
void ReadLines(ScriptState& script, std::string_view name, Keep&& keep) {
    if (!script.LoadScript(name, ScriptTarget::Definition)) {
        return;
    }
    int32_t pos = 0;
    while (pos < script.DefinitionSize) {
        std::string line = cp932::UpperCase(script.DefinitionLine(pos));
        if (!line.empty() && !keep(std::move(line))) {
            return;
        }
    }
}

void ExportComposites(const std::vector<std::string>& labels, Pictures& pictures,
                      Surface& background, const std::filesystem::path& exportDirectory) {
    std::filesystem::path folder = exportDirectory / "BMP";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        Diagnostic("cannot create " + folder.string() + ": " + error.message());
        return;
    }
    for (const std::string& label : labels) {
        pictures.LoadLayerPicture("#" + label.substr(1), background);
        std::filesystem::path file = folder / BgSetExportName(label);
        if (std::string problem = WriteFileAtomic(file, EncodeBmp(background)); !problem.empty()) {
            Diagnostic(problem);
        }
    }
}

} // namespace

std::string BgSetExportName(std::string_view label) {
    if (!label.empty() && label.front() == ':') {
        label.remove_prefix(1);
    }
    std::string name = cp932::ToUtf8(label);
    for (char& c : name) {
        // The label comes from game data: it must not name a path or a hidden file.
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) {
            c = '_';
        }
    }
    if (name.empty() || name.front() == '.') {
        name.insert(name.begin(), '_');
    }
    return name + ".bmp";
}

void LoadBgSet(ScriptState& script, Pictures& pictures, Surface& background,
               const std::filesystem::path& exportDirectory) {
    pictures.BgSetLines.clear();
    bool exporting = false;
    std::vector<std::string> exportLabels;
    ReadLines(script, "_bgset", [&](std::string line) {
        if (line == "$DEBUG_OUT") {
            exporting = true;
            return true;
        }
        if (line.front() == ';') {
            return true;
        }
        bool end = line == kEnd;
        if (exporting && !end && line.front() == ':') {
            exportLabels.push_back(line);
        }
        pictures.BgSetLines.push_back(std::move(line));
        return !end;
    });
    if (exporting) {
        ExportComposites(exportLabels, pictures, background, exportDirectory);
    }
}

void LoadSprSet(ScriptState& script, Pictures& pictures) {
    pictures.SprSetLines.clear();
    ReadLines(script, "_sprset", [&](std::string line) {
        if (line.front() == ';') {
            return true;
        }
        bool end = line == kEnd;
        pictures.SprSetLines.push_back(std::move(line));
        return !end;
    });
}

} // namespace orv
