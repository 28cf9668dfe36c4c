// The page roll of `sroll`: two pages that cross-fade into each other, pictures and text
// laid out in sized glyphs, waits that add up from the start of the roll. A press ends it.
#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/blend.h"
#include "screens/staff_roll_screen.h"

#include <algorithm>

namespace orv {

namespace {

constexpr Rect kDefaultBox{200, 100, 400, 200};
constexpr int32_t kMaxWaitTenths = 36000; // an hour a @WAIT, as the text roll's WAIT
constexpr int64_t kWaitStepMs = 100;
// Milliseconds a blend step may take: 256 steps of 100 ms are a fade of 25 seconds.
constexpr int32_t kMaxFadeStep = 100;
// How often a wait draws the running fade between the timer's ticks.
constexpr uint32_t kFadeFrameMs = 10;
constexpr int32_t kMaxGlyphSize = 64;
constexpr int32_t kMaxPitch = 200;
constexpr int32_t kMaxBoxOrigin = 1600;

bool StartsWith(std::string_view line, std::string_view word) {
    return line.substr(0, word.size()) == word;
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

void StaffRollScreen::PlayPageRoll(std::string_view name) {
    if (m_running || !ReadResource(name)) {
        return;
    }
    m_pageRoll = true;
    Begin();
    for (Surface& page : m_pages) {
        page.SetSize(kScreenWidth, kScreenHeight);
        page.Fill(0);
    }
    m_stage.SetSize(kScreenWidth, kScreenHeight);
    m_stage.Fill(0);
    m_currentPage = 0;
    m_pageFade = 0;
    m_pageStart = m_fadeStart = Now();
    m_waitTotal = 0;
    m_pageText.Clear();
    m_box = kDefaultBox;
    m_glyphSize = 20;
    m_charPitch = 16;
    m_linePitch = 40;
    m_darkness = 0;
    m_tickBusy = false;

    std::string_view line;
    while (!m_abort && !m_endRequested && NextLine(line)) {
        PageRollLine(line);
    }
    // Whatever fade was running ends on its page, so that what PB shows stays in BackBuffer.
    m_pageFade = 0;
    m_pageRoll = false;
    End();
}

void StaffRollScreen::PageRollLine(std::string_view line) {
    if (line.empty()) {
        m_pageText.Append("");
    } else if (line[0] == '{') {
        m_pageText.Clear();
    } else if (line[0] == '}') {
        // The end of a page's text block says nothing more than the next command does.
    } else if (line[0] != '@') {
        m_pageText.Append(line);
    } else if (StartsWith(line, "@GRA ")) {
        PageRollPicture(line.substr(5));
    } else if (StartsWith(line, "@WAIT ")) {
        PageRollWait(roll::Number(line.substr(6)));
    } else if (StartsWith(line, "@MOJ")) {
        PageRollText(line.substr(4));
    } else if (StartsWith(line, "@FONT ")) {
        PageRollFont(roll::Number(line.substr(6)));
    } else if (StartsWith(line, "@DARK ")) {
        m_darkness = std::clamp(roll::Number(line.substr(6)), 0, 255);
    } else if (StartsWith(line, "@SIZE ")) {
        std::array<int32_t, 3> size{m_glyphSize, m_charPitch, m_linePitch};
        roll::CommaNumbers(line.substr(6), size);
        m_glyphSize = std::clamp(size[0], 1, kMaxGlyphSize);
        m_charPitch = std::clamp(size[1], 0, kMaxPitch);
        m_linePitch = std::clamp(size[2], 0, kScreenHeight);
    } else if (StartsWith(line, "@WIN ")) {
        std::array<int32_t, 4> box{m_box.X, m_box.Y, m_box.Width, m_box.Height};
        roll::CommaNumbers(line.substr(5), box);
        m_box = Rect{std::clamp(box[0], -kMaxBoxOrigin, kMaxBoxOrigin),
                     std::clamp(box[1], -kMaxBoxOrigin, kMaxBoxOrigin),
                     std::clamp(box[2], 0, kScreenWidth), std::clamp(box[3], 0, kScreenHeight)};
    } else if (StartsWith(line, "@END")) {
        m_endRequested = true;
    }
}

void StaffRollScreen::PageRollPicture(std::string_view argument) {
    size_t comma = std::min(argument.find(','), argument.size());
    std::string_view name = argument.substr(0, comma);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.remove_suffix(1);
    }
    int32_t fade = comma < argument.size() ? roll::Number(argument.substr(comma + 1)) : 1;
    m_currentPage = 1 - m_currentPage;
    if (cp932::UpperCase(name) == "S000") {
        m_stage.Fill(0);
    } else if (m_engine.gfx.PictureLoader().LoadPicture(name, m_loaded)) {
        m_stage.Fill(0);
        m_stage.CopyFrom(m_loaded, Rect{0, 0, m_loaded.Width(), m_loaded.Height()}, 0, 0);
    }
    if (m_darkness < 255) {
        ScaleBrightness(m_stage, m_stage, m_darkness);
    }
    CurrentPage().CopyFrom(m_stage, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    StartPageFade(fade, true);
}

void StaffRollScreen::PageRollText(std::string_view argument) {
    int32_t fade = IsBlank(argument) ? 1 : roll::Number(argument);
    m_currentPage = 1 - m_currentPage;
    Surface& page = CurrentPage();
    page.CopyFrom(m_stage, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    DrawPageText(page);
    m_pageText.Clear();
    StartPageFade(fade, false);
}

void StaffRollScreen::PageRollWait(int32_t tenths) {
    m_waitTotal += std::clamp(tenths, 0, kMaxWaitTenths);
    Platform& host = m_engine.Host();
    int64_t target = m_waitTotal * kWaitStepMs;
    uint32_t lastFrame = Now();
    while (!m_abort && int64_t{Now() - m_pageStart} < target) {
        host.Sleep(1);
        host.PumpMessages();
        if (m_pageFade != 0 && Now() - lastFrame >= kFadeFrameMs) {
            lastFrame = Now();
            PageRollTick();
        }
    }
}

void StaffRollScreen::PageRollFont(int32_t n) {
    const char* face = n == 1 ? "ＭＳ Ｐ明朝" : n == 2 ? "ＭＳ Ｐゴシック" : nullptr;
    if (face == nullptr) {
        return;
    }
    Glyphs& glyphs = m_engine.text.glyphs;
    glyphs.Font().Open(face, glyphs.PixelSize(), m_engine.settings.FONTBold);
    m_fontChanged = true;
}

void StaffRollScreen::StartPageFade(int32_t fade, bool wait) {
    Graphics& gfx = m_engine.gfx;
    if (fade <= 0) {
        m_pageFade = 0;
        gfx.BackBuffer.CopyFrom(CurrentPage(), Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        gfx.PresentWhole(gfx.BackBuffer);
        return;
    }
    m_pageFade = std::min(fade, kMaxFadeStep);
    m_fadeStart = Now();
    Platform& host = m_engine.Host();
    while (wait && m_pageFade != 0 && !m_abort) {
        host.Sleep(kFadeFrameMs);
        host.PumpMessages();
        PageRollTick();
    }
}

void StaffRollScreen::DrawPageText(Surface& page) {
    Glyphs& glyphs = m_engine.text.glyphs;
    glyphs.SetTextColour(0, static_cast<uint32_t>(m_engine.vars.S(cell::TextColourZero)));
    for (size_t i = 0; i < m_pageText.Count(); ++i) {
        roll::AlignedLine line = roll::AlignPageLine(m_pageText.Line(i), m_box.Width, m_charPitch);
        int y = m_box.Y + static_cast<int>(i) * m_linePitch;
        size_t pos = 0;
        while (pos < line.Text.size()) {
            size_t length = std::min(cp932::CharLength(line.Text, pos), line.Text.size() - pos);
            glyphs.RenderSizedGlyph(cp932::CharCode(line.Text.substr(pos, length)), m_glyphSize);
            int x = m_box.X + line.Offset + static_cast<int>(pos + 1) * m_charPitch;
            glyphs.CompositeSizedGlyph(page, x, y);
            pos += length;
        }
    }
}

void StaffRollScreen::PageRollTick() {
    if (m_tickBusy) {
        return;
    }
    m_tickBusy = true;
    Graphics& gfx = m_engine.gfx;
    if (m_pageFade != 0) {
        int64_t c = int64_t{Now() - m_fadeStart} / m_pageFade;
        if (c > 255) {
            // The last step lands on the page itself rather than a blend one short of it.
            m_pageFade = 0;
            gfx.BackBuffer.CopyFrom(CurrentPage(), Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        } else {
            int weight = m_currentPage == 1 ? static_cast<int>(c) : 255 - static_cast<int>(c);
            constexpr int kGroups = kScreenWidth * 3 / 8;
            for (int y = 0; y < kScreenHeight; ++y) {
                BlendRow(m_pages[0].Row(y), m_pages[1].Row(y), gfx.BackBuffer.Row(y), kGroups,
                         weight);
            }
        }
    }
    gfx.PresentWhole(gfx.BackBuffer);
    m_tickBusy = false;
}

} // namespace orv
