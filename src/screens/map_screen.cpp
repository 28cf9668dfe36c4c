#include "screens/map_screen.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/blend.h"
#include "script/commands.h"

#include <algorithm>
#include <cstdio>

namespace orv {

namespace {

constexpr int32_t kPointerPassPeriod = 16;
constexpr int32_t kPointerPass = 14;
constexpr int32_t kRank = 100; // V100: the rank, which picks the map and its events
constexpr int64_t kFirstPlaceFlag = 482;
constexpr int kPanelX = 24;
constexpr int kPanelY = 541;
constexpr int kPanelTitleX = 186;
constexpr int kPanelTitleY = 8;
constexpr int kRankY = 460;
constexpr int kListWidth = 236;
constexpr int kRowHeight = 45;
constexpr int kRowTitleX = 110;
constexpr int kRowTitleY = 6;
constexpr int kTitlePitch = 12;
constexpr int kChosenColour = 4;
constexpr int kHighlightColour = 2;
constexpr int kBlinks = 5;
constexpr uint32_t kBlinkMs = 50;
constexpr Rect kOkButton{266, 382, 128, 32};
constexpr Rect kBackButton{407, 382, 128, 32};
constexpr int kConfirmCentre = 395;
constexpr int kFirstTitleY = 218;
constexpr int kSecondTitleY = 280;

struct PlaceGeometry {
    int MarkerX, MarkerY, ListX, ListY;
};
constexpr std::array<PlaceGeometry, MapEvents::kPlaces + 1> kPlaces = {{
    {0, 0, 0, 0},
    {370, 225, 471, 294},
    {52, 117, 119, 314},
    {335, 233, 343, 99},
    {445, 241, 515, 309},
    {59, 293, 67, 342},
}};

constexpr std::array<int, 8> kPlaceForCode = {0, 1, 2, 3, 4, 0, 5, 0};

std::string_view NextLine(std::string_view text, size_t& pos) {
    size_t end = std::min(text.find_first_of(std::string_view("\0\n", 2), pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

std::string_view NextField(std::string_view& rest) {
    size_t comma = std::min(rest.find(','), rest.size());
    std::string_view field = rest.substr(0, comma);
    rest.remove_prefix(std::min(comma + 1, rest.size()));
    return field;
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool Inside(Rect r, int x, int y) {
    return x >= r.X && x < r.X + r.Width && y >= r.Y && y < r.Y + r.Height;
}

// The section header ":N" for `section`, compared as text after the colon.
bool IsSection(std::string_view line, int32_t section) {
    if (line.size() < 2 || line[0] != ':') {
        return false;
    }
    std::string_view number = line.substr(1);
    while (!number.empty() && (number.back() == ' ' || number.back() == '\t')) {
        number.remove_suffix(1);
    }
    return !number.empty() && number.find_first_not_of("+-0123456789") == std::string_view::npos &&
           ArgumentNumber(number) == section && number.size() <= 11;
}

} // namespace

bool ReadMapEvents(std::string_view text, int32_t section,
                   const std::function<bool(int32_t)>& flagSet, MapEvents& out) {
    out = MapEvents{};
    size_t pos = 0;
    bool found = false;
    while (pos < text.size()) {
        std::string_view line = NextLine(text, pos);
        if (line.size() >= 4 && cp932::UpperCase(line.substr(0, 4)) == ":END") {
            return false;
        }
        if (IsSection(line, section)) {
            found = true;
            break;
        }
    }
    if (!found) {
        return false;
    }
    while (pos < text.size()) {
        std::string_view line = NextLine(text, pos);
        if (!line.empty() && line[0] == ':') {
            break;
        }
        if (IsBlank(line)) {
            continue;
        }
        std::string_view rest = line;
        int32_t place = ArgumentNumber(NextField(rest));
        std::string_view title = NextField(rest);
        int32_t value = ArgumentNumber(NextField(rest));
        std::string_view flag = NextField(rest);
        if (!IsBlank(flag) && !flagSet(ArgumentNumber(flag))) {
            continue;
        }
        if (place < 1 || place > MapEvents::kPlaces) {
            continue;
        }
        int& count = out.Counts[static_cast<size_t>(place)];
        if (count >= MapEvents::kPerPlace) {
            continue;
        }
        MapEvent& event = out.Events[static_cast<size_t>(place)][static_cast<size_t>(count++)];
        size_t keep = 0;
        while (keep < title.size()) {
            size_t length = cp932::CharLength(title, keep);
            if (keep + length > MapEvent::kTitleSize || keep + length > title.size()) {
                break;
            }
            keep += length;
        }
        std::copy_n(title.begin(), keep, event.TitleBuffer.begin());
        event.TitleLength = keep;
        event.Value = value;
    }
    return true;
}

int PlaceForColour(uint32_t bgr) {
    int b = ((bgr >> 16) & 0xFF) >= 128 ? 1 : 0;
    int g = ((bgr >> 8) & 0xFF) >= 128 ? 1 : 0;
    int r = (bgr & 0xFF) >= 128 ? 1 : 0;
    return kPlaceForCode[static_cast<size_t>(b + 2 * r + 4 * g)];
}

void MapScreen::Draw(Surface& target, const Surface& picture, int x, int y) {
    if (!picture.Empty()) {
        DrawStackedSprite(target, x, picture, y);
    }
}

void MapScreen::Show(const Surface& source, Rect area) {
    m_engine.gfx.Present(source, area, area.X, area.Y);
}

bool MapScreen::LoadPictures(int32_t rank) {
    Pictures& pictures = m_engine.gfx.PictureLoader();
    auto load = [&](const char* name, Surface& target) {
        target = Surface();
        pictures.LoadPicture(name, target);
    };
    char name[32];
    for (Surface* map : {&m_normal, &m_highlighted}) {
        map->SetSize(kScreenWidth, kScreenHeight);
        map->Fill(0);
    }
    std::snprintf(name, sizeof name, "tr_base%da", rank);
    load(name, m_loaded);
    Draw(m_normal, m_loaded, 0, 0);
    std::snprintf(name, sizeof name, "tr_base%db", rank);
    load(name, m_loaded);
    Draw(m_highlighted, m_loaded, 0, 0);
    std::snprintf(name, sizeof name, "tr_rank%d", rank);
    load(name, m_loaded);
    Draw(m_normal, m_loaded, 0, kRankY);
    Draw(m_highlighted, m_loaded, 0, kRankY);
    m_loaded = Surface();
    load("tr_hitmap", m_hitMap);
    for (int place = 1; place <= MapEvents::kPlaces; ++place) {
        std::snprintf(name, sizeof name, "tr_mask%d%d", rank, place);
        load(name, m_masks[static_cast<size_t>(place)]);
        std::snprintf(name, sizeof name, "tr_sel%d", place);
        load(name, m_markers[static_cast<size_t>(place)]);
    }
    load("tr_choice", m_choicePanel);
    load("tr_confirm", m_confirm);
    load("tr_sel", m_row);
    load("tr_sel_om", m_rowLit);
    load("tr_ok", m_ok);
    load("tr_ok_om", m_okLit);
    load("tr_ret", m_back);
    load("tr_ret_om", m_backLit);
    m_panel.SetSize(m_choicePanel.Width(), m_choicePanel.Height() / 2);
    return true;
}

void MapScreen::FreePictures() {
    m_open = false;
    for (Surface* picture : {&m_normal, &m_highlighted, &m_hitMap, &m_panel, &m_choicePanel,
                             &m_confirm, &m_row, &m_rowLit, &m_ok, &m_okLit, &m_back, &m_backLit}) {
        *picture = Surface();
    }
    for (size_t i = 0; i < m_masks.size(); ++i) {
        m_masks[i] = Surface();
        m_markers[i] = Surface();
    }
}

void MapScreen::OpenMap(std::string_view /*name*/) {
    Engine& e = m_engine;
    if (m_open) {
        return;
    }
    VariableStore& vars = e.vars;
    if (vars.V(kRank) == 0) {
        vars.V(kRank) = 1;
    }
    m_rank = vars.V(kRank);
    if (!e.script.LoadScript("mapctrl", ScriptTarget::Definition) ||
        !ReadMapEvents(
            e.script.DefinitionText(), m_rank,
            [&vars](int32_t flag) { return vars.TestFlag(FlagKind::F, flag); }, m_events)) {
        return;
    }
    LoadPictures(m_rank);
    Graphics& gfx = e.gfx;
    Rect screen{0, 0, kScreenWidth, kScreenHeight};
    {
        BusyScope busy(e.blocking);
        gfx.PreviousSurface.CopyFrom(gfx.BackBuffer, screen, 0, 0);
        gfx.BackBuffer.CopyFrom(m_normal, screen, 0, 0);
        gfx.BackgroundSurface.CopyFrom(gfx.BackBuffer, screen, 0, 0);
        gfx.TimedCrossFade(4, 10);
        gfx.StartFrameClock();
    }
    m_open = true;
    MapStep = 1;
    ListOpen = 0;
    HoverPlace = 0;
    MapHoverRow = 0;
    m_firstTitle = {};
    m_secondTitle = {};
    e.screens.Open(*this);
    Redraw();
}

int MapScreen::PlaceAt(int x, int y) const {
    // A pointer beside the hit map is over no place.
    if (!m_hitMap.Contains(x, y)) {
        return 0;
    }
    int place = PlaceForColour(m_hitMap.Pixel(x, y));
    return m_events.Counts[static_cast<size_t>(place)] > 0 ? place : 0;
}

Rect MapScreen::RowRect(int row) const {
    return Rect{m_list.X, m_list.Y + kRowHeight * row, kListWidth, kRowHeight};
}

void MapScreen::Redraw() {
    Graphics& gfx = m_engine.gfx;
    TextFlow& text = m_engine.text;
    Rect screen{0, 0, kScreenWidth, kScreenHeight};
    if (MapStep == 3) {
        DrawConfirmation();
    } else {
        if (!m_panel.Empty()) {
            m_panel.CopyFrom(m_normal, Rect{kPanelX, kPanelY, m_panel.Width(), m_panel.Height()}, 0,
                             0);
            if (MapStep == 2) {
                Draw(m_panel, m_choicePanel, 0, 0);
                text.DrawTextCentredPitch(m_panel, m_firstTitle, kPanelTitleX, kPanelTitleY,
                                          kTitlePitch, 0);
            }
        }
        Rect panel{0, 0, m_panel.Width(), m_panel.Height()};
        if (ListOpen) {
            gfx.SceneSurface.CopyFrom(gfx.BackgroundSurface, screen, 0, 0);
            gfx.SceneSurface.CopyFrom(m_panel, panel, kPanelX, kPanelY);
            gfx.BackBuffer.CopyFrom(gfx.SceneSurface, screen, 0, 0);
            DrawList();
        } else {
            HoverPlace = 0;
            MapHoverRow = 0;
            gfx.BackBuffer.CopyFrom(gfx.BackgroundSurface, screen, 0, 0);
            gfx.BackBuffer.CopyFrom(m_panel, panel, kPanelX, kPanelY);
        }
    }
    m_engine.ShowBackBuffer();
}

void MapScreen::DrawList() {
    Graphics& gfx = m_engine.gfx;
    TextFlow& text = m_engine.text;
    auto place = static_cast<size_t>(HoverPlace);
    const PlaceGeometry& at = kPlaces[place];
    Draw(gfx.BackBuffer, m_markers[place], at.MarkerX, at.MarkerY);
    Draw(gfx.SceneSurface, m_markers[place], at.MarkerX, at.MarkerY);
    int count = m_events.Counts[place];
    for (int i = 0; i < count; ++i) {
        const MapEvent& event = m_events.Events[place][static_cast<size_t>(i)];
        int y = at.ListY + kRowHeight * i;
        Draw(gfx.BackBuffer, m_row, at.ListX, y);
        Draw(gfx.SceneSurface, m_rowLit, at.ListX, y);
        bool chosen = m_engine.vars.TestFlag(FlagKind::F, static_cast<int>(PlaceFlagBase + i));
        text.DrawTextCentredPitch(gfx.BackBuffer, event.Title(), at.ListX + kRowTitleX,
                                  y + kRowTitleY, kTitlePitch, chosen ? kChosenColour : 0);
        text.DrawTextCentredPitch(gfx.SceneSurface, event.Title(), at.ListX + kRowTitleX,
                                  y + kRowTitleY, kTitlePitch, kHighlightColour);
    }
    m_list = Rect{at.ListX, at.ListY, kListWidth, kRowHeight * count};
}

void MapScreen::DrawConfirmation() {
    Graphics& gfx = m_engine.gfx;
    TextFlow& text = m_engine.text;
    Rect screen{0, 0, kScreenWidth, kScreenHeight};
    gfx.SceneSurface.CopyFrom(m_normal, screen, 0, 0);
    Draw(gfx.SceneSurface, m_confirm, 0, 0);
    text.DrawTextCentredPitch(gfx.SceneSurface, m_firstTitle, kConfirmCentre, kFirstTitleY,
                              kTitlePitch, 0);
    text.DrawTextCentredPitch(gfx.SceneSurface, m_secondTitle, kConfirmCentre, kSecondTitleY,
                              kTitlePitch, 0);
    gfx.BackBuffer.CopyFrom(gfx.SceneSurface, screen, 0, 0);
    Draw(gfx.BackBuffer, m_ok, kOkButton.X, kOkButton.Y);
    Draw(gfx.BackBuffer, m_back, kBackButton.X, kBackButton.Y);
    Draw(gfx.SceneSurface, m_okLit, kOkButton.X, kOkButton.Y);
    Draw(gfx.SceneSurface, m_backLit, kBackButton.X, kBackButton.Y);
}

AfterPass MapScreen::Pass() {
    if (m_engine.PassCounter % kPointerPassPeriod == kPointerPass) {
        MapHover(m_engine.PointerX, m_engine.PointerY);
    }
    return AfterPass::FrameLoopAndPace;
}

bool MapScreen::Paint() {
    m_engine.ShowBackBuffer();
    return true;
}

void MapScreen::MapHover(int x, int y) {
    if (!m_open) {
        return;
    }
    if (MapStep == 3) {
        HoverConfirmation(x, y);
    } else if (ListOpen) {
        HoverList(x, y);
    } else {
        HoverMap(x, y);
    }
}

void MapScreen::HoverMap(int x, int y) {
    int place = PlaceAt(x, y);
    if (place == HoverPlace) {
        return;
    }
    Graphics& gfx = m_engine.gfx;
    Rect screen{0, 0, kScreenWidth, kScreenHeight};
    gfx.BackBuffer.CopyFrom(gfx.BackgroundSurface, screen, 0, 0);
    gfx.BackBuffer.CopyFrom(m_panel, Rect{0, 0, m_panel.Width(), m_panel.Height()}, kPanelX,
                            kPanelY);
    const Surface& mask = m_masks[static_cast<size_t>(place)];
    if (place != 0 && !mask.Empty()) {
        MaskBlendFull(gfx.BackBuffer, m_highlighted, mask, gfx.BackBuffer);
    }
    m_engine.ShowBackBuffer();
    HoverPlace = place;
    PlaceFlagBase = kFirstPlaceFlag + 15 * int64_t{m_rank} + 3 * int64_t{place};
}

void MapScreen::ChooseRow(int row) {
    const MapEvent& event =
        m_events.Events[static_cast<size_t>(HoverPlace)][static_cast<size_t>(row)];
    VariableStore& vars = m_engine.vars;
    if (MapStep == 1) {
        m_firstTitle = event.Title();
        vars.S(cell::FirstMapEventValue) = event.Value;
        FirstFlag = PlaceFlagBase + row;
    } else {
        m_secondTitle = event.Title();
        vars.S(cell::SecondMapEventValue) = event.Value;
        SecondFlag = PlaceFlagBase + row;
    }
}

void MapScreen::HoverList(int x, int y) {
    Graphics& gfx = m_engine.gfx;
    int row = Inside(m_list, x, y) ? (y - m_list.Y) / kRowHeight : -1;
    if (row + 1 == MapHoverRow) {
        return;
    }
    Show(gfx.BackBuffer, m_list);
    MapHoverRow = row + 1;
    if (row >= 0) {
        Show(gfx.SceneSurface, RowRect(row));
        ChooseRow(row);
    }
}

void MapScreen::HoverConfirmation(int x, int y) {
    int button = 0;
    if (y >= kOkButton.Y && y < kOkButton.Y + kOkButton.Height) {
        button = x >= kOkButton.X && x < kOkButton.X + kOkButton.Width         ? 1
                 : x >= kBackButton.X && x < kBackButton.X + kBackButton.Width ? 2
                                                                               : 0;
    }
    if (button == MapHoverRow) {
        return;
    }
    Graphics& gfx = m_engine.gfx;
    m_engine.ShowBackBuffer();
    if (button != 0) {
        Show(gfx.SceneSurface, button == 1 ? kOkButton : kBackButton);
    }
    MapHoverRow = button;
}

void MapScreen::Blink(int row) {
    Graphics& gfx = m_engine.gfx;
    BusyScope busy(m_engine.blocking);
    Rect area = RowRect(row);
    for (int i = 0; i < kBlinks; ++i) {
        Show(gfx.BackBuffer, area);
        m_engine.Host().Sleep(kBlinkMs);
        m_engine.Host().PumpMessages();
        Show(gfx.SceneSurface, area);
        m_engine.Host().Sleep(kBlinkMs);
        m_engine.Host().PumpMessages();
    }
}

void MapScreen::Press(MouseButton button, int /*x*/, int /*y*/) {
    // The press acts on what the last move hovered, as the pointer reached it.
    MapClick(button);
}

void MapScreen::MapClick(MouseButton button) {
    if (!m_open) {
        return;
    }
    if (button == MouseButton::Right) {
        if (MapStep == 3) {
            MapStep = 2;
        } else if (ListOpen) {
            ListOpen = 0;
        } else if (MapStep == 2) {
            MapStep = 1;
        }
        MapHoverRow = 0;
        Redraw();
        return;
    }
    if (button != MouseButton::Left) {
        return;
    }
    if (MapStep == 3) {
        if (MapHoverRow == 2) {
            MapStep = 1;
            HoverPlace = 0;
            MapHoverRow = 0;
            Redraw();
        } else if (MapHoverRow == 1) {
            VariableStore& vars = m_engine.vars;
            FreePictures();
            vars.SetFlag(FlagKind::F,
                         static_cast<int>(std::clamp<int64_t>(FirstFlag, -1, 1 << 20)));
            vars.SetFlag(FlagKind::F,
                         static_cast<int>(std::clamp<int64_t>(SecondFlag, -1, 1 << 20)));
            m_engine.screens.Close(*this);
        }
        return;
    }
    if (!ListOpen) {
        if (HoverPlace != 0) {
            ListOpen = 1;
            MapHoverRow = 0;
            Redraw();
        }
        return;
    }
    if (MapHoverRow != 0) {
        Blink(MapHoverRow - 1);
        MapStep = MapStep == 1 ? 2 : 3;
    }
    ListOpen = 0;
    MapHoverRow = 0;
    Redraw();
}

} // namespace orv
