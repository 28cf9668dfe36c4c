#pragma once
// The message window and the typing of script text. Entry points for the engine shell;
// they do nothing until the text flow lands.

#include <cstdint>
#include <string_view>

#include "gfx/surface.h"

namespace orv {

class Engine;

class TextFlow {
public:
    explicit TextFlow(Engine& engine) : m_engine(engine) {}

    void CreateFont() {}
    void LoadSystemPictures() {}
    void ResetTextState() {}
    void NewPage() {}
    void AnimateClickWaitIcon() {}
    // Takes the click-wait icon of a line wait off the window. Lands with the text flow.
    void EraseClickIcon() {}
    // A click during typing: the rest of the text up to the next wait is typed without
    // delay. Lands with the text flow.
    void RequestShowAll() {}
    // Places the window at TXW_OFS_Y or TXW_OFS_Y2 as S079 says; with `toggle` S079 flips
    // first and the window is redrawn. Lands with the text flow.
    void SetWindowPosition(bool /*toggle*/) {}
    // After the config screen changed the window look: the frame from sys_tw and sys_tw1,
    // the window picture and its cache, the font's face and weight, the glyph cache. Lands
    // with the text flow and glyph rendering.
    void RebuildWindowLook() {}

    // Entry points of the script step; each lands with the text flow.
    // Types the current line from LinePos. True when the line is complete and the step may
    // fetch the next one in the same pass (skip mode). Until the text flow lands the line
    // counts as typed at once.
    bool TypeText();
    // A speaker-name line in novel mode, typed like text from its second byte.
    bool TypeNovelSpeakerName();
    // A speaker-name line in window mode, drawn on the name plate.
    void DrawSpeakerLine(std::string_view /*line*/) {}
    // An empty line: the next text row.
    void AdvanceRow() {}
    // The page-end and line-end lines '\', '~', '+' and '=': they set the wait.
    void PageEndLine(char /*mark*/) {}
    void OpenWindow() {}
    void CloseWindow() {}
    // Clears the text state without drawing.
    void ResetPage() {}
    // Text colour number n (colour 0 is S037).
    void SetTextColour(int32_t /*colour*/) {}
    // The novel-mode screen: the dimmed scene that text is typed over.
    void PrepareNovelScreen() {}
    // After the scene was composed: the window's backdrop is built from SceneSurface and,
    // when the window is shown, the window (or the full-screen text page) is drawn into
    // BackBuffer. Lands with the text flow.
    void PresentWindow() {}
    // The window's backdrop built anew from SceneSurface, without drawing. Lands with the
    // text flow.
    void BuildWindowPicture() {}
    // Text on PB ending at x = `right`; lands with glyph rendering.
    void DrawTextRightAligned(std::string_view /*text*/, int32_t /*right*/, int32_t /*y*/,
                              int32_t /*height*/, uint32_t /*colour*/) {}
    // Canvas text in the text font, `height` pixels high, with its top left at (x, y) of
    // `target`, and its width. Land with glyph rendering.
    void DrawCanvasText(Surface& /*target*/, std::string_view /*text*/, int32_t /*x*/,
                        int32_t /*y*/, int32_t /*height*/, uint32_t /*colour*/) {}
    int32_t CanvasTextWidth(std::string_view /*text*/, int32_t /*height*/) { return 0; }
    // Text centred on `centreX` with a fixed pitch per byte. Lands with glyph rendering.
    void DrawTextCentredPitch(Surface& /*target*/, std::string_view /*text*/, int32_t /*centreX*/,
                              int32_t /*y*/, int32_t /*pitch*/, uint32_t /*colour*/) {}

    // Text centred on x = `centre` at row y of `surface` in colour number `colour`; lands
    // with glyph rendering.
    void DrawTextCentred(std::string_view /*text*/, int32_t /*centre*/, Surface& /*surface*/,
                         int32_t /*colour*/, int32_t /*y*/) {}
    // The text row the next character goes to; lands with the text flow.
    int32_t CurrentTextRow() const { return 0; }

    int Delay = 0; // typewriter delay from the settings

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
