// save info: what a saved game (save/saveNN.dat) holds, read as the engine reads it, with its
// thumbnail as a PNG; so that a tester can see where a save goes on before loading it.
#include "base/bytes.h"
#include "gfx/surface.h"
#include "headless/png_writer.h"
#include "save/save_layout.h"
#include "script/dispatcher.h"
#include "tool_common.h"
#include "verbs.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

namespace orv::tool {

namespace {

namespace layout = save_layout;
namespace record = save_layout::record;
namespace name = save_layout::name;

constexpr std::string_view kSaveUsage =
    "Usage: orvtool save info [--thumbnail OUT.png] FILE\n"
    "\n"
    "info: what a saved game (save/saveNN.dat, 220738 bytes) holds: its date line and\n"
    "  comment, the script and the position a load goes on at, the call stack, the names of\n"
    "  the scene, the sounds and the speaker, the waits and screens in force, the backlog\n"
    "  and rewind counters. Texts are code page 932, shown as UTF-8 with control characters\n"
    "  as '?'. A short file is read as far as it goes, the missing bytes as zero, as the\n"
    "  game loads it.\n"
    "  --thumbnail OUT.png   also write the 160 x 120 picture the save list shows\n"
    "Exit status: 0 when the game would load the file, 1 when it would refuse it (too short\n"
    "to name its script, or naming none) or a file cannot be read or written.\n";

// The file as the engine loads it: the layout's size, zero where the file ends early.
struct SlotImage {
    Bytes Image = Bytes(layout::kFileSize, 0);
    size_t FileSize = 0;

    int32_t Record(int index) const {
        return static_cast<int32_t>(LoadU32(Image.data() + layout::RecordOffset(index)));
    }
    std::string Text(size_t offset, size_t width) const {
        return DisplayName(FixedFieldText(ByteSpan(Image).subspan(offset, width)));
    }
};

void PrintField(std::string_view label, const std::string& value) {
    std::printf("  %-22.*s %s\n", static_cast<int>(label.size()), label.data(),
                value.empty() ? "(none)" : value.c_str());
}

void PrintNumber(std::string_view label, int32_t value) {
    std::printf("  %-22.*s %" PRId32 "\n", static_cast<int>(label.size()), label.data(), value);
}

// "complete", or how the size differs from the layout's.
std::string SizeText(size_t size) {
    std::string text = std::to_string(size) + " bytes";
    if (size == layout::kFileSize) {
        return text + ", complete";
    }
    if (size < layout::kFileSize) {
        return std::to_string(size) + " of " + std::to_string(layout::kFileSize) +
               " bytes: short, the missing bytes read as zero";
    }
    return text + ": " + std::to_string(size - layout::kFileSize) +
           " bytes past the layout's end, which the game ignores";
}

void PrintCallStack(const SlotImage& slot) {
    int32_t depth = slot.Record(record::CallDepth);
    int32_t levels = std::clamp(depth, 0, Dispatcher::kCallStackSize);
    if (levels != depth) {
        std::printf("  %-22s %" PRId32 " (out of range: the game takes %" PRId32 ")\n",
                    "call depth", depth, levels);
    } else {
        PrintNumber("call depth", depth);
    }
    for (int level = 0; level < levels; ++level) {
        std::string caller = slot.Text(name::CallNames + static_cast<size_t>(level) *
                                                             name::CallNameSize,
                                       name::CallNameSize);
        std::printf("    level %d: %s, returning to %" PRId32 "\n", level + 1,
                    caller.empty() ? "(none)" : caller.c_str(),
                    slot.Record(record::CallReturn + level));
    }
}

void PrintSlot(const std::string& path, const SlotImage& slot) {
    std::printf("%s: saved game, %s\n", path.c_str(), SizeText(slot.FileSize).c_str());
    PrintField("date line", slot.Text(layout::kDateLine, layout::kDateLineSize));
    PrintField("comment", slot.Text(layout::kComment, layout::kCommentSize));
    PrintField("script", slot.Text(name::CurrentScriptName, name::kSize));
    PrintNumber("resume position", slot.Record(record::ResumePosition));
    PrintNumber("line position", slot.Record(record::LinePos));
    PrintNumber("NeedLine", slot.Record(record::NeedLine));
    PrintCallStack(slot);
    PrintField("ReturnScriptName", slot.Text(name::ReturnScriptName, name::kSize));
    PrintField("background", slot.Text(name::BackgroundName, name::kSize));
    PrintField("characters",
               slot.Text(name::CharacterDescription, name::kCharacterDescriptionSize));
    PrintField("overlay", slot.Text(name::OverlayName, name::kSize));
    PrintField("LoopName", slot.Text(name::LoopName, name::kSize));
    PrintField("LastVoice", slot.Text(name::LastVoice, name::kSize));
    PrintField("speaker", slot.Text(name::SpeakerName, name::kSpeakerNameSize));
    PrintNumber("WaitKind", slot.Record(record::WaitKind));
    PrintNumber("ScreenMode", slot.Record(record::ScreenMode));
    PrintNumber("WindowShown", slot.Record(record::WindowShown));
    PrintNumber("S160", slot.Record(record::NovelMode));
    PrintNumber("backlog lines", slot.Record(record::BacklogCount));
    PrintNumber("backlog write position", slot.Record(record::BacklogWritePos));
    PrintNumber("snapshot counter", slot.Record(record::SnapshotCounter));
}

// Why the game would refuse the file, or empty.
std::string Refusal(const SlotImage& slot) {
    if (slot.FileSize < name::CurrentScriptName + name::kSize) {
        return "ends before the name of its script: the game refuses to load it";
    }
    if (slot.Image[name::CurrentScriptName] == 0) {
        return "names no script: the game refuses to load it";
    }
    return {};
}

bool WriteThumbnail(const SlotImage& slot, const std::string& out) {
    Surface picture(layout::kThumbnailWidth, layout::kThumbnailHeight);
    const size_t rowBytes = static_cast<size_t>(picture.RowBytes());
    for (int y = 0; y < picture.Height(); ++y) {
        std::memcpy(picture.Row(y), slot.Image.data() + layout::kThumbnail + static_cast<size_t>(y) * rowBytes,
                    rowBytes);
    }
    if (std::string error = WritePng(out, picture); !error.empty()) {
        PrintError(error);
        return false;
    }
    std::printf("  %-22s %s (%d x %d)\n", "thumbnail", out.c_str(), picture.Width(),
                picture.Height());
    if (slot.FileSize < layout::kThumbnail + layout::kThumbnailSize) {
        PrintWarning("the file ends before its thumbnail does: the missing part is black");
    }
    return true;
}

int Info(const std::string& path, const Arguments& arguments) {
    std::optional<Bytes> file = ReadInput(path);
    if (!file) {
        return kExitDataError;
    }
    SlotImage slot;
    slot.FileSize = file->size();
    std::copy_n(file->begin(), std::min(file->size(), layout::kFileSize), slot.Image.begin());
    PrintSlot(path, slot);
    if (std::optional<std::string> out = arguments.Value("thumbnail")) {
        if (!WriteThumbnail(slot, *out)) {
            return kExitDataError;
        }
    }
    if (std::string refusal = Refusal(slot); !refusal.empty()) {
        PrintError(path + ": " + refusal);
        return kExitDataError;
    }
    return kExitOk;
}

} // namespace

int RunSave(std::span<char* const> args) {
    static constexpr OptionSpec kInfoSpecs[] = {{"thumbnail", 't', true}};
    static constexpr Action kActions[] = {{"info", kInfoSpecs, 1, "one FILE"}};
    Arguments arguments;
    int status = kExitOk;
    if (!ParseAction(args, "save", kActions, kSaveUsage, arguments, status)) {
        return status;
    }
    return Info(arguments.Positional()[0], arguments);
}

} // namespace orv::tool
