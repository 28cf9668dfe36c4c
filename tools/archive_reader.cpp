#include "archive_reader.h"

#include "base/files.h"
#include "tool_common.h"

#include <algorithm>

namespace orv::tool {

namespace {

// Enough of the file to see the header and the first record of either form, even with the
// widest form B name field the index parser accepts.
constexpr uint64_t kHeadBytes = 8 + 65536 + 8;

std::string FormNote(const OpenedArchive& archive) {
    if (!archive.FormDetected) {
        return "";
    }
    return std::string(" (read as form ") + FormLetter(archive.Form) +
           ", as its first bytes suggest; --form chooses the other)";
}

} // namespace

bool OpenArchive(const std::filesystem::path& path, std::optional<IndexForm> form,
                 OpenedArchive& out, std::string& error) {
    out = OpenedArchive{};
    out.Path = path;
    out.Index.FileName = path.string();
    auto fileSize = FileSize(path);
    if (!fileSize) {
        error = "cannot open " + path.string() + ": no such file";
        return false;
    }
    Bytes head(static_cast<size_t>(std::min(*fileSize, kHeadBytes)));
    if (!ReadFileRange(path, 0, head)) {
        error = "cannot read " + path.string();
        return false;
    }
    out.Form = form ? *form : DetectIndexForm(head, *fileSize);
    out.FormDetected = !form;

    // The index is read once, so that the stored names and the parsed records agree.
    std::string problem;
    uint64_t length = IndexLength(head, *fileSize, out.Form);
    Bytes index;
    if (length > 0) {
        index.resize(static_cast<size_t>(length));
        if (!ReadFileRange(path, 0, index)) {
            error = "cannot read the index of " + path.string();
            return false;
        }
    }
    if (!ParseIndex(length > 0 ? ByteSpan(index) : ByteSpan(head), *fileSize, out.Form, out.Index,
                    &problem)) {
        error = path.string() + ": damaged index: " + problem + FormNote(out);
        return false;
    }

    size_t header = out.Form == IndexForm::A ? 4 : 8;
    size_t width = out.Form == IndexForm::A ? kFormANameWidth : out.Index.NameWidth;
    ByteSpan records(index);
    out.StoredNames.reserve(out.Index.Count);
    for (size_t i = 0; i < out.Index.Count; ++i) {
        out.StoredNames.emplace_back(
            FixedFieldText(records.subspan(header + i * (width + 8), width)));
    }
    return true;
}

} // namespace orv::tool
