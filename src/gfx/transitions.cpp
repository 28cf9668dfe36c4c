// RunTransition and the fades other subsystems use: the loops that pace the pattern steps of
// transition_patterns.cpp on the frame clock, skip frames on a slow machine, and stop at a
// click or a close request.
#include "gfx/transitions.h"

#include "engine/engine.h"
#include "gfx/blend.h"
#include "gfx/blend_kernels.h"

#include <algorithm>

namespace orv {

namespace {

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

class PaintBoxTarget final : public PaintTarget {
public:
    explicit PaintBoxTarget(Graphics& gfx) : m_gfx(gfx) {}
    void Present(const Surface& source, Rect from, int x, int y) override {
        m_gfx.Present(source, from, x, y);
    }
    Surface* Canvas() override { return &m_gfx.PaintBoxCanvas(); }

private:
    Graphics& m_gfx;
};

// The cross-fades (1 to 3) and the stepped fade (17) end at a click without telling S019.
bool ReportsCutShort(int32_t n) {
    return n > 3 && n != 17;
}

// Runs the steps of one pattern and tells whether a request cut them short.
class Pacer {
public:
    Pacer(Graphics& gfx, Engine& engine) : m_gfx(gfx), m_engine(engine) {}

    bool Cut() const { return m_engine.blocking.InterruptRequest != 0; }

    // Steps 0..count-1, each lasting at least `ms` from its start; none is skipped.
    template <typename Step>
    bool Paced(int64_t count, int32_t ms, Step step) {
        for (int64_t k = 0; k < count; ++k) {
            uint32_t start = m_engine.Host().GetTickCount();
            step(static_cast<int>(k));
            if (Cut()) {
                return true;
            }
            m_gfx.WaitUntilTick(start + static_cast<uint32_t>(std::max(ms, 0)));
        }
        return false;
    }

    // Positions from `from` while below `limit`, advancing by `by` for every frame of
    // `interval` ms that passed: a slow machine skips positions instead of slowing down.
    template <typename Step>
    bool Rising(int64_t from, int64_t by, int64_t limit, int32_t interval, Step step) {
        for (int64_t v = from; v < limit; v += by * m_gfx.WaitFrames(interval)) {
            step(static_cast<int>(v));
            if (Cut()) {
                return true;
            }
        }
        return false;
    }

    // Rising for steps that each draw a whole frame from nothing but their position (the
    // cross-fades): with nobody watching, only the last position reached is drawn.
    template <typename Step>
    bool RisingFade(int64_t from, int64_t by, int64_t limit, int32_t interval, Step step) {
        if (m_gfx.FramesWatched) {
            return Rising(from, by, limit, interval, step);
        }
        int64_t last = from;
        bool cut = false;
        for (int64_t v = from; v < limit; v += by * m_gfx.WaitFrames(interval)) {
            last = v;
            if (Cut()) {
                cut = true;
                break;
            }
        }
        step(static_cast<int>(last));
        return cut;
    }

    // Positions from `from` down while not below 0.
    template <typename Step>
    bool Falling(int64_t from, int64_t by, int32_t interval, Step step) {
        for (int64_t v = from; v >= 0; v -= by * m_gfx.WaitFrames(interval)) {
            step(static_cast<int>(v));
            if (Cut()) {
                return true;
            }
        }
        return false;
    }

private:
    Graphics& m_gfx;
    Engine& m_engine;
};

} // namespace

void Graphics::PrepareWorkSurface() {
    // partsload may have left its second sheet there at another size.
    WorkSurface.SetSize(kScreenWidth, kScreenHeight);
}

void Graphics::RunTransition(int32_t n) {
    VariableStore& vars = m_engine.vars;
    BlockingState& blocking = m_engine.blocking;
    InterruptibleScope interruptible(blocking);
    blocking.InterruptRequest = 0;
    vars.S(cell::CutShort) = 0;
    if (n < 0) {
        n = 1;
    }
    // Fast graphics, and skip mode (Ctrl held), show every new screen at once.
    if (m_engine.settings.GMode || m_engine.SkipActive != 0) {
        n = 4;
    }
    PrepareWorkSurface();
    if (n >= kTimedTransitionMs) {
        TimedTransition(n);
    } else {
        StartFrameClock();
        SpeedRow speed = SpeedTable(vars.S(cell::TransitionDuration));
        if (n >= 1 && n <= kLastPattern) {
            bool cut = RunPattern(n, speed);
            // Cut short or not, and whatever skipped frames left out, the pattern ends at
            // the new screen.
            PresentWhole(BackBuffer);
            if (cut && ReportsCutShort(n)) {
                vars.S(cell::CutShort) = 1;
            }
        }
    }
    // A speed setting lasts for one transition.
    vars.S(cell::TransitionDuration) = 0;
    if (vars.S(cell::NovelMode) != 0) {
        PreviousSurface.CopyFrom(BackBuffer, kWholeScreen, 0, 0);
    }
}

void Graphics::TimedTransition(int32_t ms) {
    // The longer the fade, the smaller its step, so that long fades stay smooth.
    struct Form {
        int32_t From, Step, Divisor;
    };
    static constexpr Form kForms[] = {{6400, 1, 256}, {3200, 2, 128}, {1600, 4, 64}, {800, 8, 32}};
    for (const Form& form : kForms) {
        if (ms >= form.From) {
            TimedCrossFade(form.Step, ms / form.Divisor);
            return;
        }
    }
    TimedCrossFade(16, ms / 16);
}

bool Graphics::RunPattern(int32_t n, const SpeedRow& speed) {
    PaintBoxTarget paint(*this);
    TransitionSurfaces s{PreviousSurface, BackBuffer, WorkSurface, paint, *m_transitionScratch};
    Pacer pacer(*this, m_engine);
    const int32_t f = speed.FrameMs;
    auto crossFade = [&](int w) { pattern::CrossFadeStep(s, w); };
    switch (n) {
    case 1:
        return pacer.RisingFade(0, 16, 257, 10, crossFade);
    case 2:
        return pacer.RisingFade(0, 8, 257, 15, crossFade);
    case 3:
        return pacer.RisingFade(0, speed.Step, 257, speed.Interval, crossFade);
    case 4:
        return pacer.Cut();
    case 5: {
        // Bright parts of the mask change first, black parts last.
        const int32_t step = speed.Step;
        auto darker = [&](int v) { pattern::MaskWipeStep(s, WipeMaskSurface, v, false); };
        auto brighter = [&](int v) { pattern::MaskWipeStep(s, WipeMaskSurface, v, true); };
        for (int64_t v = 256 - step; v > 0; v -= step * WaitFrames(speed.Interval)) {
            darker(static_cast<int>(v));
            if (pacer.Cut()) {
                return true;
            }
        }
        return pacer.Rising(0, step, 256, speed.Interval, brighter);
    }
    case 6:
        return pacer.Paced(pattern::kBlindsSteps, f, [&](int t) { pattern::BlindsStep(s, t); });
    case 7: {
        pattern::IrisBegin(s);
        // The iris grows around the middle, yet how far it grows comes from S020 and S021,
        // the overlay's cells: with their start values 250 and 550 it reaches radius 750.
        int64_t limit = pattern::IrisLimit(m_engine.vars.S(cell::OverlayPlacement),
                                           m_engine.vars.S(cell::OverlayX));
        // Radii 5, 15, 25, ... while below the limit.
        int64_t steps = limit > 5 ? (limit - 5 + 9) / 10 : 0;
        return pacer.Paced(steps, f, [&](int k) { pattern::IrisStep(s, 5 + 10 * int64_t{k}); });
    }
    case 8:
        pattern::TilesBegin(s, m_engine.random);
        return pacer.Rising(0, 1, pattern::kTilesSteps, f,
                            [&](int t) { pattern::TilesStep(s, t); });
    case 9:
        return pacer.Paced(pattern::kRowsSteps, f / 2, [&](int k) { pattern::RowsStep(s, k); });
    case 10:
        return pacer.Paced(pattern::kColumnsSteps, f / 3,
                           [&](int k) { pattern::ColumnsStep(s, k); });
    case 11:
        return pacer.Paced(pattern::kSquaresSteps, f, [&](int t) { pattern::SquaresStep(s, t); });
    case 12: {
        const auto& blocks = pattern::kMosaicBlocks;
        auto size = [&](int k) { return blocks[static_cast<size_t>(k)]; };
        return pacer.Rising(0, 1, static_cast<int64_t>(blocks.size()), 3 * f, [&](int k) {
            DrawMosaic(PreviousSurface, size(k), WorkSurface, paint);
        }) || pacer.Falling(static_cast<int64_t>(blocks.size()) - 1, 1, 3 * f, [&](int k) {
            DrawMosaic(BackBuffer, size(k), WorkSurface, paint);
        });
    }
    case 13:
        pattern::SoftWipeBegin(s);
        return pacer.Rising(pattern::kSoftWipeStart, 8, kScreenWidth, f,
                            [&](int v) { pattern::SoftWipeStep(s, v); });
    case 14:
        pattern::LinePiecesBegin(s, m_engine.random);
        for (int k = 0; k < pattern::kLinePiecesSteps; ++k) {
            pattern::LinePiecesStep(s, k);
            if (pacer.Cut()) {
                return true;
            }
            m_engine.Host().Sleep(static_cast<uint32_t>(std::max(f, 0)));
            m_engine.Host().PumpMessages();
        }
        return false;
    case 15: {
        int64_t steps = (pattern::kBandEnd - pattern::kBandStart + 7) / 8;
        return pacer.Paced(steps, f,
                           [&](int k) { pattern::BandStep(s, pattern::kBandStart + 8 * k); });
    }
    case 16: {
        // Old is shown on every odd step, which then waits for the pair's frame time.
        uint32_t start = 0;
        for (int t = 0; t < pattern::kSlatsSteps; ++t) {
            if (t % 2 == 0) {
                start = m_engine.Host().GetTickCount();
            }
            pattern::SlatsStep(s, t);
            if (pacer.Cut()) {
                return true;
            }
            if (t % 2 == 1) {
                WaitUntilTick(start + static_cast<uint32_t>(f));
            }
        }
        return false;
    }
    case 17: {
        int32_t requested = m_engine.vars.S(cell::TransitionDuration);
        int stages = requested >= 1 && requested <= kMaxMeanStages ? requested : 16;
        pattern::SteppedFadeBegin(s);
        for (int stage = 1; stage <= stages; ++stage) {
            pattern::SteppedFadeStage(s, stage, stages);
            if (pacer.Paced(4, 2 * f, [&](int q) { pattern::SteppedFadeQuarter(s, q); })) {
                return true;
            }
        }
        return false;
    }
    case 18:
        return pacer.Rising(32, 32, 401, 2 * f, [&](int v) { pattern::SplitSlideStep(s, v); });
    case 19:
        return pacer.Rising(0, 20, kScreenWidth, f, [&](int v) { pattern::PushRightStep(s, v); });
    case 20:
        return pacer.Rising(8, 8, 256, f, [&](int w) { pattern::ZoomFadeStep(s, w); });
    case 21:
        return pacer.Rising(8, 8, 256, f,
                            [&](int w) { pattern::SlideFadeStep(s, w, -w, 256 - w); });
    case 22:
        // 245, not 256: past w = 245 the new picture lies right of its place until the end.
        return pacer.Rising(8, 8, 256, f, [&](int w) { pattern::SlideFadeStep(s, w, w, w - 245); });
    default:
        return false;
    }
}

void Graphics::TimedCrossFade(int32_t step, int32_t interval) {
    StartFrameClock();
    BlockingState& blocking = m_engine.blocking;
    {
        InterruptibleScope interruptible(blocking);
        blocking.InterruptRequest = 0;
        PrepareWorkSurface();
        PaintBoxTarget paint(*this);
        TransitionSurfaces s{PreviousSurface, BackBuffer, WorkSurface, paint, *m_transitionScratch};
        Pacer(*this, m_engine).RisingFade(0, std::max(step, 1), 257, interval, [&](int w) {
            pattern::CrossFadeStep(s, w);
        });
    }
    PresentWhole(BackBuffer);
}

void Graphics::FadeKind(int32_t kind) {
    switch (kind) {
    case 1:
        TimedCrossFade(24, 40);
        break;
    case 3:
        TimedCrossFade(5, 50);
        break;
    case 4:
        TimedCrossFade(2, 50);
        break;
    default:
        TimedCrossFade(12, 40);
        break;
    }
}

void Graphics::SoftFadeIn() {
    StartFrameClock();
    constexpr int kGroups = kScreenWidth * 3 / 8;
    for (int64_t a = 48; a < 256; a += 8 * WaitFrames(20)) {
        // Drawn on PB's own surface: presenting it copies nothing.
        for (int y = 0; y < kScreenHeight; ++y) {
            BlendRow(PreviousSurface.Row(y), BackBuffer.Row(y), m_paintBox.Row(y), kGroups,
                     static_cast<int>(a));
        }
        PresentWhole(m_paintBox);
        // No click ends this fade; closing the window does.
        if (m_engine.blocking.InterruptRequest == 2) {
            break;
        }
    }
    PresentWhole(BackBuffer);
}

void Graphics::Mosaic(const Surface& source, int block) {
    PrepareWorkSurface();
    PaintBoxTarget paint(*this);
    DrawMosaic(source, block, WorkSurface, paint);
}

} // namespace orv
