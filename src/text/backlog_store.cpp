#include "text/backlog_store.h"

#include "base/cp932.h"
#include "save/save_io.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {
static_assert(BacklogStore::kSavedBytes == save_layout::kBacklogSize);
} // namespace

void BacklogStore::Clear() {
    m_bytes.fill('\0');
    m_count = 0;
    m_writePos = 0;
}

void BacklogStore::Put(std::string_view character) {
    std::memcpy(m_bytes.data() + m_writePos, character.data(), character.size());
    m_writePos += static_cast<int32_t>(character.size());
}

void BacklogStore::Append(std::string_view text) {
    cp932::ForEachChar(text, [this](std::string_view character) {
        // A zero would end the line early; lines hold none.
        if (character.find('\0') != std::string_view::npos) {
            return;
        }
        if (m_writePos + static_cast<int32_t>(character.size()) > LineStart() + kMaxLineText) {
            Commit();
        }
        Put(character);
    });
}

void BacklogStore::Commit() {
    m_bytes[static_cast<size_t>(m_writePos)] = '\0';
    if (m_count < kKeptLines) {
        ++m_count;
    } else {
        std::memmove(m_bytes.data(), m_bytes.data() + kLineBytes, kSavedBytes);
    }
    m_writePos = LineStart();
    m_bytes[static_cast<size_t>(m_writePos)] = '\0';
}

void BacklogStore::AppendVoice(std::string_view name) {
    if (m_writePos > LineStart()) {
        Commit();
    }
    name = name.substr(0, std::min(name.find('\0'), name.size()));
    Put(std::string_view(&kVoiceMark, 1));
    size_t pos = 0;
    while (pos < name.size()) {
        size_t length = cp932::CharLength(name, pos);
        if (m_writePos + static_cast<int32_t>(length) > LineStart() + kMaxLineText) {
            break;
        }
        Put(name.substr(pos, length));
        pos += length;
    }
    Commit();
}

std::string_view BacklogStore::Line(int32_t index) const {
    if (index < 0 || index > m_count) {
        return {};
    }
    const char* line = m_bytes.data() + static_cast<size_t>(index) * kLineBytes;
    // The line being written has no zero yet after its last byte.
    size_t limit = index == m_count ? static_cast<size_t>(m_writePos - LineStart())
                                    : static_cast<size_t>(kMaxLineText);
    return {line, ::strnlen(line, limit)};
}

void BacklogStore::Exchange(SaveIo& io) {
    namespace record = save_layout::record;
    io.Bytes(save_layout::kBacklog, std::span(m_bytes.data(), kSavedBytes));
    io.Int(save_layout::RecordOffset(record::BacklogCount), m_count);
    io.Int(save_layout::RecordOffset(record::BacklogWritePos), m_writePos);
    if (!io.Reading()) {
        return;
    }
    m_count = std::clamp(m_count, 0, kKeptLines);
    m_writePos = std::clamp(m_writePos, LineStart(), LineStart() + kMaxLineText);
    // The save holds no line past the kept ones: a line being written there starts empty,
    // and none of the game that was running before the load shows through.
    std::fill(m_bytes.begin() + static_cast<ptrdiff_t>(kSavedBytes), m_bytes.end(), '\0');
    if (m_count == kKeptLines) {
        m_writePos = LineStart();
    }
    for (int32_t line = 0; line < kKeptLines; ++line) {
        m_bytes[static_cast<size_t>(line * kLineBytes + kMaxLineText)] = '\0';
    }
    // The bytes of the line being written run up to the write position without a zero.
    for (int32_t at = LineStart(); at < m_writePos; ++at) {
        if (m_bytes[static_cast<size_t>(at)] == '\0') {
            m_writePos = at;
            break;
        }
    }
}

} // namespace orv
