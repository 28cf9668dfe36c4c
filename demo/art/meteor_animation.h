#pragma once
// The demo's animation: a meteor crossing a strip of the night sky over the hill, stored as
// an entry of ov_anim.orv with every kind of frame a game uses: key frames, partial frames
// that redraw only the streak's surroundings, and a catch-up marker after a key frame.

#include "base/files.h"
#include "gfx/animation_entry.h"
#include "gfx/jpeg_encoder.h"
#include "gfx/surface.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

// Where the strip lies on the screen (the script's `anim METEOR,440,40,1`) and its size.
constexpr int kMeteorX = 440;
constexpr int kMeteorY = 40;
constexpr int kMeteorWidth = 320;
constexpr int kMeteorHeight = 160;
constexpr int kMeteorFrameMs = 80;

// The streak's head at step i of 9, running down and to the left.
inline std::pair<float, float> MeteorHead(int i) {
    return {300.0f - 30.0f * static_cast<float>(i), 14.0f + 14.0f * static_cast<float>(i)};
}
constexpr float kTailX = 60, kTailY = -28; // from the head to the end of the tail

// A white streak fading towards its tail, brightened into `frame`.
inline void DrawStreak(orv::Surface& frame, float hx, float hy) {
    constexpr int kSteps = 200;
    for (int s = 0; s <= kSteps; ++s) {
        float t = static_cast<float>(s) / kSteps;
        float light = (1.0f - t) * (1.0f - t);
        for (int w = -1; w <= 1; ++w) {
            int x = static_cast<int>(std::lround(hx + kTailX * t));
            int y = static_cast<int>(std::lround(hy + kTailY * t)) + w;
            if (!frame.Contains(x, y)) {
                continue;
            }
            float a = w == 0 ? light : light * 0.4f;
            uint32_t old = frame.Pixel(x, y), mixed = 0;
            for (int shift : {0, 8, 16}) {
                float c = static_cast<float>(old >> shift & 0xFF);
                mixed |= static_cast<uint32_t>(std::lround(c + (255 - c) * a)) << shift;
            }
            frame.SetPixel(x, y, mixed);
        }
    }
}

// The part of `frame` around the streaks of steps i - 1 and i: what a partial frame redraws.
inline orv::Rect StreakBox(int i) {
    auto [ax, ay] = MeteorHead(i - 1);
    auto [bx, by] = MeteorHead(i);
    int left = static_cast<int>(std::min(ax, bx)) - 4;
    int top = static_cast<int>(std::min(ay, by) + kTailY) - 4;
    int right = static_cast<int>(std::max(ax, bx) + kTailX) + 4;
    int bottom = static_cast<int>(std::max(ay, by)) + 4;
    left = std::clamp(left, 0, kMeteorWidth);
    top = std::clamp(top, 0, kMeteorHeight);
    right = std::clamp(right, left, kMeteorWidth);
    bottom = std::clamp(bottom, top, kMeteorHeight);
    return orv::Rect{left, top, right - left, bottom - top};
}

// Writes the entry METEOR (as the file `dir`/METEOR) over the strip of `sky`; an error text
// or nothing.
inline std::string WriteMeteorAnimation(const orv::Surface& sky, const std::filesystem::path& dir) {
    orv::Surface strip(kMeteorWidth, kMeteorHeight);
    strip.CopyFrom(sky, orv::Rect{kMeteorX, kMeteorY, kMeteorWidth, kMeteorHeight}, 0, 0);
    auto step = [&](int i) {
        orv::Surface frame(kMeteorWidth, kMeteorHeight);
        frame.CopyFrom(strip, orv::Rect{0, 0, kMeteorWidth, kMeteorHeight}, 0, 0);
        auto [hx, hy] = MeteorHead(i);
        DrawStreak(frame, hx, hy);
        return frame;
    };
    auto partial = [&](int i) {
        orv::Surface frame = step(i);
        orv::Rect box = StreakBox(i);
        orv::Surface part(box.Width, box.Height);
        part.CopyFrom(frame, box, 0, 0);
        return orv::AnimationFrameInput{orv::anim_frame::Partial, static_cast<int16_t>(box.X),
                                        static_cast<int16_t>(box.Y),
                                        orv::EncodeJpegPicture(part, 90)};
    };
    std::vector<orv::AnimationFrameInput> frames;
    frames.push_back({orv::anim_frame::Key, 0, 0, orv::EncodeJpegPicture(step(0), 90)});
    for (int i = 1; i <= 4; ++i) {
        frames.push_back(partial(i));
    }
    frames.push_back({orv::anim_frame::Key, 0, 0, orv::EncodeJpegPicture(step(5), 90)});
    // A player late at the marker redraws the key frame before it from this copy.
    frames.push_back({orv::anim_frame::CatchUp, 0, 0, frames.back().Data});
    for (int i = 6; i <= 9; ++i) {
        frames.push_back(partial(i));
    }
    // The last frame stays on the screen: the sky as the background has it.
    frames.push_back({orv::anim_frame::Key, 0, 0, orv::EncodeJpegPicture(strip, 95)});
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    orv::Bytes entry =
        orv::BuildAnimationEntry(kMeteorFrameMs, kMeteorWidth, kMeteorHeight, frames);
    return orv::WriteFileAtomic(dir / "METEOR", entry);
}

} // namespace demo
