// pack: building an archive from files.
#include "base/cp932.h"
#include "base/files.h"
#include "data/text_buffer.h"
#include "tool_common.h"
#include "verbs.h"

#include <charconv>
#include <string>
#include <vector>

namespace orv::tool {

namespace {

constexpr uint32_t kDefaultNameWidth = 32;
constexpr uint32_t kMaxNameWidth = 65536; // the widest field the index reader accepts
// Script names beyond this do not fit the engine's call stack and save records.
constexpr size_t kMaxScriptNameBytes = 29;

constexpr std::string_view kPackUsage =
    "Usage: orvtool pack --form a|b [--width W] [--text] -o ARCHIVE FILE...\n"
    "Builds ARCHIVE from the FILEs in the order given. Each entry is named after its file\n"
    "without the extension (case kept), converted to code page 932.\n"
    "\n"
    "  --form a|b           index form: a for text archives (ov_data*.orv, names of up to\n"
    "                       55 bytes), b for all others\n"
    "  --width W            form B name field width in bytes (default 32); names hold at\n"
    "                       most W-1 bytes\n"
    "  --text               negate the entries' bytes, as text entries are stored\n"
    "  -o, --output ARCHIVE the archive to write (replaced whole, never half-written)\n";

struct PackOptions {
    IndexForm Form = IndexForm::A;
    uint32_t Width = kFormANameWidth;
    bool Text = false;
    fs::path Output;
    std::vector<std::string> Files;
};

// Fills `options` from the command line; an error text otherwise.
std::string ReadPackOptions(const Arguments& arguments, PackOptions& options) {
    auto formText = arguments.Value("form");
    if (!formText) {
        return "pack needs --form a or --form b";
    }
    auto form = ParseForm(*formText);
    if (!form) {
        return "--form takes a or b, not '" + *formText + "'";
    }
    options.Form = *form;
    options.Width = *form == IndexForm::A ? kFormANameWidth : kDefaultNameWidth;
    if (auto widthText = arguments.Value("width")) {
        if (*form == IndexForm::A) {
            return "--width is for form B; form A names have a 56-byte field";
        }
        uint32_t width = 0;
        const char* end = widthText->data() + widthText->size();
        auto [ptr, ec] = std::from_chars(widthText->data(), end, width);
        if (ec != std::errc() || ptr != end || width < 2 || width > kMaxNameWidth) {
            return "--width takes a number from 2 to " + std::to_string(kMaxNameWidth) + ", not '" +
                   *widthText + "'";
        }
        options.Width = width;
    }
    auto output = arguments.Value("output");
    if (!output || output->empty()) {
        return "pack needs -o ARCHIVE";
    }
    options.Output = *output;
    options.Text = arguments.Has("text");
    options.Files = arguments.Positional();
    if (options.Files.empty()) {
        return "pack needs at least one FILE";
    }
    return "";
}

// The entry name for `file` in code page 932, or an error text.
std::string EntryName(const std::string& file, const PackOptions& options, std::string& sjis) {
    std::string name = fs::path(file).stem().string();
    if (name.empty()) {
        return file + ": no entry name can be made from this file name";
    }
    if (cp932::EncodeUtf8(name, sjis) != std::string::npos) {
        return file + ": the name '" + name + "' holds a character code page 932 cannot hold";
    }
    size_t limit = options.Width - 1;
    if (sjis.size() > limit) {
        return file + ": the name '" + name + "' takes " + std::to_string(sjis.size()) +
               " bytes in code page 932; form " + FormLetter(options.Form) + " names" +
               (options.Form == IndexForm::B ? " with width " + std::to_string(options.Width)
                                             : std::string()) +
               " hold at most " + std::to_string(limit);
    }
    return "";
}

// Reads one file into `entry`; an error text otherwise.
std::string MakeEntry(const std::string& file, const PackOptions& options,
                      ArchiveEntryInput& entry) {
    if (std::string error = EntryName(file, options, entry.Name); !error.empty()) {
        return error;
    }
    std::optional<Bytes> data;
    if (IsRegularFile(file)) {
        data = ReadWholeFile(file);
    }
    if (!data) {
        return "cannot read " + file;
    }
    entry.Data = std::move(*data);
    if (options.Text) {
        if (entry.Data.size() > static_cast<size_t>(TextBuffer::Capacity)) {
            return file + ": " + std::to_string(entry.Data.size()) +
                   " bytes; the engine reads text entries of at most " +
                   std::to_string(TextBuffer::Capacity);
        }
        if (entry.Name.size() > kMaxScriptNameBytes) {
            PrintWarning(file + ": the name takes " + std::to_string(entry.Name.size()) +
                         " bytes; a script named so cannot be called or saved (at most " +
                         std::to_string(kMaxScriptNameBytes) + ")");
        }
        NegateBytes(entry.Data.data(), entry.Data.size());
    }
    return "";
}

void WarnAboutDuplicate(const std::vector<ArchiveEntryInput>& entries,
                        const std::vector<std::string>& files) {
    const auto& added = entries.back();
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        if (cp932::EqualsIgnoreCase(entries[i].Name, added.Name)) {
            PrintWarning(files[entries.size() - 1] + ": the entry name repeats that of " +
                         files[i] + "; the engine only ever finds the first");
            return;
        }
    }
}

} // namespace

int RunPack(std::span<char* const> args) {
    static constexpr OptionSpec kSpecs[] = {
        {"form", 0, true}, {"width", 0, true}, {"text", 0, false}, {"output", 'o', true}};
    Arguments arguments;
    std::string error;
    if (!arguments.Parse(args, kSpecs, error)) {
        return UsageError("pack ", error);
    }
    if (arguments.WantsHelp()) {
        return PrintUsage(kPackUsage);
    }
    PackOptions options;
    if (error = ReadPackOptions(arguments, options); !error.empty()) {
        return UsageError("pack ", error);
    }

    // Every file is checked before anything is written, and every problem is reported.
    std::vector<ArchiveEntryInput> entries;
    std::vector<std::string> entryFiles;
    entries.reserve(options.Files.size());
    bool ok = true;
    Progress progress("packing", options.Files.size());
    for (size_t i = 0; i < options.Files.size(); ++i) {
        const std::string& file = options.Files[i];
        progress.Step(i + 1, fs::path(file).filename().string());
        ArchiveEntryInput entry;
        if (error = MakeEntry(file, options, entry); !error.empty()) {
            PrintError(error);
            ok = false;
            continue;
        }
        entries.push_back(std::move(entry));
        entryFiles.push_back(file);
        WarnAboutDuplicate(entries, entryFiles);
    }
    if (!ok) {
        progress.Finish("nothing written");
        return kExitDataError;
    }
    Bytes archive;
    if (!BuildArchive(options.Form, options.Width, entries, archive, &error)) {
        progress.Finish("nothing written");
        PrintError(error);
        return kExitDataError;
    }
    if (error = WriteFileAtomic(options.Output, archive); !error.empty()) {
        progress.Finish("nothing written");
        PrintError(error);
        return kExitDataError;
    }
    progress.Finish("packed " + std::to_string(entries.size()) +
                    (entries.size() == 1 ? " entry" : " entries") + " into " +
                    options.Output.string() + " (" + std::to_string(archive.size()) + " bytes)");
    return kExitOk;
}

} // namespace orv::tool
