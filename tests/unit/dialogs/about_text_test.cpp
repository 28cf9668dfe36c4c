// The About box names the version, the libraries and the font, however the font was found.
#include "dialogs/about_text.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(AboutText, NamesTheVersionsAndTheFontInUse) {
    AboutFacts facts;
    facts.Version = "0.1.0";
    facts.QtVersion = "6.4.2";
    facts.SdlVersion = "2.26.5";
    facts.GameTitle = "星の降る丘";
    struct Case {
        const char* Name;
        const char* File;
        bool Fallback;
        const char* Line;
    };
    const Case kCases[] = {
        {"IPAGothic", "/fonts/ipag.ttf", false, "フォント / font: IPAGothic (/fonts/ipag.ttf)\n"},
        {"ＭＳ ゴシック", "/fonts/ipag.ttf", true,
         "フォント / font: /fonts/ipag.ttf (ＭＳ ゴシック の代わり / standing in for ＭＳ ゴシック)\n"},
        {"", "/fonts/ipag.ttf", false, "フォント / font: /fonts/ipag.ttf\n"},
        {"IPAGothic", "", false, "フォント / font: なし / none could be opened\n"},
    };
    for (const Case& c : kCases) {
        facts.FontName = c.Name;
        facts.FontFile = c.File;
        facts.FontFallback = c.Fallback;
        std::string text = AboutText(facts);
        EXPECT_TRUE(text.starts_with("Orvell 0.1.0\nゲーム / game: 星の降る丘\nQt 6.4.2, SDL 2.26.5\n"))
            << text;
        EXPECT_TRUE(text.ends_with(c.Line)) << text;
    }
    facts.GameTitle.clear();
    EXPECT_EQ(AboutText(facts).find("game:"), std::string::npos);
}

} // namespace
} // namespace orv
