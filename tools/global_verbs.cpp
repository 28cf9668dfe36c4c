// global info: the player's global data, save0.dat (flags, pictures and scenes seen, read
// marks, under a checksum) and kaiso.dat (the recollection's record slots), read as the
// engine reads them.
#include "base/bytes.h"
#include "save/global_data.h"
#include "script/variables.h"
#include "tool_common.h"
#include "verbs.h"

#include <algorithm>
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <string>

namespace orv::tool {

namespace {

namespace gl = global_layout;

constexpr int kEFlagBits = static_cast<int>(8 * gl::kEFlagsSize);

constexpr std::string_view kGlobalUsage =
    "Usage: orvtool global info [--recollection] FILE\n"
    "\n"
    "info: the global data of a game.\n"
    "  save0.dat: its size, whether its checksum holds (the stored and the computed value;\n"
    "  the game rebuilds a file that fails it from memory, and forgets the read marks it\n"
    "  held), how many E flags are set, how many pictures and recollection scenes were\n"
    "  seen and lines marked read, and the count of character-picture changes.\n"
    "  kaiso.dat (a file of 2640 bytes, or any file with --recollection): each record\n"
    "  slot's name (\"Record Slot N\" when it has none) and its scenes up to the first 0.\n"
    "  A short file is read as far as it goes, the missing bytes as zero.\n"
    "  --recollection   read FILE as kaiso.dat whatever its size\n"
    "Exit status: 0 when the game would take the file as it is, 1 when it would rebuild it\n"
    "(a save0.dat of another size or failing its checksum) or FILE cannot be read.\n";

// The set bits among the first `bits` of `bytes` (bit k in byte k / 8 at bit k mod 8).
int CountBits(ByteSpan bytes, int bits) {
    int count = 0;
    for (int k = 0; k < bits && static_cast<size_t>(k / 8) < bytes.size(); k += 8) {
        unsigned byte = bytes[static_cast<size_t>(k / 8)];
        if (bits - k < 8) {
            byte &= (1u << (bits - k)) - 1;
        }
        count += std::popcount(byte);
    }
    return count;
}

std::string SizeText(size_t size, size_t expected) {
    if (size == expected) {
        return std::to_string(size) + " bytes, complete";
    }
    if (size < expected) {
        return std::to_string(size) + " of " + std::to_string(expected) +
               " bytes: short, the missing bytes read as zero";
    }
    return std::to_string(size) + " bytes: " + std::to_string(size - expected) +
           " more than the format's " + std::to_string(expected);
}

// The file padded with zeros (or cut) to `size` bytes.
Bytes Padded(const Bytes& file, size_t size) {
    Bytes image(size, 0);
    std::copy_n(file.begin(), std::min(file.size(), size), image.begin());
    return image;
}

void PrintCount(std::string_view label, int count, int of) {
    std::printf("  %-26.*s %d of %d\n", static_cast<int>(label.size()), label.data(), count, of);
}

int GlobalInfo(const std::string& path, const Bytes& file) {
    Bytes image = Padded(file, gl::kFileSize);
    ByteSpan bytes(image);
    std::printf("%s: global data (save0.dat), %s\n", path.c_str(),
                SizeText(file.size(), gl::kFileSize).c_str());
    uint32_t computed = GlobalChecksum(bytes.first(gl::kChecksum));
    uint32_t stored = LoadU32(image.data() + gl::kChecksum);
    bool holds = file.size() == gl::kFileSize && computed == stored;
    if (file.size() < gl::kFileSize) {
        std::printf("  %-26s %s (computed 0x%08" PRIX32 ")\n", "checksum",
                    file.size() <= gl::kChecksum ? "missing" : "cut short", computed);
    } else {
        std::printf("  %-26s %s (stored 0x%08" PRIX32 ", computed 0x%08" PRIX32 ")\n",
                    "checksum", computed == stored ? "holds" : "fails", stored, computed);
    }
    PrintCount("E flags set", CountBits(bytes.subspan(gl::kEFlags, gl::kEFlagsSize), kEFlagBits),
               kEFlagBits);
    PrintCount("pictures seen", CountBits(bytes.subspan(gl::kPictures, gl::kPictureBitsSize),
                                          VariableStore::kPictureBits),
               VariableStore::kPictureBits);
    PrintCount("recollection scenes seen",
               CountBits(bytes.subspan(gl::kScenes, gl::kScenesSize), VariableStore::kSceneBits),
               VariableStore::kSceneBits);
    PrintCount("read marks",
               CountBits(bytes.subspan(gl::kReadMarks, gl::kReadMarksSize), VariableStore::kReadMarks),
               VariableStore::kReadMarks);
    std::printf("  %-26s %" PRId32 "\n", "character changes",
                static_cast<int32_t>(LoadU32(image.data() + gl::kPictures + gl::kChangeCount)));
    if (!holds) {
        PrintError(path + ": the game would not take this file: it rebuilds it from memory "
                          "and forgets the read marks gathered until then");
        return kExitDataError;
    }
    return kExitOk;
}

int RecollectionInfo(const std::string& path, const Bytes& file) {
    Bytes image = Padded(file, gl::kRecollectionFileSize);
    ByteSpan bytes(image);
    std::printf("%s: recollection record slots (kaiso.dat), %s\n", path.c_str(),
                SizeText(file.size(), gl::kRecollectionFileSize).c_str());
    for (int slot = 0; slot < gl::kRecordSlots; ++slot) {
        // The engine keeps the last byte of a name for its NUL.
        std::string name = DisplayName(FixedFieldText(
            bytes.subspan(gl::RecordNameOffset(slot), gl::kRecordNameSize - 1)));
        if (name.empty()) {
            name = "Record Slot " + std::to_string(slot + 1);
        }
        std::string scenes;
        for (int k = 0; k < gl::kRecordEntries; ++k) {
            auto scene = static_cast<int32_t>(LoadU32(image.data() + gl::RecordEntryOffset(slot, k)));
            if (scene == 0) {
                break;
            }
            scenes += " " + std::to_string(scene);
        }
        std::printf("  slot %d: %s:%s\n", slot + 1, name.c_str(),
                    scenes.empty() ? " no scenes" : scenes.c_str());
    }
    return kExitOk;
}

} // namespace

int RunGlobal(std::span<char* const> args) {
    static constexpr OptionSpec kInfoSpecs[] = {{"recollection", 'r', false}};
    static constexpr Action kActions[] = {{"info", kInfoSpecs, 1, "one FILE"}};
    Arguments arguments;
    int status = kExitOk;
    if (!ParseAction(args, "global", kActions, kGlobalUsage, arguments, status)) {
        return status;
    }
    const std::string& path = arguments.Positional()[0];
    std::optional<Bytes> file = ReadInput(path);
    if (!file) {
        return kExitDataError;
    }
    if (arguments.Has("recollection") || file->size() == gl::kRecollectionFileSize) {
        return RecollectionInfo(path, *file);
    }
    return GlobalInfo(path, *file);
}

} // namespace orv::tool
