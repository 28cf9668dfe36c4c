// One character onto the page: the line break and its line-start rule, the indent, the
// page memory, the glyph on the screen.
#include "base/cp932.h"
#include "engine/engine.h"
#include "text/text_flow.h"
#include "text/text_rules.h"

#include <algorithm>
#include <cstring>

namespace orv {

bool TextFlow::DrawCharacter(std::string_view bytes, uint16_t code) {
    if (!WindowShown) {
        NewPage();
    }
    bool window = !NovelMode();
    VariableStore& vars = m_engine.vars;
    if (window && PageEmpty && TextRow < 1 && !NovelName) {
        TextRow = 1; // row 0 belongs to the speaker name
    }
    auto length = static_cast<int32_t>(bytes.size());
    if (BreaksLine(TextColumn, LineLimit(), code)) {
        // The log line ends where the row does; the text hook keeps the sentence whole.
        m_engine.backlog.CommitBacklogLine();
        vars.S(cell::LineBroken) = 1;
        NextRow();
        TextColumn = 0;
    }
    if (window && TextColumn == 0 && TextRow != 0 && !KeepsColumnZero(code)) {
        TextColumn = 2;
    }
    if (window && vars.S(cell::LineBroken) != 0 && TextColumn == 2 && code == text_code::FullWidthSpace) {
        return false;
    }
    if (TextRow >= 0 && TextRow < kPageRows && TextColumn >= 0 &&
        TextColumn + length <= kPageColumns) {
        auto row = static_cast<size_t>(TextRow);
        std::memcpy(PageText[row].data() + TextColumn, bytes.data(), bytes.size());
        std::fill_n(PageColours[row].data() + TextColumn, bytes.size(),
                    static_cast<uint8_t>(CurrentColour));
    }
    TextPosition at = CellPosition(TextColumn, TextRow);
    glyphs.RenderGlyph(code);
    DrawGlyphToScreen(at.X, at.Y);
    PageEmpty = false;
    PageChars = PageChars < kMaxCount ? PageChars + 1 : PageChars;
    TextColumn += WideSpacing ? 3 : length;
    return true;
}

void TextFlow::CompositeGlyphOnScreens(int x, int y) {
    glyphs.CompositeGlyph(m_engine.gfx.BackBuffer, x, y);
    m_engine.gfx.Loop.ForEachFrame(
        [&](FrameLoop::Frame& frame) { glyphs.CompositeGlyph(frame.Picture, x, y); });
}

void TextFlow::DrawGlyphToScreen(int x, int y) {
    CompositeGlyphOnScreens(x, y);
    PresentArea(ShownScreen(), Rect{x, y, kGlyphCell.Width, kGlyphCell.Height});
}

void TextFlow::DrawPageCharacters(bool toPaintBox) {
    if (PageEmpty) {
        return;
    }
    // Row 0 of the window holds the speaker name, which has its own plate.
    for (int row = NovelMode() ? 0 : 1; row < kPageRows; ++row) {
        const auto& text = PageText[static_cast<size_t>(row)];
        int column = 0;
        while (column < kPageColumns) {
            auto b = static_cast<uint8_t>(text[static_cast<size_t>(column)]);
            if (b == 0) {
                ++column;
                continue;
            }
            int length = cp932::IsLeadByte(b) && column + 1 < kPageColumns ? 2 : 1;
            std::string_view bytes(text.data() + column, static_cast<size_t>(length));
            glyphs.RenderGlyph(cp932::CharCode(bytes));
            TextPosition at = CellPosition(column, row);
            if (toPaintBox) {
                DrawGlyphToScreen(at.X, at.Y);
            } else {
                CompositeGlyphOnScreens(at.X, at.Y);
            }
            column += length;
        }
    }
}

void TextFlow::RedrawPage() {
    if (PageEmpty) {
        return;
    }
    DrawPageCharacters(true);
    if (!NovelMode() && PageText[0][0] != '\0') {
        const auto& row = PageText[0];
        DrawSpeakerName(std::string_view(row.data(), ::strnlen(row.data(), row.size())));
    }
}

} // namespace orv
