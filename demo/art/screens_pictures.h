// The pictures of the selection tree, the status screen and the map of the demo. Included by
// make_demo_pictures.cpp after its helpers (Save, Stacked, Canvas); every picture is drawn
// here from shapes.
#pragma once

namespace demo {
namespace screens {
namespace {

// A plate of the given size in the window's colours, or lit in the highlight colours.
void PlatePicture(const std::string& name, int width, int height, bool lit, const Shape& symbol = {}) {
    Canvas colour(width, height), mask(width, height);
    float w = static_cast<float>(width), h = static_cast<float>(height);
    colour.VerticalGradient(lit ? std::vector<Colour>{Rgb(0xFFF2D8), Rgb(0xF8C890)}
                                : std::vector<Colour>{Rgb(0x2A3C68), Rgb(0x152040)});
    Shape plate = RoundedBox(1, 1, w - 1, h - 1, h / 2 - 2);
    colour.Fill(Subtract(plate, RoundedBox(3, 3, w - 3, h - 3, h / 2 - 4)), Rgb(0xE8F0FF));
    if (symbol) {
        colour.Fill(symbol, lit ? Rgb(0x5A3A20) : Rgb(0xE8F0FF));
    }
    mask.Fill(plate, Rgb(lit ? 0xF8F8F8 : 0xE0E0E0));
    Save(name, Stacked(colour, mask));
}

// A dark translucent panel with a light rim.
void Panel(const std::string& name, int width, int height, Box box, int alpha) {
    Canvas colour(width, height), mask(width, height);
    colour.VerticalGradient({Rgb(0x1A2648), Rgb(0x0C1226)});
    Shape panel = RoundedBox(box.Left, box.Top, box.Right, box.Bottom, 14);
    colour.Fill(Subtract(panel, RoundedBox(box.Left + 3, box.Top + 3, box.Right - 3, box.Bottom - 3, 11)),
                Rgb(0xB8CCF0));
    mask.Fill(panel, Rgb(alpha * 0x010101));
    mask.Fill(Subtract(panel, RoundedBox(box.Left + 3, box.Top + 3, box.Right - 3, box.Bottom - 3, 11)),
              Rgb(0xFFFFFF));
    Save(name, Stacked(colour, mask));
}

// A small badge: a rounded plate with `marks` dots on it (the day, the rank).
void Badge(const std::string& name, int width, int height, Colour fill, int marks) {
    Canvas colour(width, height), mask(width, height);
    float w = static_cast<float>(width), h = static_cast<float>(height);
    Shape plate = RoundedBox(1, 1, w - 1, h - 1, 8);
    colour.Fill(plate, fill);
    for (int i = 0; i < marks; ++i) {
        colour.Fill(Circle(16 + 14 * static_cast<float>(i), h / 2, 4.5f), Rgb(0xFFFFFF));
    }
    mask.Fill(plate, Rgb(0xFFFFFF));
    Save(name, Stacked(colour, mask));
}

void SelectionTreePictures() {
    Panel("tree_base", 800, 296, Box{80, 40, 730, 286}, 0xB0);
    Badge("treelv1", 160, 44, Rgb(0x3A70C8), 1);
    PlatePicture("tree1a", 280, 46, false);
    PlatePicture("tree1b", 280, 46, true);
    PlatePicture("tree2a", 330, 46, false);
    PlatePicture("tree2b", 330, 46, true);
    PlatePicture("tree3a", 330, 46, false);
    PlatePicture("tree3b", 330, 46, true);
}

void StatusPictures() {
    // The backdrop: a night-blue page with the calendar's two columns of eight days.
    Canvas base(800, 600);
    base.VerticalGradient({Rgb(0x142040), Rgb(0x060A18)});
    base.Fill(RoundedBox(20, 20, 780, 580, 18), Rgb(0x1E2C58), 0.9f);
    base.Fill(RoundedBox(300, 256, 740, 292, 8), Rgb(0x0C1226));
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 8; ++row) {
            float x = 30 + 368 * static_cast<float>(column), y = 374 + 24 * static_cast<float>(row);
            base.Fill(RoundedBox(x, y + 1, x + 340, y + 22, 5), Rgb(row % 2 ? 0x24346A : 0x2A3C78));
            for (int dot = 0; dot <= row + 8 * column; ++dot) {
                base.Fill(Circle(x + 12 + 9 * static_cast<float>(dot % 20), y + 11, 2.5f), Rgb(0x8FA8E0));
            }
        }
    }
    Save("st_base", base.ToSurface());
    Badge("st_today", 200, 22, Rgb(0xF8C890), 0);
    Badge("st_wnr01", 90, 22, Rgb(0x3A70C8), 1);
    Badge("st_wnr02", 90, 22, Rgb(0xD8925A), 2);
    Badge("st_rank1", 200, 60, Rgb(0x4A9A5A), 1);
    Canvas unit(12, 20), unitMask(12, 20);
    unit.VerticalGradient({Rgb(0xFFF2D8), Rgb(0xF8A040)});
    unitMask.Fill(RoundedBox(1, 1, 11, 19, 3), Rgb(0xFFFFFF));
    Save("st_gage", Stacked(unit, unitMask));
    for (int day = 1; day <= 3; ++day) {
        Badge("day0" + std::to_string(day), 120, 32, Rgb(0x2A3C68), day);
    }
}

// The five places of the map, by their markers (place 1 first).
constexpr float kPlaces[5][2] = {{380, 235}, {62, 127}, {345, 243}, {455, 251}, {69, 303}};

Shape PlaceShape(int place, float grow = 0) {
    return Circle(kPlaces[place][0], kPlaces[place][1], 18 + grow);
}

void MapPictures() {
    // The town by night: hills, a river, the sea, and the five places as rings.
    for (bool lit : {false, true}) {
        Canvas map(800, 600), mask(800, 600);
        map.VerticalGradient({Rgb(0x1A3050), Rgb(0x0E1A30)});
        map.Fill(Ellipse(620, 520, 420, 160), Rgb(0x0A2A48));
        map.Fill(Capsule(0, 380, 800, 330, 9), Rgb(0x2A5A8A));
        map.Fill(Ellipse(200, 200, 260, 120), Rgb(0x1E4030));
        for (int p = 0; p < 5; ++p) {
            map.Fill(PlaceShape(p, 6), lit ? Rgb(0xF8C890) : Rgb(0x34487A), lit ? 1.0f : 0.8f);
            map.Fill(Subtract(PlaceShape(p), PlaceShape(p, -3)), Rgb(0xE8F0FF));
        }
        mask.Fill(RoundedBox(0, 0, 800, 600, 0), Rgb(0xFFFFFF));
        Save(lit ? "tr_base1b" : "tr_base1a", Stacked(map, mask));
    }
    Badge("tr_rank1", 200, 60, Rgb(0x4A9A5A), 1);
    // The hit map: blue, red, magenta, green and yellow are places 1 to 5.
    const int colours[5] = {0x0000FF, 0xFF0000, 0xFF00FF, 0x00FF00, 0xFFFF00};
    Canvas hit(800, 600);
    for (int p = 0; p < 5; ++p) {
        hit.Fill(PlaceShape(p, 6), Rgb(colours[p]));
        Canvas placeMask(800, 600);
        placeMask.Fill(PlaceShape(p, 6), Rgb(0xFFFFFF));
        Save("tr_mask1" + std::to_string(p + 1), placeMask.ToSurface());
        Canvas marker(20, 20), markerMask(20, 20);
        Shape star = Polygon({{10, 1}, {13, 7}, {19, 8}, {14, 12}, {16, 19}, {10, 15}, {4, 19},
                              {6, 12}, {1, 8}, {7, 7}});
        marker.Fill(star, Rgb(0xFFE070));
        markerMask.Fill(star, Rgb(0xFFFFFF));
        Save("tr_sel" + std::to_string(p + 1), Stacked(marker, markerMask));
    }
    Save("tr_hitmap", hit.ToSurface());
    PlatePicture("tr_sel", 236, 45, false);
    PlatePicture("tr_sel_om", 236, 45, true);
    PlatePicture("tr_choice", 372, 40, false);
    Panel("tr_confirm", 800, 600, Box{180, 170, 620, 440}, 0xE0);
    // OK is a tick, back an arrow to the left.
    Shape tick = Union(Capsule(52, 16, 60, 23, 2), Capsule(60, 23, 76, 9, 2));
    Shape back = Union(Polygon({{50, 16}, {60, 8}, {60, 24}}), RoundedBox(58, 13, 78, 19, 1));
    PlatePicture("tr_ok", 128, 32, false, tick);
    PlatePicture("tr_ok_om", 128, 32, true, tick);
    PlatePicture("tr_ret", 128, 32, false, back);
    PlatePicture("tr_ret_om", 128, 32, true, back);
}

void All() {
    SelectionTreePictures();
    StatusPictures();
    MapPictures();
}

} // namespace
} // namespace screens
} // namespace demo
