// `effect`: the named step lists of the "effect" resource, played on the frame clock. A close
// request ends an effect at the step it reached; a click does not.
#include "gfx/effect_script.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/blend.h"
#include "gfx/effect_fields.h"
#include "gfx/pictures.h"
#include "script/commands.h"

#include <algorithm>

namespace orv {

namespace {

// Each line kind is bounded by its own count of pairs or durations.
constexpr int kMaxFlashPairs = 100;
constexpr int kMaxNegativeSteps = 99;
constexpr int kMaxShakePairs = 99;

// The longest sleep of a long step between two looks at the messages.
constexpr uint32_t kPumpSliceMs = 50;

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

EffectStep FlashStep(std::string_view item, int32_t ms) {
    EffectStep step;
    step.Ms = ms;
    switch (item.size()) {
    case 1:
        step.Kind = EffectKind::Normal;
        break;
    case 4:
        step.Kind = EffectKind::Fill;
        step.A = static_cast<int32_t>(SolidColour(item));
        break;
    case 5:
        step.Kind = EffectKind::Tint;
        step.A = static_cast<int32_t>(SolidColour(item));
        step.B = ColourDigit(item[4]);
        break;
    default:
        // An item of another length only waits.
        break;
    }
    return step;
}

void ReadFlashes(FieldCursor& fields, EffectSteps& steps) {
    for (int pair = 0; pair < kMaxFlashPairs; ++pair) {
        std::string_view item = fields.Next();
        if (item.empty() || Upper(item.front()) != 'F') {
            return;
        }
        if (!steps.Add(FlashStep(item, ArgumentNumber(fields.Next())))) {
            return;
        }
    }
}

void ReadNegatives(FieldCursor& fields, EffectSteps& steps) {
    fields.Next(); // the N
    for (int k = 0; k < kMaxNegativeSteps; ++k) {
        std::string_view ms = fields.Next();
        if (ms.empty()) {
            return;
        }
        // The first, third, ... duration is the negative, the ones between the picture.
        EffectKind kind = k % 2 == 0 ? EffectKind::Negative : EffectKind::Normal;
        if (!steps.Add(EffectStep{kind, 0, 0, ArgumentNumber(ms)})) {
            return;
        }
    }
}

void ReadShakes(FieldCursor& fields, EffectSteps& steps) {
    fields.Next(); // the S
    int32_t ms = ArgumentNumber(fields.Next());
    for (int pair = 0; pair < kMaxShakePairs; ++pair) {
        std::string_view x = fields.Next();
        std::string_view y = fields.Next();
        if (x.empty() || y.empty()) {
            return;
        }
        if (!steps.Add(EffectStep{EffectKind::MoveWindow, ArgumentNumber(x), ArgumentNumber(y), ms})) {
            return;
        }
    }
}

// Every byte of `source` inverted into `target`.
void Invert(const Surface& source, Surface& target) {
    int rows = std::min(source.Height(), target.Height());
    int bytes = std::min(source.RowBytes(), target.RowBytes());
    for (int y = 0; y < rows; ++y) {
        const uint8_t* in = source.Row(y);
        uint8_t* out = target.Row(y);
        for (int i = 0; i < bytes; ++i) {
            out[i] = static_cast<uint8_t>(~in[i]);
        }
    }
}

} // namespace

int32_t WaitFramesOrClose(Engine& engine, int32_t interval) {
    Graphics& gfx = engine.gfx;
    if (interval <= static_cast<int32_t>(kPumpSliceMs)) {
        return gfx.WaitFrames(interval);
    }
    Platform& host = engine.Host();
    auto step = static_cast<uint32_t>(interval);
    while (true) {
        host.PumpMessages();
        uint32_t elapsed = host.TimeGetTime() - gfx.FrameClock;
        if (engine.blocking.InterruptRequest == 2) {
            return 1;
        }
        if (elapsed >= step) {
            uint32_t frames = elapsed / step;
            gfx.FrameClock += frames * step;
            return static_cast<int32_t>(frames);
        }
        host.Sleep(std::min(step - elapsed, kPumpSliceMs));
    }
}

void ReadEffectLine(std::string_view line, EffectSteps& steps) {
    if (line.empty()) {
        return;
    }
    FieldCursor fields(line);
    switch (Upper(line.front())) {
    case 'F':
        ReadFlashes(fields, steps);
        break;
    case 'N':
        ReadNegatives(fields, steps);
        break;
    case 'S':
        ReadShakes(fields, steps);
        break;
    default:
        break;
    }
}

bool ReadEffectDefinition(std::string_view resource, std::string_view name, EffectSteps& steps) {
    std::string label = ":" + cp932::UpperCase(name);
    bool inside = false;
    size_t pos = 0;
    while (pos < resource.size()) {
        size_t end = std::min(resource.find('\0', pos), resource.size());
        std::string_view line = resource.substr(pos, end - pos);
        pos = end + 1;
        if (inside) {
            if (!line.empty() && line.front() == ':') {
                break;
            }
            ReadEffectLine(line, steps);
        } else if (line.size() == label.size() && line.front() == ':' &&
                   cp932::UpperCase(line) == label) {
            inside = true;
        }
    }
    return inside;
}

void Graphics::RunEffect(std::string_view name) {
    ScriptState& script = m_engine.script;
    if (!script.LoadScript("effect", ScriptTarget::Definition)) {
        return;
    }
    EffectSteps steps;
    if (!ReadEffectDefinition(script.DefinitionText(), name, steps)) {
        return;
    }
    BlockingState& blocking = m_engine.blocking;
    ClosableScope closable(blocking);
    blocking.InterruptRequest = 0;
    Platform& host = m_engine.Host();
    // Where the window cannot be moved (full screen, Wayland) the picture moves inside PB.
    bool movesWindow = m_engine.FullScreenActive == 0 && host.CanMoveWindow();
    Rect home = movesWindow ? host.WindowBounds() : Rect{};
    PrepareWorkSurface();
    if (PreviousSurface.Width() != kScreenWidth || PreviousSurface.Height() != kScreenHeight) {
        PreviousSurface.Allocate(kScreenWidth, kScreenHeight);
    }
    bool negativeReady = false;
    StartFrameClock();
    for (int i = 0; i < steps.Count; ++i) {
        const EffectStep& step = steps.Steps[static_cast<size_t>(i)];
        switch (step.Kind) {
        case EffectKind::MoveWindow: {
            // A move past the screen's size shows nothing more of the shake.
            int dx = std::clamp(step.A, -kScreenWidth, kScreenWidth);
            int dy = std::clamp(step.B, -kScreenHeight, kScreenHeight);
            if (movesWindow) {
                host.SetWindowBounds(Rect{home.X + dx, home.Y + dy, home.Width, home.Height});
            } else {
                DrawShifted(dx, dy);
                negativeReady = false; // the shift went through WorkSurface
            }
            break;
        }
        case EffectKind::Normal:
            PresentWhole(BackBuffer);
            break;
        case EffectKind::Fill:
            FillPaintBox(static_cast<uint32_t>(step.A));
            break;
        case EffectKind::Tint:
            PreviousSurface.Fill(static_cast<uint32_t>(step.A));
            CrossFadeFull(PreviousSurface, BackBuffer, step.B, WorkSurface);
            PresentWhole(WorkSurface);
            negativeReady = false;
            break;
        case EffectKind::Negative:
            if (!negativeReady) {
                Invert(BackBuffer, WorkSurface);
                negativeReady = true;
            }
            PresentWhole(WorkSurface);
            break;
        case EffectKind::None:
            break;
        }
        WaitFramesOrClose(m_engine, step.Ms);
        if (blocking.InterruptRequest == 2) {
            break;
        }
    }
    PresentWhole(BackBuffer);
    if (movesWindow) {
        host.SetWindowBounds(home);
    }
}

} // namespace orv
