// The text-window roll of `roll`: blocks of text lines put into a window over pictures, its
// waits measured from a mark (RESET, HOOK, the end of the last WAIT), so that a roll laid out
// against its music keeps time however long the fades took.
#include "engine/engine.h"
#include "gfx/blend.h"
#include "screens/staff_roll_screen.h"

#include <algorithm>

namespace orv {

namespace {

constexpr Rect kDefaultWindow{200, 200, 400, 400};
constexpr int32_t kFontHeight = 32;
constexpr const char* kRollFace = "ＭＳ 明朝";
constexpr size_t kMaxPictureName = 64;
constexpr int32_t kFadeInterval = 30;
constexpr int32_t kFastFadeStep = 16;
constexpr int32_t kSlowFadeStep = 8;
constexpr uint32_t kShadowColour = 0x000000;
constexpr uint32_t kTextColour = 0xFFFFFF;
constexpr int64_t kWaitStep = 100;
// One WAIT stands for at most an hour: a roll is laid out against its music, and a count
// beyond that would only hold the program for days.
constexpr int32_t kMaxWaitTenths = 36000;

// d = (b * w + a * (256 - w)) >> 8 over `bytes` bytes: whole groups through BlendRow, the
// tail one by one.
void BlendBytes(const uint8_t* a, const uint8_t* b, uint8_t* d, int bytes, int weight) {
    int groups = bytes / 8;
    BlendRow(a, b, d, groups, weight);
    for (int i = groups * 8; i < bytes; ++i) {
        d[i] = static_cast<uint8_t>((b[i] * weight + a[i] * (256 - weight)) >> 8);
    }
}

} // namespace

void StaffRollScreen::PlayTextRoll(std::string_view name) {
    if (m_running || !ReadResource(name)) {
        return;
    }
    m_pageRoll = false;
    Begin();
    m_window = kDefaultWindow;
    m_lines.Clear();
    m_afterCommand = true;
    m_fontHeight = kFontHeight;
    m_alignX = 1;
    m_centreY = true;
    m_mark = Now();
    m_textSurface.SetSize(m_window.Width, m_window.Height);
    Glyphs& glyphs = m_engine.text.glyphs;
    glyphs.Font().Open(kRollFace, m_fontHeight, false);
    m_fontChanged = true;

    std::string_view line;
    while (!m_abort && NextLine(line)) {
        roll::TextRollCommand command;
        if (roll::ReadTextRollCommand(line, command)) {
            TextRollCommand(command);
            m_afterCommand = true;
        } else {
            if (m_afterCommand) {
                m_lines.Clear();
                m_afterCommand = false;
            }
            m_lines.Append(line);
        }
        while (m_pause && !m_abort) {
            SleepPumping(kWaitStep, kWaitStep);
        }
    }
    End();
}

void StaffRollScreen::TextRollCommand(const roll::TextRollCommand& command) {
    std::string_view word = command.Word();
    std::string_view argument = command.Argument;
    if (word == "MUSIC") {
        m_engine.sound.SetMusic(roll::Number(argument));
    } else if (word == "GRA") {
        TextRollPicture(argument);
    } else if (word == "WIN") {
        TextRollWindow(argument);
    } else if (word == "PUT") {
        TextRollPut(roll::Number(argument));
    } else if (word == "ERA") {
        TextRollErase(roll::Number(argument));
    } else if (word == "RESET" || word == "HOOK") {
        m_mark = Now();
    } else if (word == "WAIT") {
        TextRollWait(roll::Number(argument));
    } else if (word == "CENTER") {
        TextRollCentre(argument);
    }
}

void StaffRollScreen::TextRollPicture(std::string_view argument) {
    size_t end = std::min(argument.find_first_of(", \t"), argument.size());
    std::string_view name = argument.substr(0, std::min(end, kMaxPictureName));
    int32_t mode = 1;
    if (end < argument.size() && argument[end] == ',') {
        mode = roll::Number(argument.substr(end + 1));
    }
    Graphics& gfx = m_engine.gfx;
    if (gfx.PictureLoader().LoadPicture(name, m_loaded)) {
        gfx.SceneSurface.Fill(0);
        gfx.SceneSurface.CopyFrom(m_loaded, Rect{0, 0, m_loaded.Width(), m_loaded.Height()}, 0, 0);
    }
    Rect screen{0, 0, kScreenWidth, kScreenHeight};
    if (mode == 1 || mode == 2) {
        FadeArea(gfx.SceneSurface, screen, false, mode == 1 ? kFastFadeStep : kSlowFadeStep);
    }
    gfx.BackBuffer.CopyFrom(gfx.SceneSurface, screen, 0, 0);
    gfx.PresentWhole(gfx.BackBuffer);
}

void StaffRollScreen::TextRollWindow(std::string_view argument) {
    std::array<int32_t, 4> corners{};
    roll::DigitRuns(argument, corners);
    m_window = roll::NormaliseWindow(corners[0], corners[1], corners[2], corners[3]);
    m_textSurface.SetSize(m_window.Width, m_window.Height);
}

void StaffRollScreen::TextRollPut(int32_t n) {
    if (n != 0 && n != 1) {
        return;
    }
    Graphics& gfx = m_engine.gfx;
    RenderRollLines();
    if (n == 1) {
        FadeArea(m_textSurface, m_window, true, kSlowFadeStep);
    }
    gfx.BackBuffer.CopyFrom(m_textSurface, Rect{0, 0, m_window.Width, m_window.Height}, m_window.X,
                            m_window.Y);
    gfx.PresentWhole(gfx.BackBuffer);
}

void StaffRollScreen::TextRollErase(int32_t n) {
    Graphics& gfx = m_engine.gfx;
    if (n == 0) {
        gfx.BackBuffer.CopyFrom(gfx.SceneSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    } else if (n == 1) {
        FadeArea(gfx.SceneSurface, m_window, false, kSlowFadeStep);
        gfx.BackBuffer.CopyFrom(gfx.SceneSurface, m_window, m_window.X, m_window.Y);
    }
    gfx.PresentWhole(gfx.BackBuffer);
}

void StaffRollScreen::TextRollWait(int32_t tenths) {
    // Counted in 64 bits from the mark, so that no count wraps; a negative count is none.
    int64_t target = int64_t{std::clamp(tenths, 0, kMaxWaitTenths)} * kWaitStep;
    Platform& host = m_engine.Host();
    auto left = [&] { return target - int64_t{Now() - m_mark}; };
    while (!m_abort && left() >= kWaitStep) {
        host.Sleep(static_cast<uint32_t>(kWaitStep));
        host.PumpMessages();
    }
    if (!m_abort && left() > 0) {
        host.Sleep(static_cast<uint32_t>(left()));
        host.PumpMessages();
    }
    m_mark = Now();
}

void StaffRollScreen::TextRollCentre(std::string_view letters) {
    m_alignX = 0;
    m_centreY = false;
    for (char c : letters) {
        if (c == 'X' || c == 'x') {
            m_alignX = 1;
        } else if (c == 'R' || c == 'r') {
            m_alignX = 2;
        } else if (c == 'Y' || c == 'y') {
            m_centreY = true;
        }
    }
}

void StaffRollScreen::RenderRollLines() {
    Graphics& gfx = m_engine.gfx;
    Glyphs& glyphs = m_engine.text.glyphs;
    int width = m_window.Width, height = m_window.Height;
    m_textSurface.CopyFrom(gfx.SceneSurface, m_window, 0, 0);
    auto count = static_cast<int>(m_lines.Count());
    int y0 = m_centreY ? (height - count * m_fontHeight) / 2 : 0;
    for (int i = 0; i < count; ++i) {
        std::string_view line = m_lines.Line(static_cast<size_t>(i));
        int textWidth = glyphs.MeasurePlainText(line, m_fontHeight);
        int x = m_alignX == 1 ? (width - textWidth) / 2 : m_alignX == 2 ? width - textWidth : 0;
        int y = y0 + i * m_fontHeight;
        glyphs.DrawPlainText(line, x + 2, y + 2, m_fontHeight, kShadowColour, m_textSurface);
        glyphs.DrawPlainText(line, x, y, m_fontHeight, kTextColour, m_textSurface);
    }
}

void StaffRollScreen::FadeArea(const Surface& target, Rect area, bool targetAtArea, int32_t step) {
    Graphics& gfx = m_engine.gfx;
    Rect from = area;
    int x = area.X, y = area.Y;
    if (!ClipBlit(gfx.BackBuffer, gfx.WorkSurface, from, x, y) || from.Width <= 0) {
        return;
    }
    int targetX = targetAtArea ? 0 : area.X;
    int targetY = targetAtArea ? 0 : area.Y;
    if (targetX + from.Width > target.Width() || targetY + from.Height > target.Height()) {
        return;
    }
    int bytes = from.Width * 3;
    auto drawFrame = [&](int32_t weight) {
        for (int row = 0; row < from.Height; ++row) {
            const uint8_t* old = gfx.BackBuffer.Row(from.Y + row) + from.X * 3;
            const uint8_t* fresh = target.Row(targetY + row) + targetX * 3;
            BlendBytes(old, fresh, gfx.WorkSurface.Row(from.Y + row) + from.X * 3, bytes, weight);
        }
        gfx.Present(gfx.WorkSurface, from, from.X, from.Y);
    };
    gfx.StartFrameClock();
    int32_t unseen = -1; // the last weight not drawn because nobody watches
    for (int32_t weight = step; weight < 255 && !m_abort;) {
        if (gfx.FramesWatched) {
            drawFrame(weight);
        } else {
            unseen = weight;
        }
        int64_t next = int64_t{weight} + int64_t{gfx.WaitFrames(kFadeInterval)} * step;
        weight = static_cast<int32_t>(std::min<int64_t>(next, 255));
    }
    if (unseen >= 0) {
        drawFrame(unseen);
    }
}

} // namespace orv
