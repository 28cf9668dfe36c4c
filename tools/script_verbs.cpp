// script encode / decode: scripts between UTF-8 text files and their stored line form.
#include "base/files.h"
#include "data/archive_index.h"
#include "data/script_text.h"
#include "tool_common.h"
#include "verbs.h"

#include <string>

namespace orv::tool {

namespace {

constexpr std::string_view kScriptUsage =
    "Usage: orvtool script encode IN.txt OUT\n"
    "       orvtool script decode [--text-entry] IN OUT.txt\n"
    "\n"
    "encode: IN.txt is UTF-8 text, one script line per text line (LF or CRLF; a byte order\n"
    "  mark is skipped; empty lines are kept). OUT gets the lines in code page 932 (Shift-JIS),\n"
    "  each ended by a NUL byte. A character code page 932 cannot hold, or a line longer\n"
    "  than 2047 bytes once encoded, is an error naming the line; OUT is then not written.\n"
    "  Pack the result with 'orvtool pack --form a --text' to store it as a text entry.\n"
    "decode: the reverse; each stored line becomes one LF-ended line of UTF-8 text.\n"
    "  --text-entry   undo the negation first (for an entry extracted without --text)\n";

// At most this many lines are named one by one in a warning.
constexpr size_t kMaxLinesNamed = 10;

std::string LineList(const std::vector<size_t>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size() && i < kMaxLinesNamed; ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    }
    if (lines.size() > kMaxLinesNamed) {
        text += " and " + std::to_string(lines.size() - kMaxLinesNamed) + " more";
    }
    return text;
}

int Encode(const std::string& in, const std::string& out) {
    auto text = ReadWholeFile(in);
    if (!text || !IsRegularFile(in)) {
        PrintError("cannot read " + in);
        return kExitDataError;
    }
    std::string_view utf8(reinterpret_cast<const char*>(text->data()), text->size());
    Bytes encoded;
    size_t line = 0;
    std::string message;
    if (!EncodeScriptText(utf8, encoded, &line, &message)) {
        PrintError(in + ": line " + std::to_string(line) + ": " + message);
        return kExitDataError;
    }
    if (std::string error = WriteFileAtomic(out, encoded); !error.empty()) {
        PrintError(error);
        return kExitDataError;
    }
    return kExitOk;
}

int Decode(const std::string& in, const std::string& out, bool textEntry) {
    auto bytes = ReadWholeFile(in);
    if (!bytes || !IsRegularFile(in)) {
        PrintError("cannot read " + in);
        return kExitDataError;
    }
    if (textEntry) {
        NegateBytes(bytes->data(), bytes->size());
    }
    ScriptDecodeNotes notes;
    std::string text = DecodeScriptText(*bytes, &notes);
    if (!notes.UndefinedByteLines.empty()) {
        PrintWarning(in + ": bytes that code page 932 does not define became U+FFFD on line" +
                     (notes.UndefinedByteLines.size() > 1 ? "s " : " ") +
                     LineList(notes.UndefinedByteLines) +
                     (textEntry ? "" : " (is it a text entry that needs --text-entry?)"));
    }
    if (!notes.LineBreakLines.empty()) {
        PrintWarning(in + ": CR or LF bytes inside line" +
                     (notes.LineBreakLines.size() > 1 ? "s " : " ") +
                     LineList(notes.LineBreakLines) + "; encoding the text again splits them");
    }
    if (notes.UnterminatedLastLine) {
        PrintWarning(in + ": the last line has no NUL; encoding the text again adds one");
    }
    if (std::string error = WriteFileAtomic(out, text); !error.empty()) {
        PrintError(error);
        return kExitDataError;
    }
    return kExitOk;
}

} // namespace

int RunScript(std::span<char* const> args) {
    static constexpr OptionSpec kDecodeSpecs[] = {{"text-entry", 0, false}};
    static constexpr Action kActions[] = {{"encode", {}, 2, "IN and OUT"},
                                          {"decode", kDecodeSpecs, 2, "IN and OUT"}};
    Arguments arguments;
    int status = kExitOk;
    std::optional<size_t> action =
        ParseAction(args, "script", kActions, kScriptUsage, arguments, status);
    if (!action) {
        return status;
    }
    const auto& files = arguments.Positional();
    return *action == 0 ? Encode(files[0], files[1])
                        : Decode(files[0], files[1], arguments.Has("text-entry"));
}

} // namespace orv::tool
