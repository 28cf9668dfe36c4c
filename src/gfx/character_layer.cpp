#include "gfx/character_layer.h"

#include "base/cp932.h"
#include "gfx/pictures.h"

#include <algorithm>
#include <limits>

namespace orv {

namespace {

constexpr int kCacheWidth = 200;
constexpr int kCacheHeight = kScreenHeight;

// Every load replaces the oldest entry and the pass starts over, so a list of up to four
// names settles within a few passes; the bound only guards against a fault of this file.
constexpr int kMaxCachePasses = 16;

// The picture name cut to 63 bytes, never in the middle of a double-byte character.
std::string_view CutName(std::string_view name) {
    size_t length = 0;
    while (length < name.size()) {
        size_t next = length + cp932::CharLength(name, length);
        if (next > CharacterLayer::kMaxNameBytes) {
            break;
        }
        length = next;
    }
    return name.substr(0, length);
}

int32_t LeadingNumber(std::string_view text) {
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return static_cast<int32_t>(value);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string MaskPictureName(std::string_view name) {
    return "M" + std::string(name.substr(std::min(name.size(), cp932::CharLength(name, 0))));
}

bool CharacterPictureLoader::Load(std::string_view upperName, Surface& picture, Surface& mask) {
    if (TachiType == 1) {
        if (!Loader.LoadPicture(upperName, Scratch)) {
            return false;
        }
        int half = Scratch.Width() / 2;
        int height = Scratch.Height();
        picture.SetSize(half, height);
        picture.CopyFrom(Scratch, Rect{0, 0, half, height}, 0, 0);
        mask.SetSize(half, height);
        mask.CopyFrom(Scratch, Rect{half, 0, half, height}, 0, 0);
        return true;
    }
    bool pictureLoaded = Loader.LoadPicture(upperName, picture);
    bool maskLoaded = Loader.LoadPicture(MaskPictureName(upperName), mask);
    return pictureLoaded && maskLoaded;
}

void PictureCache::Allocate() {
    for (CachedPicture& entry : m_entries) {
        entry.Picture.Allocate(kCacheWidth, kCacheHeight);
        entry.Mask.Allocate(kCacheWidth, kCacheHeight);
        entry.Name = "0";
    }
    m_cursor = 0;
}

int PictureCache::Find(std::string_view upperName) const {
    for (int i = 0; i < kEntries; ++i) {
        if (m_entries[static_cast<size_t>(i)].Name == upperName) {
            return i;
        }
    }
    return -1;
}

int PictureCache::Load(std::string_view upperName, CharacterPictureLoader& loader) {
    int index = m_cursor;
    CachedPicture& entry = m_entries[static_cast<size_t>(index)];
    if (!loader.Load(upperName, entry.Picture, entry.Mask)) {
        // The entry would otherwise still show the character it held before: a missing
        // picture draws nothing instead.
        entry.Picture.SetSize(0, 0);
        entry.Mask.SetSize(0, 0);
    }
    entry.Name = std::string(upperName);
    m_cursor = (m_cursor + 1) % kEntries;
    return index;
}

int PictureCache::Acquire(std::string_view upperName, CharacterPictureLoader& loader) {
    int index = Find(upperName);
    return index >= 0 ? index : Load(upperName, loader);
}

void CharacterLayer::SetName(int position, std::string_view name) {
    if (position < 0 || position >= kPositions) {
        return;
    }
    Names[static_cast<size_t>(position)] = cp932::UpperCase(CutName(name));
}

std::string_view CharacterLayer::Name(int position) const {
    if (position < 0 || position >= kPositions) {
        return {};
    }
    return Names[static_cast<size_t>(position)];
}

CharacterLayer::Result CharacterLayer::SetCharacters(std::string_view list,
                                                     CharacterPictureLoader& loader) {
    Result result;
    // ',' and ':' lie below every trail byte, so the items split cleanly at bytes.
    size_t start = 0;
    for (int position = 0; position < kPositions; ++position) {
        std::string_view item;
        if (start <= list.size()) {
            size_t end = std::min(list.find_first_of(",:", start), list.size());
            item = list.substr(start, end - start);
            start = end + 1;
        }
        if (item != "-") {
            SetName(position, item);
        }
    }

    int last = kPositions - 1;
    while (last >= 0 && Names[static_cast<size_t>(last)].empty()) {
        --last;
    }
    if (last < 0 || list.empty()) {
        CharacterCount = 0;
        return result;
    }
    result.Transition = 1;
    int count = last + 1;
    if (IsDigit(Names[static_cast<size_t>(last)].front())) {
        result.Transition = LeadingNumber(Names[static_cast<size_t>(last)]);
        count = last;
    }
    if (list.back() == ',') {
        ++count;
    }
    if (count == 1 && Names[0].empty()) {
        CharacterCount = 0;
        return result;
    }
    CharacterCount = std::min(count, kMaxDrawn);
    for (int position = 0; position < CharacterCount; ++position) {
        if (position > 0) {
            result.Description += ',';
        }
        result.Description += Names[static_cast<size_t>(position)];
    }
    FillCache(CharacterCount, loader);
    return result;
}

void CharacterLayer::FillCache(int count, CharacterPictureLoader& loader) {
    // A load may evict the entry of a position already looked at, so every load starts the
    // pass over until one pass finds everything.
    for (int pass = 0; pass < kMaxCachePasses; ++pass) {
        bool loaded = false;
        for (int position = 0; position < count && !loaded; ++position) {
            const std::string& name = Names[static_cast<size_t>(position)];
            if (name.empty() || name.front() == '#') {
                continue;
            }
            int index = Cache.Find(name);
            if (index < 0) {
                index = Cache.Load(name, loader);
                loaded = true;
            }
            CacheIndex[static_cast<size_t>(position)] = index;
        }
        if (!loaded) {
            return;
        }
    }
}

int CharacterLayer::CachedEntry(int position, CharacterPictureLoader& loader) {
    if (position < 0 || position >= kPositions) {
        return 0;
    }
    auto p = static_cast<size_t>(position);
    if (Cache.Entry(CacheIndex[p]).Name != Names[p]) {
        CacheIndex[p] = Cache.Acquire(Names[p], loader);
    }
    return CacheIndex[p];
}

} // namespace orv
