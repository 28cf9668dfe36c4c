// The text state a saved game keeps: the page as typed, where the next character goes, and
// whether the window is on the screen.
#include "engine/engine.h"
#include "save/save_io.h"
#include "text/text_flow.h"

namespace orv {

namespace {
using save_layout::RecordOffset;
namespace record = save_layout::record;
} // namespace

void TextFlow::Exchange(SaveIo& io) {
    static_assert(sizeof PageText == save_layout::kPageTextSize);
    static_assert(sizeof PageColours == save_layout::kPageColoursSize);
    io.Int(RecordOffset(record::WindowShown), WindowShown);
    io.Int(RecordOffset(record::CharDelay), CharDelay);
    io.Int(RecordOffset(record::TextColumn), TextColumn);
    io.Int(RecordOffset(record::TextRow), TextRow);
    io.Int(RecordOffset(record::PageChars), PageChars);
    io.Flag(RecordOffset(record::WideSpacing), WideSpacing);
    io.Int(RecordOffset(record::NovelMode), m_engine.vars.S(cell::NovelMode));
    io.Flag(RecordOffset(record::PageClear), PageEmpty);
    io.Bytes(save_layout::kPageText, std::span(PageText.front().data(), sizeof PageText));
    io.Bytes(save_layout::kPageColours,
             std::span(PageColours.front().data(), sizeof PageColours));
    io.Name(save_layout::name::SpeakerName, save_layout::name::kSpeakerNameSize, SpeakerName);
}

} // namespace orv
