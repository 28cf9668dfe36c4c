// The font list from fontconfig, and the names it offers.
#include "dialogs/font_list.h"

#include "base/cp932.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace orv {

std::vector<FontFamilyNames> FontconfigFamilies::JapaneseFamilies() {
    std::vector<FontFamilyNames> out;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja"));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
    FcFontSet* fonts = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
    if (fonts) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FontFamilyNames family;
            FcChar8* name = nullptr;
            for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch;
                 ++n) {
                FcChar8* language = nullptr;
                FcPatternGetString(fonts->fonts[i], FC_FAMILYLANG, n, &language);
                family.Names.push_back(
                    {language ? reinterpret_cast<const char*>(language) : "",
                     reinterpret_cast<const char*>(name)});
            }
            if (!family.Names.empty()) {
                out.push_back(std::move(family));
            }
        }
        FcFontSetDestroy(fonts);
    }
    if (objects) {
        FcObjectSetDestroy(objects);
    }
    if (pattern) {
        FcPatternDestroy(pattern);
    }
    return out;
}

std::string_view ShownFamilyName(const FontFamilyNames& family) {
    if (family.Names.empty()) {
        return {};
    }
    for (const FontFamilyNames::Name& name : family.Names) {
        if (name.Language == "ja") {
            return name.Text;
        }
    }
    return family.Names.front().Text;
}

std::vector<FontChoice> FontList(FontFamilySource& source) {
    std::vector<FontChoice> rows;
    for (const FontFamilyNames& family : source.JapaneseFamilies()) {
        std::string_view shown = ShownFamilyName(family);
        std::string encoded;
        if (shown.empty() || shown.front() == '@' ||
            cp932::EncodeUtf8(shown, encoded) != std::string_view::npos) {
            continue;
        }
        FontChoice row{std::move(encoded), {}};
        for (const FontFamilyNames::Name& name : family.Names) {
            row.Names.push_back(name.Text);
        }
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const FontChoice& a, const FontChoice& b) { return a.Shown < b.Shown; });
    // Every style of a family comes as a family of its own: one row keeps all their names.
    std::vector<FontChoice> merged;
    for (FontChoice& row : rows) {
        if (!merged.empty() && merged.back().Shown == row.Shown) {
            for (std::string& name : row.Names) {
                merged.back().Names.push_back(std::move(name));
            }
            continue;
        }
        merged.push_back(std::move(row));
    }
    return merged;
}

} // namespace orv
