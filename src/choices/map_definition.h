#pragma once
// The regions of a click map as the definition script `map` describes them: a label line
// `:name`, a line with the number of regions, then one line per region, its caption up to
// the first ',' and comma-separated numbers after it.

#include "choices/choice_list.h"

#include <cstdint>
#include <string_view>

namespace orv {

struct ChoiceBox {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool StrictlyContains(int32_t x, int32_t y) const {
        return x > Left && x < Right && y > Top && y < Bottom;
    }
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
};

enum class RegionKind {
    Colour,     // `$RGB`: where the hit picture has that colour
    Rectangle,  // a plain rectangle, no highlight picture
    SecondRect, // `#`: the highlight is taken from a second rectangle of the map picture
    SamePlace,  // `*`: the highlight is the map picture at the region's own place
};

struct MapRegion {
    RegionKind Kind = RegionKind::Rectangle;
    ChoiceText Caption;
    uint32_t Key = 0;      // colour regions: the colour (0xBBGGRR) in the high nibbles
    int32_t Cursor = 0;    // colour regions: the cursor number
    ChoiceBox Area;        // rectangle regions
    ChoiceBox Source;      // `#` regions: where the highlight comes from
    int32_t Extra[2] = {}; // the two optional numbers after a `#` region's second rectangle
    ChoiceBox CaptionBox;  // the caption centred in the rectangle
    bool Enabled = true;
};

struct MapDefinition {
    int32_t Count = 0;
    MapRegion Regions[kMaxChoices];
};

// The colour key of a `$RGB` caption: each digit goes into the high nibble of its byte.
// False when the three characters after '$' are not all hex digits.
bool ColourKey(std::string_view caption, uint32_t& key);

// Places a caption centred in its region: as wide as the caption in 16-pixel text plus 32,
// 24 high.
ChoiceBox CaptionPlacement(const ChoiceBox& area, std::string_view caption);

// Reads one region line.
void ReadRegion(std::string_view line, MapRegion& region);

// Reads the definition of map `name` from the lines of `definition` (NUL-terminated). The
// label is the first ':' followed by the name, compared over the name's length without
// regard to case; without one the count is read from the first line. More than
// kMaxChoices regions are cut to that many; a negative count gives none.
void ReadMapDefinition(std::string_view definition, std::string_view name, MapDefinition& map);

} // namespace orv
