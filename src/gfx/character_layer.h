#pragma once
// The character layer: five position names, how many positions are drawn, and the
// five-entry cache of decoded character pictures with their masks, so that a scene that
// only moves or swaps characters already seen decodes nothing.

#include "gfx/surface.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class Pictures;

// Loads a character picture and its mask by name. With side-by-side pictures (TACHI_TYPE 1)
// the picture holds the colour in its left half and the mask in its right half; otherwise
// the mask is its own picture, named with the first letter replaced by M.
struct CharacterPictureLoader {
    Pictures& Loader;
    Surface& Scratch; // receives a side-by-side picture before it is split
    int32_t TachiType = 0;

    // False when the picture (or its mask) is in no archive: the surfaces that could not be
    // filled keep what they held.
    bool Load(std::string_view upperName, Surface& picture, Surface& mask);
};

// The mask picture's name: the character's with its first character replaced by M.
std::string MaskPictureName(std::string_view name);

struct CachedPicture {
    Surface Picture;
    Surface Mask;
    std::string Name = "0"; // the picture it holds; "0" names none
};

class PictureCache {
public:
    static constexpr int kEntries = 5;

    // Every entry 200 x 600, as the layer starts.
    void Allocate();

    // The entry holding `upperName`, or -1.
    int Find(std::string_view upperName) const;
    // Loads `upperName` into the entry under the cursor, which then moves on (after 4
    // comes 0). The entry takes the name even when the picture is missing.
    int Load(std::string_view upperName, CharacterPictureLoader& loader);
    // Find, else Load.
    int Acquire(std::string_view upperName, CharacterPictureLoader& loader);

    const CachedPicture& Entry(int index) const { return m_entries[Clamp(index)]; }
    int32_t Cursor() const { return m_cursor; }

private:
    static size_t Clamp(int index) {
        return index >= 0 && index < kEntries ? static_cast<size_t>(index) : 0;
    }

    std::array<CachedPicture, kEntries> m_entries;
    int32_t m_cursor = 0;
};

class CharacterLayer {
public:
    static constexpr int kPositions = 5; // names kept
    static constexpr int kMaxDrawn = 4;  // positions drawn
    // Picture names hold at most 63 bytes.
    static constexpr size_t kMaxNameBytes = 63;

    // What SetCharacters decided.
    struct Result {
        int32_t Transition = 0;
        // The positions drawn, joined by ','.
        std::string Description;
    };

    void Allocate() { Cache.Allocate(); }

    // Takes a character list (items separated by ',' or ':'; "-" keeps a position's name;
    // an empty item empties it; a trailing item that begins with a digit is the transition
    // number), sets the count and loads every plain picture it needs into the cache.
    Result SetCharacters(std::string_view list, CharacterPictureLoader& loader);

    // Sets a position's name (upper-cased, at most 63 bytes); nothing outside 0..4.
    void SetName(int position, std::string_view name);
    std::string_view Name(int position) const;

    // The cache entry that holds the picture of `position`, loading it again when a
    // composite's parts have since taken its entry.
    int CachedEntry(int position, CharacterPictureLoader& loader);

    std::array<std::string, kPositions> Names;
    int32_t CharacterCount = 0;
    std::array<int32_t, kPositions> CacheIndex{};
    PictureCache Cache;

private:
    void FillCache(int count, CharacterPictureLoader& loader);
};

} // namespace orv
