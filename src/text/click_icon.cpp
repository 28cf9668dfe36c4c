// The click-wait icon: its frames blended over the screen one after another while a wait
// is pending, and taken away again from BackBuffer.
#include "engine/engine.h"
#include "gfx/blend.h"
#include "text/text_flow.h"

#include <algorithm>

namespace orv {

void TextFlow::AnimateClickWaitIcon() {
    if (Skipping() || m_engine.gfx.Loop.Active) {
        return;
    }
    const GameConfig& config = m_engine.config;
    int width = m_iconWork.Width();
    int height = m_iconWork.Height();
    int frames = std::max(config.CLICK_WAIT_PAT, 1);
    // An icon picture that does not hold every frame with its mask is not drawn.
    if (width <= 0 || height <= 0 || m_icon.Width() < static_cast<int64_t>(width) * frames ||
        m_icon.Height() < 2 * height) {
        return;
    }
    EraseClickIcon();
    int shift = std::clamp(config.CLICK_WAIT_TIMING, 0, 30);
    int frame = ((IconFrameCounter + 1) >> shift) % frames;
    IconFrameCounter = IconFrameCounter == INT32_MAX ? 0 : IconFrameCounter + 1;
    TextPosition at;
    if (NovelMode()) {
        at = CellPosition(TextColumn, TextRow);
    } else {
        TextPosition origin = WindowOrigin();
        at = {origin.X + config.CLICK_WAIT_OFS_X, origin.Y + config.CLICK_WAIT_OFS_Y};
    }
    if (at.X < 0 || at.Y < 0 || at.X + width > kScreenWidth || at.Y + height > kScreenHeight) {
        return;
    }
    const Surface& back = m_engine.gfx.BackBuffer;
    m_iconWork.CopyFrom(back, Rect{at.X, at.Y, width, height}, 0, 0);
    size_t left = static_cast<size_t>(frame) * static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = m_iconWork.Row(y);
        MaskBlendRow(row, m_icon.Row(y) + left, row, m_icon.Row(y + height) + left, width * 3 / 8);
    }
    m_engine.gfx.Present(m_iconWork, Rect{0, 0, width, height}, at.X, at.Y);
    m_iconAt = at;
    IconShown = true;
}

void TextFlow::EraseClickIcon() {
    if (!IconShown) {
        return;
    }
    IconShown = false;
    PresentArea(m_engine.gfx.BackBuffer, Rect{m_iconAt.X, m_iconAt.Y, m_iconWork.Width(), m_iconWork.Height()});
}

} // namespace orv
