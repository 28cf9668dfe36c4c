#include "data/archives.h"

#include "base/diagnostics.h"
#include "base/files.h"
#include "data/optical_disc.h"

#include <cstdio>
#include <cstring>

namespace orv {

namespace {

constexpr std::string_view kDataName = "ov_data.orv";
constexpr std::string_view kData2Name = "ov_data2.orv";

// The archive called `name` in `dir`, matched without regard to case: archives copied from a
// Windows disc often carry upper-case names.
std::optional<fs::path> FindArchive(const fs::path& dir, std::string_view name) {
    auto found = FindFileNoCase(dir, name);
    if (found && IsRegularFile(*found)) {
        return found;
    }
    return std::nullopt;
}

// The archive's path in the game directory: the file found there, or the plain name.
fs::path GamePath(const fs::path& gameDirectory, std::string_view name) {
    auto found = FindArchive(gameDirectory, name);
    return found ? *found : gameDirectory / std::string(name);
}

// Reads an index; a missing file is an ordinary absence, a damaged one is worth a note.
void LoadIndex(const fs::path& path, IndexForm form, ArchiveIndex& index) {
    std::string problem;
    if (!ReadIndexFile(path, form, index, &problem) && !problem.empty()) {
        Diagnostic(path.string() + ": " + problem + "; the archive is taken as empty");
    }
}

std::string SlotName(const char* pattern, int number) {
    char name[32];
    std::snprintf(name, sizeof name, pattern, number);
    return name;
}

} // namespace

Archives::Archives(fs::path gameDirectory)
    : m_gameDirectory(std::move(gameDirectory)),
      m_staging(AllocateZeroed<uint8_t>(TextBuffer::Capacity)) {}

bool Archives::DataArchiveExists() const {
    return FindArchive(m_gameDirectory, kDataName).has_value();
}

void Archives::ReadTextIndexes() {
    LoadIndex(GamePath(m_gameDirectory, kDataName), IndexForm::A, DataIndex);
    LoadIndex(GamePath(m_gameDirectory, kData2Name), IndexForm::A, Data2Index);
}

void Archives::SetCdDirectory(std::string_view cdDirSetting) {
    if (!cdDirSetting.empty() && cdDirSetting.back() == '\\') {
        cdDirSetting.remove_suffix(1);
    }
    CdDirectory = std::string(cdDirSetting);
    fs::path path = CdPath();
    CdIsDisc = !path.empty() && DirectoryIsOnOpticalDisc(path);
}

fs::path Archives::CdPath() const {
    if (CdDirectory.empty() || CdDirectory == "NULL") {
        return {};
    }
    fs::path path(CdDirectory);
    return path.is_absolute() ? path : m_gameDirectory / path;
}

void Archives::OpenSlot(ArchiveIndex& index, const std::string& fileName, bool mayFallBack) {
    // Games written for Windows store a drive such as "Q:\" here. On Linux
    // CdDirectory is a directory like any other: the file is looked for inside it, without
    // regard to case, and a CdDirectory that names no directory finds nothing.
    fs::path path;
    if (auto found = FindArchive(m_gameDirectory, fileName)) {
        path = *found;
    } else if (!mayFallBack) {
        path = m_gameDirectory / fileName;
    } else if (fs::path cd = CdPath(); !cd.empty()) {
        path = FindArchive(cd, fileName).value_or(fs::path());
    }
    index.Clear();
    index.FileName = path.string();
    if (!path.empty()) {
        LoadIndex(path, IndexForm::B, index);
    }
}

void Archives::OpenDataArchives(const OvdKeys& keys) {
    for (int slot = 0; slot < static_cast<int>(Gra.size()); ++slot) {
        std::string name = slot == 0 ? "ov_gra.orv" : SlotName("ov_gra%d.orv", slot + 1);
        OpenSlot(Gra[slot], name, slot < keys.Gra);
    }
    OpenSlot(Gjp, "ov_gjp.orv", keys.Gjp != 0);
    for (int slot = 0; slot < static_cast<int>(Wav.size()); ++slot) {
        OpenSlot(Wav[slot], SlotName("ov_wav%d.orv", slot + 1), slot < keys.Wav);
    }
    for (int slot = 0; slot < static_cast<int>(Se.size()); ++slot) {
        OpenSlot(Se[slot], SlotName("ov_se%d.orv", slot), slot < keys.Se);
    }
    // Voices are taken from the CD directory only when it is a disc in its drive.
    for (int slot = 0; slot < static_cast<int>(Ogg.size()); ++slot) {
        OpenSlot(Ogg[slot], SlotName("ov_ogg%d.orv", slot + 1), slot < keys.Ogg && CdIsDisc);
    }
    OpenSlot(Bgm, "ov_bgm.orv", true);
    OpenSlot(Anim[0], "ov_anim.orv", keys.Anim > 0);
    OpenSlot(Anim[1], "ov_anim2.orv", keys.Anim > 1);
}

bool Archives::FirstImageArchiveExists() const {
    return !Gra[0].FileName.empty() && IsRegularFile(Gra[0].FileName);
}

bool Archives::ReadTextEntry(std::string_view name, TextBuffer& buffer) {
    // FindEntry ignores case, so the name needs no upper-cased copy.
    const ArchiveIndex* index = &Data2Index;
    int pos = FindEntry(Data2Index, name);
    if (pos < 0) {
        index = &DataIndex;
        pos = FindEntry(DataIndex, name);
    }
    if (pos < 0) {
        return false;
    }
    uint32_t size = index->Sizes[pos];
    if (size > static_cast<uint32_t>(TextBuffer::Capacity)) {
        Diagnostic(index->FileName + ": the text entry " + index->Names[pos] + " holds " +
                   std::to_string(size) + " bytes, more than a text buffer holds");
        return false;
    }
    std::span<uint8_t> staging(m_staging.get(), size);
    if (!ReadFileRange(index->FileName, index->Offsets[pos], staging)) {
        Diagnostic(index->FileName + ": the text entry " + index->Names[pos] + " cannot be read");
        return false;
    }
    NegateBytes(staging.data(), staging.size());
    std::memcpy(buffer.Bytes.get(), staging.data(), staging.size());
    buffer.Size = static_cast<int32_t>(size);
    buffer.ReadPos = 0;
    buffer.Bytes[size] = 0;
    return true;
}

bool Archives::HasTextEntry(std::string_view name) const {
    return FindEntry(Data2Index, name) >= 0 || FindEntry(DataIndex, name) >= 0;
}

bool Archives::ReadEntry(const ArchiveIndex& index, int pos, Bytes& out) const {
    if (pos < 0 || !index.EntryInFile(static_cast<size_t>(pos)) || index.FileName.empty()) {
        return false;
    }
    out.resize(index.Sizes[pos]);
    if (!ReadFileRange(index.FileName, index.Offsets[pos], out)) {
        out.clear();
        return false;
    }
    return true;
}

bool Archives::ReadEntryRange(const ArchiveIndex& index, int pos, uint64_t offsetInEntry,
                              std::span<uint8_t> out) const {
    if (pos < 0 || !index.EntryInFile(static_cast<size_t>(pos)) || index.FileName.empty()) {
        return false;
    }
    uint64_t size = index.Sizes[pos];
    if (offsetInEntry > size || out.size() > size - offsetInEntry) {
        return false;
    }
    return ReadFileRange(index.FileName, index.Offsets[pos] + offsetInEntry, out);
}

bool HoldsGameData(const std::filesystem::path& directory) {
    auto data = FindFileNoCase(directory, "ov_data.orv");
    return data && IsRegularFile(*data);
}

} // namespace orv
