// The message window's picture: the frame blended over the scene, the dimmed screen of
// novel mode, the page on it, and the name plate.
#include "engine/engine.h"
#include "gfx/blend.h"
#include "text/text_flow.h"

#include <algorithm>

namespace orv {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kReviewNameColour = 0x00FFFF;
constexpr int kPlateNameY = 6;
constexpr int kPlateNameXWithPicture = 32;
constexpr int kPlateNameX = 4;

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

} // namespace

void TextFlow::LoadFramePicture() {
    Pictures& pictures = m_engine.gfx.PictureLoader();
    pictures.LoadPicture("sys_tw", m_frame);
    pictures.LoadPicture("sys_tw1", m_frameTemplate);
    RecolourFrame();
}

// The frame was made with the configured tint. When the player chose another, the frame
// is made anew: the tint at the chosen strength, with the template's own drawing (its
// colours over its mask: borders, ornaments) kept on top.
void TextFlow::RecolourFrame() {
    const UserSettings& settings = m_engine.settings;
    const GameConfig& config = m_engine.config;
    bool changed = settings.TXBG_R != config.TXW_COLOR_R || settings.TXBG_G != config.TXW_COLOR_G ||
                   settings.TXBG_B != config.TXW_COLOR_B || settings.TXBG_A != config.TXW_ALPHA;
    if (!changed || m_frameTemplate.Empty() || m_frameTemplate.Width() != m_frame.Width() ||
        m_frameTemplate.Height() != m_frame.Height() || m_frame.Height() % 2 != 0) {
        return;
    }
    int half = m_frame.Height() / 2;
    int tint[3] = {std::clamp(settings.TXBG_B, 0, 255), std::clamp(settings.TXBG_G, 0, 255),
                   std::clamp(settings.TXBG_R, 0, 255)};
    int alpha = std::clamp(settings.TXBG_A, 0, 255);
    for (int y = 0; y < half; ++y) {
        const uint8_t* colour = m_frameTemplate.Row(y);
        const uint8_t* mask = m_frameTemplate.Row(y + half);
        uint8_t* outColour = m_frame.Row(y);
        uint8_t* outMask = m_frame.Row(y + half);
        for (int i = 0; i < m_frame.RowBytes(); ++i) {
            int m = mask[i];
            outColour[i] = static_cast<uint8_t>((tint[i % 3] * (255 - m) + colour[i] * m) / 255);
            outMask[i] = static_cast<uint8_t>(alpha + (255 - alpha) * m / 255);
        }
    }
}

void TextFlow::BuildWindowPicture() {
    Graphics& gfx = m_engine.gfx;
    if (NovelMode()) {
        WindowCacheValid = false;
        int darkening = std::clamp(m_engine.settings.TXBG_A2, 0, 255);
        ScaleBrightness(gfx.SceneSurface, NovelBackdrop, 256 - darkening);
        m_engine.screens.quickButtons.TakeBackground(NovelBackdrop, nullptr, 0, 0);
        return;
    }
    if (WindowCacheValid && !gfx.Loop.Active) {
        WindowPicture.CopyFrom(WindowPictureCache, Rect{0, 0, WindowPicture.Width(), WindowPicture.Height()}, 0, 0);
        return;
    }
    TextPosition origin = WindowOrigin();
    WindowPicture.Fill(0);
    WindowPicture.CopyFrom(gfx.SceneSurface,
                           Rect{origin.X, origin.Y, WindowPicture.Width(), WindowPicture.Height()}, 0, 0);
    int rows = std::min(WindowPicture.Height(), m_frame.Height() / 2);
    int pixels = std::min(WindowPicture.Width(), m_frame.Width());
    for (int y = 0; y < rows; ++y) {
        uint8_t* row = WindowPicture.Row(y);
        MaskBlendRowTail(row, m_frame.Row(y), row, m_frame.Row(y + m_frame.Height() / 2), pixels);
    }
    m_engine.screens.quickButtons.TakeBackground(gfx.SceneSurface, &WindowPicture, origin.X,
                                                 origin.Y);
    m_engine.screens.quickButtons.DrawInto(WindowPicture, origin.X, origin.Y);
    // Every frame of a running loop gets the window over its own picture.
    gfx.Loop.ForEachFrame([&](FrameLoop::Frame& frame) {
        Surface& picture = frame.WindowPicture;
        picture.CopyFrom(frame.WindowArea, Rect{0, 0, picture.Width(), picture.Height()}, 0, 0);
        int frameRows = std::min(rows, picture.Height());
        int framePixels = std::min(pixels, picture.Width());
        for (int y = 0; y < frameRows; ++y) {
            uint8_t* row = picture.Row(y);
            MaskBlendRowTail(row, m_frame.Row(y), row, m_frame.Row(y + m_frame.Height() / 2),
                             framePixels);
        }
        m_engine.screens.quickButtons.DrawInto(picture, origin.X, origin.Y);
    });
    WindowPictureCache.CopyFrom(WindowPicture, Rect{0, 0, WindowPicture.Width(), WindowPicture.Height()}, 0, 0);
    WindowCacheValid = true;
    const GameConfig& config = m_engine.config;
    Rect plate{config.NP_OFS_X, config.NP_OFS_Y, NamePlateBackground.Width(), NamePlateBackground.Height()};
    NamePlateBackground.Fill(0);
    if (config.NP_TYPE == 1) {
        plate.X += origin.X;
        plate.Y += origin.Y;
        NamePlateBackground.CopyFrom(gfx.SceneSurface, plate, 0, 0);
    } else {
        NamePlateBackground.CopyFrom(WindowPicture, plate, 0, 0);
    }
}

void TextFlow::DrawWindowOnLoopFrames() {
    TextPosition origin = WindowOrigin();
    m_engine.gfx.Loop.ForEachFrame([&](FrameLoop::Frame& frame) {
        const Surface& picture = frame.WindowPicture;
        frame.Picture.CopyFrom(picture, Rect{0, 0, picture.Width(), picture.Height()}, origin.X,
                               origin.Y);
    });
}

void TextFlow::DrawWindowInto(Surface& target) {
    TextPosition origin = WindowOrigin();
    target.CopyFrom(WindowPicture, Rect{0, 0, WindowPicture.Width(), WindowPicture.Height()},
                    origin.X, origin.Y);
}

void TextFlow::PresentWindow() {
    Graphics& gfx = m_engine.gfx;
    WindowCacheValid = false;
    BuildWindowPicture();
    IconShown = false;
    if (NovelMode()) {
        const Surface& source = WindowShown ? NovelBackdrop : gfx.SceneSurface;
        gfx.BackBuffer.CopyFrom(source, kWholeScreen, 0, 0);
        if (WindowShown) {
            m_engine.screens.quickButtons.Draw(QuickButtonsTarget::BackBuffer);
            DrawPageCharacters(false);
        }
        return;
    }
    if (!WindowShown) {
        return;
    }
    DrawWindowInto(gfx.BackBuffer);
    DrawWindowOnLoopFrames();
    // The buttons placed on the screen; those in the window came with its picture.
    m_engine.screens.quickButtons.Draw(QuickButtonsTarget::BackBuffer);
    uint32_t colour = glyphs.TextColour();
    if (!PageEmpty && PageText[0][0] != '\0') {
        const auto& row = PageText[0];
        DrawNamePlate(std::string_view(row.data(), ::strnlen(row.data(), row.size())), false);
    }
    glyphs.RestoreTextColour(colour);
    DrawPageCharacters(false);
}

void TextFlow::PrepareNovelScreen() {
    Graphics& gfx = m_engine.gfx;
    gfx.PreviousSurface.CopyFrom(gfx.BackBuffer, kWholeScreen, 0, 0);
    BuildWindowPicture();
    gfx.BackBuffer.CopyFrom(NovelBackdrop, kWholeScreen, 0, 0);
    WindowShown = 1;
    m_engine.screens.quickButtons.Draw(QuickButtonsTarget::BackBuffer);
}

void TextFlow::NewPage() {
    Graphics& gfx = m_engine.gfx;
    ResetPage();
    m_engine.vars.S(cell::TextColourZero) = static_cast<int32_t>(kWhite);
    SetTextColour(0);
    IconShown = false;
    if (NovelMode()) {
        if (!WindowShown) {
            gfx.PreviousSurface.CopyFrom(gfx.BackBuffer, kWholeScreen, 0, 0);
            BuildWindowPicture();
            gfx.BackBuffer.CopyFrom(NovelBackdrop, kWholeScreen, 0, 0);
            WindowShown = 1;
            m_engine.screens.quickButtons.Draw(QuickButtonsTarget::BackBuffer);
            if (!Skipping()) {
                gfx.FadeKind(1);
            }
        } else {
            gfx.BackBuffer.CopyFrom(NovelBackdrop, kWholeScreen, 0, 0);
            m_engine.screens.quickButtons.Draw(QuickButtonsTarget::BackBuffer);
        }
        gfx.PresentWhole(gfx.BackBuffer);
        return;
    }
    if (!WindowShown) {
        OpenWindow();
        return;
    }
    DrawWindowInto(gfx.BackBuffer);
    DrawWindowOnLoopFrames();
    TextPosition origin = WindowOrigin();
    PresentArea(ShownScreen(), Rect{origin.X, origin.Y, WindowPicture.Width(), WindowPicture.Height()});
    if (m_engine.config.NP_TYPE == 1) {
        RestorePlateArea();
    }
}

TextPosition TextFlow::PlatePosition() const {
    TextPosition origin = WindowOrigin();
    return {origin.X + m_engine.config.NP_OFS_X, origin.Y + m_engine.config.NP_OFS_Y};
}

void TextFlow::RestorePlateArea() {
    TextPosition at = PlatePosition();
    Rect whole{0, 0, NamePlateBackground.Width(), NamePlateBackground.Height()};
    CopyToScreens(NamePlateBackground, whole, at.X, at.Y);
    PresentArea(ShownScreen(), Rect{at.X, at.Y, whole.Width, whole.Height});
}

void TextFlow::DrawSpeakerName(std::string_view name) { DrawNamePlate(name, true); }

void TextFlow::DrawNamePlate(std::string_view name, bool toPaintBox) {
    const GameConfig& config = m_engine.config;
    uint32_t colour = kWhite;
    for (size_t i = 1; i < config.Names.size(); ++i) {
        if (config.Names[i].Used && config.Names[i].Text == name) {
            colour = config.Names[i].Colour;
            break;
        }
    }
    if (m_engine.screens.Mode() == screen_mode::PageReview) {
        colour = kReviewNameColour;
    }
    m_engine.vars.S(cell::TextColourZero) = static_cast<int32_t>(colour);
    Rect whole{0, 0, NamePlateSurface.Width(), NamePlateSurface.Height()};
    NamePlateSurface.CopyFrom(NamePlateBackground, whole, 0, 0);
    int x = kPlateNameX;
    if (config.NP_TYPE == 1) {
        x = kPlateNameXWithPicture;
        NamePlateSurface.CopyFrom(m_plate, Rect{0, 0, m_plate.Width(), m_plate.Height()}, 0, 0);
    }
    glyphs.DrawTextLeft(name, x, NamePlateSurface, 0, kPlateNameY, config.TX_PITCH_X,
                        static_cast<uint32_t>(m_engine.vars.S(cell::TextColourZero)));
    TextPosition at = PlatePosition();
    CopyToScreens(NamePlateSurface, whole, at.X, at.Y);
    if (toPaintBox) {
        PresentArea(ShownScreen(), Rect{at.X, at.Y, whole.Width, whole.Height});
    }
}

void TextFlow::SetWindowPosition(bool toggle) {
    // The origin follows S079 wherever it is read; a picture made at the other place is
    // no longer of use.
    WindowCacheValid = false;
    if (!toggle) {
        return;
    }
    m_engine.vars.S(cell::WindowPosition) = m_engine.vars.S(cell::WindowPosition) == 1 ? 0 : 1;
    m_engine.gfx.ShowScene(1);
}

} // namespace orv
