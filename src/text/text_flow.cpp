#include "text/text_flow.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "text/text_rules.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

constexpr int kDefaultFontSize = 22;

int ScreenClamped(int value, int limit) { return std::clamp(value, 0, limit); }

} // namespace

TextFlow::TextFlow(Engine& engine) : m_engine(engine) {}

bool TextFlow::NovelMode() const { return m_engine.vars.S(cell::NovelMode) != 0; }

bool TextFlow::Typewriter() const { return Delay == 0; }

bool TextFlow::Skipping() const { return m_engine.SkipActive != 0; }

int32_t TextFlow::LineLimit() const {
    return NovelMode() ? m_engine.config.MOJI_MAX2_X : m_engine.config.MOJI_MAX_X;
}

void TextFlow::OpenFont() {
    const UserSettings& settings = m_engine.settings;
    int size = settings.FONTSIZE > 0 ? settings.FONTSIZE : m_engine.config.FONT_SIZE;
    glyphs.CreateFont(cp932::ToUtf8(settings.FontName), size > 0 ? size : kDefaultFontSize,
                      settings.FONTBold);
}

void TextFlow::CacheFixedGlyphs() {
    if (!m_externalCharacters.Empty()) {
        glyphs.AddExternalCharacters(m_engine.config.GAIJI, m_externalCharacters);
    }
    glyphs.PreRenderCommon();
}

void TextFlow::CreateFont() {
    OpenFont();

    // The window's surfaces live for the whole run, sized by the layout (bounded by the
    // screen, whatever the configuration says).
    const GameConfig& config = m_engine.config;
    WindowPicture.Allocate(ScreenClamped(config.TXW_SIZE_X, kScreenWidth),
                           ScreenClamped(config.TXW_SIZE_Y, kScreenHeight));
    WindowPictureCache.Allocate(WindowPicture.Width(), WindowPicture.Height());
    NovelBackdrop.Allocate(kScreenWidth, kScreenHeight);
    NamePlateBackground.Allocate(ScreenClamped(config.NP_SZ_X, kScreenWidth),
                                 ScreenClamped(config.NP_SZ_Y, kScreenHeight));
    NamePlateSurface.Allocate(NamePlateBackground.Width(), NamePlateBackground.Height());
    m_iconWork.Allocate(ScreenClamped(config.CLICK_WAIT_SIZE_X, kScreenWidth),
                        ScreenClamped(config.CLICK_WAIT_SIZE_Y, kScreenHeight));
    m_screenScratch.Allocate(kScreenWidth, kScreenHeight);
}

void TextFlow::LoadSystemPictures() {
    Pictures& pictures = m_engine.gfx.PictureLoader();
    LoadFramePicture();
    pictures.LoadPicture("sys_np", m_plate);
    pictures.LoadPicture("sys_clickw", m_icon);
    if (!pictures.LoadPicture("sys_gaiji", m_externalCharacters)) {
        m_externalCharacters.SetSize(0, 0);
    }
    CacheFixedGlyphs();
    SetTextColour(1);
    SetTextColour(0);
}

void TextFlow::RebuildWindowLook() {
    LoadFramePicture();
    WindowCacheValid = false;
    BuildWindowPicture();
    // The text colour's cell rows do not depend on the face: only the masks are made anew.
    OpenFont();
    CacheFixedGlyphs();
}

void TextFlow::ResetTextState() {
    ResetPage();
    CharDelay = 1;
    ShowAllNow = false;
    NovelName = false;
    m_engine.script.InsertText.fill('\0');
    m_engine.script.InsertPtr = 0;
}

void TextFlow::Reset() {
    ResetTextState();
    WindowShown = 0;
}

void TextFlow::SetWindowShown(bool shown) {
    ResetPage();
    WindowShown = shown ? 1 : 0;
}

void TextFlow::ResetPage() {
    TextColumn = 0;
    TextRow = 0;
    for (auto& row : PageText) {
        row.fill('\0');
    }
    for (auto& row : PageColours) {
        row.fill(0);
    }
    SpeakerName[0] = '\0';
    PageChars = 0;
    WideSpacing = false;
    CurrentColour = 0;
    m_engine.vars.S(cell::LineBroken) = 0;
    PageEmpty = true;
}

void TextFlow::SetTextColour(int32_t colour) {
    glyphs.SetTextColour(colour, static_cast<uint32_t>(m_engine.vars.S(cell::TextColourZero)));
}

TextPosition TextFlow::WindowOrigin() const {
    const GameConfig& config = m_engine.config;
    return {config.TXW_OFS_X, m_engine.vars.S(cell::WindowPosition) == 1 ? config.TXW_OFS_Y2 : config.TXW_OFS_Y};
}

TextPosition TextFlow::CellPosition(int32_t column, int32_t row) const {
    const GameConfig& config = m_engine.config;
    // 64-bit products: a hostile layout must not overflow into a position on screen.
    auto at = [](int64_t index, int64_t pitch, int64_t offset) {
        return static_cast<int>(std::clamp<int64_t>(index * pitch + offset, -100000, 100000));
    };
    if (NovelMode()) {
        return {at(column, config.TX2_PITCH_X, config.TX2_OFS_X),
                at(row, config.TX2_PITCH_Y, config.TX2_OFS_Y)};
    }
    TextPosition origin = WindowOrigin();
    return {at(column, config.TX_PITCH_X, int64_t{origin.X} + config.TX_OFS_X),
            at(row, config.TX_PITCH_Y, int64_t{origin.Y} + config.TX_OFS_Y)};
}

std::string_view TextFlow::LineRest() const {
    const auto& line = m_engine.script.LineBuffer;
    auto pos = static_cast<size_t>(std::clamp<int32_t>(m_engine.script.LinePos, 0,
                                                       static_cast<int32_t>(line.size())));
    return {line.data() + pos, ::strnlen(line.data() + pos, line.size() - pos)};
}

const Surface& TextFlow::ShownScreen() {
    Graphics& gfx = m_engine.gfx;
    return gfx.Loop.Active ? gfx.Loop.Current().Picture : gfx.BackBuffer;
}

void TextFlow::CopyToScreens(const Surface& source, Rect from, int x, int y) {
    Graphics& gfx = m_engine.gfx;
    gfx.BackBuffer.CopyFrom(source, from, x, y);
    gfx.Loop.ForEachFrame([&](FrameLoop::Frame& frame) { frame.Picture.CopyFrom(source, from, x, y); });
}

void TextFlow::PresentArea(const Surface& source, Rect area) {
    int left = std::max(area.X, 0);
    int top = std::max(area.Y, 0);
    int right = std::min({area.X + area.Width, kScreenWidth, source.Width()});
    int bottom = std::min({area.Y + area.Height, kScreenHeight, source.Height()});
    if (right <= left || bottom <= top) {
        return;
    }
    m_engine.gfx.Present(source, Rect{left, top, right - left, bottom - top}, left, top);
}

void TextFlow::AppendLog(std::string_view bytes) {
    m_engine.backlog.AppendBacklogBytes(bytes);
    m_hook.Append(bytes);
}

void TextFlow::CommitLogLine() {
    m_engine.backlog.CommitBacklogLine();
    m_engine.vars.S(cell::LineBroken) = 0;
    m_hook.Commit();
}

void TextFlow::StartAutoWait() {
    m_engine.wait.AutoWaitTicks =
        AutoWaitTicksFor(PageChars, m_engine.config.SPD_MAX, m_engine.vars.S(cell::AutoLevel));
}

void TextFlow::ContinueWait() {
    int32_t kind = m_engine.wait.WaitKind;
    if (wait_kind::StartsNewPage(kind)) {
        NewPage();
    } else if (kind == wait_kind::Line) {
        EraseClickIcon();
    }
    m_engine.wait.WaitKind = wait_kind::None;
}

void TextFlow::ClickWhileTyping() {
    if (Typewriter() && m_engine.wait.WaitKind == wait_kind::None &&
        m_engine.choices.SelectionKind == selection_kind::None) {
        ShowAllNow = true;
    }
}

void TextFlow::DrawTextRightAlignedOnPaintBox(std::string_view text, int32_t right, int32_t y,
                                              int32_t height, uint32_t colour) {
    int width = glyphs.MeasurePlainText(text, height);
    Rect area{right - width, y, width, height};
    m_screenScratch.CopyFrom(m_engine.gfx.PaintBoxCopy(), area, area.X, area.Y);
    glyphs.DrawPlainText(text, area.X, area.Y, height, colour, m_screenScratch);
    PresentArea(m_screenScratch, area);
}

void TextFlow::DrawCanvasText(Surface& target, std::string_view text, int32_t x, int32_t y,
                              int32_t height, uint32_t colour) {
    glyphs.DrawPlainText(text, x, y, height, colour, target);
}

int32_t TextFlow::CanvasTextWidth(std::string_view text, int32_t height) {
    return glyphs.MeasurePlainText(text, height);
}

void TextFlow::DrawTextCentred(std::string_view text, int32_t centre, Surface& target,
                               int32_t colour, int32_t y) {
    DrawTextCentredPitch(target, text, centre, y, m_engine.config.TX_PITCH_X, colour);
}

void TextFlow::DrawTextCentredPitch(Surface& target, std::string_view text, int32_t centre,
                                    int32_t y, int32_t pitch, int32_t colour) {
    glyphs.DrawTextCentred(text, centre, target, colour, y, pitch,
                           static_cast<uint32_t>(m_engine.vars.S(cell::TextColourZero)));
}

} // namespace orv
