#include "screens/quick_buttons.h"

#include "engine/engine.h"
#include "gfx/blend.h"

#include <algorithm>
#include <string_view>

namespace orv {

namespace {

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// "ロードしてよろしいですか？"
constexpr std::string_view kLoadQuestion =
    "\x83\x8d\x81\x5b\x83\x68\x82\xb5\x82\xc4\x82\xe6\x82\xeb\x82\xb5\x82\xa2\x82\xc5\x82\xb7"
    "\x82\xa9\x81\x48";

constexpr std::string_view kSheetNames[2][3] = {
    {"sys_qbtn1", "sys_qbtn1_om", "sys_qbtn1_on"},
    {"sys_qbtn2", "sys_qbtn2_om", "sys_qbtn2_on"},
};

// How long buttons 3, 4 and 5 show their on look before they act.
constexpr uint32_t kPressedLookMs = 50;
// Auto mode comes back at this speed when the remembered one is out of range.
constexpr int32_t kDefaultAutoLevel = 4;
// Dots far beyond the screen draw nothing; a hostile SPD_MAX must not make the loop endless.
constexpr int64_t kMostDots = kScreenWidth;

// Configuration positions are added to the window's origin; a hostile layout must not
// overflow into a position on the screen.
int Clamped(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, -100000, 100000)); }

Rect Intersect(Rect a, Rect b) {
    int left = std::max(a.X, b.X);
    int top = std::max(a.Y, b.Y);
    int right = std::min(a.X + a.Width, b.X + b.Width);
    int bottom = std::min(a.Y + a.Height, b.Y + b.Height);
    return Rect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

} // namespace

QuickButtons::QuickButtons(Engine& engine) : m_engine(engine) {}

void QuickButtons::Load() {
    QuickButtonBackground.Allocate(kScreenWidth, kScreenHeight);
    QuickButtonComposite.Allocate(kScreenWidth, kScreenHeight);
    Pictures& pictures = m_engine.gfx.PictureLoader();
    for (size_t placement = 0; placement < m_sheets.size(); ++placement) {
        for (size_t state = 0; state < m_sheets[placement].size(); ++state) {
            m_sheetLoaded[placement][state] =
                pictures.LoadPicture(kSheetNames[placement][state], m_sheets[placement][state]);
        }
    }
    if (m_engine.config.SPD_TW != 0) {
        pictures.LoadPicture("sys_autobar", m_indicatorFrame);
        pictures.LoadPicture("sys_auto", m_indicatorDot);
    }
    m_indicator.Allocate(m_indicatorFrame.Width() / 2, m_indicatorFrame.Height());
    IndicatorBackground.Allocate(m_indicator.Width(), m_indicator.Height());
    m_backgroundTaken = false;
}

bool QuickButtons::Exists(int n) const {
    if (n < 1 || n > quick_button::Count) {
        return false;
    }
    const QuickButtonConfig& button = m_engine.config.QuickButtons[static_cast<size_t>(n - 1)];
    if (button.Placement != quick_button::InWindow && button.Placement != quick_button::OnScreen) {
        return false;
    }
    if (button.Width <= 0 || button.Height <= 0) {
        return false;
    }
    int32_t position = m_engine.vars.S(cell::WindowPosition);
    if (n == quick_button::MoveWindow) {
        return position == 0;
    }
    if (n == quick_button::MoveWindowBack) {
        return position == 1;
    }
    return true;
}

Rect QuickButtons::ScreenRect(int n) const {
    const QuickButtonConfig& button = m_engine.config.QuickButtons[static_cast<size_t>(n - 1)];
    int64_t x = button.X;
    int64_t y = button.Y;
    if (button.Placement == quick_button::InWindow) {
        TextPosition origin = m_engine.text.WindowOrigin();
        x += origin.X;
        y += origin.Y;
    }
    return Rect{Clamped(x), Clamped(y), Clamped(button.Width), Clamped(button.Height)};
}

int32_t& QuickButtons::State(int n) { return m_engine.vars.S(cell::FirstQuickButton + n - 1); }

int32_t QuickButtons::AutoLevel() const {
    int32_t most = std::max(1, m_engine.config.SPD_MAX);
    return std::clamp(m_engine.vars.S(cell::AutoLevel), 1, most);
}

const Surface* QuickButtons::Sheet(int32_t placement, int32_t state) const {
    // A script may leave anything in a state cell: what is not hover or on looks normal.
    if (state != quick_button::Hovered && state != quick_button::On) {
        state = quick_button::Normal;
    }
    size_t p = static_cast<size_t>(placement - 1);
    size_t s = static_cast<size_t>(state);
    if (p >= m_sheets.size() || !m_sheetLoaded[p][s]) {
        return nullptr;
    }
    return &m_sheets[p][s];
}

bool QuickButtons::WindowShown() const { return m_engine.text.WindowShown != 0; }

bool QuickButtons::DrawingAllowed() const {
    const Engine& e = m_engine;
    int32_t mode = e.screens.Mode();
    // Over the backlog or the config screen the buttons would paint into their pictures.
    return !QuickButtonBackground.Empty() && m_backgroundTaken && !e.blocking.InterruptibleWait() &&
           (mode == screen_mode::Game || mode == screen_mode::PageReview) &&
           e.choices.SelectionKind != selection_kind::SelectionTree && !e.BackgroundLoopRuns() &&
           !e.screens.BacklogOpen() && !e.screens.ConfigScreenOpen();
}

void QuickButtons::BlendButton(const QuickButtonConfig& button, const Surface& sheet,
                               const Surface& background, Surface& target, int x, int y) {
    // Columns and rows of the cell that lie on the target, on the background and on the sheet
    // (the mask rows below the cell included). 64 bits: the columns come from the game data.
    int64_t width = button.Width;
    int64_t height = button.Height;
    int64_t cellX = button.CellX;
    int64_t cellY = button.CellY;
    int64_t targetWidth = std::min(target.Width(), background.Width());
    int64_t targetHeight = std::min(target.Height(), background.Height());
    int64_t left = std::max({int64_t{0}, -int64_t{x}, -cellX});
    int64_t right = std::min({width, targetWidth - x, sheet.Width() - cellX});
    int64_t top = std::max({int64_t{0}, -int64_t{y}, -cellY});
    int64_t bottom = std::min({height, targetHeight - y, sheet.Height() - (cellY + height)});
    if (left >= right || top >= bottom) {
        return;
    }
    int pixels = static_cast<int>(right - left);
    for (int64_t row = top; row < bottom; ++row) {
        int targetRow = static_cast<int>(y + row);
        const uint8_t* colour = sheet.Row(static_cast<int>(cellY + row)) + (cellX + left) * 3;
        const uint8_t* mask = sheet.Row(static_cast<int>(cellY + height + row)) + (cellX + left) * 3;
        const uint8_t* under = background.Row(targetRow) + (x + left) * 3;
        uint8_t* out = target.Row(targetRow) + (x + left) * 3;
        MaskBlendRowTail(under, colour, out, mask, pixels);
    }
}

void QuickButtons::TakeBackground(const Surface& screen, const Surface* window, int32_t x,
                                  int32_t y) {
    if (QuickButtonBackground.Empty()) {
        return;
    }
    QuickButtonBackground.CopyFrom(screen, kWholeScreen, 0, 0);
    if (window != nullptr) {
        QuickButtonBackground.CopyFrom(*window, Rect{0, 0, window->Width(), window->Height()}, x, y);
    }
    m_backgroundTaken = true;
    int ix = 0;
    int iy = 0;
    if (IndicatorOrigin(ix, iy)) {
        IndicatorBackground.Fill(0);
        IndicatorBackground.CopyFrom(QuickButtonBackground,
                                     Rect{ix, iy, IndicatorBackground.Width(), IndicatorBackground.Height()},
                                     0, 0);
    }
}

bool QuickButtons::IndicatorOrigin(int& x, int& y) const {
    const GameConfig& config = m_engine.config;
    if (config.SPD_TW < 1 || config.SPD_TW > 3 || m_indicator.Empty()) {
        return false;
    }
    int64_t ox = config.SPD_OFS_X;
    int64_t oy = config.SPD_OFS_Y;
    if (config.SPD_TW != 3) {
        TextPosition origin = m_engine.text.WindowOrigin();
        ox += origin.X;
        oy += origin.Y;
    }
    x = Clamped(ox);
    y = Clamped(oy);
    return true;
}

void QuickButtons::ComposeIndicator() {
    const GameConfig& config = m_engine.config;
    m_indicator.CopyFrom(IndicatorBackground, Rect{0, 0, m_indicator.Width(), m_indicator.Height()},
                         0, 0);
    if (m_engine.vars.S(cell::AutoLevel) == 0) {
        return;
    }
    DrawSideBySideSprite(m_indicator, 0, m_indicatorFrame, 0);
    // A faster speed (a lower level) shows more dots.
    int64_t most = std::max(0, config.SPD_MAX);
    int64_t dots = std::min(most - AutoLevel() + 1, kMostDots);
    int64_t size = config.SPD_DOT_SIZE;
    for (int64_t i = 0; i < dots; ++i) {
        int64_t dx = config.SPD_DOT_OFS_X;
        int64_t dy = config.SPD_DOT_OFS_Y;
        if (config.SPD_DIR != 0) {
            dx += i * size;
        } else {
            dy += most * size - i * size;
        }
        DrawSideBySideSprite(m_indicator, Clamped(dx), m_indicatorDot, Clamped(dy));
    }
}

void QuickButtons::DrawIndicator(QuickButtonsTarget target) {
    const GameConfig& config = m_engine.config;
    int x = 0;
    int y = 0;
    if (!IndicatorOrigin(x, y)) {
        return;
    }
    ComposeIndicator();
    Rect whole{0, 0, m_indicator.Width(), m_indicator.Height()};
    bool novel = m_engine.vars.S(cell::NovelMode) != 0;
    bool shown = config.SPD_TW == 3 ? WindowShown() || novel
                                    : WindowShown() && (config.SPD_TW == 2 || !novel);
    if (!shown) {
        return;
    }
    Graphics& gfx = m_engine.gfx;
    gfx.BackBuffer.CopyFrom(m_indicator, whole, x, y);
    if (target == QuickButtonsTarget::Screens) {
        Rect area = Intersect(Rect{x, y, whole.Width, whole.Height}, kWholeScreen);
        if (area.Width > 0 && area.Height > 0) {
            gfx.Present(gfx.BackBuffer, area, area.X, area.Y);
        }
    }
    if (config.SPD_TW == 1) {
        // Inside the window its pictures keep it, so that the next page shows it too.
        TextPosition origin = m_engine.text.WindowOrigin();
        m_engine.text.WindowPicture.CopyFrom(m_indicator, whole, x - origin.X, y - origin.Y);
        m_engine.text.WindowPictureCache.CopyFrom(m_indicator, whole, x - origin.X, y - origin.Y);
    }
}

void QuickButtons::DrawButtons(QuickButtonsTarget target) {
    Engine& e = m_engine;
    Graphics& gfx = e.gfx;
    bool novel = e.vars.S(cell::NovelMode) != 0;
    TextPosition origin = e.text.WindowOrigin();
    for (int n = 1; n <= quick_button::Count; ++n) {
        if (!Exists(n)) {
            continue;
        }
        const QuickButtonConfig& button = e.config.QuickButtons[static_cast<size_t>(n - 1)];
        bool inWindow = button.Placement == quick_button::InWindow;
        if (inWindow ? !WindowShown() || novel : !WindowShown() && !novel) {
            continue;
        }
        const Surface* sheet = Sheet(button.Placement, State(n));
        if (sheet == nullptr) {
            continue;
        }
        Rect at = ScreenRect(n);
        BlendButton(button, *sheet, QuickButtonBackground, QuickButtonComposite, at.X, at.Y);
        Rect area = Intersect(at, kWholeScreen);
        if (area.Width == 0 || area.Height == 0) {
            continue;
        }
        gfx.BackBuffer.CopyFrom(QuickButtonComposite, area, area.X, area.Y);
        if (target != QuickButtonsTarget::Screens) {
            continue;
        }
        gfx.Present(gfx.BackBuffer, area, area.X, area.Y);
        if (inWindow) {
            e.text.WindowPicture.CopyFrom(QuickButtonComposite, area, area.X - origin.X,
                                          area.Y - origin.Y);
            if (e.text.WindowCacheValid) {
                e.text.WindowPictureCache.CopyFrom(QuickButtonComposite, area, area.X - origin.X,
                                                   area.Y - origin.Y);
            }
        }
    }
}

void QuickButtons::AssertToggles() {
    VariableStore& vars = m_engine.vars;
    if (vars.S(cell::AutoLevel) != 0) {
        vars.S(cell::AutoIndicator) = quick_button::On;
    } else if (vars.S(cell::AutoIndicator) == quick_button::On) {
        vars.S(cell::AutoIndicator) = quick_button::Normal;
    }
    if (m_engine.SkipActive && vars.S(cell::SkipIndicator) == quick_button::Normal) {
        vars.S(cell::SkipIndicator) = quick_button::On;
    }
}

void QuickButtons::Draw(QuickButtonsTarget target) {
    if (!DrawingAllowed()) {
        return;
    }
    AssertToggles();
    DrawIndicator(target);
    DrawButtons(target);
}

void QuickButtons::DrawInto(Surface& window, int32_t x, int32_t y) {
    Engine& e = m_engine;
    if (e.vars.S(cell::NovelMode) != 0) {
        return;
    }
    AssertToggles();
    if (e.config.SPD_TW == 1 && m_backgroundTaken) {
        int ix = 0;
        int iy = 0;
        if (IndicatorOrigin(ix, iy)) {
            // The indicator as the screen would show it, then into the picture.
            DrawIndicatorInto(window, ix - x, iy - y);
        }
    }
    for (int n = 1; n <= quick_button::Count; ++n) {
        if (!Exists(n)) {
            continue;
        }
        const QuickButtonConfig& button = e.config.QuickButtons[static_cast<size_t>(n - 1)];
        if (button.Placement != quick_button::InWindow) {
            continue;
        }
        const Surface* sheet = Sheet(button.Placement, State(n));
        if (sheet == nullptr) {
            continue;
        }
        Rect at = ScreenRect(n);
        BlendButton(button, *sheet, window, window, at.X - x, at.Y - y);
    }
}

void QuickButtons::DrawIndicatorInto(Surface& window, int x, int y) {
    ComposeIndicator();
    window.CopyFrom(m_indicator, Rect{0, 0, m_indicator.Width(), m_indicator.Height()}, x, y);
}

void QuickButtons::ClearStates() {
    for (int n = 1; n <= quick_button::Count; ++n) {
        State(n) = quick_button::Normal;
    }
}

bool QuickButtons::Filtered(int n) const {
    const Engine& e = m_engine;
    int32_t mode = e.screens.Mode();
    if (e.choices.SelectionKind != selection_kind::None &&
        (n == quick_button::HideWindow || n == quick_button::Backlog ||
         n == quick_button::MoveWindow || n == quick_button::MoveWindowBack)) {
        return true;
    }
    if (mode == screen_mode::PageReview && n != quick_button::Skip && n != quick_button::VoiceReplay) {
        return true;
    }
    if (e.vars.S(cell::AutoLevel) == 0 && (n == quick_button::AutoFaster || n == quick_button::AutoSlower)) {
        return true;
    }
    if (n == quick_button::Skip && e.dispatcher.PassageRead == 0 && e.settings.Seen) {
        return true;
    }
    if ((n == quick_button::QuickSave || n == quick_button::QuickLoad) &&
        (e.screens.ReplayMode != replay_mode::None || e.BackgroundLoopRuns() ||
         mode != screen_mode::Game)) {
        return true;
    }
    return false;
}

int QuickButtons::FindButton(int x, int y) const {
    for (int n = 1; n <= quick_button::Count; ++n) {
        if (!Exists(n)) {
            continue;
        }
        Rect r = ScreenRect(n);
        if (int64_t{x} >= r.X && int64_t{x} < int64_t{r.X} + r.Width && int64_t{y} >= r.Y &&
            int64_t{y} < int64_t{r.Y} + r.Height) {
            return Filtered(n) ? 0 : n;
        }
    }
    return 0;
}

void QuickButtons::Hover(int x, int y) {
    Engine& e = m_engine;
    int32_t mode = e.screens.Mode();
    if (e.dialogs.SaveListShown() || !WindowShown() ||
        (mode != screen_mode::Game && mode != screen_mode::PageReview)) {
        return;
    }
    ClearStates();
    int found = FindButton(x, y);
    // The hovered button keeps its look on every move over it, not only on the first.
    if (found != 0) {
        State(found) = quick_button::Hovered;
    }
    if (found != HoveredButton) {
        HoveredButton = found;
        Refresh();
    }
}

void QuickButtons::ResetHover() {
    if (!m_engine.PointerOutside || HoveredButton == 0) {
        return;
    }
    ClearStates();
    HoveredButton = 0;
    Refresh();
}

void QuickButtons::PressedLook(int n) {
    State(n) = quick_button::On;
    Refresh();
    m_engine.Host().Sleep(kPressedLookMs);
    State(n) = quick_button::Normal;
}

bool QuickButtons::Press(int x, int y) {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    int32_t selection = e.choices.SelectionKind;
    if (selection == selection_kind::SelectionTree || selection == selection_kind::ClickMap ||
        e.screens.Mode() == screen_mode::Map) {
        return false;
    }
    // The button under the press, also when no move came before it.
    Hover(x, y);
    if (e.screens.Mode() == screen_mode::PageReview) {
        e.backlog.StepRewind(HoveredButton == quick_button::VoiceReplay ? rewind::Back
                                                                        : rewind::Forward);
        return true;
    }
    switch (HoveredButton) {
    case quick_button::Skip:
        vars.S(cell::AutoIndicator) = 0;
        if (e.SkipActive) {
            vars.S(cell::SkipIndicator) = 0;
            e.SkipActive = 0;
        } else {
            vars.S(cell::SkipIndicator) = quick_button::On;
            e.SkipActive = 1;
        }
        Refresh();
        break;
    case quick_button::Auto:
        if (vars.S(cell::AutoLevel) != 0) {
            vars.S(cell::AutoIndicator) = 0;
            vars.S(cell::AutoLevelRestored) = vars.S(cell::AutoLevel);
            vars.S(cell::AutoLevel) = 0;
        } else {
            vars.S(cell::AutoIndicator) = quick_button::On;
            int32_t level = vars.S(cell::AutoLevelRestored);
            if (level < 1 || level > e.config.SPD_MAX) {
                vars.S(cell::AutoLevelRestored) = kDefaultAutoLevel;
            }
            vars.S(cell::AutoLevel) = vars.S(cell::AutoLevelRestored);
        }
        Refresh();
        break;
    case quick_button::HideWindow:
        vars.S(cell::AutoLevel) = 0;
        vars.S(cell::AutoIndicator) = 0;
        PressedLook(quick_button::HideWindow);
        e.backlog.HideMessageWindow();
        break;
    case quick_button::QuickSave:
        PressedLook(quick_button::QuickSave);
        e.saves.QuickSave();
        Refresh();
        break;
    case quick_button::QuickLoad:
        PressedLook(quick_button::QuickLoad);
        e.prompts.AskYesNo(kLoadQuestion, prompt_action::QuickLoad);
        HoveredButton = 0;
        Refresh();
        return true;
    case quick_button::Backlog:
        vars.S(cell::AutoLevel) = 0;
        vars.S(cell::AutoIndicator) = 0;
        vars.S(cell::BacklogButton) = quick_button::On;
        Refresh();
        e.backlog.OpenBacklog();
        vars.S(cell::BacklogButton) = 0;
        break;
    case quick_button::VoiceReplay:
        e.sound.PlaySoundByName(FieldText(e.sound.LastVoice));
        break;
    case quick_button::Config:
        e.screens.config.Open();
        return true;
    case quick_button::MoveWindow:
    case quick_button::MoveWindowBack:
        e.text.SetWindowPosition(true);
        return true;
    case quick_button::AutoFaster:
        if (vars.S(cell::AutoLevel) > 1) {
            --vars.S(cell::AutoLevel);
        }
        Refresh();
        return true;
    case quick_button::AutoSlower:
        if (vars.S(cell::AutoLevel) < e.config.SPD_MAX) {
            ++vars.S(cell::AutoLevel);
        }
        Refresh();
        return true;
    case 0:
        return false;
    case quick_button::StatusScreen:
        e.screens.status.OpenStatusScreen();
        return true;
    default:
        // 14..19 have no action.
        return true;
    }
    HoveredButton = 0;
    return true;
}

bool QuickButtons::IndicatorClick(int x, int y) {
    Engine& e = m_engine;
    const GameConfig& config = e.config;
    int ox = 0;
    int oy = 0;
    if (!IndicatorOrigin(ox, oy)) {
        return false;
    }
    int64_t most = config.SPD_MAX;
    int64_t size = config.SPD_DOT_SIZE;
    int64_t width = m_indicator.Width();
    int64_t height = m_indicator.Height();
    // Without dots to point at (no levels, or no spacing) only the two ends count.
    int64_t span = most > 0 && size > 0 ? most * size : 0;
    bool across = config.SPD_DIR != 0;
    int64_t along = across ? x : y;
    int64_t start = across ? ox : oy;
    int64_t length = across ? width : height;
    int64_t side = across ? y : x;
    int64_t sideStart = across ? oy : ox;
    int64_t sideLength = across ? height : width;
    if (side < sideStart || side >= sideStart + sideLength) {
        return false;
    }
    int64_t c = start + (across ? config.SPD_DOT_OFS_X : config.SPD_DOT_OFS_Y);
    int64_t code = 0;
    if (along >= start && along < c) {
        code = 0;
    } else if (along >= c + span && along < start + length) {
        code = most + 1;
    } else if (along >= c && along < c + span) {
        code = across ? most - (along - c) / size : (along - c) / size + 1;
    } else {
        return false;
    }
    VariableStore& vars = e.vars;
    int32_t& level = vars.S(cell::AutoLevel);
    if (code == 0) {
        if (level < most) {
            ++level;
        }
    } else if (code == most + 1) {
        if (level > 1) {
            --level;
        }
    } else {
        level = static_cast<int32_t>(code);
    }
    vars.S(cell::AutoLevelRestored) = level;
    Refresh();
    return true;
}

} // namespace orv
