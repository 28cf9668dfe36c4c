#pragma once
// The fonts the settings dialog offers for the message text. The games expect Windows'
// Japanese fonts, listed by their Japanese names; here they are the installed families that
// cover Japanese, each under its Japanese name where the font carries one. A name goes to
// the setting as code page 932 text, so only names that code page can hold are offered.

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// One installed family: its names in the languages the font gives them (UTF-8).
struct FontFamilyNames {
    struct Name {
        std::string Language; // "ja", "en", ... or empty
        std::string Text;
    };
    std::vector<Name> Names;
};

// Where the families come from: fontconfig on the desktop, a list in tests.
class FontFamilySource {
public:
    virtual ~FontFamilySource() = default;
    // The families that cover Japanese text.
    virtual std::vector<FontFamilyNames> JapaneseFamilies() = 0;
};

// fontconfig's families matching `:lang=ja`.
class FontconfigFamilies final : public FontFamilySource {
public:
    std::vector<FontFamilyNames> JapaneseFamilies() override;
};

// The name a family is offered under: its Japanese name, else its first.
std::string_view ShownFamilyName(const FontFamilyNames& family);

// One row of the list: the name it shows (code page 932) and every name of its family
// (UTF-8), so that a setting holding the family's English name finds its row.
struct FontChoice {
    std::string Shown;
    std::vector<std::string> Names;
};

// The rows to offer, sorted by the name shown and without repeats: vertical-writing
// families (named with a leading '@') and names code page 932 cannot hold are left out.
std::vector<FontChoice> FontList(FontFamilySource& source);

} // namespace orv
