// The typing loop: one character after another from the inserted text or the line, with the
// special characters and inline tags of script text, until the line ends or a wait begins.
#include "base/cp932.h"
#include "engine/engine.h"
#include "text/text_flow.h"
#include "text/text_rules.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace orv {

namespace {

constexpr int32_t kDefaultPercentWait = 10;
constexpr int kRubyHeight = 9;
constexpr int kRubyRise = 7;
constexpr int kRubyShift = 3;

// Decimal digits at the start of `text`, at most nine of them so that the value fits.
struct Digits {
    int32_t Value = 0;
    size_t Length = 0;
};

Digits LeadingDigits(std::string_view text) {
    Digits digits;
    while (digits.Length < text.size() && digits.Length < 9 && text[digits.Length] >= '0' &&
           text[digits.Length] <= '9') {
        digits.Value = digits.Value * 10 + (text[digits.Length] - '0');
        ++digits.Length;
    }
    return digits;
}

int32_t ArgumentValue(std::string_view text) {
    bool negative = !text.empty() && text[0] == '-';
    Digits digits = LeadingDigits(negative ? text.substr(1) : text);
    return negative ? -digits.Value : digits.Value;
}

} // namespace

bool TextFlow::TypeText() {
    while (true) {
        switch (TypeOne()) {
        case Flow::Next:
            continue;
        case Flow::EndStep:
            return false;
        case Flow::LineDone:
            return Skipping();
        }
    }
}

bool TextFlow::TypeNovelSpeakerName() {
    m_engine.script.LinePos = 1;
    NovelName = true;
    return TypeText();
}

bool TextFlow::PacesAfterCharacter() const {
    if (CharDelay <= 0 || ShowAllNow || Skipping() || NovelName) {
        return false;
    }
    return Typewriter() || m_engine.vars.S(cell::AutoLevel) != 0;
}

TextFlow::Flow TextFlow::TypeOne() {
    ScriptState& script = m_engine.script;
    auto& insert = script.InsertText;
    if (script.InsertPtr >= 0 && script.InsertPtr < ScriptState::kInsertTextSize &&
        insert[static_cast<size_t>(script.InsertPtr)] != '\0') {
        auto at = static_cast<size_t>(script.InsertPtr);
        size_t length = StartsDoubleByte(static_cast<uint8_t>(insert[at])) && at + 1 < insert.size() &&
                                insert[at + 1] != '\0'
                            ? 2
                            : 1;
        std::string_view bytes(insert.data() + at, length);
        script.InsertPtr += static_cast<int32_t>(length);
        uint16_t code = cp932::CharCode(bytes);
        if (DrawCharacter(bytes, code) && !OmittedFromLog(code)) {
            AppendLog(bytes);
        }
        if (PacesAfterCharacter()) {
            m_engine.wait.TickWait = std::max(CharDelay - 1, 0);
            return Flow::EndStep;
        }
        return Flow::Next;
    }

    const auto& line = script.LineBuffer;
    auto pos = static_cast<size_t>(std::clamp<int32_t>(script.LinePos, 0, ScriptState::kLineBufferSize - 1));
    auto b = static_cast<uint8_t>(line[pos]);
    if (b == 0) {
        return EndOfLine();
    }
    size_t length = StartsDoubleByte(b) && pos + 1 < line.size() && line[pos + 1] != '\0' ? 2 : 1;
    std::string_view bytes(line.data() + pos, length);
    uint16_t code = length == 2 ? static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(line[pos + 1])) : b;
    Flow special = SpecialCharacter(code, length);
    if (special != Flow::Next || script.LinePos != static_cast<int32_t>(pos)) {
        return special;
    }
    script.LinePos = static_cast<int32_t>(pos + length);
    if (DrawCharacter(bytes, code) && !OmittedFromLog(code)) {
        AppendLog(bytes);
    }
    if (PacesAfterCharacter()) {
        m_engine.wait.TickWait = std::max(CharDelay - 1, 0);
        return Flow::EndStep;
    }
    return Flow::Next;
}

// Returns Next with LinePos unchanged when the character is an ordinary one.
TextFlow::Flow TextFlow::SpecialCharacter(uint16_t code, size_t length) {
    ScriptState& script = m_engine.script;
    std::string_view rest = LineRest();
    switch (code) {
    case '%': {
        Digits digits = LeadingDigits(rest.substr(1));
        script.LinePos += static_cast<int32_t>(1 + digits.Length);
        if (Skipping()) {
            return Flow::Next;
        }
        m_engine.wait.TickWait = digits.Value == 0 ? kDefaultPercentWait : digits.Value;
        return Flow::EndStep;
    }
    case '\\':
        StartPageWait(wait_kind::Page, true);
        return Flow::EndStep;
    case '[':
        return InlineTag();
    case '<':
        return Ruby();
    case text_code::PageWaitMark:
        StartPageWait(wait_kind::Page, false);
        return Flow::EndStep;
    case text_code::NewPageMark:
        CommitLogLine();
        NewPage();
        script.EndLine();
        return Flow::EndStep;
    case text_code::LineWaitMark:
        if (script.LinePos == 0) {
            script.EndLine();
        } else {
            script.LinePos += static_cast<int32_t>(length);
        }
        StartLineWait();
        return Flow::EndStep;
    case text_code::Dollar: {
        char letter = rest.size() > 2 ? rest[2] : '\0';
        if (letter >= 'O' && letter <= 'X') {
            InsertIntoText(m_engine.vars.String(letter - 'O'));
        }
        // Four bytes go in any case (＄ and a full-width letter, or ＄, the letter and the
        // byte that pads it), but never the end of the line, nor half of a double-byte
        // character that follows a half-width letter directly.
        size_t skip = std::min<size_t>(4, rest.size());
        if (skip == 4 && static_cast<uint8_t>(rest[2]) < 0x80 && cp932::IsLeadByte(static_cast<uint8_t>(rest[3]))) {
            skip = 3;
        }
        script.LinePos += static_cast<int32_t>(skip);
        return Flow::Next;
    }
    default:
        return Flow::Next;
    }
}

void TextFlow::InsertIntoText(std::string_view text) {
    ScriptState& script = m_engine.script;
    auto& insert = script.InsertText;
    insert.fill('\0');
    // Whole characters only, with room for the terminator.
    size_t length = cp932::CutToWholeChars(text, insert.size() - 1).size();
    if (length > 0) {
        std::memcpy(insert.data(), text.data(), length);
    }
    script.InsertPtr = 0;
}

TextFlow::Flow TextFlow::InlineTag() {
    ScriptState& script = m_engine.script;
    std::string_view text = LineRest().substr(1);
    size_t close = text.find(']');
    bool closed = close != std::string_view::npos;
    size_t end = closed ? close : text.size();
    InlineTagMatch match = MatchInlineTag(text);
    std::string_view argument =
        match.ArgumentOffset < end ? text.substr(match.ArgumentOffset, end - match.ArgumentOffset)
                                   : std::string_view();
    // Past the ']' (the tag's end), or at the line's end when there is none.
    script.LinePos += static_cast<int32_t>(1 + end + (closed ? 1 : 0));
    Graphics& gfx = m_engine.gfx;
    switch (match.Tag) {
    case InlineTag::None:
        break;
    case InlineTag::Picture:
        gfx.PictureCommand(argument, false);
        break;
    case InlineTag::Narrow:
        WideSpacing = false;
        break;
    case InlineTag::Wide:
        WideSpacing = true;
        break;
    case InlineTag::Colour:
        CurrentColour = ArgumentValue(argument);
        SetTextColour(CurrentColour);
        break;
    case InlineTag::Wait:
        if (!Skipping()) {
            m_engine.wait.TickWait = std::max(ArgumentValue(argument), 0);
            return Flow::EndStep;
        }
        break;
    case InlineTag::Voice: {
        // The voice name is the rest of the line: the tag stands at its end.
        std::string_view name(text.data() + std::min(match.ArgumentOffset, text.size()));
        m_engine.sound.PlayScriptVoice(name);
        script.LinePos += static_cast<int32_t>(LineRest().size());
        break;
    }
    case InlineTag::Clear:
        gfx.ClearPictures(argument);
        break;
    case InlineTag::Delay:
        CharDelay = std::max(ArgumentValue(argument), 0);
        break;
    case InlineTag::Value: {
        char number[16];
        auto [last, error] = std::to_chars(number, number + sizeof number,
                                           m_engine.dispatcher.expressions.Evaluate(argument));
        InsertIntoText(std::string_view(number, error == std::errc() ? static_cast<size_t>(last - number) : 0));
        break;
    }
    case InlineTag::String: {
        int n = !argument.empty() && argument[0] >= '0' && argument[0] <= '9' ? argument[0] - '0' : -1;
        InsertIntoText(m_engine.vars.String(n));
        break;
    }
    case InlineTag::Sprite:
        gfx.CharacterCommand(argument);
        break;
    case InlineTag::Background:
        gfx.BackgroundCommand(argument);
        break;
    }
    return Flow::Next;
}

TextFlow::Flow TextFlow::Ruby() {
    ScriptState& script = m_engine.script;
    std::string_view text = LineRest().substr(1);
    size_t close = text.find('>');
    size_t end = close == std::string_view::npos ? text.size() : close;
    script.LinePos += static_cast<int32_t>(1 + end + (close == std::string_view::npos ? 0 : 1));
    if (!WindowShown) {
        NewPage();
    }
    if (!NovelMode() && PageEmpty && TextRow < 1) {
        TextRow = 1;
    }
    int32_t column = TextColumn;
    int32_t row = TextRow;
    if (column == LineLimit()) {
        column = 2;
        ++row;
    } else if (column == 0) {
        column = 2;
    }
    TextPosition at = CellPosition(column, row);
    int x = at.X + kRubyShift;
    int y = at.Y - kRubyRise;
    std::string_view ruby = text.substr(0, end);
    int width = glyphs.DrawPlainText(ruby, x, y, kRubyHeight, 0xFFFFFF, m_engine.gfx.BackBuffer);
    m_engine.gfx.Loop.ForEachFrame([&](FrameLoop::Frame& frame) {
        glyphs.DrawPlainText(ruby, x, y, kRubyHeight, 0xFFFFFF, frame.Picture);
    });
    PresentArea(ShownScreen(), Rect{x, y, width + 1, kRubyHeight + 2});
    return Flow::Next;
}

TextFlow::Flow TextFlow::EndOfLine() {
    CommitLogLine();
    m_engine.script.EndLine();
    TextColumn = 0;
    NextRow();
    NovelName = false;
    return Flow::LineDone;
}

} // namespace orv
