#pragma once
// The pictures the graphics benchmarks work on, made procedurally so that every run sees the
// same bytes: a photo-like screen (gradients, shapes and noise) and masks.

#include "gfx/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace orv::bench {

// Smooth gradients and soft shapes with a little noise, as a scanned or rendered
// background has.
inline Surface PhotoLike(int w = kScreenWidth, int h = kScreenHeight, uint32_t seed = 1) {
    std::mt19937 random(seed);
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = s.Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
            double shape = std::sin(fx * 7.0 + std::cos(fy * 5.0) * 2.0) * 40.0;
            int noise = static_cast<int>(random() % 7) - 3;
            auto channel = [&](double value) {
                return static_cast<uint8_t>(std::clamp(static_cast<int>(value) + noise, 0, 255));
            };
            p[0] = channel(60 + 120 * fy + shape);
            p[1] = channel(90 + 80 * fx - shape * 0.5);
            p[2] = channel(140 + 60 * std::sin(fx * 3.0 + fy * 2.0) + shape * 0.3);
        }
    }
    return s;
}

// A drawn background as visual novels have: a sky gradient, flat areas, shapes with soft
// vertical shading and hard edges, no noise.
inline Surface IllustrationLike(int w = kScreenWidth, int h = kScreenHeight) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = s.Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            int b = 230 - y / 4, g = 180 - y / 6, r = 120 + y / 8;
            if (y > h * 2 / 3) {
                b = 60, g = 110, r = 70; // ground
            }
            bool house = x > w / 5 && x < w / 2 && y > h / 3 && y < h * 5 / 6;
            bool tree =
                (x - w * 3 / 4) * (x - w * 3 / 4) + (y - h / 2) * (y - h / 2) < (h / 5) * (h / 5);
            if (house) {
                b = 200 - (y - h / 3) / 3, g = 210 - (y - h / 3) / 3, r = 235;
                if ((x / 40) % 2 == 0 && (y / 50) % 2 == 0) {
                    b = 90, g = 60, r = 40; // windows
                }
            } else if (tree) {
                b = 40, g = 120 + (y - h / 3) / 4, r = 50;
            }
            p[0] = static_cast<uint8_t>(b);
            p[1] = static_cast<uint8_t>(g);
            p[2] = static_cast<uint8_t>(r);
        }
    }
    return s;
}

// A mask like a character's: 0 outside an ellipse, 255 inside, a soft edge between.
inline Surface EllipseMask(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = s.Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            double dx = (x - w / 2.0) / (w * 0.35), dy = (y - h / 2.0) / (h * 0.45);
            double d = std::sqrt(dx * dx + dy * dy);
            auto m = static_cast<uint8_t>(std::clamp((1.05 - d) * 20.0, 0.0, 1.0) * 255.0);
            p[0] = p[1] = p[2] = m;
        }
    }
    return s;
}

} // namespace orv::bench
