// The banner that confirms a save or a load: a blue band faded in over the screen, held, and
// faded out again.
#include "engine/engine.h"
#include "gfx/blend.h"
#include "prompts/prompts.h"

#include <algorithm>

namespace orv {

namespace {

constexpr uint8_t kBannerColour[3] = {0x80, 0x40, 0x00}; // 0x804000 as blue, green, red bytes
constexpr int kBannerEdgeRows = 8;
constexpr int kTextHeight = 48;
constexpr int kFrameMs = 20;
constexpr int kFadeStep = 16;

// The band's colour weight rises by 20 a row over its top and bottom edges.
int BannerWeight(int row, int height) {
    int fromEdge = std::min(row, height - 1 - row);
    return fromEdge < kBannerEdgeRows ? 20 * fromEdge : 160;
}

void TintBand(Surface& band) {
    for (int y = 0; y < band.Height(); ++y) {
        int weight = BannerWeight(y, band.Height());
        std::span<uint8_t> row = band.RowSpan(y);
        for (size_t i = 0; i < row.size(); ++i) {
            int colour = kBannerColour[i % 3];
            row[i] = static_cast<uint8_t>((colour * weight + row[i] * (256 - weight)) >> 8);
        }
    }
}

} // namespace

void Prompts::ShowBanner(std::string_view message, int32_t holdMs) {
    Engine& e = m_engine;
    // The fades pump messages: the menus must not open a prompt over the banner meanwhile.
    e.MenusLocked = 1;
    e.UpdateMenus();
    BusyScope busy(e.blocking);
    Rect band = kBannerBand;
    m_bannerBackground.SetSize(band.Width, band.Height);
    m_bannerBackground.CopyFrom(e.gfx.BackBuffer, band, 0, 0);
    m_bannerSurface.SetSize(band.Width, band.Height);
    m_bannerSurface.CopyFrom(m_bannerBackground, Rect{0, 0, band.Width, band.Height}, 0, 0);
    TintBand(m_bannerSurface);
    int x = (band.Width - e.text.CanvasTextWidth(message, kTextHeight)) / 2;
    e.text.DrawCanvasText(m_bannerSurface, message, x + 3, 6, kTextHeight, 0x000000);
    e.text.DrawCanvasText(m_bannerSurface, message, x, 3, kTextHeight, 0xFFFFFF);
    m_bannerFrame.SetSize(band.Width, band.Height);

    FadeBanner(0, kFadeStep);
    Rect whole{0, 0, band.Width, band.Height};
    e.gfx.Present(m_bannerSurface, whole, band.X, band.Y);
    e.gfx.StartFrameClock();
    for (int32_t waited = 0; waited < holdMs;) {
        waited += kFrameMs * e.gfx.WaitFrames(kFrameMs);
    }
    FadeBanner(256 - kFadeStep, -kFadeStep);
    e.gfx.Present(m_bannerBackground, whole, band.X, band.Y);
    e.MenusLocked = 0;
    e.UpdateMenus();
}

void Prompts::FadeBanner(int from, int step) {
    Graphics& gfx = m_engine.gfx;
    Rect whole{0, 0, kBannerBand.Width, kBannerBand.Height};
    gfx.StartFrameClock();
    for (int weight = from; weight >= 0 && weight < 256;) {
        CrossFadeFull(m_bannerSurface, m_bannerBackground, weight, m_bannerFrame);
        gfx.Present(m_bannerFrame, whole, kBannerBand.X, kBannerBand.Y);
        // A slow machine skips frames rather than stretching the fade.
        weight += step * gfx.WaitFrames(kFrameMs);
    }
}

} // namespace orv
