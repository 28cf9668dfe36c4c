// `scroll`: a picture larger than the screen shown through an 800 x 600 view that slides
// from one edge to the other, one pixel a frame, while the scrolling-picture screen holds
// the game's input.
#include "base/cp932.h"
#include "engine/engine.h"
#include "script/commands.h"

#include <algorithm>
#include <array>

namespace orv {

namespace {

struct ScrollArguments {
    std::string_view Name;
    int32_t Direction = 0; // 0 up, 1 right, 2 down, 3 left
    int32_t Interval = 0;  // ms a pixel
    int32_t Transition = 0;
};

bool IsSeparator(char c) {
    return c == ',' || c == ' ' || c == '\t';
}

// Fields separated by "," or blanks (a comma with blanks around it is one separator);
// missing numbers are 0.
ScrollArguments ReadScrollArguments(std::string_view argument) {
    std::array<std::string_view, 4> fields{};
    size_t i = 0;
    for (size_t n = 0; n < fields.size() && i < argument.size(); ++n) {
        while (i < argument.size() && (argument[i] == ' ' || argument[i] == '\t')) {
            ++i;
        }
        size_t start = i;
        while (i < argument.size() && !IsSeparator(argument[i])) {
            i += cp932::CharLength(argument, i);
        }
        fields[n] = argument.substr(start, std::min(i, argument.size()) - start);
        while (i < argument.size() && (argument[i] == ' ' || argument[i] == '\t')) {
            ++i;
        }
        if (i < argument.size() && argument[i] == ',') {
            ++i;
        }
    }
    return ScrollArguments{fields[0], ArgumentNumber(fields[1]), ArgumentNumber(fields[2]),
                           ArgumentNumber(fields[3])};
}

// Where the view starts, which way it moves, and how far.
struct ScrollPath {
    int X = 0;
    int Y = 0;
    int StepX = 0;
    int StepY = 0;
    int Distance = 0;
};

ScrollPath PathFor(int32_t direction, int width, int height) {
    int across = width - kScreenWidth, down = height - kScreenHeight;
    switch (direction) {
    case 0:
        return {0, down, 0, -1, down};
    case 1:
        return {0, 0, 1, 0, across};
    case 2:
        return {0, 0, 0, 1, down};
    case 3:
        return {across, 0, -1, 0, across};
    default:
        return {};
    }
}

} // namespace

void Graphics::ScrollPicture(std::string_view argument) {
    ScrollArguments scroll = ReadScrollArguments(argument);
    Engine& engine = m_engine;
    engine.MenusLocked = 1;
    engine.UpdateMenus();
    std::string upper = cp932::UpperCase(scroll.Name);
    std::span<const std::string> list = engine.screens.gallery.PictureList();
    auto listed = std::find(list.begin(), list.end(), upper);
    if (listed != list.end()) {
        engine.vars.SetPictureUnlockedBit(static_cast<int>(listed - list.begin()), true);
    }
    if (!m_pictures.LoadPicture(scroll.Name, m_scrollPicture)) {
        engine.MenusLocked = 0;
        engine.UpdateMenus();
        return;
    }
    engine.screens.Open(engine.screens.scrollingPicture);
    ScrollPath path = PathFor(scroll.Direction, m_scrollPicture.Width(), m_scrollPicture.Height());
    // A picture not larger than the screen that way only runs the transition; it shows at
    // the top left, black around it.
    path.Distance = std::max(path.Distance, 0);
    path.X = std::max(path.X, 0);
    path.Y = std::max(path.Y, 0);
    auto view = [&](int64_t p) {
        return Rect{path.X + static_cast<int>(path.StepX * p),
                    path.Y + static_cast<int>(path.StepY * p), kScreenWidth, kScreenHeight};
    };
    auto putView = [&](int64_t p) {
        BackBuffer.Fill(0);
        BackBuffer.CopyFrom(m_scrollPicture, view(p), 0, 0);
    };

    PreviousSurface.CopyFrom(BackBuffer, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    putView(0);
    RunTransition(scroll.Transition);
    {
        BlockingState& blocking = engine.blocking;
        InterruptibleScope interruptible(blocking);
        blocking.InterruptRequest = 0;
        StartFrameClock();
        for (int64_t p = 0; p < path.Distance; p += WaitFrames(scroll.Interval)) {
            Rect from = view(p);
            int x = 0, y = 0;
            if (ClipBlit(m_scrollPicture, m_paintBox, from, x, y)) {
                Present(m_scrollPicture, from, x, y);
            }
            engine.Host().PumpMessages();
            if (blocking.InterruptRequest != 0) {
                break;
            }
        }
        // The click has been answered; a close request stays for the command to ask.
        if (blocking.InterruptRequest == 1) {
            blocking.InterruptRequest = 0;
        }
    }
    engine.screens.Close(engine.screens.scrollingPicture);
    putView(path.Distance);
    PresentWhole(BackBuffer);
    m_scrollPicture = Surface();
    engine.MenusLocked = 0;
    engine.UpdateMenus();
    engine.screens.quickButtons.Refresh();
}

} // namespace orv
