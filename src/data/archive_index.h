#pragma once
// Archive indexes: an archive file is an index followed by the entries' bytes.
//
// Form A (text archives): u32 count N, then N records of 64 bytes: a 56-byte NUL-terminated
// name, u32 offset, u32 size.
// Form B (all others): u32 count N, u32 name width W, then N records of W + 8 bytes: the
// name, u32 offset, u32 size. Offsets are absolute file positions; all words little-endian.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"

namespace orv {

enum class IndexForm { A, B };

constexpr uint32_t kFormANameWidth = 56;
constexpr uint32_t kFormARecordSize = 64;

struct ArchiveIndex {
    std::string FileName;           // path the archive is opened with; empty when found nowhere
    std::vector<std::string> Names; // upper-cased, in file order
    std::vector<uint32_t> Offsets;
    std::vector<uint32_t> Sizes;
    uint32_t NameWidth = 0; // form B only
    uint32_t Count = 0;
    uint64_t FileSize = 0; // size of the archive file when the index was read

    void Clear();
    // True when entry `pos` lies wholly inside the archive file.
    bool EntryInFile(size_t pos) const;
};

// Parses an index from the first bytes of an archive whose whole size is `fileSize`.
// On damage (records that do not fit in the file, a width that cannot be) `out` is left
// empty, `problem` says why, and false is returned. Names without a NUL are cut at their
// field's end.
bool ParseIndex(ByteSpan head, uint64_t fileSize, IndexForm form, ArchiveIndex& out,
                std::string* problem = nullptr);

// Bytes of the index (header and records) that `head` announces, or 0 when the header is
// incomplete or the index could not fit in `fileSize`.
uint64_t IndexLength(ByteSpan head, uint64_t fileSize, IndexForm form);

// Reads the index of the archive at `path` into `out` (its FileName is set to `path`).
// A missing or unopenable file gives an empty index and false with no problem reported;
// a damaged index gives an empty index, false, and the reason in `problem`.
bool ReadIndexFile(const std::filesystem::path& path, IndexForm form, ArchiveIndex& out,
                   std::string* problem = nullptr);

// Guesses the form of an index from its first bytes: B when the second word is a plausible
// name width whose records fit the file and A does not fit as well.
IndexForm DetectIndexForm(ByteSpan head, uint64_t fileSize);

// Position of `name` in `index.Names` without regard to case, or -1. The first equal name
// wins. An entry that reaches past the end of its file is treated as absent.
int FindEntry(const ArchiveIndex& index, std::string_view name);

// Text entries are stored with every byte negated: (256 - b) mod 256. Applying it twice
// gives the text back.
void NegateBytes(uint8_t* data, size_t size);

struct ArchiveEntryInput {
    std::string Name; // stored as given; readers upper-case it
    Bytes Data;
};

// Builds a whole archive: index (form A, or form B with `nameWidth`) followed by the entries'
// bytes in order. Returns false with a reason when a name does not fit its field.
bool BuildArchive(IndexForm form, uint32_t nameWidth, const std::vector<ArchiveEntryInput>& entries,
                  Bytes& out, std::string* problem = nullptr);

} // namespace orv
