#include "dialogs/about_text.h"

namespace orv {

namespace {

std::string FontLine(const AboutFacts& facts) {
    if (facts.FontFile.empty()) {
        return "フォント / font: なし / none could be opened";
    }
    std::string line = "フォント / font: ";
    if (facts.FontName.empty()) {
        line += facts.FontFile;
    } else if (facts.FontFallback) {
        line += facts.FontFile + " (" + facts.FontName + " の代わり / standing in for " +
                facts.FontName + ")";
    } else {
        line += facts.FontName + " (" + facts.FontFile + ")";
    }
    return line;
}

} // namespace

std::string AboutText(const AboutFacts& facts) {
    std::string text = "Orvell " + facts.Version + "\n";
    if (!facts.GameTitle.empty()) {
        text += "ゲーム / game: " + facts.GameTitle + "\n";
    }
    text += "Qt " + facts.QtVersion + ", SDL " + facts.SdlVersion + "\n";
    text += FontLine(facts) + "\n";
    return text;
}

} // namespace orv
