#include "save/save_io.h"

#include "base/bytes.h"
#include "script/dispatcher.h"

#include <algorithm>
#include <cstring>

namespace orv {

SaveImage::SaveImage() : m_bytes(AllocateZeroed<uint8_t>(save_layout::kFileSize)) {}

void SaveImage::Clear() {
    std::fill_n(m_bytes.get(), save_layout::kFileSize, uint8_t{0});
}

void SaveIo::Int(size_t offset, int32_t& value) {
    std::span<uint8_t> image = m_image.Bytes();
    if (offset > image.size() || image.size() - offset < 4) {
        return;
    }
    uint8_t* at = image.data() + offset;
    if (Reading()) {
        value = static_cast<int32_t>(LoadU32(at));
    } else {
        StoreU32(at, static_cast<uint32_t>(value));
    }
}

void SaveIo::Flag(size_t offset, bool& value) {
    int32_t number = value ? 1 : 0;
    Int(offset, number);
    value = number != 0;
}

void SaveIo::Name(size_t offset, size_t width, std::span<char> field) {
    std::span<uint8_t> image = m_image.Bytes();
    if (offset > image.size() || field.empty()) {
        return;
    }
    width = std::min(width, image.size() - offset);
    auto* at = reinterpret_cast<char*>(image.data() + offset);
    if (Reading()) {
        CopyField(field.data(), field.size(), std::string_view(at, ::strnlen(at, width)));
        return;
    }
    std::string_view text(field.data(), ::strnlen(field.data(), field.size()));
    CopyField(at, width, text);
}

void SaveIo::Bytes(size_t offset, std::span<uint8_t> bytes) {
    std::span<uint8_t> image = m_image.Bytes();
    if (offset > image.size()) {
        return;
    }
    size_t count = std::min(bytes.size(), image.size() - offset);
    if (count == 0) {
        return;
    }
    if (Reading()) {
        std::memcpy(bytes.data(), image.data() + offset, count);
    } else {
        std::memcpy(image.data() + offset, bytes.data(), count);
    }
}

void SaveIo::Bytes(size_t offset, std::span<char> bytes) {
    Bytes(offset, std::span<uint8_t>(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()));
}

void SaveIo::Ints(size_t offset, std::span<int32_t> values) {
    for (size_t i = 0; i < values.size(); ++i) {
        Int(offset + 4 * i, values[i]);
    }
}

} // namespace orv
