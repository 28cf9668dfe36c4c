// bg_anim: a looping background made of pictures (or of the scene doubled at offsets) that
// the main loop cycles while the script goes on, and its end, which either adopts the frame
// on screen as the background or recomposes the scene.
#include "gfx/background_loop.h"

#include "engine/engine.h"
#include "gfx/blend.h"
#include "gfx/effect_fields.h"
#include "gfx/effect_script.h"
#include "script/commands.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace orv {

namespace {

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// The play-once form shows each frame for this many ms per unit of the period.
constexpr int64_t kPlayOnceUnitMs = 30;

bool SameWord(std::string_view field, std::string_view word) {
    return field.size() == word.size() &&
           std::equal(field.begin(), field.end(), word.begin(), [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
           });
}

int SequenceValue(char c, bool digitsOnly) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (!digitsOnly && c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return -1;
}

void ReadOffsetFrames(FieldCursor& fields, LoopArguments& out) {
    out.Period = ArgumentNumber(fields.Next());
    while (!fields.AtEnd()) {
        std::string_view w = fields.Next();
        if (w.empty()) {
            return;
        }
        if (w.front() == '#') {
            out.SequenceText = w.substr(1);
            return;
        }
        if (out.FrameCount == FrameLoop::kMaxFrames) {
            continue; // frames past the table; a sequence may still follow
        }
        OffsetFrame& frame = out.Offsets[static_cast<size_t>(out.FrameCount++)];
        frame.W = ArgumentNumber(w);
        frame.X = ArgumentNumber(fields.Next());
        frame.Y = ArgumentNumber(fields.Next());
    }
}

void ReadPictureNames(FieldCursor& fields, LoopArguments& out) {
    while (!fields.AtEnd()) {
        std::string_view field = fields.Next();
        if (field.empty()) {
            return;
        }
        if (field.front() == '#' || field.front() == '>') {
            out.SequenceText = field.substr(1);
            out.PlayOnce = field.front() == '>';
        } else if (out.FrameCount < FrameLoop::kMaxFrames) {
            out.Names[static_cast<size_t>(out.FrameCount++)] = field;
        }
    }
}

// A picture is fitted to the frame: a frame stays 800 x 600 whatever the archive holds.
void LoadFrame(Pictures& pictures, std::string_view name, Surface& scratch, Surface& frame) {
    if (!pictures.LoadPicture(name, scratch)) {
        return; // a name that no archive holds keeps the frame as it was
    }
    if (scratch.Width() == kScreenWidth && scratch.Height() == kScreenHeight) {
        // The picture is the frame: the buffers change hands rather than pixels, and the
        // frame's old buffer takes the next picture.
        std::swap(scratch, frame);
        return;
    }
    frame.Fill(0);
    frame.CopyFrom(scratch, Rect{0, 0, scratch.Width(), scratch.Height()}, 0, 0);
}

} // namespace

// ---- The frame table.

FrameLoop::Frame& FrameLoop::Prepare(int index, int windowWidth, int windowHeight) {
    auto& slot = m_frames[static_cast<size_t>(index)];
    if (!slot) {
        slot = std::make_unique<Frame>();
        slot->Picture.Allocate(kScreenWidth, kScreenHeight);
        slot->WindowArea.Allocate(windowWidth, windowHeight);
        slot->WindowPicture.Allocate(windowWidth, windowHeight);
        m_created = std::max(m_created, index + 1);
    }
    return *slot;
}

FrameLoop::Frame& FrameLoop::Current() {
    int position = std::clamp(Index, 0, std::max(Count - 1, 0));
    return At(Sequence[static_cast<size_t>(position)]);
}

void FrameLoop::Start(int32_t count) {
    Count = count;
    Index = 0;
    Active = count > 0;
}

void FrameLoop::Stop() {
    Active = false;
    Count = 0;
}

void FrameLoop::Release() {
    Stop();
    FramesInUse = 0;
    for (auto& frame : m_frames) {
        frame.reset();
    }
    m_created = 0;
}

// ---- Reading the argument.

LoopArguments ReadLoopArguments(std::string_view argument) {
    LoopArguments out;
    FieldCursor fields(argument);
    std::string_view first = fields.Next();
    if (SameWord(first, "END")) {
        out.Form = LoopForm::End;
    } else if (SameWord(first, "RELEASE")) {
        out.Form = LoopForm::Release;
    } else if (SameWord(first, "OFS")) {
        out.Form = LoopForm::Offset;
        ReadOffsetFrames(fields, out);
    } else {
        out.Period = ArgumentNumber(first);
        ReadPictureNames(fields, out);
    }
    return out;
}

int32_t ReadSequence(std::string_view text, int32_t frames, bool digitsOnly,
                     std::array<uint8_t, FrameLoop::kMaxSequence>& sequence) {
    int32_t count = 0;
    for (char c : text) {
        int value = SequenceValue(c, digitsOnly);
        if (value < 0 || value >= frames) {
            continue; // names no loaded frame
        }
        if (count == FrameLoop::kMaxSequence) {
            break;
        }
        sequence[static_cast<size_t>(count++)] = static_cast<uint8_t>(value);
    }
    return count;
}

void BlendOffsetRow(uint8_t* frame, const uint8_t* upper, const uint8_t* lower, int x, int w,
                    uint8_t* scratch) {
    int pixels = kScreenWidth - std::abs(x);
    if (pixels <= 0) {
        return;
    }
    if (x >= 0) {
        ConstBlendRow(upper, lower, frame + static_cast<size_t>(x) * 3, w, pixels);
        return;
    }
    int outside = std::min(-x, pixels);
    for (int j = 0; j < outside; ++j) {
        std::memcpy(scratch + static_cast<size_t>(j) * 3, lower, 3);
    }
    std::memcpy(scratch + static_cast<size_t>(outside) * 3, lower,
                static_cast<size_t>(pixels - outside) * 3);
    ConstBlendRow(upper, scratch, frame, w, pixels);
}

// ---- The command.

namespace {

void StoreWindowArea(Engine& e, FrameLoop::Frame& frame) {
    TextPosition origin = e.text.WindowOrigin();
    frame.WindowArea.Fill(0);
    frame.WindowArea.CopyFrom(frame.Picture,
                              Rect{origin.X, origin.Y, frame.WindowArea.Width(),
                                   frame.WindowArea.Height()},
                              0, 0);
}

FrameLoop::Frame& PrepareFrame(Engine& e, int index) {
    const Surface& window = e.text.WindowPicture;
    return e.gfx.Loop.Prepare(index, window.Width(), window.Height());
}

void StartCycling(Engine& e, int32_t length) {
    FrameLoop& loop = e.gfx.Loop;
    if (length == 0) {
        for (int i = 0; i < loop.FramesInUse; ++i) {
            loop.Sequence[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
        }
        length = loop.FramesInUse;
    }
    loop.Start(length);
    e.UpdateMenus();
    e.gfx.PresentFrame();
}

void PlayOnce(Engine& e, int32_t length, int32_t period) {
    Graphics& gfx = e.gfx;
    BlockingState& blocking = e.blocking;
    ClosableScope closable(blocking);
    blocking.InterruptRequest = 0;
    auto ms = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{period} * kPlayOnceUnitMs, 1, std::numeric_limits<int32_t>::max()));
    gfx.StartFrameClock();
    for (int k = 0; k < length && blocking.InterruptRequest != 2; ++k) {
        gfx.PresentWhole(gfx.Loop.At(gfx.Loop.Sequence[static_cast<size_t>(k)]).Picture);
        WaitFramesOrClose(e, ms);
    }
    gfx.Loop.Stop();
    e.text.ForgetWindow();
}

void StartPictureLoop(Engine& e, const LoopArguments& arguments) {
    if (arguments.FrameCount == 0) {
        return;
    }
    FrameLoop& loop = e.gfx.Loop;
    loop.Stop();
    for (int i = 0; i < arguments.FrameCount; ++i) {
        FrameLoop::Frame& frame = PrepareFrame(e, i);
        LoadFrame(e.gfx.PictureLoader(), arguments.Names[static_cast<size_t>(i)], loop.Loaded,
                  frame.Picture);
        StoreWindowArea(e, frame);
    }
    // The frames hold the pictures now; a loop can run for the whole game, and its scratch
    // would hold a screen's worth of memory all the while.
    loop.Loaded = Surface();
    loop.FramesInUse = arguments.FrameCount;
    loop.OffsetMode = false;
    loop.Period = arguments.Period;
    int32_t length = ReadSequence(arguments.SequenceText, arguments.FrameCount, false, loop.Sequence);
    if (arguments.PlayOnce) {
        PlayOnce(e, length, arguments.Period);
        return;
    }
    StartCycling(e, length);
}

void StartOffsetLoop(Engine& e, const LoopArguments& arguments) {
    if (arguments.FrameCount == 0) {
        return;
    }
    Graphics& gfx = e.gfx;
    gfx.Loop.Stop();
    std::array<uint8_t, kScreenWidth * 3> scratch{};
    for (int i = 0; i < arguments.FrameCount; ++i) {
        const OffsetFrame& offset = arguments.Offsets[static_cast<size_t>(i)];
        // Beyond the screen nothing of the second copy is left to show.
        int x = std::clamp(offset.X, -kScreenWidth, kScreenWidth);
        int y = std::clamp(offset.Y, -kScreenHeight, kScreenHeight);
        FrameLoop::Frame& frame = PrepareFrame(e, i);
        BuildOffsetFrame(gfx.SceneSurface, gfx.BackBuffer, x, y, offset.W, frame.Picture,
                         scratch.data());
        StoreWindowArea(e, frame);
    }
    gfx.Loop.FramesInUse = arguments.FrameCount;
    gfx.Loop.OffsetMode = true;
    gfx.Loop.Period = arguments.Period;
    StartCycling(e, ReadSequence(arguments.SequenceText, arguments.FrameCount, true, gfx.Loop.Sequence));
}

void EndLoop(Engine& e) {
    Graphics& gfx = e.gfx;
    FrameLoop& loop = gfx.Loop;
    if (!loop.Active) {
        // Nothing to adopt: the frames may never have been made.
        e.text.RedrawPage();
        e.UpdateMenus();
        return;
    }
    if (loop.OffsetMode) {
        loop.Stop();
        gfx.PictureLoader().LoadBackground(FieldText(gfx.Scene.BackgroundName), gfx.BackgroundSurface);
        gfx.ComposeScene();
    } else {
        FrameLoop::Frame& frame = loop.Current();
        TextPosition origin = e.text.WindowOrigin();
        gfx.BackgroundSurface.CopyFrom(frame.Picture, kWholeScreen, 0, 0);
        gfx.BackgroundSurface.CopyFrom(frame.WindowArea,
                                       Rect{0, 0, frame.WindowArea.Width(), frame.WindowArea.Height()},
                                       origin.X, origin.Y);
        loop.Stop();
        gfx.SceneSurface.CopyFrom(gfx.BackgroundSurface, kWholeScreen, 0, 0);
        // The background is a picture that no name stands for now; a saved game keeps none.
        gfx.Scene.BackgroundName[0] = '\0';
    }
    gfx.PresentFrame();
    gfx.PresentWhole(gfx.BackBuffer);
    e.UpdateMenus();
}

void ReleaseLoop(Engine& e) {
    e.gfx.Loop.Stop();
    if (e.settings.MemorySaveMode) {
        e.gfx.Loop.Release();
    }
    e.text.BuildWindowPicture();
    e.text.RedrawPage();
    e.UpdateMenus();
}

} // namespace

void BuildOffsetFrame(const Surface& scene, const Surface& back, int x, int y, int w,
                      Surface& frame, uint8_t* scratch) {
    frame.CopyFrom(scene, kWholeScreen, 0, 0);
    frame.CopyFrom(scene, kWholeScreen, x, y);
    if (w == 0) {
        return;
    }
    int first = std::max(0, -y);
    int last = std::min(kScreenHeight, kScreenHeight - y);
    for (int r = first; r < last; ++r) {
        BlendOffsetRow(frame.Row(r), back.Row(r), back.Row(r + y), x, w, scratch);
    }
}

void Graphics::BackgroundLoop(std::string_view argument) {
    BusyScope busy(m_engine.blocking);
    LoopArguments arguments = ReadLoopArguments(argument);
    switch (arguments.Form) {
    case LoopForm::End:
        EndLoop(m_engine);
        return;
    case LoopForm::Release:
        ReleaseLoop(m_engine);
        return;
    case LoopForm::Offset:
        StartOffsetLoop(m_engine, arguments);
        return;
    case LoopForm::Pictures:
        StartPictureLoop(m_engine, arguments);
        return;
    }
}

void Graphics::StopBackgroundLoop() {
    Loop.Stop();
}

// ---- What the rest of the engine does while the loop runs.

void Graphics::ShowLoopFrame() {
    if (!Loop.Active) {
        return;
    }
    FrameLoop::Frame& frame = Loop.Current();
    switch (m_engine.screens.Mode()) {
    case screen_mode::Game:
        PresentWhole(frame.Picture);
        break;
    case screen_mode::WindowHidden: {
        // Put together on WorkSurface: BackBuffer keeps the screen with the window, which
        // comes back when the window does.
        TextPosition origin = m_engine.text.WindowOrigin();
        WorkSurface.CopyFrom(frame.Picture, kWholeScreen, 0, 0);
        WorkSurface.CopyFrom(frame.WindowArea,
                             Rect{0, 0, frame.WindowArea.Width(), frame.WindowArea.Height()},
                             origin.X, origin.Y);
        PresentWhole(WorkSurface);
        break;
    }
    default:
        break;
    }
}

void Graphics::RefreshLoopFrames() {
    TextPosition origin = m_engine.text.WindowOrigin();
    Loop.ForEachFrame([&](FrameLoop::Frame& frame) {
        frame.Picture.CopyFrom(frame.WindowArea,
                               Rect{0, 0, frame.WindowArea.Width(), frame.WindowArea.Height()},
                               origin.X, origin.Y);
    });
    BackBuffer.CopyFrom(Loop.Current().Picture, kWholeScreen, 0, 0);
}

} // namespace orv
