// Draws every picture of the demo game as a PNG file; the build turns them into GRA
// pictures with orvtool and packs them, as a game's data is made.
//
//   demo_pictures OUTDIR [ANIMDIR]
//
// With ANIMDIR it also writes the entries of the animation archive there.
//
// Backgrounds are Annn (A010 to A014 the frames of the twinkling loops, SSTAR_nnn the
// shooting star of efxanim), characters Bnnn with their masks Mnnn, the message window, its
// click-wait icon and the choice plates are the sys_ pictures the engine loads at start-up;
// the backlog's bar, thumb and buttons (sys_bl_) are loaded when it opens, the config
// screen's pages and knobs (sys_cfg_) when that opens.
#include "canvas.h"
#include "meteor_animation.h"
#include "headless/png_writer.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <iostream>
#include <string>

namespace demo {
namespace {

std::filesystem::path g_out;
bool g_failed = false;

// The backgrounds as drawn, for the gallery's thumbnails.
std::map<std::string, orv::Surface> g_backgrounds;

void Save(const std::string& name, const orv::Surface& surface) {
    if (name.size() == 4 && name.starts_with("A00")) {
        orv::Surface& kept = g_backgrounds[name];
        kept.Allocate(surface.Width(), surface.Height());
        kept.CopyFrom(surface, orv::Rect{0, 0, surface.Width(), surface.Height()}, 0, 0);
    }
    std::string error = orv::WritePng(g_out / (name + ".png"), surface);
    if (!error.empty()) {
        std::cerr << "demo_pictures: " << name << ": " << error << "\n";
        g_failed = true;
    }
}

// A repeatable sequence for star fields, so that every build draws the same sky.
class Sequence {
public:
    explicit Sequence(uint32_t seed) : m_state(seed) {}
    float Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) / static_cast<float>(1u << 24);
    }

private:
    uint32_t m_state;
};

Shape Intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

void Stars(Canvas& canvas, int count, float maxY, uint32_t seed, float brightness) {
    Sequence random(seed);
    for (int i = 0; i < count; ++i) {
        float x = random.Next() * static_cast<float>(canvas.Width());
        float y = random.Next() * maxY;
        float r = 0.6f + random.Next() * 1.3f;
        canvas.Fill(Circle(x, y, r), Rgb(0xFFF8E8), brightness * (0.4f + 0.6f * random.Next()));
    }
}

void Cloud(Canvas& canvas, float x, float y, float scale, Colour colour, float opacity) {
    Shape cloud = Union(Union(Ellipse(x, y, 70 * scale, 22 * scale),
                              Circle(x - 25 * scale, y - 12 * scale, 26 * scale)),
                        Circle(x + 20 * scale, y - 18 * scale, 32 * scale));
    canvas.Fill(cloud, colour, opacity);
}

// Rolling hills: the area below a sum of sine waves.
Shape Hills(float base, float amplitude, float wavelength, float phase) {
    return [=](float x, float y) {
        float top = base - amplitude * (0.6f * std::sin(x / wavelength + phase) +
                                        0.4f * std::sin(x / (wavelength * 0.47f) + phase * 2.3f));
        return top - y;
    };
}

// ---- The title: night turning to dawn over the sea, and the name in strokes of light.

void Letter(Canvas& canvas, char letter, float x, float y, float r, Colour colour, float opacity) {
    auto stroke = [&](float ax, float ay, float bx, float by) {
        canvas.Fill(Capsule(x + ax, y + ay, x + bx, y + by, r), colour, opacity);
    };
    switch (letter) {
    case 'O':
        canvas.Fill(Subtract(Ellipse(x + 26, y + 45, 26 + r, 45 + r), Ellipse(x + 26, y + 45, 26 - r, 45 - r)),
                    colour, opacity);
        break;
    case 'R':
        stroke(0, 0, 0, 90);
        stroke(0, 0, 36, 0);
        stroke(36, 0, 50, 13);
        stroke(50, 13, 50, 32);
        stroke(50, 32, 36, 45);
        stroke(36, 45, 0, 45);
        stroke(22, 45, 52, 90);
        break;
    case 'V':
        stroke(0, 0, 26, 90);
        stroke(26, 90, 52, 0);
        break;
    case 'E':
        stroke(0, 0, 0, 90);
        stroke(0, 0, 48, 0);
        stroke(0, 45, 40, 45);
        stroke(0, 90, 48, 90);
        break;
    case 'L':
        stroke(0, 0, 0, 90);
        stroke(0, 90, 46, 90);
        break;
    default:
        break;
    }
}

// Small four-pointed glints, the stars that twinkle in the loops of the title and the night.
void Sparkles(Canvas& canvas, int count, float maxY, uint32_t seed) {
    Sequence random(seed);
    for (int i = 0; i < count; ++i) {
        float x = 20 + random.Next() * (static_cast<float>(canvas.Width()) - 40);
        float y = 10 + random.Next() * (maxY - 10);
        float arm = 3.5f + random.Next() * 3;
        canvas.Fill(Capsule(x - arm, y, x + arm, y, 0.7f), Rgb(0xFFFFFF), 0.85f);
        canvas.Fill(Capsule(x, y - arm, x, y + arm, 0.7f), Rgb(0xFFFFFF), 0.85f);
        canvas.Fill(Circle(x, y, 1.8f), Rgb(0xFFFFF0));
    }
}

// The title with two more frames, each with glints of its own, for the twinkle of bg_anim.
void Title() {
    Canvas c(800, 600);
    c.VerticalGradient({Rgb(0x0B1030), Rgb(0x28306A), Rgb(0x8A5A8C), Rgb(0xF2A66B)});
    Stars(c, 220, 330, 7, 0.9f);
    c.Fill(Circle(690, 92, 60), Rgb(0xFFF4D6), 0.04f);
    c.Fill(Subtract(Circle(690, 92, 34), Circle(706, 80, 32)), Rgb(0xFFF4D6));
    // The sea with the dawn's glow on it.
    c.Fill([](float, float y) { return 455 - y; },
           [](float, float y) { return Mix(Rgb(0xE8946A), Rgb(0x1A2450), (y - 455) / 145); });
    for (int i = 0; i < 14; ++i) {
        float y = 462.0f + static_cast<float>(i * i) * 0.75f;
        c.Fill(Capsule(400 - 140 + i * 6, y, 400 + 140 - i * 6, y, 1.2f), Rgb(0xFFD9A0), 0.5f);
    }
    // Headlands on both sides; the middle stays open to the sea.
    c.Fill([](float x, float y) {
        float open = (x - 400) / 210;
        return 478 + 110 * std::exp(-open * open) - 18 * std::sin(x / 60 + 1) - y;
    }, Rgb(0x141833));
    c.Fill(Hills(560, 20, 45, 3.0f), Rgb(0x0C0F24));
    // The name, drawn twice: a wide soft glow, then the bright stroke.
    const char* name = "ORVELL";
    float x = 400 - 3 * 76 + 12;
    for (int i = 0; name[i] != 0; ++i) {
        Letter(c, name[i], x + static_cast<float>(i) * 76, 150, 13, Rgb(0xFFE3B0), 0.18f);
        Letter(c, name[i], x + static_cast<float>(i) * 76, 150, 5.5f, Rgb(0xFFF8EC), 1.0f);
    }
    c.Fill(Capsule(250, 280, 550, 280, 1.5f), Rgb(0xFFE8C8), 0.8f);
    for (float dx : {-170.0f, 170.0f}) {
        c.Fill(Polygon({{400 + dx, 272}, {408 + dx, 280}, {400 + dx, 288}, {392 + dx, 280}}),
               Rgb(0xFFE8C8));
    }
    Save("A000", c.ToSurface());
    for (uint32_t frame : {1u, 2u}) {
        Canvas twinkle = c;
        Sparkles(twinkle, 9, 320, 40 + frame);
        Save("A01" + std::to_string(frame - 1), twinkle.ToSurface());
    }
}

// ---- Backgrounds of the story.

void HillAtDusk() {
    Canvas c(800, 600);
    c.VerticalGradient({Rgb(0x3A3F8F), Rgb(0xC0689A), Rgb(0xF6A25E), Rgb(0xFCD38A)});
    c.Fill(Circle(560, 400, 70), Rgb(0xFFEAB0), 0.95f);
    Cloud(c, 180, 120, 1.3f, Rgb(0xF4B8C8), 0.7f);
    Cloud(c, 520, 200, 1.0f, Rgb(0xF8C8B0), 0.6f);
    Cloud(c, 700, 90, 0.8f, Rgb(0xE8A8C8), 0.6f);
    c.Fill(Hills(430, 35, 90, 0.5f), Rgb(0x6A4A7A));
    c.Fill(Hills(470, 30, 60, 2.0f), Rgb(0x4A6A4A));
    c.Fill(Hills(520, 20, 40, 4.0f), [](float, float y) {
        return Mix(Rgb(0x3C6A3A), Rgb(0x1E3A22), (y - 500) / 100);
    });
    // A path winding up the hill, and a lone tree.
    c.Fill(Polygon({{380, 600}, {330, 600}, {395, 505}, {405, 505}}), Rgb(0xC8A070), 0.8f);
    c.Fill(Capsule(150, 480, 150, 400, 6), Rgb(0x3A2A20));
    c.Fill(Union(Circle(150, 380, 40), Union(Circle(120, 400, 28), Circle(182, 398, 30))),
           Rgb(0x2E4A30));
    Save("A001", c.ToSurface());
}

void Room() {
    Canvas c(800, 600);
    c.VerticalGradient({Rgb(0xF2E4CC), Rgb(0xE6D2B2)});
    // The window with the afternoon sky.
    c.Fill(RoundedBox(420, 90, 720, 330, 6), Rgb(0x7A5A40));
    c.Fill(RoundedBox(432, 102, 708, 318, 2), [](float, float y) {
        return Mix(Rgb(0x6FA8E8), Rgb(0xCFE6FA), (y - 102) / 216);
    });
    Cloud(c, 520, 190, 0.8f, Rgb(0xFFFFFF), 0.9f);
    Cloud(c, 650, 250, 0.6f, Rgb(0xFFFFFF), 0.8f);
    c.Fill(Capsule(570, 102, 570, 318, 4), Rgb(0x7A5A40));
    c.Fill(Capsule(432, 210, 708, 210, 4), Rgb(0x7A5A40));
    // Curtains.
    c.Fill(Polygon({{395, 80}, {445, 80}, {430, 360}, {385, 360}}), Rgb(0xC86A6A), 0.95f);
    c.Fill(Polygon({{695, 80}, {745, 80}, {755, 360}, {710, 360}}), Rgb(0xC86A6A), 0.95f);
    // The floor, in boards.
    c.Fill([](float, float y) { return 430 - y; },
           [](float x, float y) {
               int board = static_cast<int>(x / 90 + (y - 430) / 40);
               return board % 2 ? Rgb(0xA87850) : Rgb(0x9A6C46);
           });
    c.Fill(Capsule(0, 430, 800, 430, 3), Rgb(0x6A4A30));
    // A bookshelf with books of many colours.
    c.Fill(RoundedBox(60, 150, 300, 440, 4), Rgb(0x6A4A32));
    const int colours[] = {0x8C3A3A, 0x3A5A8C, 0xC8A040, 0x4A7A4A, 0x7A4A8C, 0xD87A4A};
    for (int shelf = 0; shelf < 3; ++shelf) {
        float bottom = 230.0f + static_cast<float>(shelf) * 90;
        c.Fill(RoundedBox(70, bottom, 290, bottom + 8, 1), Rgb(0x4A3222));
        for (int book = 0; book < 9; ++book) {
            float left = 76.0f + static_cast<float>(book) * 23;
            float height = 52.0f + static_cast<float>((book * 7 + shelf * 3) % 5) * 5;
            c.Fill(RoundedBox(left, bottom - height, left + 19, bottom, 2),
                   Rgb(colours[(book + shelf * 2) % 6]));
        }
    }
    Save("A002", c.ToSurface());
}

orv::Surface StarryNight() {
    Canvas c(800, 600);
    c.VerticalGradient({Rgb(0x050818), Rgb(0x101A40), Rgb(0x23305E)});
    // A band of faint stars across the sky, then the bright ones.
    Sequence band(11);
    for (int i = 0; i < 900; ++i) {
        float t = band.Next();
        float x = t * 800;
        float y = 60 + t * 260 + (band.Next() - 0.5f) * 90;
        c.Fill(Circle(x, y, 0.5f + band.Next()), Rgb(0xC8D0FF), 0.35f * band.Next() + 0.1f);
    }
    Stars(c, 160, 440, 5, 1.0f);
    c.Fill(Circle(170, 120, 38), Rgb(0xFFF6DC));
    c.Fill(Circle(170, 120, 70), Rgb(0xFFF6DC), 0.08f);
    c.Fill([](float, float y) { return 470 - y; }, [](float, float y) {
        return Mix(Rgb(0x1A2450), Rgb(0x070A1C), (y - 470) / 130);
    });
    for (int i = 0; i < 10; ++i) {
        float y = 478.0f + static_cast<float>(i * i) * 1.1f;
        c.Fill(Capsule(170 - 40 + i * 3, y, 170 + 40 - i * 3, y, 1.0f), Rgb(0xFFF0C8), 0.45f);
    }
    orv::Surface sky = c.ToSurface();
    Save("A003", sky);
    // The same night twinkling: the frames of the loop over the last pages.
    for (uint32_t frame : {1u, 2u}) {
        Canvas twinkle = c;
        Sparkles(twinkle, 12, 430, 60 + frame);
        Save("A01" + std::to_string(frame + 2), twinkle.ToSurface());
    }
    return sky;
}

// A shooting star crossing the night for efxanim: colours on the left, the mask on the right.
void ShootingStar() {
    for (int k = 0; k < 6; ++k) {
        Canvas c(800, 600);
        c.TrackCoverage();
        float head = 560.0f - static_cast<float>(k) * 70;
        float y = 70.0f + static_cast<float>(k) * 28;
        c.Fill(Capsule(head, y, head + 160, y - 64, 2.5f), Rgb(0xC8D8FF), 0.35f);
        c.Fill(Capsule(head, y, head + 70, y - 28, 1.6f), Rgb(0xFFFFFF), 0.8f);
        c.Fill(Circle(head, y, 3.2f), Rgb(0xFFFFFF));
        orv::Surface colour = c.ToSurface(), mask = c.MaskSurface();
        orv::Surface out(1600, 600);
        out.CopyFrom(colour, orv::Rect{0, 0, 800, 600}, 0, 0);
        out.CopyFrom(mask, orv::Rect{0, 0, 800, 600}, 800, 0);
        char name[16];
        std::snprintf(name, sizeof name, "SSTAR_%03d", k);
        Save(name, out);
    }
}

// The mask of the wipe into the room: bright in the middle, so that the new picture opens
// there first, and its edge a soft flower of six petals.
void WipeMask() {
    orv::Surface mask(800, 600);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            float dx = static_cast<float>(x) - 400, dy = static_cast<float>(y) - 300;
            float d = std::hypot(dx, dy) * (1.0f + 0.08f * std::sin(6 * std::atan2(dy, dx)));
            auto m = static_cast<uint32_t>(std::clamp(255.0f * (1.0f - d / 540.0f), 0.0f, 255.0f));
            mask.SetPixel(x, y, m << 16 | m << 8 | m);
        }
    }
    Save("W001", mask);
}

// ---- Two characters, each with a smiling variant.

struct Look {
    Colour Hair, HairLight, Eyes, Clothes, Ribbon;
    bool Ponytail;
};

void Character(const std::string& number, const Look& look, bool smiling) {
    Canvas c(300, 600);
    c.TrackCoverage();
    const Colour skin = Rgb(0xFCE3D2), shade = Rgb(0xF0C8B4), line = Rgb(0x5A3A3A);
    auto hair = [&](float, float y) { return Mix(look.HairLight, look.Hair, std::clamp((y - 60) / 160, 0.0f, 1.0f)); };
    // Hair behind the head: long and straight, or tied up.
    if (look.Ponytail) {
        c.Fill(Ellipse(150, 165, 88, 95), hair);
        c.Fill(Union(Ellipse(240, 150, 30, 26), Ellipse(252, 250, 34, 110)), hair);
    } else {
        c.Fill(Union(Ellipse(150, 175, 96, 110), RoundedBox(58, 170, 242, 430, 40)), hair);
    }
    // Body: shoulders and a sailor uniform.
    c.Fill(RoundedBox(138, 240, 162, 300, 8), shade);
    c.Fill(Union(RoundedBox(58, 282, 242, 420, 46), Polygon({{70, 380}, {230, 380}, {250, 600}, {50, 600}})),
           [&](float, float y) { return Mix(look.Clothes, Mix(look.Clothes, Rgb(0x000000), 0.35f), (y - 280) / 320); });
    c.Fill(Polygon({{96, 286}, {150, 286}, {150, 350}}), Rgb(0xF4F4F8));
    c.Fill(Polygon({{150, 286}, {204, 286}, {150, 350}}), Rgb(0xF4F4F8));
    c.Fill(Polygon({{118, 292}, {182, 292}, {150, 334}}), skin);
    c.Fill(Polygon({{150, 330}, {128, 346}, {128, 322}}), look.Ribbon);
    c.Fill(Polygon({{150, 330}, {172, 322}, {172, 346}}), look.Ribbon);
    c.Fill(Circle(150, 332, 6), look.Ribbon);
    // The face.
    c.Fill(Ellipse(150, 170, 72, 86), skin);
    for (float side : {-1.0f, 1.0f}) {
        float ex = 150 + side * 30;
        c.Fill(Ellipse(ex, 182, 14, 17), Rgb(0xFFFFFF));
        c.Fill(Ellipse(ex, 185, 11, 15), [&](float, float y) {
            return Mix(Mix(look.Eyes, Rgb(0x000000), 0.3f), Mix(look.Eyes, Rgb(0xFFFFFF), 0.3f), (y - 170) / 30);
        });
        c.Fill(Ellipse(ex, 187, 5, 7), Mix(look.Eyes, Rgb(0x000000), 0.6f));
        c.Fill(Circle(ex - side * 4 - 1, 178, 3.5f), Rgb(0xFFFFFF));
        c.Fill(Capsule(ex - 15, 168 - side * 0, ex + 15, 166, 2.2f), line);
        c.Fill(Capsule(ex - 12, 148, ex + 10, 146 - side * 2, 2), Mix(look.Hair, line, 0.3f));
        c.Fill(Ellipse(ex + side * 8, 215, 14, 7), Rgb(0xF59A9A), smiling ? 0.45f : 0.22f);
    }
    c.Fill(Circle(150, 208, 1.5f), shade);
    if (smiling) {
        c.Fill(Intersect(Subtract(Circle(150, 220, 13), Circle(150, 214, 13)),
                         [](float, float y) { return 221 - y; }),
               Rgb(0xC0505A));
    } else {
        c.Fill(Capsule(142, 229, 158, 229, 1.6f), Rgb(0xC0606A));
    }
    // Bangs over the forehead, in strands.
    c.Fill(Subtract(Ellipse(150, 120, 84, 62), RoundedBox(86, 142, 214, 320, 14)), hair);
    for (float x : {96.0f, 122.0f, 150.0f, 178.0f, 204.0f}) {
        float drop = x == 150.0f ? 158 : 150 + std::fabs(x - 150) / 4;
        c.Fill(Capsule(x, 110, x + (x - 150) / 8, drop, 13), hair);
    }
    c.Fill(Capsule(104, 96, 150, 80, 4), look.HairLight, 0.6f);
    if (look.Ponytail) {
        c.Fill(Circle(232, 128, 9), look.Ribbon);
    }
    std::string name = (smiling ? "1" : "0") + number;
    Save("B" + name, c.ToSurface());
    Save("M" + name, c.MaskSurface());
}

// ---- The window and its parts: colour over mask, as the engine blends them.

orv::Surface Stacked(const Canvas& colour, const Canvas& mask) {
    orv::Surface out(colour.Width(), colour.Height() * 2);
    orv::Surface top = colour.ToSurface(), bottom = mask.ToSurface();
    out.CopyFrom(top, orv::Rect{0, 0, top.Width(), top.Height()}, 0, 0);
    out.CopyFrom(bottom, orv::Rect{0, 0, bottom.Width(), bottom.Height()}, 0, top.Height());
    return out;
}

void MessageWindow() {
    const float w = 780, h = 170;
    Canvas colour(780, 170), mask(780, 170);
    colour.VerticalGradient({Rgb(0x22345C), Rgb(0x101A34)});
    colour.Fill(Subtract(RoundedBox(1, 1, w - 1, h - 1, 14), RoundedBox(4, 4, w - 4, h - 4, 11)),
                Rgb(0xB8CCF0));
    colour.Fill(Capsule(24, 40, 260, 40, 0.8f), Rgb(0xB8CCF0), 0.6f);
    mask.Fill(RoundedBox(1, 1, w - 1, h - 1, 14), Rgb(0xC8C8C8));
    mask.Fill(Subtract(RoundedBox(1, 1, w - 1, h - 1, 14), RoundedBox(4, 4, w - 4, h - 4, 11)),
              Rgb(0xFFFFFF));
    Save("sys_tw", Stacked(colour, mask));
    // The template for other window colours: the same shape in white.
    Canvas white(780, 170);
    white.VerticalGradient({Rgb(0xFFFFFF), Rgb(0xFFFFFF)});
    Save("sys_tw1", Stacked(white, mask));
}

void ClickWaitIcon() {
    const int frames = 8, size = 24;
    Canvas colour(frames * size, size), mask(frames * size, size);
    for (int i = 0; i < frames; ++i) {
        float cx = static_cast<float>(i * size) + 12;
        float bob = 3.0f * std::sin(static_cast<float>(i) / frames * 6.2832f);
        Shape diamond = Polygon({{cx, 4 + bob}, {cx + 7, 12 + bob}, {cx, 20 + bob}, {cx - 7, 12 + bob}});
        colour.Fill(diamond, [&](float, float y) { return Mix(Rgb(0xFFFFFF), Rgb(0x9FC0FF), (y - 4 - bob) / 16); });
        mask.Fill(diamond, Rgb(0xFFFFFF));
    }
    Save("sys_clickw", Stacked(colour, mask));
}

void ChoicePlates(const std::string& name, float width, bool highlighted) {
    const float height = 44;
    Canvas colour(static_cast<int>(width), static_cast<int>(height));
    Canvas mask(static_cast<int>(width), static_cast<int>(height));
    if (highlighted) {
        colour.VerticalGradient({Rgb(0xFFF2D8), Rgb(0xF8C890)});
    } else {
        colour.VerticalGradient({Rgb(0x2A3C68), Rgb(0x152040)});
    }
    Shape plate = RoundedBox(1, 1, width - 1, height - 1, 20);
    colour.Fill(Subtract(plate, RoundedBox(3, 3, width - 3, height - 3, 18)), Rgb(0xE8F0FF));
    mask.Fill(plate, Rgb(highlighted ? 0xF0F0F0 : 0xD8D8D8));
    Save(name, Stacked(colour, mask));
}

// ---- The backlog's scroll bar and buttons: colour on the left, mask on the right.

orv::Surface SideBySide(const Canvas& colour, const Canvas& mask) {
    orv::Surface out(colour.Width() * 2, colour.Height());
    orv::Surface left = colour.ToSurface(), right = mask.ToSurface();
    out.CopyFrom(left, orv::Rect{0, 0, left.Width(), left.Height()}, 0, 0);
    out.CopyFrom(right, orv::Rect{0, 0, right.Width(), right.Height()}, left.Width(), 0);
    return out;
}

// The bar behind the track: a slim rounded groove the scene shows through.
void BacklogBar() {
    const float w = 24, h = 520;
    Canvas colour(24, 520), mask(24, 520);
    colour.VerticalGradient({Rgb(0x1A2648), Rgb(0x101A34)});
    Shape groove = RoundedBox(5, 28, w - 5, h - 28, 7);
    colour.Fill(Subtract(groove, RoundedBox(7, 30, w - 7, h - 30, 5)), Rgb(0x8FA6D8));
    mask.Fill(groove, Rgb(0xA0A0A0));
    mask.Fill(Subtract(groove, RoundedBox(7, 30, w - 7, h - 30, 5)), Rgb(0xFFFFFF));
    Save("sys_bl_bar", SideBySide(colour, mask));
}

// The thumb: a capsule of light that stands at the bottom for the newest lines.
void BacklogThumb() {
    Canvas colour(24, 48), mask(24, 48);
    colour.VerticalGradient({Rgb(0xE8F0FF), Rgb(0xA8C0F0)});
    Shape thumb = RoundedBox(3, 2, 21, 46, 9);
    colour.Fill(Subtract(thumb, RoundedBox(5, 4, 19, 44, 7)), Rgb(0xFFFFFF));
    mask.Fill(thumb, Rgb(0xFFFFFF));
    Save("sys_bl_cur", SideBySide(colour, mask));
}

// A round button with an arrow, pointing up or down; lit in the warm colour of the plates.
void BacklogArrow(const std::string& name, bool up, bool lit) {
    Canvas colour(24, 24), mask(24, 24);
    colour.VerticalGradient(lit ? std::vector{Rgb(0xFFF2D8), Rgb(0xF8C890)}
                                : std::vector{Rgb(0x34487A), Rgb(0x1A2648)});
    Shape disc = Circle(12, 12, 11);
    colour.Fill(Subtract(disc, Circle(12, 12, 9.5f)), Rgb(0xE8F0FF));
    Shape arrow = up ? Polygon({{12, 6.5f}, {18, 15.5f}, {6, 15.5f}})
                     : Polygon({{6, 8.5f}, {18, 8.5f}, {12, 17.5f}});
    colour.Fill(arrow, lit ? Rgb(0x5A3A20) : Rgb(0xE8F0FF));
    mask.Fill(disc, Rgb(0xFFFFFF));
    Save(name, SideBySide(colour, mask));
}

// The voice button before a voiced line: a small speaker with its sound waves, colour above
// mask. 32 pixels wide, so that its rows are whole groups of eight bytes.
void BacklogVoiceButton(const std::string& name, bool lit) {
    Canvas colour(32, 20), mask(32, 20);
    colour.VerticalGradient(lit ? std::vector{Rgb(0xFFF2D8), Rgb(0xF8C890)}
                                : std::vector{Rgb(0x2A3C68), Rgb(0x152040)});
    Shape plate = RoundedBox(1, 1, 31, 19, 8);
    colour.Fill(Subtract(plate, RoundedBox(2.5f, 2.5f, 29.5f, 17.5f, 6.5f)), Rgb(0xE8F0FF));
    Colour ink = lit ? Rgb(0x5A3A20) : Rgb(0xE8F0FF);
    colour.Fill(Union(RoundedBox(8, 7.5f, 11, 12.5f, 0.5f), Polygon({{11, 7.5f}, {15.5f, 4}, {15.5f, 16}, {11, 12.5f}})),
                ink);
    for (float r : {4.0f, 7.0f}) {
        Shape wave = Subtract(Circle(15.5f, 10, r + 0.8f), Circle(15.5f, 10, r - 0.8f));
        colour.Fill(Intersect(wave, [](float x, float) { return 17.5f - x; }), ink);
    }
    mask.Fill(plate, Rgb(0xFFFFFF));
    Save(name, Stacked(colour, mask));
}


// ---- The quick buttons: eight cells of 48 x 22 side by side, each cell's mask right below
// it; one sheet for each look (normal, under the pointer, on). The symbols, left to right:
// skip, auto, hide the window, quick save, quick load, backlog, voice replay, config.

constexpr int kQuickButtons = 9; // the eight of the window's row, then the status screen's
constexpr float kButtonWidth = 48, kButtonHeight = 22;

Shape QuickButtonSymbol(int button, float x) {
    const float cx = x + kButtonWidth / 2, cy = kButtonHeight / 2;
    switch (button) {
    case 0: // skip: two arrow heads
        return Union(Polygon({{cx - 9, cy - 6}, {cx - 1, cy}, {cx - 9, cy + 6}}),
                     Polygon({{cx, cy - 6}, {cx + 8, cy}, {cx, cy + 6}}));
    case 1: // auto: one arrow head and a bar
        return Union(Polygon({{cx - 6, cy - 6}, {cx + 3, cy}, {cx - 6, cy + 6}}),
                     RoundedBox(cx + 4, cy - 6, cx + 7, cy + 6, 0.5f));
    case 2: // hide: an empty frame
        return Subtract(RoundedBox(cx - 9, cy - 6, cx + 9, cy + 6, 2),
                        RoundedBox(cx - 7, cy - 4, cx + 7, cy + 4, 1));
    case 3: // quick save: an arrow down onto a line
        return Union(Polygon({{cx - 6, cy - 2}, {cx + 6, cy - 2}, {cx, cy + 4}}),
                     Union(RoundedBox(cx - 2, cy - 7, cx + 2, cy - 2, 0.5f),
                           RoundedBox(cx - 8, cy + 5, cx + 8, cy + 7, 0.5f)));
    case 4: // quick load: an arrow up from a line
        return Union(Polygon({{cx - 6, cy - 1}, {cx, cy - 7}, {cx + 6, cy - 1}}),
                     Union(RoundedBox(cx - 2, cy - 1, cx + 2, cy + 4, 0.5f),
                           RoundedBox(cx - 8, cy + 5, cx + 8, cy + 7, 0.5f)));
    case 5: // backlog: three lines of text
        return Union(RoundedBox(cx - 8, cy - 6, cx + 8, cy - 4, 0.5f),
                     Union(RoundedBox(cx - 8, cy - 1, cx + 8, cy + 1, 0.5f),
                           RoundedBox(cx - 8, cy + 4, cx + 3, cy + 6, 0.5f)));
    case 6: // voice replay: a speaker
        return Union(RoundedBox(cx - 7, cy - 3, cx - 3, cy + 3, 0.5f),
                     Polygon({{cx - 3, cy - 3}, {cx + 3, cy - 7}, {cx + 3, cy + 7}, {cx - 3, cy + 3}}));
    case 7: // config: a ring with a hub
        return Union(Subtract(Circle(cx, cy, 7), Circle(cx, cy, 4.5f)), Circle(cx, cy, 2));
    default: // the status screen: a calendar page
        return Union(Subtract(RoundedBox(cx - 8, cy - 7, cx + 8, cy + 7, 1.5f),
                              RoundedBox(cx - 6, cy - 3, cx + 6, cy + 5, 0.5f)),
                     RoundedBox(cx - 3, cy - 1, cx + 1, cy + 3, 0.5f));
    }
}

void QuickButtonSheet(const std::string& name, Colour top, Colour bottom, Colour ink) {
    const int width = static_cast<int>(kButtonWidth) * kQuickButtons;
    Canvas colour(width, static_cast<int>(kButtonHeight));
    Canvas mask(width, static_cast<int>(kButtonHeight));
    colour.VerticalGradient({top, bottom});
    for (int i = 0; i < kQuickButtons; ++i) {
        float x = static_cast<float>(i) * kButtonWidth;
        Shape plate = RoundedBox(x + 1, 1, x + kButtonWidth - 1, kButtonHeight - 1, 9);
        colour.Fill(Subtract(plate, RoundedBox(x + 2.5f, 2.5f, x + kButtonWidth - 2.5f,
                                               kButtonHeight - 2.5f, 7.5f)),
                    Rgb(0xE8F0FF));
        colour.Fill(QuickButtonSymbol(i, x), ink);
        mask.Fill(plate, Rgb(0xE0E0E0));
    }
    Save(name, Stacked(colour, mask));
}

// The auto-speed indicator: a slim frame for five dots, and one dot; mask on the right.
void AutoSpeedIndicator() {
    Canvas frame(64, 14), frameMask(64, 14);
    frame.VerticalGradient({Rgb(0x1A2648), Rgb(0x101A34)});
    Shape bar = RoundedBox(1, 1, 63, 13, 6);
    frame.Fill(Subtract(bar, RoundedBox(2.5f, 2.5f, 61.5f, 11.5f, 4.5f)), Rgb(0x8FA6D8));
    frameMask.Fill(bar, Rgb(0xC0C0C0));
    Save("sys_autobar", SideBySide(frame, frameMask));
    Canvas dot(8, 8), dotMask(8, 8);
    dot.VerticalGradient({Rgb(0xFFF2D8), Rgb(0xF8C890)});
    dotMask.Fill(Circle(4, 4, 3.5f), Rgb(0xFFFFFF));
    Save("sys_auto", SideBySide(dot, dotMask));
}

// ---- The config screen: a base with every control dark and a sheet of the same layout with
// every control lit; the engine copies the chosen options from the sheet. No text: each row
// and option is told by a small drawing. The rectangles match CFG_ in _config.txt.

struct Box {
    float Left, Top, Right, Bottom;
};

void Plate(Canvas& c, Box b, bool lit) {
    Shape plate = RoundedBox(b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1, 9);
    float top = b.Top, height = b.Bottom - b.Top;
    Colour from = lit ? Rgb(0xFFF2D8) : Rgb(0x2A3C68), to = lit ? Rgb(0xF8C890) : Rgb(0x152040);
    c.Fill(plate, [=](float, float y) { return Mix(from, to, (y - top) / height); });
    c.Fill(Subtract(plate, RoundedBox(b.Left + 2.5f, b.Top + 2.5f, b.Right - 2.5f, b.Bottom - 2.5f, 7.5f)),
           Rgb(0xE8F0FF));
}

Colour Ink(bool lit) {
    return lit ? Rgb(0x5A3A20) : Rgb(0xE8F0FF);
}

// The drawing of one option, centred on (x, y).
void OptionIcon(Canvas& c, const std::string& kind, float x, float y, Colour ink) {
    auto line = [&](float ax, float ay, float bx, float by, float r = 1.6f) {
        c.Fill(Capsule(x + ax, y + ay, x + bx, y + by, r), ink);
    };
    if (kind == "window") {
        c.Fill(Subtract(RoundedBox(x - 16, y - 11, x + 16, y + 11, 2), RoundedBox(x - 14, y - 6, x + 14, y + 9, 1)), ink);
    } else if (kind == "full") {
        c.Fill(RoundedBox(x - 24, y - 13, x + 24, y + 13, 2), ink);
    } else if (kind == "normal" || kind == "fast") {
        int arrows = kind == "fast" ? 2 : 1;
        for (int i = 0; i < arrows; ++i) {
            float ox = (static_cast<float>(i) - (static_cast<float>(arrows) - 1) / 2) * 16;
            c.Fill(Polygon({{x + ox - 7, y - 10}, {x + ox + 9, y}, {x + ox - 7, y + 10}}), ink);
        }
    } else if (kind == "typed") {
        for (int i = 0; i < 3; ++i) {
            c.Fill(Circle(x - 14 + 14 * static_cast<float>(i), y, 3.5f), ink, 0.4f + 0.3f * static_cast<float>(i));
        }
    } else if (kind == "atonce") {
        line(-20, -6, 20, -6);
        line(-20, 2, 20, 2);
        line(-20, 10, 6, 10);
    } else if (kind == "stop") {
        c.Fill(RoundedBox(x - 10, y - 10, x + 10, y + 10, 2), ink);
    } else if (kind == "through") {
        c.Fill(Polygon({{x - 14, y - 11}, {x, y}, {x - 14, y + 11}}), ink);
        c.Fill(Polygon({{x, y - 11}, {x + 14, y}, {x, y + 11}}), ink);
    } else if (kind == "scene") {
        c.Fill(Subtract(Circle(x, y, 12), Circle(x, y, 9)), ink);
        c.Fill(Polygon({{x - 16, y - 2}, {x - 4, y - 2}, {x - 10, y + 6}}), ink);
    } else if (kind == "log") {
        for (int i = 0; i < 4; ++i) {
            line(-16, -10 + 7 * static_cast<float>(i), 16, -10 + 7 * static_cast<float>(i), 1.3f);
        }
    } else if (kind.rfind("dots", 0) == 0) {
        int n = kind.back() - '0';
        for (int i = 0; i < n; ++i) {
            c.Fill(Circle(x - 4.0f * static_cast<float>(n - 1) + 8 * static_cast<float>(i), y, 2.6f), ink);
        }
    } else if (kind == "music") {
        c.Fill(Ellipse(x - 6, y + 8, 6, 4.5f), ink);
        line(-1, 8, -1, -10);
        line(-1, -10, 9, -6);
    } else if (kind == "voice") {
        c.Fill(Subtract(Ellipse(x, y - 2, 15, 10), Ellipse(x, y - 2, 12, 7)), ink);
        c.Fill(Polygon({{x - 6, y + 6}, {x - 10, y + 13}, {x + 1, y + 7}}), ink);
    } else if (kind == "effects") {
        line(0, -12, 0, 12, 1.8f);
        line(-12, 0, 12, 0, 1.8f);
        line(-7, -7, 7, 7, 1.3f);
        line(-7, 7, 7, -7, 1.3f);
    } else if (kind == "speaker") {
        c.Fill(RoundedBox(x - 12, y - 5, x - 5, y + 5, 1), ink);
        c.Fill(Polygon({{x - 6, y - 5}, {x + 2, y - 11}, {x + 2, y + 11}, {x - 6, y + 5}}), ink);
        for (float r : {6.0f, 10.0f}) {
            Shape wave = Subtract(Circle(x + 2, y, r + 1), Circle(x + 2, y, r - 1));
            c.Fill(Intersect(wave, [=](float px, float) { return x + 4 - px; }), ink);
        }
    } else if (kind == "voice2") {
        c.Fill(Subtract(Ellipse(x - 4, y - 2, 12, 8), Ellipse(x - 4, y - 2, 9.5f, 5.5f)), ink);
        c.Fill(Circle(x + 12, y + 8, 4), ink);
    } else if (kind == "play") {
        c.Fill(Polygon({{x - 8, y - 11}, {x + 11, y}, {x - 8, y + 11}}), ink);
    } else if (kind == "reset") {
        c.Fill(Subtract(Circle(x, y, 12), Circle(x, y, 9)), ink);
        c.Fill(Polygon({{x + 6, y - 16}, {x + 14, y - 8}, {x + 4, y - 5}}), ink);
    } else if (kind == "resetall") {
        c.Fill(Subtract(Circle(x - 8, y, 10), Circle(x - 8, y, 7.5f)), ink);
        c.Fill(Subtract(Circle(x + 10, y, 10), Circle(x + 10, y, 7.5f)), ink);
    } else if (kind == "detail") {
        for (int i = 0; i < 3; ++i) {
            float ly = y - 9 + 9 * static_cast<float>(i);
            line(-16, ly, 16, ly, 1.2f);
            c.Fill(Circle(x - 8 + 8 * static_cast<float>(i), ly, 4), ink);
        }
    } else if (kind == "close") {
        line(-10, -10, 10, 10, 2.2f);
        line(-10, 10, 10, -10, 2.2f);
    }
}

struct ConfigOption {
    Box Area;
    const char* Icon;
};

const ConfigOption kConfigOptions[] = {
    {{240, 60, 360, 100}, "window"},   {{380, 60, 500, 100}, "full"},
    {{240, 120, 360, 160}, "normal"},  {{380, 120, 500, 160}, "fast"},
    {{240, 180, 360, 220}, "typed"},   {{380, 180, 500, 220}, "atonce"},
    {{240, 240, 360, 280}, "stop"},    {{380, 240, 500, 280}, "through"},
    {{240, 300, 360, 340}, "scene"},   {{380, 300, 500, 340}, "log"},
    {{40, 390, 108, 420}, "dots1"},    {{116, 390, 184, 420}, "dots2"},
    {{192, 390, 260, 420}, "dots3"},   {{268, 390, 336, 420}, "dots4"},
    {{344, 390, 412, 420}, "dots5"},   {{440, 390, 516, 420}, "music"},
    {{524, 390, 600, 420}, "voice"},   {{608, 390, 684, 420}, "effects"},
    {{692, 390, 768, 420}, "voice2"},  {{40, 520, 170, 560}, "play"},
    {{190, 520, 320, 560}, "reset"},   {{340, 520, 470, 560}, "resetall"},
    {{490, 520, 620, 560}, "detail"},  {{640, 520, 770, 560}, "close"},
};

// The left of each volume track, and the auto-speed track below them.
constexpr float kTrackLeft = 560, kTrackWidth = 200;
constexpr float kVolumeTops[] = {70, 130, 190, 250};
constexpr float kAutoTop = 310;

void ConfigPage(bool lit) {
    Canvas c(800, 600);
    c.VerticalGradient({Rgb(0x0B1030), Rgb(0x1A2648), Rgb(0x22345C)});
    Stars(c, 90, 600, 23, 0.35f);
    c.Fill(Subtract(RoundedBox(20, 30, 780, 580, 18), RoundedBox(22, 32, 778, 578, 16)), Rgb(0x8FA6D8), 0.8f);
    // The rows' signs on the left: a screen, a spark, a letter line, an eye, the wheel.
    const char* rowSigns[] = {"window", "effects", "typed", "stop", "scene"};
    for (int i = 0; i < 5; ++i) {
        OptionIcon(c, rowSigns[i], 150, 80 + 60 * static_cast<float>(i), Rgb(0x8FA6D8));
    }
    for (const ConfigOption& option : kConfigOptions) {
        Plate(c, option.Area, lit);
        OptionIcon(c, option.Icon, (option.Area.Left + option.Area.Right) / 2,
                   (option.Area.Top + option.Area.Bottom) / 2, Ink(lit));
    }
    // The tracks, each with the sign of what it sets at its left.
    const char* trackSigns[] = {"speaker", "voice", "effects", "music", "fast"};
    for (int i = 0; i < 5; ++i) {
        float top = i < 4 ? kVolumeTops[i] : kAutoTop;
        float mid = top + 10;
        c.Fill(Capsule(kTrackLeft + 8, mid, kTrackLeft + kTrackWidth - 8, mid, 4), Rgb(0x101A34));
        c.Fill(Subtract(Capsule(kTrackLeft + 8, mid, kTrackLeft + kTrackWidth - 8, mid, 4.5f),
                        Capsule(kTrackLeft + 8, mid, kTrackLeft + kTrackWidth - 8, mid, 3)),
               Rgb(0x8FA6D8));
        OptionIcon(c, trackSigns[i], kTrackLeft - 30, mid, Rgb(0x8FA6D8));
    }
    Save(lit ? "sys_cfg_sheet" : "sys_cfg_base", c.ToSurface());
}

// A knob of the tracks: colour on the left, mask on the right, 16 by 20.
void ConfigKnob(const std::string& name, Colour light, Colour dark) {
    Canvas colour(16, 20), mask(16, 20);
    colour.VerticalGradient({light, dark});
    Shape knob = RoundedBox(1, 1, 15, 19, 5);
    colour.Fill(Subtract(knob, RoundedBox(2.5f, 2.5f, 13.5f, 17.5f, 4)), Rgb(0xFFFFFF));
    mask.Fill(knob, Rgb(0xFFFFFF));
    Save(name, SideBySide(colour, mask));
}


// ---- The gallery (sys_gal_) and the recollection (ss_kaiso). The rectangles match demo's
// view.txt and the recollection's fixed layout.

constexpr int kThumbWidth = 160, kThumbHeight = 120;
struct GallerySlot {
    int X, Y;
    const char* Background; // shown as its thumbnail
};
constexpr GallerySlot kGallerySlots[] = {{60, 130, "A000"}, {240, 130, "A001"}, {420, 130, "A002"},
                                         {600, 130, "A003"}, {60, 300, "A020"}};

// Every fifth pixel of the picture's top screenful.
void Thumbnail(Canvas& c, const orv::Surface& picture, int x, int y) {
    for (int ty = 0; ty < kThumbHeight; ++ty) {
        for (int tx = 0; tx < kThumbWidth; ++tx) {
            uint32_t p = picture.Pixel(tx * 5, ty * 5);
            c.Set(x + tx, y + ty, Colour{static_cast<float>(p & 0xFF) / 255.0f,
                                         static_cast<float>(p >> 8 & 0xFF) / 255.0f,
                                         static_cast<float>(p >> 16 & 0xFF) / 255.0f});
        }
    }
}

// A picture twice the screen's height: the night sky high above, the hill at dusk below.
orv::Surface TallSky() {
    Canvas c(800, 1200);
    c.VerticalGradient({Rgb(0x050818), Rgb(0x0B1030), Rgb(0x28305A), Rgb(0x8A5A6A), Rgb(0xE8946A)});
    Stars(c, 220, 800, 41, 0.9f);
    c.Fill(Hills(1080, 40, 420, 0.7f), Rgb(0x1A1A2A));
    orv::Surface out = c.ToSurface();
    Save("A020", out);
    return out;
}

void GalleryPage(bool lit, const orv::Surface& tall) {
    Canvas c(800, 600);
    c.VerticalGradient({Rgb(0x0B1030), Rgb(0x1A2648)});
    Stars(c, 60, 600, 57, 0.3f);
    for (const GallerySlot& slot : kGallerySlots) {
        float x = static_cast<float>(slot.X), y = static_cast<float>(slot.Y);
        c.Fill(RoundedBox(x - 6, y - 6, x + kThumbWidth + 6, y + kThumbHeight + 6, 4),
               lit ? Rgb(0xF8C890) : Rgb(0x8FA6D8));
        auto kept = g_backgrounds.find(slot.Background);
        Thumbnail(c, kept != g_backgrounds.end() ? kept->second : tall, slot.X, slot.Y);
    }
    Plate(c, Box{640, 520, 760, 570}, lit);
    OptionIcon(c, "close", 700, 545, Ink(lit));
    Save(lit ? "sys_gal_hover" : "sys_gal_page", c.ToSurface());
}

// The cover of a locked slot: a padlock on dark blue, mask on the right.
void GalleryCover() {
    Canvas colour(kThumbWidth, kThumbHeight), mask(kThumbWidth, kThumbHeight);
    colour.VerticalGradient({Rgb(0x2A3C68), Rgb(0x152040)});
    colour.Fill(Subtract(RoundedBox(66, 30, 94, 64, 12), RoundedBox(72, 36, 88, 64, 8)), Rgb(0x8FA6D8));
    colour.Fill(RoundedBox(58, 56, 102, 92, 5), Rgb(0x8FA6D8));
    mask.Fill(RoundedBox(0, 0, kThumbWidth, kThumbHeight, 0), Rgb(0xFFFFFF));
    Save("sys_gal_cover", SideBySide(colour, mask));
}

// The digits 0..9 of the percentage as seven segments, 20 x 30 each, stacked; mask on the right.
void GalleryDigits() {
    // Segments a..g of each digit.
    constexpr const char* kSegments[] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg",
                                         "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    Canvas colour(20, 300), mask(20, 300);
    colour.VerticalGradient({Rgb(0xFFF2D8), Rgb(0xF8C890)});
    for (int d = 0; d < 10; ++d) {
        float top = 30.0f * static_cast<float>(d);
        for (const char* s = kSegments[d]; *s; ++s) {
            float ax = 0, ay = 0, bx = 0, by = 0;
            switch (*s) {
            case 'a': ax = 5, ay = 4, bx = 15, by = 4; break;
            case 'b': ax = 16, ay = 5, bx = 16, by = 14; break;
            case 'c': ax = 16, ay = 16, bx = 16, by = 25; break;
            case 'd': ax = 5, ay = 26, bx = 15, by = 26; break;
            case 'e': ax = 4, ay = 16, bx = 4, by = 25; break;
            case 'f': ax = 4, ay = 5, bx = 4, by = 14; break;
            default: ax = 5, ay = 15, bx = 15, by = 15; break;
            }
            mask.Fill(Capsule(ax, top + ay, bx, top + by, 1.8f), Rgb(0xFFFFFF));
        }
    }
    Save("sys_gal_num", SideBySide(colour, mask));
}

void RecollectionScreen(bool lit) {
    Canvas c(800, 600);
    c.VerticalGradient({Rgb(0x0B1030), Rgb(0x1A2648), Rgb(0x22345C)});
    Stars(c, 80, 600, 63, 0.3f);
    Box categories[] = {{18, 83, 155, 142}, {166, 83, 303, 142}, {314, 83, 451, 142},
                        {462, 83, 599, 142}, {610, 83, 747, 142}};
    for (const Box& b : categories) {
        Plate(c, b, lit);
    }
    OptionIcon(c, "scene", 86, 112, Ink(lit));
    c.Fill(RoundedBox(20, 150, 530, 505, 8), Rgb(0x101A34), 0.8f);
    c.Fill(RoundedBox(564, 151, 780, 507, 8), Rgb(0x101A34), 0.8f);
    for (int s = 0; s < 10; ++s) {
        float x = 72.0f + 44.0f * static_cast<float>(s);
        Plate(c, Box{x, 514, x + 44, 557}, lit);
        c.Fill(Circle(x + 22, 535, 3 + static_cast<float>(s) * 0.6f), Ink(lit));
    }
    Plate(c, Box{561, 547, 671, 589}, lit);
    OptionIcon(c, "close", 616, 568, Ink(lit));
    Plate(c, Box{674, 547, 784, 589}, lit);
    c.Fill(Polygon({{718, 556}, {718, 580}, {740, 568}}), Ink(lit));
    Plate(c, Box{674, 504, 777, 534}, lit);
    c.Fill(Capsule(712, 519, 740, 519, 2.5f), Ink(lit));
    Plate(c, Box{418, 559, 520, 587}, lit);
    c.Fill(Capsule(450, 579, 490, 567, 2), Ink(lit));
    Save(lit ? "ss_kaiso2" : "ss_kaiso", c.ToSurface());
}

// Page tabs of the recollection, normal on the left and chosen on the right, 58 apart.
void RecollectionTabs() {
    Canvas c(56, 116);
    for (int column = 0; column < 2; ++column) {
        for (int tab = 0; tab < 2; ++tab) {
            float x = 28.0f * static_cast<float>(column), y = 58.0f * static_cast<float>(tab);
            Plate(c, Box{x, y, x + 28, y + 58}, column == 1);
        }
    }
    Save("ss_kaiso_p", c.ToSurface());
}

} // namespace
} // namespace demo

#include "screens_pictures.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: demo_pictures OUTDIR [ANIMDIR]\n";
        return 2;
    }
    demo::g_out = argv[1];
    std::error_code error;
    std::filesystem::create_directories(demo::g_out, error);
    using demo::Rgb;
    demo::Title();
    demo::HillAtDusk();
    demo::Room();
    const orv::Surface sky = demo::StarryNight();
    demo::ShootingStar();
    if (argc == 3) {
        if (std::string error = demo::WriteMeteorAnimation(sky, argv[2]); !error.empty()) {
            std::cerr << "demo_pictures: METEOR: " << error << "\n";
            return 1;
        }
    }
    demo::WipeMask();
    const demo::Look aoi{Rgb(0x1E2A5A), Rgb(0x4A6AA8), Rgb(0x3A70C8), Rgb(0x2A3A6A), Rgb(0xD84A5A), false};
    const demo::Look hina{Rgb(0x8A4A22), Rgb(0xD8925A), Rgb(0x4A9A5A), Rgb(0x5A3A5A), Rgb(0xF0B040), true};
    for (bool smiling : {false, true}) {
        demo::Character("01", aoi, smiling);
        demo::Character("02", hina, smiling);
    }
    demo::MessageWindow();
    demo::ClickWaitIcon();
    demo::ChoicePlates("sys_sw", 400, false);
    demo::ChoicePlates("sys_sw2", 400, true);
    demo::ChoicePlates("sys_sww", 600, false);
    demo::ChoicePlates("sys_sww2", 600, true);
    demo::BacklogBar();
    demo::BacklogThumb();
    demo::BacklogArrow("sys_bl_up1", true, false);
    demo::BacklogArrow("sys_bl_up2", true, true);
    demo::BacklogArrow("sys_bl_down1", false, false);
    demo::BacklogArrow("sys_bl_down2", false, true);
    demo::BacklogVoiceButton("sys_bl_VR1", false);
    demo::BacklogVoiceButton("sys_bl_VR2", true);
    demo::QuickButtonSheet("sys_qbtn1", Rgb(0x2A3C68), Rgb(0x152040), Rgb(0xE8F0FF));
    demo::QuickButtonSheet("sys_qbtn1_om", Rgb(0x5A78B8), Rgb(0x34487A), Rgb(0xFFFFFF));
    demo::QuickButtonSheet("sys_qbtn1_on", Rgb(0xFFF2D8), Rgb(0xF8C890), Rgb(0x5A3A20));
    demo::AutoSpeedIndicator();
    demo::ConfigPage(false);
    demo::ConfigPage(true);
    demo::ConfigKnob("sys_cfg_knob", Rgb(0xFFF2D8), Rgb(0xF8C890));
    demo::ConfigKnob("sys_cfg_aknob", Rgb(0xD8F2FF), Rgb(0x90C8F8));
    demo::screens::All();
    {
        const orv::Surface tall = demo::TallSky();
        demo::GalleryPage(false, tall);
        demo::GalleryPage(true, tall);
        demo::GalleryCover();
        demo::GalleryDigits();
        demo::RecollectionScreen(false);
        demo::RecollectionScreen(true);
        demo::RecollectionTabs();
    }
    std::printf("demo_pictures: pictures written to %s\n", argv[1]);
    return demo::g_failed ? 1 : 0;
}
