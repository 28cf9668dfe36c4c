// config check: reads a game configuration as the engine does at start-up and shows what it
// understood, so that a translator sees a broken _config before the game does.
#include "base/files.h"
#include "data/archive_index.h"
#include "data/game_config.h"
#include "data/script_text.h"
#include "data/text_buffer.h"
#include "tool_common.h"
#include "verbs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace orv::tool {

namespace {

constexpr std::string_view kConfigUsage =
    "Usage: orvtool config check FILE\n"
    "       orvtool config check --archive ARCHIVE\n"
    "\n"
    "Reads a game configuration as the engine does at start-up and prints every key it\n"
    "understood with its value (KEY = VALUE, lists as numbers joined by commas; speaker\n"
    "names as NAMEn with their colour). Lines that set nothing (unknown keys, keys with\n"
    "spaces, lines without a colon) are named on stderr.\n"
    "FILE is the configuration as UTF-8 text, one line per configuration line.\n"
    "  --archive ARCHIVE   read the _config entry of a text archive (ov_data.orv) instead\n"
    "Exit status: 0 when every value was read, 1 when a value that must be a number is not\n"
    "(the engine stops reading there and tells the player), or the input cannot be read.\n";

bool LoadFromText(const std::string& path, std::string& entry) {
    auto bytes = ReadWholeFile(path);
    if (!bytes || !IsRegularFile(path)) {
        PrintError("cannot read " + path);
        return false;
    }
    std::string_view utf8(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    Bytes encoded;
    size_t line = 0;
    std::string message;
    if (!EncodeScriptText(utf8, encoded, &line, &message)) {
        PrintError(path + ": line " + std::to_string(line) + ": " + message);
        return false;
    }
    entry.assign(encoded.begin(), encoded.end());
    return true;
}

bool LoadFromArchive(const std::string& path, std::string& entry) {
    ArchiveIndex index;
    std::string problem;
    if (!ReadIndexFile(path, IndexForm::A, index, &problem)) {
        PrintError(problem.empty() ? "cannot read " + path : path + ": " + problem);
        return false;
    }
    int pos = FindEntry(index, "_config");
    if (pos < 0) {
        PrintError(path + " holds no _config entry (the game would start with an empty "
                          "configuration)");
        return false;
    }
    auto size = index.Sizes[static_cast<size_t>(pos)];
    if (size > static_cast<uint32_t>(TextBuffer::Capacity)) {
        PrintError(path + ": the _config entry is " + std::to_string(size) +
                   " bytes; the engine reads at most " + std::to_string(TextBuffer::Capacity));
        return false;
    }
    Bytes data(size);
    if (!ReadFileRange(path, index.Offsets[static_cast<size_t>(pos)], data)) {
        PrintError("cannot read the _config entry of " + path);
        return false;
    }
    NegateBytes(data.data(), data.size());
    entry.assign(data.begin(), data.end());
    return true;
}

void ReportIgnoredLines(const std::vector<ConfigLineNote>& notes) {
    for (const ConfigLineNote& note : notes) {
        std::string where = "line " + std::to_string(note.Line) + ": ";
        switch (note.Outcome) {
        case ConfigLineOutcome::Set:
            break;
        case ConfigLineOutcome::UnknownKey:
            PrintWarning(where + "'" + DisplayName(note.Key) +
                         "' is not a key (spaces around a key count); the line sets nothing");
            break;
        case ConfigLineOutcome::NoColon:
            PrintWarning(where + "no ':' in '" + DisplayName(note.Key) +
                         "'; the line sets nothing");
            break;
        case ConfigLineOutcome::NameOutOfRange:
            PrintWarning(where + "NAME numbers go from 1 to 59; the line sets nothing");
            break;
        }
    }
}

void PrintValues(const GameConfig& config, const std::vector<ConfigLineNote>& notes) {
    std::vector<std::string> shown;
    for (const ConfigLineNote& note : notes) {
        if (note.Outcome != ConfigLineOutcome::Set ||
            std::find(shown.begin(), shown.end(), note.Key) != shown.end()) {
            continue;
        }
        shown.push_back(note.Key);
        std::string value;
        GameConfigValue(config, note.Key, value);
        std::string line = note.Key + " = " + DisplayName(value);
        std::string colour;
        if (note.Key.starts_with("NAME") && GameConfigValue(config, note.Key + "_COLOR", colour)) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%06lX", std::strtoul(colour.c_str(), nullptr, 10));
            line += std::string(" (colour ") + hex + ")";
        }
        std::printf("%s\n", line.c_str());
    }
}

int Check(const std::string& entryText) {
    GameConfig config;
    std::vector<ConfigLineNote> notes;
    auto error = ParseGameConfig(entryText, config, &notes);
    PrintValues(config, notes);
    ReportIgnoredLines(notes);
    if (error) {
        std::string value =
            error->Value.empty() ? "an empty field" : "'" + DisplayName(error->Value) + "'";
        PrintError("line " + std::to_string(error->Line) + ": " + DisplayName(error->Key) +
                   " needs a number, not " + value +
                   "; the engine stops reading the configuration here");
        return kExitDataError;
    }
    return kExitOk;
}

} // namespace

int RunConfig(std::span<char* const> args) {
    if (args.empty()) {
        return UsageError("config ", "config needs check");
    }
    std::string_view action = args[0];
    if (action == "-h" || action == "--help") {
        return PrintUsage(kConfigUsage);
    }
    if (action != "check") {
        return UsageError("config ", "config takes check, not '" + std::string(action) + "'");
    }
    static constexpr OptionSpec kSpecs[] = {{"archive", 'a', true}};
    Arguments arguments;
    std::string error;
    if (!arguments.Parse(args.subspan(1), kSpecs, error)) {
        return UsageError("config ", error);
    }
    if (arguments.WantsHelp()) {
        return PrintUsage(kConfigUsage);
    }
    auto archive = arguments.Value("archive");
    const auto& files = arguments.Positional();
    if (archive ? !files.empty() : files.size() != 1) {
        return UsageError("config ", "config check takes one FILE or --archive ARCHIVE");
    }
    std::string entry;
    if (!(archive ? LoadFromArchive(*archive, entry) : LoadFromText(files[0], entry))) {
        return kExitDataError;
    }
    return Check(entry);
}

} // namespace orv::tool
