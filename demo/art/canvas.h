#pragma once
// A small vector painter for the demo's pictures: shapes are signed distance functions,
// filled with one pixel of antialiasing over a floating-point RGB canvas. Everything the
// demo shows is drawn here from code, so the repository holds no image files.

#include "gfx/surface.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace demo {

struct Colour {
    float R = 0, G = 0, B = 0;
};

inline Colour Rgb(int rgb) {
    return {static_cast<float>(rgb >> 16 & 0xFF) / 255.0f,
            static_cast<float>(rgb >> 8 & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f};
}

inline Colour Mix(Colour a, Colour b, float t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

// Distance from (x, y) to the outline of a shape: negative inside.
using Shape = std::function<float(float x, float y)>;

inline Shape Circle(float cx, float cy, float r) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

// An ellipse by its scaled distance; exact enough for shapes a few hundred pixels wide.
inline Shape Ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        float dx = (x - cx) / rx, dy = (y - cy) / ry;
        float k = std::hypot(dx, dy);
        return (k - 1.0f) * std::min(rx, ry);
    };
}

inline Shape RoundedBox(float left, float top, float right, float bottom, float radius) {
    return [=](float x, float y) {
        float cx = (left + right) / 2, cy = (top + bottom) / 2;
        float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
        float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

// A stroke of width 2r from (ax, ay) to (bx, by) with round ends.
inline Shape Capsule(float ax, float ay, float bx, float by, float r) {
    return [=](float x, float y) {
        float px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
        float len = vx * vx + vy * vy;
        float t = len > 0 ? std::clamp((px * vx + py * vy) / len, 0.0f, 1.0f) : 0.0f;
        return std::hypot(px - vx * t, py - vy * t) - r;
    };
}

// A convex polygon given clockwise in screen coordinates (y down).
inline Shape Polygon(std::vector<std::pair<float, float>> points) {
    return [points](float x, float y) {
        float d = -1e9f;
        for (size_t i = 0; i < points.size(); ++i) {
            auto [ax, ay] = points[i];
            auto [bx, by] = points[(i + 1) % points.size()];
            float nx = by - ay, ny = ax - bx;
            float len = std::hypot(nx, ny);
            d = std::max(d, ((x - ax) * nx + (y - ay) * ny) / len);
        }
        return d;
    };
}

inline Shape Union(Shape a, Shape b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

inline Shape Subtract(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height), m_pixels(width * height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // A vertical gradient through evenly spaced stops.
    void VerticalGradient(const std::vector<Colour>& stops) {
        for (int y = 0; y < m_height; ++y) {
            float t = static_cast<float>(y) / static_cast<float>(std::max(1, m_height - 1)) *
                      static_cast<float>(stops.size() - 1);
            size_t i = std::min(static_cast<size_t>(t), stops.size() - 2);
            Colour c = Mix(stops[i], stops[i + 1], t - static_cast<float>(i));
            for (int x = 0; x < m_width; ++x) {
                m_pixels[y * m_width + x] = c;
            }
        }
    }

    // Fills a shape; `paint` gives the colour at each pixel, `opacity` scales the coverage.
    void Fill(const Shape& shape, const std::function<Colour(float, float)>& paint,
              float opacity = 1.0f) {
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                float coverage = std::clamp(0.5f - shape(px, py), 0.0f, 1.0f) * opacity;
                if (coverage > 0) {
                    Colour& target = m_pixels[y * m_width + x];
                    target = Mix(target, paint(px, py), coverage);
                    if (m_coverage) {
                        float& c = (*m_coverage)[y * m_width + x];
                        c = c + (1.0f - c) * coverage;
                    }
                }
            }
        }
    }

    void Fill(const Shape& shape, Colour colour, float opacity = 1.0f) {
        Fill(shape, [colour](float, float) { return colour; }, opacity);
    }

    // From now on every fill also adds its coverage to a mask (for character pictures).
    void TrackCoverage() { m_coverage.emplace(m_pixels.size(), 0.0f); }

    Colour At(int x, int y) const { return m_pixels[y * m_width + x]; }
    void Set(int x, int y, Colour c) { m_pixels[y * m_width + x] = c; }

    orv::Surface ToSurface() const {
        orv::Surface out(m_width, m_height);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const Colour& c = m_pixels[y * m_width + x];
                out.SetPixel(x, y, Pack(c));
            }
        }
        return out;
    }

    // The coverage as a grey picture: white where the shapes are opaque.
    orv::Surface MaskSurface() const {
        orv::Surface out(m_width, m_height);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                float v = m_coverage ? (*m_coverage)[y * m_width + x] : 1.0f;
                out.SetPixel(x, y, Pack({v, v, v}));
            }
        }
        return out;
    }

private:
    static uint32_t Byte(float v) {
        return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    }
    // Surfaces hold 0xBBGGRR.
    static uint32_t Pack(Colour c) { return Byte(c.B) << 16 | Byte(c.G) << 8 | Byte(c.R); }

    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
    std::optional<std::vector<float>> m_coverage;
};

} // namespace demo
