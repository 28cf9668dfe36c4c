#pragma once
// The data that belongs to the player rather than to one saved game: the global flags, the
// pictures and scenes seen, the read marks (save0.dat, with a checksum), the recollection's
// record slots (kaiso.dat), the global variables (the GV settings) and the count of
// character-picture changes. Sync merges the file with memory (bits are only ever added)
// and writes everything again.

#include "base/bytes.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace orv {

class Engine;

// The checksum of save0.dat: the table CRC-32 of the reflected polynomial 0xEDB88320, from
// 1234, without the usual inversions. `state` carries one sum over several blocks.
uint32_t GlobalChecksum(std::span<const uint8_t> bytes, uint32_t state = 1234);

namespace global_layout {
constexpr size_t kEFlags = 0;
constexpr size_t kEFlagsSize = 128;
constexpr size_t kPictures = 128; // seen bits of pictures 0..3999, then the change count
constexpr size_t kPicturesSize = 512;
constexpr size_t kPictureBitsSize = 500;
constexpr size_t kChangeCount = 508; // within the picture block
constexpr size_t kScenes = 640;      // seen bits of recollection scenes 0..1999
constexpr size_t kScenesSize = 256;
constexpr size_t kReadMarks = 896;
constexpr size_t kReadMarksSize = 10240;
constexpr size_t kChecksum = 11136;
constexpr size_t kFileSize = 11140;

constexpr int kRecordSlots = 10;
constexpr int kRecordEntries = 50;
constexpr size_t kRecordNameSize = 64;
constexpr size_t kRecollectionFileSize = 2640; // 10 x 50 entries of 4 bytes, 10 names

// kaiso.dat: entry k of record slot s (a 32-bit scene number), then the ten names.
constexpr size_t RecordEntryOffset(int slot, int entry) {
    return 4 * static_cast<size_t>(slot * kRecordEntries + entry);
}
constexpr size_t RecordNameOffset(int slot) {
    return RecordEntryOffset(kRecordSlots, 0) + static_cast<size_t>(slot) * kRecordNameSize;
}
static_assert(RecordNameOffset(kRecordSlots) == kRecollectionFileSize);
} // namespace global_layout

class GlobalData {
public:
    explicit GlobalData(Engine& engine) : m_engine(engine) {}

    // Start-up, before the first Sync: kaiso.dat with zeros when missing, then read.
    void CreateRecollectionFileIfMissing();
    void ReadRecollection();
    // kaiso.dat written from the record slots at once, as the recollection edits them.
    void WriteRecollection();
    // Start-up: the first merge, which takes the change count from the file.
    void Read() { Sync(true); }
    // After a save or a load, at `gameclr` and when the program closes.
    void Save() { Sync(false); }
    void Sync(bool startUp);
    // `gameclr`: the clear count in the maker's shared key, S100, E999, and a Sync.
    void GameCleared();

    // Character-picture changes made while neither skip mode nor auto level 1 ran; kept
    // only in the global data file.
    int32_t CharacterChangeCount = 0;

    // The recollection's record slots: scene numbers (0 ends a list) and names.
    std::array<std::array<int32_t, global_layout::kRecordEntries>, global_layout::kRecordSlots>
        RecordSlots{};
    std::array<std::array<char, global_layout::kRecordNameSize>, global_layout::kRecordSlots>
        RecordNames{};

private:
    // The four blocks of memory in file order, as the file holds them.
    Bytes MemoryBlocks() const;
    void MergeFile(const Bytes& file);
    Bytes RecollectionFile() const;

    Engine& m_engine;
};

} // namespace orv
