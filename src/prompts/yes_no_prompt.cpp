// The yes/no confirmation drawn into the game screen. The default style darkens a band of
// the screen and writes the question and the two answers into it; the panel style shows the
// game's own panel pictures.
#include "engine/engine.h"
#include "prompts/prompts.h"

#include <algorithm>

namespace orv {

namespace {

// "はい" and "いいえ" in code page 932.
constexpr std::string_view kYes = "\x82\xcd\x82\xa2";
constexpr std::string_view kNo = "\x82\xa2\x82\xa2\x82\xa6";

constexpr int kDefaultTextHeight = 24;
constexpr int kAnswerY = 44;
constexpr int kYesX = 300;
constexpr int kNoX = 390;
constexpr int kEdgeRows = 16;
constexpr int kPanelPitch = 13;
constexpr int kPanelTextY = 30;

// The band fades into the picture over its top and bottom 16 rows.
int DarkeningFactor(int row, int height) {
    int fromEdge = std::min(row, height - 1 - row);
    return fromEdge < kEdgeRows ? 255 - 12 * fromEdge : 63;
}

void Darken(Surface& band) {
    for (int y = 0; y < band.Height(); ++y) {
        int factor = DarkeningFactor(y, band.Height());
        for (uint8_t& byte : band.RowSpan(y)) {
            byte = static_cast<uint8_t>(byte * factor >> 8);
        }
    }
}

bool Inside(Rect r, int x, int y) {
    return x >= r.X && y >= r.Y && x < r.X + r.Width && y < r.Y + r.Height;
}

void CopyArea(Surface& target, const Surface& source, Rect area) {
    target.SetSize(area.Width, area.Height);
    target.CopyFrom(source, area, 0, 0);
}

} // namespace

bool Prompts::PanelStyle() const {
    return m_engine.config.PANEL_USE != 0 && !m_panel.Empty();
}

void Prompts::LoadSystemPictures() {
    if (m_engine.config.PANEL_USE == 0) {
        return;
    }
    Pictures& pictures = m_engine.gfx.PictureLoader();
    pictures.LoadPicture("sys_panel", m_panel);
    pictures.LoadPicture("sys_panel_y1", m_panelYes);
    pictures.LoadPicture("sys_panel_y2", m_panelYesLit);
    pictures.LoadPicture("sys_panel_n1", m_panelNo);
    pictures.LoadPicture("sys_panel_n2", m_panelNoLit);
}

void Prompts::AskYesNo(std::string_view message, int32_t action) {
    // A second question (a pop-up item chosen while the first is open) would take the
    // darkened band for the picture under it and leave it on the screen when closed.
    if (SystemMenuState != 0) {
        return;
    }
    m_engine.MenusLocked = 1;
    m_engine.UpdateMenus();
    if (PanelStyle()) {
        BuildPanelPrompt(message);
    } else {
        BuildDefaultPrompt(message);
    }
    Surface& back = m_engine.gfx.BackBuffer;
    back.CopyFrom(m_promptSurface, Rect{0, 0, m_area.Width, m_area.Height}, m_area.X, m_area.Y);
    m_engine.gfx.Present(m_promptSurface, Rect{0, 0, m_area.Width, m_area.Height}, m_area.X,
                         m_area.Y);
    PromptAnswer = 0;
    SystemMenuState = action;
}

void Prompts::BuildDefaultPrompt(std::string_view message) {
    m_area = kPromptBand;
    const Surface& back = m_engine.gfx.BackBuffer;
    CopyArea(m_promptBackground, back, m_area);
    CopyArea(m_promptBase, back, m_area);
    Darken(m_promptBase);
    TextFlow& text = m_engine.text;
    int width = text.CanvasTextWidth(message, kDefaultTextHeight);
    text.DrawCanvasText(m_promptBase, message, (m_area.Width - width) / 2, 12, kDefaultTextHeight,
                        0xFFFFFF);
    ShowDefaultAnswer(0);
}

void Prompts::BuildPanelPrompt(std::string_view message) {
    const auto& base = m_engine.config.PANEL_BASE;
    m_area = Rect{base[0], base[1], m_panel.Width(), m_panel.Height()};
    const Surface& back = m_engine.gfx.BackBuffer;
    CopyArea(m_promptBackground, back, m_area);
    CopyArea(m_promptBase, back, m_area);
    m_promptBase.CopyFrom(m_panel, Rect{0, 0, m_panel.Width(), m_panel.Height()}, 0, 0);
    m_engine.text.DrawTextCentredPitch(m_promptBase, message, m_panel.Width() / 2 - 10, kPanelTextY,
                                       kPanelPitch, 0x000000);
    const auto& yes = m_engine.config.PANEL_YES;
    const auto& no = m_engine.config.PANEL_NO;
    m_promptBase.CopyFrom(m_panelYes, Rect{0, 0, m_panelYes.Width(), m_panelYes.Height()}, yes[0],
                          yes[1]);
    m_promptBase.CopyFrom(m_panelNo, Rect{0, 0, m_panelNo.Width(), m_panelNo.Height()}, no[0],
                          no[1]);
    CopyArea(m_promptSurface, m_promptBase, Rect{0, 0, m_area.Width, m_area.Height});
}

// The answers redrawn over the prompt without its answers, so that the words never pile up.
void Prompts::ShowDefaultAnswer(int32_t answer) {
    CopyArea(m_promptSurface, m_promptBase, Rect{0, 0, m_area.Width, m_area.Height});
    bool yes = answer == 1;
    TextFlow& text = m_engine.text;
    text.DrawCanvasText(m_promptSurface, kYes, kYesX, kAnswerY, kDefaultTextHeight,
                        yes ? kHighlight : kDimmed);
    text.DrawCanvasText(m_promptSurface, kNo, kNoX, kAnswerY, kDefaultTextHeight,
                        yes ? kDimmed : kHighlight);
}

void Prompts::ShowPanelAnswer(int32_t answer) {
    CopyArea(m_promptSurface, m_promptBase, Rect{0, 0, m_area.Width, m_area.Height});
    if (answer == 1 || answer == 2) {
        bool yes = answer == 1;
        const Surface& lit = yes ? m_panelYesLit : m_panelNoLit;
        const auto& at = yes ? m_engine.config.PANEL_YES : m_engine.config.PANEL_NO;
        m_promptSurface.CopyFrom(lit, Rect{0, 0, lit.Width(), lit.Height()}, at[0], at[1]);
    }
}

void Prompts::ShowAnswer(int32_t answer) {
    if (PanelStyle()) {
        ShowPanelAnswer(answer);
    } else {
        ShowDefaultAnswer(answer);
    }
    m_engine.gfx.Present(m_promptSurface, Rect{0, 0, m_area.Width, m_area.Height}, m_area.X,
                         m_area.Y);
}

int32_t Prompts::DefaultAnswerAt(int x, int y) const {
    return Inside(kYesArea, x, y) ? 1 : 0;
}

Rect Prompts::ButtonArea(bool yes) const {
    const auto& at = yes ? m_engine.config.PANEL_YES : m_engine.config.PANEL_NO;
    const Surface& button = yes ? m_panelYes : m_panelNo;
    return Rect{m_area.X + at[0], m_area.Y + at[1], button.Width(), button.Height()};
}

int32_t Prompts::PanelAnswerAt(int x, int y) const {
    if (Inside(ButtonArea(true), x, y)) {
        return 1;
    }
    return Inside(ButtonArea(false), x, y) ? 2 : 0;
}

void Prompts::PromptHover(int x, int y) {
    if (SystemMenuState == 0) {
        return;
    }
    int32_t answer = PanelStyle() ? PanelAnswerAt(x, y) : DefaultAnswerAt(x, y);
    if (answer == PromptAnswer) {
        return;
    }
    PromptAnswer = answer;
    ShowAnswer(answer);
}

void Prompts::ClosePrompt(MouseButton button, bool keepScreen) {
    if (!keepScreen) {
        Rect whole{0, 0, m_area.Width, m_area.Height};
        m_engine.gfx.BackBuffer.CopyFrom(m_promptBackground, whole, m_area.X, m_area.Y);
        m_engine.gfx.Present(m_promptBackground, whole, m_area.X, m_area.Y);
    }
    m_engine.MenusLocked = 0;
    m_engine.UpdateMenus();
    m_engine.screens.quickButtons.Refresh();
    if (button != MouseButton::Right && PromptAnswer == 1) {
        RunAction(SystemMenuState);
    }
    PromptAnswer = 0;
    SystemMenuState = 0;
}

void Prompts::RunAction(int32_t action) {
    if (action == prompt_action::QuickLoad) {
        m_engine.saves.QuickLoad();
    } else if (action == prompt_action::Title) {
        GoToTitle();
    }
}

} // namespace orv
