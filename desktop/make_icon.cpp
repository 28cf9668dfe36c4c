// Draws the program's icon for the desktop's menus and software centres: a falling star over
// a hill at dusk, on a rounded tile. Written at build time, so the repository holds no image.
// Usage: orvell_icon FILE.png [SIZE]
#include "canvas.h"
#include "headless/png_writer.h"

#include <charconv>
#include <iostream>
#include <string>
#include <string_view>

namespace {

using demo::Capsule;
using demo::Circle;
using demo::Colour;
using demo::Mix;
using demo::Rgb;
using demo::RoundedBox;

// The tile fills the picture with rounded corners; PNG files of the painter have no alpha, so
// the corners take the colour most panels show icons on.
demo::Canvas DrawIcon(int size) {
    float s = static_cast<float>(size) / 256.0f;
    demo::Canvas c(size, size);
    c.VerticalGradient({Rgb(0xF4F4F4), Rgb(0xF4F4F4)});
    auto tile = RoundedBox(8 * s, 8 * s, 248 * s, 248 * s, 44 * s);
    c.Fill(tile, [s](float, float y) {
        return Mix(Rgb(0x101640), Rgb(0xD8866A), std::clamp((y / s - 40) / 200, 0.0f, 1.0f));
    });
    // A few fixed stars.
    const float stars[][3] = {{60, 52, 2.2f}, {96, 84, 1.6f}, {188, 46, 2.0f}, {206, 98, 1.4f},
                              {142, 36, 1.5f}, {44, 112, 1.3f}};
    for (const auto& star : stars) {
        c.Fill(Circle(star[0] * s, star[1] * s, star[2] * s), Rgb(0xFFF6DA));
    }
    // The falling star and its trail.
    for (int i = 0; i < 12; ++i) {
        float t = static_cast<float>(i) / 12.0f;
        c.Fill(Capsule((70 + 60 * t) * s, (58 + 36 * t) * s, (130 + 30 * t) * s,
                       (94 + 18 * t) * s, (1.5f + 4 * t) * s),
               Rgb(0xFFE6A8), 0.12f);
    }
    c.Fill(Circle(164 * s, 112 * s, 9 * s), Rgb(0xFFF6DA));
    c.Fill(Circle(164 * s, 112 * s, 18 * s), Rgb(0xFFF6DA), 0.25f);
    // The hill, cut by the tile's outline.
    auto hill = [s, tile](float x, float y) {
        float dx = (x / s - 128) / 190, dy = (y / s - 300) / 110;
        return std::max((std::hypot(dx, dy) - 1.0f) * 110 * s, tile(x, y));
    };
    c.Fill(hill, Rgb(0x1C1A3A));
    // Two friends on the hill, as the demo game has them.
    c.Fill(Circle(114 * s, 178 * s, 7 * s), Rgb(0x0C0A22));
    c.Fill(Capsule(114 * s, 186 * s, 114 * s, 200 * s, 7 * s), Rgb(0x0C0A22));
    c.Fill(Circle(136 * s, 180 * s, 6.5f * s), Rgb(0x0C0A22));
    c.Fill(Capsule(136 * s, 188 * s, 136 * s, 201 * s, 6.5f * s), Rgb(0x0C0A22));
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: orvell_icon FILE.png [SIZE]\n";
        return 2;
    }
    int size = 256;
    if (argc == 3) {
        std::string_view text = argv[2];
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
        if (error != std::errc() || end != text.data() + text.size() || size < 16 ||
            size > 1024) {
            std::cerr << "orvell_icon: SIZE is a number from 16 to 1024\n";
            return 2;
        }
    }
    if (std::string error = orv::WritePng(argv[1], DrawIcon(size).ToSurface()); !error.empty()) {
        std::cerr << "orvell_icon: " << error << "\n";
        return 1;
    }
    return 0;
}
