#pragma once
// How the picture commands read their argument texts.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

// gra, grb and bg: a name, then a transition number and (gra, grb) a side found after it.
struct PictureArgument {
    std::string_view Name;   // at most 63 bytes
    int32_t Transition = -1; // none given: the renderer takes pattern 1
    char Side = 0;           // 'L' or 'R' (any case in the text), or 0
};

// The name runs to the first blank, ',' or ']' (63 bytes at most; a character list keeps
// ':' between its items so that it stays one name). Only when a blank or ',' ends it, the
// text after it up to byte 63, stopping at ']', is searched: the last run of digits is the
// transition number, and with `withSides` a letter L or R picks the side (the last one
// found).
PictureArgument ScanPictureArgument(std::string_view argument, bool withSides);

// clrb: the transition number at the start (0 when there is none) and the side named by the
// last character, l/L or r/R.
struct ClearArgument {
    int32_t Transition = 0;
    char Side = 0;
};
ClearArgument ScanClearArgument(std::string_view argument);

// ovr: name[,n[,x[,y]]].
struct OverlayArgument {
    std::string_view Name;
    int32_t Transition = 1;
    std::optional<int32_t> X;
    std::optional<int32_t> Y;
    bool Off = false; // the name is OFF, in any case
};
OverlayArgument ScanOverlayArgument(std::string_view argument);

// direct: name[,ms[,x[,y]]]; the name keeps at most 32 bytes.
struct DirectArgument {
    std::string_view Name;
    int32_t Milliseconds = 0;
    int32_t X = 0;
    int32_t Y = 0;
};
DirectArgument ScanDirectArgument(std::string_view argument);

// The comma-separated field `index` (0 from the start) of `text`, trimmed of blanks;
// nothing when the text has fewer fields.
std::optional<std::string_view> CommaField(std::string_view text, int index);

} // namespace orv
