// Effects on the whole screen besides the transitions: the shake of `shake` and of
// `special 1`, and the sepia fade of `special 3` and `4`.
#include "engine/engine.h"
#include "gfx/scene.h"
#include "script/commands.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// The argument text that `shake` reads its commas in.
constexpr size_t kShakeArgumentBytes = 43;

struct ShakeArguments {
    int32_t Type = 0;
    int32_t Amplitude = 20;
    int32_t Interval = 50; // ms
};

ShakeArguments ReadShakeArguments(std::string_view argument) {
    ShakeArguments out;
    out.Type = ArgumentNumber(argument);
    std::string_view head = argument.substr(0, std::min(argument.size(), kShakeArgumentBytes));
    size_t first = head.find(',');
    if (first == std::string_view::npos) {
        return out;
    }
    out.Amplitude = ArgumentNumber(argument.substr(first + 1));
    size_t second = head.find(',', first + 1);
    if (second != std::string_view::npos) {
        out.Interval = ArgumentNumber(argument.substr(second + 1));
    }
    return out;
}

void FillBlack(Surface& surface, int x0, int y0, int x1, int y1) {
    x0 = std::clamp(x0, 0, surface.Width());
    x1 = std::clamp(x1, 0, surface.Width());
    y0 = std::clamp(y0, 0, surface.Height());
    y1 = std::clamp(y1, 0, surface.Height());
    if (x0 >= x1) {
        return;
    }
    for (int y = y0; y < y1; ++y) {
        std::memset(surface.Row(y) + static_cast<size_t>(x0) * 3, 0,
                    static_cast<size_t>(x1 - x0) * 3);
    }
}

} // namespace

void Graphics::DrawShifted(int dx, int dy) {
    // Beyond a screen's width or height everything is black anyway.
    dx = std::clamp(dx, -kScreenWidth, kScreenWidth);
    dy = std::clamp(dy, -kScreenHeight, kScreenHeight);
    PrepareWorkSurface();
    WorkSurface.CopyFrom(BackBuffer, kWholeScreen, dx, dy);
    if (dx > 0) {
        FillBlack(WorkSurface, 0, 0, dx, kScreenHeight);
    } else if (dx < 0) {
        FillBlack(WorkSurface, kScreenWidth + dx, 0, kScreenWidth, kScreenHeight);
    }
    if (dy > 0) {
        FillBlack(WorkSurface, 0, 0, kScreenWidth, dy);
    } else if (dy < 0) {
        FillBlack(WorkSurface, 0, kScreenHeight + dy, kScreenWidth, kScreenHeight);
    }
    PresentWhole(WorkSurface);
}

void Graphics::ShakeScreen(std::string_view argument) {
    ShakeArguments shake = ReadShakeArguments(argument);
    BlockingState& blocking = m_engine.blocking;
    ClosableScope closable(blocking);
    blocking.InterruptRequest = 0;
    StartFrameClock();
    // The random shake's eight directions, by rand() & 7.
    static constexpr int kDirections[8][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},
                                              {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};
    for (int64_t d = shake.Amplitude; d > 0; d -= 2 * int64_t{WaitFrames(shake.Interval)}) {
        int offset = static_cast<int>(std::min<int64_t>(d, kScreenWidth));
        // Bit 1 of the amplitude left says which way the screen goes.
        int sign = (d & 2) != 0 ? 1 : -1;
        switch (shake.Type) {
        case 0:
            DrawShifted(0, sign * offset);
            break;
        case 1:
            DrawShifted(sign * offset, 0);
            break;
        case 2: {
            const int* direction = kDirections[m_engine.random.Next() & 7];
            DrawShifted(direction[0] * offset, direction[1] * offset);
            break;
        }
        default:
            // Other types only wait.
            break;
        }
        if (blocking.InterruptRequest == 2) {
            break;
        }
    }
    DrawShifted(0, 0);
}

void Graphics::ShakePicture() {
    BlockingState& blocking = m_engine.blocking;
    ClosableScope closable(blocking);
    blocking.InterruptRequest = 0;
    StartFrameClock();
    for (int counter = 20; counter >= 2; counter -= 2) {
        DrawShifted(0, (counter & 2) != 0 ? 20 : -20);
        WaitFrames(50);
        if (blocking.InterruptRequest == 2) {
            break;
        }
    }
    DrawShifted(0, 0);
}

void Graphics::SepiaEffect() {
    BlockingState& blocking = m_engine.blocking;
    ClosableScope closable(blocking);
    blocking.InterruptRequest = 0;
    // The fade starts from what the screen shows now.
    PreviousSurface.CopyFrom(m_paintBox, kWholeScreen, 0, 0);
    ApplySceneFilter(SceneSurface, static_cast<int32_t>(SceneFilter::Sepia), 16);
    BackBuffer.CopyFrom(SceneSurface, kWholeScreen, 0, 0);
    m_engine.text.PresentWindow();
    SoftFadeIn();
}

} // namespace orv
