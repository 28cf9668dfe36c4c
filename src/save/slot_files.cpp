// The slot files as the save list sees them: their headers, the comment, deletion, and the
// choice record kept beside each.
#include "base/cp932.h"
#include "base/files.h"
#include "engine/engine.h"
#include "save/save_slots.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace orv {

namespace {

constexpr size_t kDateBytes = 19;
constexpr size_t kDetailStart = 20;
constexpr size_t kDetailEnd = 95;

std::string TextIn(std::span<const uint8_t> header, size_t from, size_t to) {
    if (from >= header.size()) {
        return {};
    }
    std::span<const uint8_t> field = header.subspan(from, std::min(to, header.size()) - from);
    return std::string(FixedFieldText(field));
}

} // namespace

std::string_view SaveSlots::StoredComment(std::string_view text) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    return cp932::CutToWholeChars(text, kCommentBytes);
}

std::filesystem::path SaveSlots::RecordPath(int32_t slot) const {
    return std::filesystem::path(Location.SlotPath(slot)).replace_extension(".rec");
}

std::optional<SlotSummary> SaveSlots::ReadSlotSummary(int32_t slot) const {
    std::filesystem::path path = Location.SlotPath(slot);
    std::optional<uint64_t> size = FileSize(path);
    if (!size) {
        return std::nullopt;
    }
    Bytes header(static_cast<size_t>(std::min<uint64_t>(*size, save_layout::kHeaderSize)), 0);
    if (!header.empty() && !ReadFileRange(path, 0, header)) {
        return std::nullopt;
    }
    SlotSummary summary;
    summary.Date = TextIn(header, 0, kDateBytes);
    summary.Detail = TextIn(header, kDetailStart, kDetailEnd);
    summary.Comment = std::string(StoredComment(
        TextIn(header, save_layout::kComment, save_layout::kComment + save_layout::kCommentSize)));
    return summary;
}

bool SaveSlots::SetSaveComment(int32_t slot, std::string_view comment) {
    std::filesystem::path path = Location.SlotPath(slot);
    std::optional<Bytes> file = ReadWholeFile(path);
    if (!file || file->size() < save_layout::kHeaderSize) {
        return false;
    }
    // The whole field is written: the comment, then zeros; never a cut double-byte character.
    std::string_view text = StoredComment(comment);
    uint8_t* field = file->data() + save_layout::kComment;
    std::memset(field, 0, save_layout::kCommentSize);
    std::memcpy(field, text.data(), text.size());
    return WriteFileAtomic(path, *file).empty();
}

bool SaveSlots::DeleteSlot(int32_t slot) {
    std::error_code ec;
    std::filesystem::remove(RecordPath(slot), ec);
    std::filesystem::path path = Location.SlotPath(slot);
    std::filesystem::remove(path, ec);
    return !ec && !std::filesystem::exists(path, ec);
}

} // namespace orv
