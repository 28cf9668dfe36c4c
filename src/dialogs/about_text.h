#pragma once
// What the desktop's About box says: the program's version, the versions of the libraries
// the window and the sound run on, and the message font in use, which is what players ask
// about first when text looks wrong.

#include <string>

namespace orv {

struct AboutFacts {
    std::string Version;    // the program's
    std::string QtVersion;  // as the running library reports it
    std::string SdlVersion; // likewise, "2.26.5"
    std::string FontName;   // the family the settings name (UTF-8); empty: none named
    std::string FontFile;   // the file in use; empty: no font could be opened
    bool FontFallback = false; // the named family was missing and the Japanese fallback stands in
    std::string GameTitle;  // UTF-8; empty: no game
};

// Lines of UTF-8 text, Japanese and English side by side as the program's messages are.
std::string AboutText(const AboutFacts& facts);

} // namespace orv
