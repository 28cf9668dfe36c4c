// The manga symbol of `manpu`: a small picture (a sweat drop, an exclamation) drawn over the
// scene on PB, blinking in mode 2, taken away again before the next presentation.
#include "engine/engine.h"
#include "gfx/blend.h"
#include "gfx/scene.h"
#include "script/commands.h"
#include "script/expressions.h"

namespace orv {

namespace {

// Copies all of `source` to (x, y) of PB, clipped to the screen.
void PresentAt(Graphics& gfx, const Surface& source, int x, int y) {
    Rect from{0, 0, source.Width(), source.Height()};
    if (ClipBlit(source, gfx.PaintBoxCopy(), from, x, y)) {
        gfx.Present(source, from, x, y);
    }
}

} // namespace

void Graphics::ShowMangaSymbol(std::string_view argument) {
    FieldList fields;
    int32_t count = SplitFields(argument, fields);
    if (count == 0) {
        return;
    }
    // One symbol at a time: a second one takes the first off the screen.
    RemoveMangaSymbol();
    MangaSymbol& symbol = m_symbol;
    // A name no archive holds leaves the last symbol picture in place.
    m_pictures.LoadPicture(TrimEnd(fields.Text(0)), symbol.Picture);
    VariableStore& vars = m_engine.vars;
    if (count >= 2) {
        symbol.Mode = fields.Value(1);
    }
    if (count >= 3) {
        vars.S(cell::MangaSymbolX) = fields.Value(2);
        vars.S(cell::MangaSymbolY) = count >= 4 ? fields.Value(3) : 0;
    }
    int w = symbol.Picture.Width() / 2, h = symbol.Picture.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    symbol.Backdrop.SetSize(w, h);
    symbol.Composed.SetSize(w, h);
    // The place is kept: the blinking and the removal restore the same pixels even when the
    // script changes S032 and S033 meanwhile.
    symbol.X = ClampCoordinate(vars.S(cell::MangaSymbolX));
    symbol.Y = ClampCoordinate(vars.S(cell::MangaSymbolY));
    // Where the symbol reaches past the scene the backdrop is black.
    symbol.Backdrop.Fill(0);
    symbol.Backdrop.CopyFrom(SceneSurface, Rect{symbol.X, symbol.Y, w, h}, 0, 0);
    symbol.Composed.CopyFrom(symbol.Backdrop, Rect{0, 0, w, h}, 0, 0);
    DrawSideBySideSprite(symbol.Composed, 0, symbol.Picture, 0);
    symbol.Enabled = true;
    PresentAt(*this, symbol.Composed, symbol.X, symbol.Y);
    if (symbol.Mode == 1) {
        // Mode 1 is part of the screen until the next presentation: the timer leaves it.
        BackBuffer.CopyFrom(symbol.Composed, Rect{0, 0, w, h}, symbol.X, symbol.Y);
    }
}

void Graphics::MangaSymbolTick() {
    if (!m_symbol.Enabled || m_symbol.Mode != 2) {
        return;
    }
    // Every fourth tick it turns on or off: about 220 ms shown, 220 ms hidden.
    auto tick = static_cast<uint32_t>(m_engine.TickCounter);
    if (tick % 4 != 0) {
        return;
    }
    const Surface& picture = (tick & 4) != 0 ? m_symbol.Composed : m_symbol.Backdrop;
    PresentAt(*this, picture, m_symbol.X, m_symbol.Y);
}

void Graphics::RemoveMangaSymbol() {
    if (!m_symbol.Enabled) {
        return;
    }
    PresentAt(*this, m_symbol.Backdrop, m_symbol.X, m_symbol.Y);
    m_symbol.Enabled = false;
}

} // namespace orv
