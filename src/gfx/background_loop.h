#pragma once
// The background loop of bg_anim: up to 32 full-screen frames that the main loop keeps
// cycling while the script goes on, and the reading of the command's argument.
//
// Each frame keeps three surfaces, created on first use and kept for the run (unless the
// memory-saving setting releases them): the frame itself, which receives the message window
// and every glyph as BackBuffer does; the frame's window area as it was before any window
// was drawn on it; and the window picture blended over that area.

#include "gfx/surface.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

namespace orv {

class FrameLoop {
public:
    static constexpr int kMaxFrames = 32;
    static constexpr int kMaxSequence = 128;

    struct Frame {
        Surface Picture;       // 800 x 600
        Surface WindowArea;    // the window's place on the frame, without the window
        Surface WindowPicture; // the window frame blended over WindowArea
    };

    // The loop is running: the main loop advances Index every Period passes.
    bool Active = false;
    // Entries of Sequence in use while the loop runs (the main loop wraps Index at it).
    int32_t Count = 0;
    int32_t Period = 1;
    // The current position in Sequence.
    int32_t Index = 0;
    // Started by the OFS form: END then recomposes the scene instead of adopting a frame.
    bool OffsetMode = false;
    // Frames filled by the command that started the loop; every Sequence entry is below it.
    int32_t FramesInUse = 0;
    std::array<uint8_t, kMaxSequence> Sequence{};
    // A picture as the archive holds it, before it is fitted to a frame.
    Surface Loaded;

    // Frame i with its surfaces, created at the first use (the window surfaces at the
    // window's size).
    Frame& Prepare(int index, int windowWidth, int windowHeight);
    // The frame at the current position of the sequence; the loop must be running.
    Frame& Current();
    Frame& At(int index) { return *m_frames[static_cast<size_t>(index)]; }
    int32_t FramesCreated() const { return m_created; }

    // Starts cycling `count` entries of Sequence.
    void Start(int32_t count);
    void Stop();
    // Stops and gives the surfaces back; they are created again when needed.
    void Release();

    // Calls `draw(frame)` for every frame of the running loop.
    template <typename Draw>
    void ForEachFrame(Draw&& draw) {
        if (!Active) {
            return;
        }
        for (int i = 0; i < FramesInUse; ++i) {
            draw(*m_frames[static_cast<size_t>(i)]);
        }
    }

private:
    std::array<std::unique_ptr<Frame>, kMaxFrames> m_frames;
    int32_t m_created = 0;
};

// The forms of the bg_anim argument.
enum class LoopForm : uint8_t { End, Release, Offset, Pictures };

// One frame of the OFS form: the scene doubled at (X, Y), blended with weight W.
struct OffsetFrame {
    int32_t W = 0;
    int32_t X = 0;
    int32_t Y = 0;
};

// The argument of bg_anim, read without touching any surface. Texts point into the argument.
struct LoopArguments {
    LoopForm Form = LoopForm::Pictures;
    int32_t Period = 0;
    int32_t FrameCount = 0; // names or offset frames
    std::array<std::string_view, FrameLoop::kMaxFrames> Names{};
    std::array<OffsetFrame, FrameLoop::kMaxFrames> Offsets{};
    // The text of the sequence field after its '#' or '>' (empty: none was given).
    std::string_view SequenceText;
    bool PlayOnce = false;
};

LoopArguments ReadLoopArguments(std::string_view argument);

// The frame numbers of a sequence field: '0'..'9' and, unless `digitsOnly`, 'A'..'Z' for 10
// to 35. A character naming no frame below `frames` is dropped; at most kMaxSequence entries
// are kept. Returns how many were written.
int32_t ReadSequence(std::string_view text, int32_t frames, bool digitsOnly,
                     std::array<uint8_t, FrameLoop::kMaxSequence>& sequence);

// Frame pixels of the OFS form for one row r: `frame` receives, over 800 - |x| pixels, the
// blend with weight `w` of `upper` (BackBuffer row r) and `lower` (BackBuffer row r + y);
// for x >= 0 it starts x pixels in, for x < 0 the second source starts -x pixels left of its
// row, where its first pixel stands in for what lies outside. `scratch` holds a screen row.
void BlendOffsetRow(uint8_t* frame, const uint8_t* upper, const uint8_t* lower, int x, int w,
                    uint8_t* scratch);

// A frame of the OFS form: `scene` with itself copied over at (x, y) and, when w is not 0,
// every row r with 0 <= r + y < 600 blended from rows r and r + y of `back` (BlendOffsetRow).
// x and y must lie within the screen's width and height.
void BuildOffsetFrame(const Surface& scene, const Surface& back, int x, int y, int w,
                      Surface& frame, uint8_t* scratch);

} // namespace orv
