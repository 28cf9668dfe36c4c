#pragma once
// The archive set of a game directory: the index of every archive slot, read once at
// start-up, and the reading of entries by name.

#include "base/bytes.h"
#include "base/zeroed_array.h"
#include "data/archive_index.h"
#include "data/text_buffer.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// The OVD_ keys of the game configuration: which families may fall back to CdDirectory.
// A key the configuration does not set is 0.
struct OvdKeys {
    int32_t Gra = 0;
    int32_t Gjp = 0;
    int32_t Wav = 0;
    int32_t Se = 0;
    int32_t Ogg = 0;
    int32_t Anim = 0;
};

class Archives {
public:
    explicit Archives(std::filesystem::path gameDirectory = ".");

    const std::filesystem::path& GameDirectory() const { return m_gameDirectory; }

    // True when ov_data.orv exists in the game directory (checked before ReadTextIndexes).
    bool DataArchiveExists() const;

    // Reads the form A indexes of ov_data.orv and ov_data2.orv.
    void ReadTextIndexes();

    // Takes the CDDir setting: one trailing backslash is removed; CdIsDisc is worked out once.
    // "NULL" (the setting's default) and an empty text name no directory.
    void SetCdDirectory(std::string_view cdDirSetting);

    // Builds the index of every slot of the other seven families (needs the OVD_ keys and
    // the CD directory).
    void OpenDataArchives(const OvdKeys& keys);

    // After OpenDataArchives: GRA slot 0's FileName names an existing file.
    bool FirstImageArchiveExists() const;

    // Finds a text entry (ov_data2.orv first, then ov_data.orv), reads it into `buffer`,
    // undoes the negation, sets Size and ReadPos = 0. False when neither index holds the
    // name, the entry does not fit the buffer, or the archive cannot be read; the buffer
    // is then unchanged.
    bool ReadTextEntry(std::string_view name, TextBuffer& buffer);
    // Whether either text archive holds the entry (any case).
    bool HasTextEntry(std::string_view name) const;

    // Reads entry `pos` of `index` whole. False when the position is invalid, the entry
    // lies outside its file, or the file cannot be read.
    bool ReadEntry(const ArchiveIndex& index, int pos, Bytes& out) const;
    // Reads `out.size()` bytes from `offsetInEntry` of entry `pos`; false when that range
    // is not inside the entry.
    bool ReadEntryRange(const ArchiveIndex& index, int pos, uint64_t offsetInEntry,
                        std::span<uint8_t> out) const;

    ArchiveIndex DataIndex;  // ov_data.orv
    ArchiveIndex Data2Index; // ov_data2.orv
    std::array<ArchiveIndex, 3> Gra;
    ArchiveIndex Gjp;
    std::array<ArchiveIndex, 5> Wav;
    std::array<ArchiveIndex, 3> Se;
    std::array<ArchiveIndex, 3> Ogg;
    ArchiveIndex Bgm;
    std::array<ArchiveIndex, 2> Anim;

    std::string CdDirectory = "NULL";
    bool CdIsDisc = false;

private:
    // The CD directory as a path to search, or empty when the setting names none. A relative
    // setting is taken from the game directory, where a game expects to run.
    std::filesystem::path CdPath() const;
    // Sets the slot's FileName by the fallback rule and reads its form B index.
    void OpenSlot(ArchiveIndex& index, const std::string& fileName, bool mayFallBack);

    std::filesystem::path m_gameDirectory;
    // Entries are read here first, so that a failed read never leaves a half-replaced script.
    ZeroedArray<uint8_t> m_staging;
};

// True when `directory` holds ov_data.orv (in any case): a folder the engine can start a
// game from.
bool HoldsGameData(const std::filesystem::path& directory);

} // namespace orv
