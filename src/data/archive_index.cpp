#include "data/archive_index.h"

#include "base/cp932.h"
#include "base/files.h"

#include <cstdint>

namespace orv {

namespace {

// Form B widths beyond this are taken as damage: no game stores names that long, and a
// garbage width would otherwise make every record a huge, mostly empty name field.
constexpr uint32_t kMaxNameWidth = 65536;

struct Layout {
    uint64_t headerSize = 0;
    uint64_t recordSize = 0;
    uint64_t nameWidth = 0;
    uint64_t count = 0;
};

bool ReadLayout(ByteSpan head, IndexForm form, Layout& layout, std::string* problem) {
    auto count = ReadU32(head, 0);
    if (!count) {
        if (problem) {
            *problem = "the index header is incomplete";
        }
        return false;
    }
    // FindEntry answers with an int position.
    if (*count > static_cast<uint32_t>(INT32_MAX)) {
        if (problem) {
            *problem = "the entry count " + std::to_string(*count) + " is not plausible";
        }
        return false;
    }
    layout.count = *count;
    if (form == IndexForm::A) {
        layout.headerSize = 4;
        layout.nameWidth = kFormANameWidth;
        layout.recordSize = kFormARecordSize;
        return true;
    }
    auto width = ReadU32(head, 4);
    if (!width) {
        if (problem) {
            *problem = "the index header is incomplete";
        }
        return false;
    }
    if (*width > kMaxNameWidth) {
        if (problem) {
            *problem = "the name width " + std::to_string(*width) + " is not plausible";
        }
        return false;
    }
    layout.headerSize = 8;
    layout.nameWidth = *width;
    layout.recordSize = static_cast<uint64_t>(*width) + 8;
    return true;
}

} // namespace

void ArchiveIndex::Clear() {
    Names.clear();
    Offsets.clear();
    Sizes.clear();
    NameWidth = 0;
    Count = 0;
    FileSize = 0;
}

bool ArchiveIndex::EntryInFile(size_t pos) const {
    if (pos >= Offsets.size() || pos >= Sizes.size()) {
        return false;
    }
    return static_cast<uint64_t>(Offsets[pos]) + Sizes[pos] <= FileSize;
}

uint64_t IndexLength(ByteSpan head, uint64_t fileSize, IndexForm form) {
    Layout layout;
    if (!ReadLayout(head, form, layout, nullptr)) {
        return 0;
    }
    // count < 2^32 and recordSize <= 2^16 + 8, so the product cannot overflow 64 bits.
    uint64_t length = layout.headerSize + layout.count * layout.recordSize;
    return length <= fileSize ? length : 0;
}

bool ParseIndex(ByteSpan head, uint64_t fileSize, IndexForm form, ArchiveIndex& out,
                std::string* problem) {
    std::string fileName = std::move(out.FileName);
    out.Clear();
    out.FileName = std::move(fileName);
    Layout layout;
    if (!ReadLayout(head, form, layout, problem)) {
        return false;
    }
    uint64_t length = layout.headerSize + layout.count * layout.recordSize;
    if (length > fileSize || length > head.size()) {
        if (problem) {
            *problem = "the index announces " + std::to_string(layout.count) +
                       " records, which do not fit in the file";
        }
        return false;
    }
    auto count = static_cast<size_t>(layout.count);
    out.Names.reserve(count);
    out.Offsets.reserve(count);
    out.Sizes.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        size_t record = static_cast<size_t>(layout.headerSize + i * layout.recordSize);
        auto name = FixedFieldText(head.subspan(record, static_cast<size_t>(layout.nameWidth)));
        out.Names.push_back(cp932::UpperCase(name));
        out.Offsets.push_back(LoadU32(head.data() + record + layout.nameWidth));
        out.Sizes.push_back(LoadU32(head.data() + record + layout.nameWidth + 4));
    }
    out.Count = static_cast<uint32_t>(count);
    out.NameWidth = form == IndexForm::B ? static_cast<uint32_t>(layout.nameWidth) : 0;
    out.FileSize = fileSize;
    return true;
}

bool ReadIndexFile(const std::filesystem::path& path, IndexForm form, ArchiveIndex& out,
                   std::string* problem) {
    out.Clear();
    out.FileName = path.string();
    auto fileSize = FileSize(path);
    if (!fileSize) {
        return false;
    }
    uint8_t header[8] = {};
    size_t headerSize = form == IndexForm::A ? 4 : 8;
    if (*fileSize < headerSize) {
        if (problem) {
            *problem = "the index header is incomplete";
        }
        return false;
    }
    if (!ReadFileRange(path, 0, std::span(header, headerSize))) {
        if (problem) {
            *problem = "the archive cannot be read";
        }
        return false;
    }
    uint64_t length = IndexLength(ByteSpan(header, headerSize), *fileSize, form);
    if (length == 0) {
        // Let the parser say what is wrong.
        return ParseIndex(ByteSpan(header, headerSize), *fileSize, form, out, problem);
    }
    Bytes index(static_cast<size_t>(length));
    if (!ReadFileRange(path, 0, index)) {
        if (problem) {
            *problem = "the index cannot be read";
        }
        return false;
    }
    return ParseIndex(index, *fileSize, form, out, problem);
}

IndexForm DetectIndexForm(ByteSpan head, uint64_t fileSize) {
    auto fitsWithFirstOffset = [&](IndexForm form) {
        uint64_t length = IndexLength(head, fileSize, form);
        if (length == 0) {
            return false;
        }
        auto count = LoadU32(head.data());
        if (count == 0) {
            return true;
        }
        uint64_t width = form == IndexForm::A ? kFormANameWidth : LoadU32(head.data() + 4);
        uint64_t firstOffsetAt = (form == IndexForm::A ? 4 : 8) + width;
        auto firstOffset = ReadU32(head, static_cast<size_t>(firstOffsetAt));
        return firstOffset && *firstOffset >= length;
    };
    bool b = fitsWithFirstOffset(IndexForm::B);
    bool a = fitsWithFirstOffset(IndexForm::A);
    if (a && !b) {
        return IndexForm::A;
    }
    return b ? IndexForm::B : IndexForm::A;
}

int FindEntry(const ArchiveIndex& index, std::string_view name) {
    for (size_t i = 0; i < index.Names.size(); ++i) {
        if (cp932::EqualsIgnoreCase(index.Names[i], name)) {
            return index.EntryInFile(i) ? static_cast<int>(i) : -1;
        }
    }
    return -1;
}

void NegateBytes(uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        data[i] = static_cast<uint8_t>(0u - data[i]);
    }
}

bool BuildArchive(IndexForm form, uint32_t nameWidth, const std::vector<ArchiveEntryInput>& entries,
                  Bytes& out, std::string* problem) {
    uint32_t width = form == IndexForm::A ? kFormANameWidth : nameWidth;
    if (form == IndexForm::B && width > kMaxNameWidth) {
        if (problem) {
            *problem = "the name width may be at most " + std::to_string(kMaxNameWidth);
        }
        return false;
    }
    uint64_t headerSize = form == IndexForm::A ? 4 : 8;
    uint64_t position = headerSize + static_cast<uint64_t>(width + 8) * entries.size();
    out.clear();
    AppendU32(out, static_cast<uint32_t>(entries.size()));
    if (form == IndexForm::B) {
        AppendU32(out, width);
    }
    for (const auto& entry : entries) {
        if (entry.Name.size() + 1 > width) {
            if (problem) {
                *problem = "the name \"" + entry.Name + "\" needs " +
                           std::to_string(entry.Name.size() + 1) +
                           " bytes with its NUL; the name field holds " + std::to_string(width);
            }
            return false;
        }
        if (position + entry.Data.size() > UINT32_MAX) {
            if (problem) {
                *problem = "the archive would exceed 4 GiB";
            }
            return false;
        }
        out.insert(out.end(), entry.Name.begin(), entry.Name.end());
        out.insert(out.end(), width - entry.Name.size(), 0);
        AppendU32(out, static_cast<uint32_t>(position));
        AppendU32(out, static_cast<uint32_t>(entry.Data.size()));
        position += entry.Data.size();
    }
    for (const auto& entry : entries) {
        out.insert(out.end(), entry.Data.begin(), entry.Data.end());
    }
    return true;
}

} // namespace orv
