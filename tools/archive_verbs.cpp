// list and extract: looking inside an archive.
#include "archive_reader.h"
#include "base/cp932.h"
#include "base/files.h"
#include "tool_common.h"
#include "verbs.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

namespace orv::tool {

namespace {

constexpr std::string_view kListUsage =
    "Usage: orvtool list ARCHIVE [--form a|b]\n"
    "Shows the index form, the entry count (and name width for form B), then one entry a\n"
    "line: name, offset, size. Names are shown as stored, converted to UTF-8.\n"
    "\n"
    "  --form a|b   read the index in this form instead of guessing it from the first bytes\n"
    "               (form A: text archives ov_data*.orv; form B: all others)\n";

constexpr std::string_view kExtractUsage =
    "Usage: orvtool extract ARCHIVE [NAME...] -o DIR [--text] [--form a|b]\n"
    "Writes every entry, or the named ones (matched without regard to case), to DIR/NAME.\n"
    "DIR is created when missing. Entries whose names could write outside DIR are refused.\n"
    "\n"
    "  -o, --output DIR   directory to write the entries into (required)\n"
    "  --text             undo the negation of text entries (scripts and text resources)\n"
    "  --form a|b         read the index in this form instead of guessing it\n";

constexpr OptionSpec kFormOption{"form", 0, true};

bool ReadFormOption(const Arguments& arguments, std::optional<IndexForm>& form,
                    std::string& error) {
    auto value = arguments.Value("form");
    if (!value) {
        return true;
    }
    form = ParseForm(*value);
    if (!form) {
        error = "--form takes a or b, not '" + *value + "'";
        return false;
    }
    return true;
}

void PrintListing(const OpenedArchive& archive) {
    const ArchiveIndex& index = archive.Index;
    std::string heading = archive.Path.string() + ": index form " + FormLetter(archive.Form) +
                          (archive.FormDetected ? " (detected)" : " (given)") + ", " +
                          std::to_string(index.Count) + (index.Count == 1 ? " entry" : " entries");
    if (archive.Form == IndexForm::B) {
        heading += ", name width " + std::to_string(index.NameWidth);
    }
    std::puts(heading.c_str());

    // A code page 932 character takes as many terminal columns as it has bytes, so the stored
    // length lines the columns up.
    size_t nameWidth = 4;
    for (const auto& name : archive.StoredNames) {
        nameWidth = std::max(nameWidth, name.size());
    }
    for (size_t i = 0; i < index.Count; ++i) {
        const std::string& stored = archive.StoredNames[i];
        std::string shown = DisplayName(stored);
        shown.append(nameWidth > stored.size() ? nameWidth - stored.size() : 0, ' ');
        std::printf("%s  %10u  %10u%s\n", shown.c_str(), index.Offsets[i], index.Sizes[i],
                    index.EntryInFile(i) ? "" : "  (outside the file)");
    }
}

// Entry positions to extract: the named ones, or every entry but the later copies of a name
// (the engine only ever finds the first; writing the others would overwrite it).
bool SelectEntries(const OpenedArchive& archive, const std::vector<std::string>& names,
                   std::vector<size_t>& selected) {
    const auto& stored = archive.StoredNames;
    auto firstWithName = [&](std::string_view sjis) -> std::optional<size_t> {
        for (size_t i = 0; i < stored.size(); ++i) {
            if (cp932::EqualsIgnoreCase(stored[i], sjis)) {
                return i;
            }
        }
        return std::nullopt;
    };
    auto add = [&](size_t pos) {
        if (std::find(selected.begin(), selected.end(), pos) == selected.end()) {
            selected.push_back(pos);
        }
    };
    bool ok = true;
    if (names.empty()) {
        for (size_t i = 0; i < stored.size(); ++i) {
            size_t first = *firstWithName(stored[i]);
            if (first == i) {
                add(i);
            } else {
                PrintWarning("entry " + std::to_string(i + 1) + " '" + DisplayName(stored[i]) +
                             "' repeats the name of entry " + std::to_string(first + 1) +
                             ", which is the one the engine reads; skipped");
            }
        }
        return ok;
    }
    for (const auto& name : names) {
        std::string sjis;
        std::optional<size_t> pos;
        if (cp932::EncodeUtf8(name, sjis) == std::string::npos) {
            pos = firstWithName(sjis);
        }
        if (!pos) {
            PrintError(archive.Path.string() + " has no entry named '" + name + "'");
            ok = false;
            continue;
        }
        add(*pos);
    }
    return ok;
}

// The file name an entry is written under, or an error text when writing it could reach
// outside the output directory.
bool SafeFileName(std::string_view stored, std::string& fileName, std::string& error) {
    fileName = cp932::ToUtf8(stored);
    if (fileName.empty() || fileName == "." || fileName == ".." ||
        fileName.find('/') != std::string::npos) {
        error =
            "refusing the entry name '" + DisplayName(stored) + "', which is not a plain file name";
        return false;
    }
    return true;
}

bool ExtractEntry(const OpenedArchive& archive, size_t pos, const fs::path& dir, bool text,
                  uint64_t& written) {
    const ArchiveIndex& index = archive.Index;
    const std::string& stored = archive.StoredNames[pos];
    std::string where = "entry " + std::to_string(pos + 1) + " '" + DisplayName(stored) + "'";
    std::string fileName;
    std::string error;
    if (!SafeFileName(stored, fileName, error)) {
        PrintError(where + ": " + error + "; skipped");
        return false;
    }
    if (!index.EntryInFile(pos)) {
        PrintError(where + " lies outside the file (offset " + std::to_string(index.Offsets[pos]) +
                   ", size " + std::to_string(index.Sizes[pos]) + ", file size " +
                   std::to_string(index.FileSize) + "); skipped");
        return false;
    }
    if (fileName.find("\xEF\xBF\xBD") != std::string::npos) {
        PrintWarning(where + ": the name holds bytes that code page 932 does not define; " +
                     "they become U+FFFD in the file name");
    }
    if (fs::path(fileName).stem() != fileName) {
        PrintWarning(where + ": pack names entries after the file name without its " +
                     "extension; add one (" + fileName + ".bin) to keep this name when packing");
    }
    Bytes data(index.Sizes[pos]);
    if (!ReadFileRange(archive.Path, index.Offsets[pos], data)) {
        PrintError(where + ": cannot read it from " + archive.Path.string());
        return false;
    }
    if (text) {
        NegateBytes(data.data(), data.size());
    }
    if (error = WriteFileAtomic(dir / fileName, data); !error.empty()) {
        PrintError(error);
        return false;
    }
    written += data.size();
    return true;
}

} // namespace

int RunList(std::span<char* const> args) {
    static constexpr OptionSpec kSpecs[] = {kFormOption};
    Arguments arguments;
    std::string error;
    std::optional<IndexForm> form;
    if (!arguments.Parse(args, kSpecs, error)) {
        return UsageError("list ", error);
    }
    if (arguments.WantsHelp()) {
        return PrintUsage(kListUsage);
    }
    if (!ReadFormOption(arguments, form, error)) {
        return UsageError("list ", error);
    }
    if (arguments.Positional().size() != 1) {
        return UsageError("list ", "list takes one ARCHIVE");
    }
    OpenedArchive archive;
    if (!OpenArchive(arguments.Positional()[0], form, archive, error)) {
        PrintError(error);
        return kExitDataError;
    }
    PrintListing(archive);
    return kExitOk;
}

int RunExtract(std::span<char* const> args) {
    static constexpr OptionSpec kSpecs[] = {kFormOption, {"output", 'o', true}, {"text", 0, false}};
    Arguments arguments;
    std::string error;
    std::optional<IndexForm> form;
    if (!arguments.Parse(args, kSpecs, error)) {
        return UsageError("extract ", error);
    }
    if (arguments.WantsHelp()) {
        return PrintUsage(kExtractUsage);
    }
    if (!ReadFormOption(arguments, form, error)) {
        return UsageError("extract ", error);
    }
    auto output = arguments.Value("output");
    if (!output || output->empty()) {
        return UsageError("extract ", "extract needs -o DIR");
    }
    const auto& positional = arguments.Positional();
    if (positional.empty()) {
        return UsageError("extract ", "extract needs an ARCHIVE");
    }
    OpenedArchive archive;
    if (!OpenArchive(positional[0], form, archive, error)) {
        PrintError(error);
        return kExitDataError;
    }
    std::vector<size_t> selected;
    bool ok = SelectEntries(archive, {positional.begin() + 1, positional.end()}, selected);

    fs::path dir = *output;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec)) {
        PrintError("cannot create the directory " + dir.string() +
                   (ec ? ": " + ec.message() : std::string()));
        return kExitDataError;
    }
    Progress progress("extracting", selected.size());
    size_t done = 0;
    uint64_t bytes = 0;
    for (size_t n = 0; n < selected.size(); ++n) {
        progress.Step(n + 1, archive.StoredNames[selected[n]]);
        if (ExtractEntry(archive, selected[n], dir, arguments.Has("text"), bytes)) {
            ++done;
        } else {
            ok = false;
        }
    }
    progress.Finish("extracted " + std::to_string(done) + (done == 1 ? " entry" : " entries") +
                    " from " + archive.Path.string() + " into " + dir.string() + " (" +
                    std::to_string(bytes) + " bytes)");
    return ok ? kExitOk : kExitDataError;
}

} // namespace orv::tool
