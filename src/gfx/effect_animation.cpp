// `efxanim`: a numbered series of pictures, each its colours on the left and its mask on the
// right, blended over the screen one after the other on the frame clock.
#include "engine/engine.h"
#include "gfx/blend.h"
#include "gfx/effect_fields.h"
#include "gfx/effect_script.h"
#include "script/commands.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace orv {

namespace {

constexpr int kMaxNumbers = 100;

} // namespace

EffectAnimationArguments ReadEffectAnimationArguments(std::string_view argument) {
    EffectAnimationArguments out;
    FieldCursor fields(argument);
    out.Name = fields.Next();
    std::string_view interval = fields.Next();
    if (!interval.empty()) {
        out.Interval = ArgumentNumber(interval);
    }
    while (!fields.AtEnd() && out.Count < kMaxNumbers) {
        std::string_view number = fields.Next();
        if (number.empty()) {
            break;
        }
        out.Numbers[static_cast<size_t>(out.Count++)] = ArgumentNumber(number);
    }
    if (out.Count == 0) {
        for (int k = 0; k < kMaxNumbers; ++k) {
            out.Numbers[static_cast<size_t>(k)] = k;
        }
        out.Count = kMaxNumbers;
    }
    return out;
}

void Graphics::PlayEffectAnimation(std::string_view argument) {
    EffectAnimationArguments arguments = ReadEffectAnimationArguments(argument);
    BlockingState& blocking = m_engine.blocking;
    ClosableScope closable(blocking);
    blocking.InterruptRequest = 0;
    PrepareWorkSurface();
    StartFrameClock();
    // The frame number advances by the frames of the interval that passed: a slow machine
    // skips pictures instead of slowing down.
    int64_t k = 0;
    while (k < arguments.Count && blocking.InterruptRequest != 2) {
        std::array<char, 160> name{};
        std::snprintf(name.data(), name.size(), "%.*s_%03d",
                      static_cast<int>(std::min<size_t>(arguments.Name.size(), 128)),
                      arguments.Name.data(), arguments.Numbers[static_cast<size_t>(k)]);
        // Loaded apart from the screen surfaces, at whatever size the archive holds.
        if (!m_pictures.LoadPicture(name.data(), m_loaded)) {
            break;
        }
        WorkSurface.CopyFrom(BackBuffer, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        // Colours in the left 800 columns, the mask in the 800 after them; where the picture
        // holds no mask the screen shows through.
        int pixels = std::clamp(m_loaded.Width() - kScreenWidth, 0, kScreenWidth);
        int rows = std::min(m_loaded.Height(), kScreenHeight);
        for (int y = 0; pixels > 0 && y < rows; ++y) {
            uint8_t* work = WorkSurface.Row(y);
            const uint8_t* picture = m_loaded.Row(y);
            MaskBlendRowTail(work, picture, work, picture + static_cast<size_t>(kScreenWidth) * 3,
                             pixels);
        }
        PresentWhole(WorkSurface);
        k += WaitFramesOrClose(m_engine, arguments.Interval);
    }
    PresentWhole(BackBuffer);
}

} // namespace orv
