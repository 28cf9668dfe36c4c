#include "screens/recollection_screen.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/blend.h"
#include "script/system_cells.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace orv {

namespace L = recollection_layout;
namespace H = recollection_hover;

namespace {

constexpr const char* kSaveLoadItems[] = {"N5", "N8", "N9", "N10"};
constexpr const char* kReplayItems[] = {"N1", "N2", "N19"};
constexpr std::string_view kUnseen = "\x81\x48\x81\x48\x81\x48"; // ？？？
constexpr std::string_view kReplayPrefix = "k_";
constexpr int32_t kRecollectionMusic = 11;
constexpr int kListHeight = 11, kRowTextHeight = 12, kNameHeight = 17;
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kGrey = 0xC0C0C0;
constexpr uint32_t kHoverGreen = 0x00FF00, kHoverBlue = 0xFF0000, kLabelGrey = 0x808080;
constexpr int kPreviewStepMs = 100;

struct Box {
    int X, Y, Width, Height;
    bool Holds(int x, int y) const { return x >= X && y >= Y && x < X + Width && y < Y + Height; }
    Rect Area() const { return Rect{X, Y, Width, Height}; }
};

// Category buttons by left, top, right, bottom (right and bottom outside).
constexpr Box kCategories[L::kCategoryButtons] = {
    {18, 83, 137, 59}, {166, 83, 137, 59}, {314, 83, 137, 59}, {462, 83, 137, 59}, {610, 83, 137, 59}};
// Command buttons 1..7; 4, 5 and 6 are never hit.
constexpr Box kButtons[7] = {{561, 547, 110, 42}, {674, 547, 110, 42}, {674, 504, 103, 30},
                             {999, 999, 0, 0},    {999, 999, 0, 0},    {999, 999, 0, 0},
                             {418, 559, 102, 28}};
constexpr Box kSlotStrip{L::kSlotX, L::kSlotY, 10 * L::kSlotWidth, L::kSlotHeight};
constexpr Box kNameArea{84, 562, 316, 21};
constexpr Box kPanel{L::kPanelX, L::kPanelY, 200, 350};

bool InList(int x, int y, int bottom) {
    return x >= L::kListLeft && x <= 522 && y >= L::kListTop && y <= bottom;
}

int CellX(int c) {
    return (c % 3) * L::kCellWidth + L::kListLeft;
}
int CellY(int c) {
    return (c / 3) * L::kCellHeight + L::kListTop;
}

// The screen surfaces keep their size: a picture of another size lies at the top left.
void Fit(Pictures& pictures, std::string_view name, Surface& loaded, Surface& target) {
    target.Allocate(kScreenWidth, kScreenHeight);
    if (pictures.LoadPicture(name, loaded)) {
        target.CopyFrom(loaded, Rect{0, 0, loaded.Width(), loaded.Height()}, 0, 0);
    }
}

} // namespace

// ---- The list and its marks.

void RecollectionScreen::LoadSceneList() {
    ScriptState& script = m_engine.script;
    if (script.LoadScript("sys_flashbak", ScriptTarget::Definition)) {
        m_list.Read(script.DefinitionText());
    }
}

void RecollectionScreen::MarkSceneSeen(std::string_view upperName) {
    int32_t a = m_list.FindScript(upperName);
    if (a < 0) {
        return;
    }
    m_engine.vars.SetSceneSeenBit(a, true);
    if (int32_t heading = m_list.HeadingAbove(a); heading > 0) {
        m_engine.vars.SetSceneSeenBit(heading, true);
    }
}

Playlist& RecollectionScreen::SlotPlaylist() {
    return m_engine.globals.RecordSlots[static_cast<size_t>(std::clamp(CurrentSlot, 0, 9))];
}

// ---- Opening and leaving.

void RecollectionScreen::Open() {
    Engine& e = m_engine;
    Pictures& pictures = e.gfx.PictureLoader();
    Fit(pictures, "ss_kaiso", m_loaded, m_base);
    Fit(pictures, "ss_kaiso2", m_loaded, m_lit);
    m_tabs = Surface();
    pictures.LoadPicture("ss_kaiso_p", m_tabs);
    m_label.Allocate(L::kLabelWidth, L::kLabelHeight);
    m_panel.Allocate(L::kPanelWidth, L::kPanelHeight);
    m_screen.Allocate(kScreenWidth, kScreenHeight);
    CurrentSlot = 0;
    CurrentCategory = 0;
    for (size_t c = 0; c < CategoryPage.size(); ++c) {
        auto pages = static_cast<int32_t>(m_list.CategoryPages[c].size());
        if (CategoryPage[c] < 0 || CategoryPage[c] >= std::max(pages, 1)) {
            CategoryPage[c] = 0;
        }
    }
    m_kept.Keep(e);
    if (!e.screens.IsOpen(*this)) {
        e.screens.Open(*this);
    }
    HoverCode = 0;
    RecollectionDrag = 0;
    PreviewState = 0;
    DrawEverything();
}

void RecollectionScreen::FreePictures() {
    m_base = Surface();
    m_lit = Surface();
    m_tabs = Surface();
    m_panel = Surface();
    m_label = Surface();
    m_screen = Surface();
    m_loaded = Surface();
}

void RecollectionScreen::Close() {
    FreePictures();
    RecollectionDrag = 0;
    PreviewState = 0;
    m_labelShown = false;
}

Point RecollectionScreen::LeavePoint() const {
    Rect close = kButtons[H::Close - H::FirstButton - 1].Area();
    return Point{close.X + close.Width / 2, close.Y + close.Height / 2};
}

void RecollectionScreen::Leave() {
    Engine& e = m_engine;
    FreePictures();
    for (const char* item : kReplayItems) {
        e.Host().SetMenuItemVisible(item, false);
    }
    e.screens.Close(*this);
}

// ---- Drawing.

void RecollectionScreen::DrawLabel(Surface& target, std::string_view text, int x, int y,
                                   int height, uint32_t colour, bool shadow, bool bold) {
    Glyphs& glyphs = m_engine.text.glyphs;
    for (int pass = shadow ? 0 : 1; pass < 2; ++pass) {
        int offset = pass == 0 ? 1 : 0;
        uint32_t c = pass == 0 ? kBlack : colour;
        glyphs.DrawPlainText(text, x + offset, y + offset, height, c, target);
        if (bold) {
            glyphs.DrawPlainText(text, x + offset + 1, y + offset, height, c, target);
        }
    }
}

void RecollectionScreen::DrawEverything() {
    DrawBase();
    DrawList();
    DrawPanel();
    m_engine.ShowBackBuffer();
}

void RecollectionScreen::DrawBase() {
    Engine& e = m_engine;
    Surface& back = e.gfx.BackBuffer;
    back.CopyFrom(m_base, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    if (CurrentCategory < L::kCategoryButtons) {
        Rect button = kCategories[CurrentCategory].Area();
        back.CopyFrom(m_lit, button, button.X, button.Y);
    }
    auto pages = static_cast<int>(m_list.CategoryPages[static_cast<size_t>(CurrentCategory)].size());
    if (pages >= 2) {
        back.CopyFrom(m_tabs, Rect{0, 0, L::kTabWidth, pages * L::kTabHeight}, L::kTabX, L::kTabY);
        int page = CategoryPage[static_cast<size_t>(CurrentCategory)];
        back.CopyFrom(m_tabs, Rect{L::kTabWidth, page * L::kTabHeight, L::kTabWidth, L::kTabHeight},
                      L::kTabX, L::kTabY + page * L::kTabHeight);
    }
    e.vars.S(cell::AutoLevel) = 0;
    e.vars.S(cell::SkipIndicator) = 0;
    e.SkipActive = 0;
}

void RecollectionScreen::DrawList() {
    Engine& e = m_engine;
    Surface& back = e.gfx.BackBuffer;
    CellScenes.fill(0);
    const auto& pages = m_list.CategoryPages[static_cast<size_t>(CurrentCategory)];
    auto page = static_cast<size_t>(CategoryPage[static_cast<size_t>(CurrentCategory)]);
    if (page >= pages.size()) {
        return;
    }
    int32_t label = m_list.Find(pages[page]);
    if (label < 0) {
        return;
    }
    int c = 0;
    for (int32_t n = label + 1; n < m_list.Count() && n <= label + L::kCells && c < L::kCells; ++n) {
        const std::string& title = m_list.Titles[static_cast<size_t>(n)];
        if (title[0] == ':') {
            break;
        }
        bool seen = e.vars.SceneSeenBit(n);
        if (title[0] == '*') {
            c = (c + 2) / 3 * 3;
            std::string_view text = seen ? std::string_view(title).substr(1) : std::string_view(title);
            if (seen && c < L::kCells) {
                DrawLabel(back, text, CellX(c), CellY(c), kListHeight, kWhite, true, true);
            }
            if (!text.empty()) {
                c += 3;
            }
            continue;
        }
        if (seen) {
            CellScenes[static_cast<size_t>(c)] = n;
            DrawLabel(back, title, CellX(c), CellY(c), kListHeight, kWhite, true, false);
        } else {
            DrawLabel(back, kUnseen, CellX(c), CellY(c), kListHeight, kGrey, true, false);
        }
        ++c;
    }
}

void RecollectionScreen::ComposePanel(int highlightRow) {
    Engine& e = m_engine;
    m_panel.CopyFrom(m_base, Rect{L::kPanelX, L::kPanelY, L::kPanelWidth, L::kPanelHeight}, 0, 0);
    const Playlist& list = SlotPlaylist();
    int rows = PlaylistLength(list, m_list);
    for (int r = 0; r < rows; ++r) {
        const std::string& title = m_list.Titles[static_cast<size_t>(list[static_cast<size_t>(r)])];
        e.text.glyphs.DrawPlainText(title, 4, L::kRowHeight * r, kRowTextHeight,
                                    r == highlightRow ? kHoverBlue : kWhite, m_panel);
    }
}

void RecollectionScreen::DrawPanel() {
    Engine& e = m_engine;
    Surface& back = e.gfx.BackBuffer;
    ComposePanel(-1);
    back.CopyFrom(m_base, kSlotStrip.Area(), kSlotStrip.X, kSlotStrip.Y);
    Rect slot{L::kSlotX + L::kSlotWidth * CurrentSlot, L::kSlotY, L::kSlotWidth, L::kSlotHeight};
    back.CopyFrom(m_lit, slot, slot.X, slot.Y);
    auto& name = e.globals.RecordNames[static_cast<size_t>(std::clamp(CurrentSlot, 0, 9))];
    if (name[0] == '\0') {
        std::snprintf(name.data(), name.size(), "Record Slot %d", CurrentSlot + 1);
    }
    back.CopyFrom(m_base, kNameArea.Area(), kNameArea.X, kNameArea.Y);
    std::string_view text(name.data(), ::strnlen(name.data(), name.size()));
    e.text.glyphs.DrawPlainText(text, 84, 564, kNameHeight, kWhite, back);
    back.CopyFrom(m_panel, Rect{0, 0, L::kPanelWidth, L::kPanelHeight}, L::kPanelX, L::kPanelY);
}

void RecollectionScreen::ShowOnPaintBox(const Surface& picture) {
    m_engine.gfx.PresentWhole(picture);
}

void RecollectionScreen::RestorePaintBox() {
    m_engine.ShowBackBuffer();
}

// ---- The pointer.

int RecollectionScreen::CellAt(int x, int y) const {
    int cell = (x - L::kListLeft) / L::kCellWidth + ((y - L::kListTop) / L::kCellHeight) * 3;
    return cell >= 0 && cell < L::kCells ? cell : -1;
}

int RecollectionScreen::ButtonAt(int x, int y) const {
    for (int i = 0; i < 7; ++i) {
        if (kButtons[i].Holds(x, y)) {
            return i + 1;
        }
    }
    return 0;
}

void RecollectionScreen::Move(int x, int y) {
    if (PreviewState != 0 || m_screen.Empty()) {
        return;
    }
    Surface& back = m_engine.gfx.BackBuffer;
    if (RecollectionDrag != 0) {
        // The label over BackBuffer where the pointer is now; where it was comes back with it.
        m_screen.CopyFrom(back, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        m_labelX = x - GrabX;
        m_labelY = y - GrabY;
        m_screen.CopyFrom(m_label, Rect{0, 0, L::kLabelWidth, L::kLabelHeight}, m_labelX, m_labelY);
        m_labelShown = true;
        ShowOnPaintBox(m_screen);
        return;
    }
    if (InList(x, y, 499)) {
        int cell = CellAt(x, y);
        if (cell >= 0 && CellScenes[static_cast<size_t>(cell)] != 0) {
            if (HoverCode != cell + 1) {
                m_screen.CopyFrom(back, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
                const std::string& title =
                    m_list.Titles[static_cast<size_t>(CellScenes[static_cast<size_t>(cell)])];
                m_engine.text.glyphs.DrawPlainText(title, CellX(cell), CellY(cell), kListHeight,
                                                   kHoverGreen, m_screen);
                ShowOnPaintBox(m_screen);
                HoverCode = cell + 1;
            }
            return;
        }
    }
    int row = (y - L::kPanelY) / L::kRowHeight;
    if (kPanel.Holds(x, y) && y <= 504 && row < PlaylistLength(SlotPlaylist(), m_list)) {
        if (HoverCode != H::FirstRow + row) {
            m_screen.CopyFrom(back, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
            ComposePanel(row);
            m_screen.CopyFrom(m_panel, Rect{0, 0, L::kPanelWidth, L::kPanelHeight}, L::kPanelX,
                              L::kPanelY);
            ShowOnPaintBox(m_screen);
            HoverCode = H::FirstRow + row;
        }
        return;
    }
    if (int button = ButtonAt(x, y); button != 0) {
        if (HoverCode != H::FirstButton + button) {
            m_screen.CopyFrom(back, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
            Rect area = kButtons[button - 1].Area();
            m_screen.CopyFrom(m_lit, area, area.X, area.Y);
            ShowOnPaintBox(m_screen);
            HoverCode = H::FirstButton + button;
        }
        return;
    }
    if (kSlotStrip.Holds(x, y)) {
        int slot = (x - L::kSlotX) / L::kSlotWidth;
        if (slot != CurrentSlot) {
            if (HoverCode != H::FirstSlot + slot) {
                m_screen.CopyFrom(back, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
                Rect area{L::kSlotX + L::kSlotWidth * slot, L::kSlotY, L::kSlotWidth, L::kSlotHeight};
                m_screen.CopyFrom(m_lit, area, area.X, area.Y);
                ShowOnPaintBox(m_screen);
                HoverCode = H::FirstSlot + slot;
            }
            return;
        }
    }
    if (HoverCode != 0) {
        RestorePaintBox();
        HoverCode = 0;
    }
}

int32_t RecollectionScreen::HoveredScene() const {
    if (HoverCode >= 1 && HoverCode <= L::kCells) {
        return CellScenes[static_cast<size_t>(HoverCode - 1)];
    }
    int row = HoverCode - H::FirstRow;
    if (row >= 0 && row < kPlaylistRows) {
        const Playlist& list =
            m_engine.globals.RecordSlots[static_cast<size_t>(std::clamp(CurrentSlot, 0, 9))];
        if (row < PlaylistLength(list, m_list)) {
            return list[static_cast<size_t>(row)];
        }
    }
    return 0;
}

void RecollectionScreen::Press(MouseButton button, int x, int y) {
    if (m_screen.Empty()) {
        return;
    }
    if (PreviewState == 1) {
        PreviewState = 2;
        return;
    }
    for (int c = 0; c < std::min(m_list.CategoryCount, L::kCategoryButtons); ++c) {
        if (kCategories[c].Holds(x, y) && c != CurrentCategory) {
            CurrentCategory = c;
            HoverCode = 0;
            DrawEverything();
            return;
        }
    }
    auto pages = static_cast<int>(m_list.CategoryPages[static_cast<size_t>(CurrentCategory)].size());
    if (pages >= 2 && x >= L::kTabX && x < L::kTabX + L::kTabWidth && y >= L::kTabY &&
        y < L::kTabY + pages * L::kTabHeight) {
        CategoryPage[static_cast<size_t>(CurrentCategory)] = (y - L::kTabY) / L::kTabHeight;
        HoverCode = 0;
        DrawEverything();
        return;
    }
    if (button == MouseButton::Left && DoubleClickTicks > 0) {
        DoubleClickTicks = 0;
        if (int32_t scene = HoveredScene(); m_list.IsScene(scene)) {
            PlayQueue.fill(0);
            PlayQueue[0] = scene;
            Play();
        }
        return;
    }
    if (button == MouseButton::Right) {
        if (int32_t scene = HoveredScene(); m_list.IsScene(scene)) {
            Preview(scene);
        }
        return;
    }
    StartDrag(x, y);
}

void RecollectionScreen::StartDrag(int x, int y) {
    if (InList(x, y, 574)) {
        int cell = CellAt(x, y);
        if (cell >= 0 && CellScenes[static_cast<size_t>(cell)] != 0) {
            RecollectionDrag = cell + 1;
            m_label.Fill(kLabelGrey);
            const std::string& title =
                m_list.Titles[static_cast<size_t>(CellScenes[static_cast<size_t>(cell)])];
            DrawLabel(m_label, title, 0, 0, kListHeight, kWhite, true, true);
            GrabX = x - CellX(cell);
            GrabY = y - CellY(cell);
            DoubleClickTicks = L::kDoubleClickTicks;
            return;
        }
    }
    if (HoverCode >= H::FirstRow && HoverCode < H::FirstRow + kPlaylistRows) {
        int row = HoverCode - H::FirstRow;
        RecollectionDrag = HoverCode;
        m_label.Fill(kLabelGrey);
        DrawLabel(m_label, m_list.Titles[static_cast<size_t>(HoveredScene())], 0, 0, kListHeight,
                  kWhite, true, true);
        GrabX = x - L::kPanelX;
        GrabY = y - (L::kPanelY + L::kRowHeight * row);
        DoubleClickTicks = L::kDoubleClickTicks;
        return;
    }
    if (HoverCode >= H::FirstSlot && HoverCode < H::FirstSlot + 10) {
        CurrentSlot = HoverCode - H::FirstSlot;
        HoverCode = 0;
        DrawPanel();
        m_engine.ShowBackBuffer();
        return;
    }
    if (HoverCode == H::Close || HoverCode == H::Play || HoverCode == H::Clear ||
        HoverCode == H::Rename) {
        PressButton(HoverCode);
    }
}

void RecollectionScreen::PressButton(int code) {
    Engine& e = m_engine;
    Rect area = kButtons[code - H::FirstButton - 1].Area();
    e.gfx.BackBuffer.CopyFrom(m_lit, area, area.X, area.Y);
    e.ShowBackBuffer();
    Playlist& list = SlotPlaylist();
    switch (code) {
    case H::Close:
        Leave();
        return;
    case H::Play: {
        PlayQueue.fill(0);
        int length = PlaylistLength(list, m_list, kPlaylistEntries);
        std::copy_n(list.begin(), length, PlayQueue.begin());
        if (PlayQueue[0] != 0) {
            Play();
            return;
        }
        break;
    }
    case H::Clear:
        list.fill(0);
        e.globals.WriteRecollection();
        break;
    case H::Rename: {
        auto& field = e.globals.RecordNames[static_cast<size_t>(CurrentSlot)];
        std::string name(field.data(), ::strnlen(field.data(), field.size()));
        if (e.dialogs.AskSlotName(name)) {
            CopyField(field.data(), field.size(), name);
            e.globals.WriteRecollection();
        }
        break;
    }
    default:
        break;
    }
    HoverCode = 0;
    DrawPanel();
    e.ShowBackBuffer();
}

void RecollectionScreen::Release(MouseButton /*button*/, int x, int y) {
    if (RecollectionDrag == 0 || m_screen.Empty()) {
        return;
    }
    Drop(x + 50 - GrabX, y + 10 - GrabY);
}

void RecollectionScreen::Drop(int x, int y) {
    Playlist& list = SlotPlaylist();
    int drag = RecollectionDrag;
    RecollectionDrag = 0;
    m_labelShown = false;
    bool inPanel = x >= L::kPanelX && x <= 767 && y >= L::kPanelY && y <= 504;
    if (drag >= H::FirstRow) {
        int from = drag - H::FirstRow;
        if (inPanel) {
            int row = std::min((y - L::kPanelY) / L::kRowHeight, kPlaylistRows - 1);
            int32_t scene = RemovePlaylistRow(list, from);
            if (from < row) {
                --row;
            }
            DropOnPlaylist(list, row, scene);
        } else {
            RemovePlaylistRow(list, from);
        }
    } else if (inPanel && drag >= 1 && drag <= L::kCells) {
        int row = std::min((y - L::kPanelY) / L::kRowHeight, kPlaylistRows - 1);
        DropOnPlaylist(list, row, CellScenes[static_cast<size_t>(drag - 1)]);
    }
    CutPlaylistAtHole(list);
    m_engine.globals.WriteRecollection();
    DrawPanel();
    m_engine.ShowBackBuffer();
}

void RecollectionScreen::Tick() {
    if (DoubleClickTicks > 0) {
        --DoubleClickTicks;
    }
}

// ---- The preview of a scene from the picture lines of its script.

void RecollectionScreen::Preview(int32_t scene) {
    Engine& e = m_engine;
    Graphics& g = e.gfx;
    if (!e.script.LoadScript(m_list.Scripts[static_cast<size_t>(scene)], ScriptTarget::Definition)) {
        return;
    }
    std::vector<std::string> lines;
    int32_t pos = 0;
    while (pos < e.script.DefinitionSize) {
        std::string line = cp932::UpperCase(e.script.DefinitionLine(pos));
        std::string_view word = line.size() >= 4 ? std::string_view(line).substr(1, 3) : "";
        if (word == "GRA" || word == "GRB" || word == "SPR") {
            lines.push_back(std::move(line));
        }
    }
    PreviewState = 1;
    Pictures& pictures = g.PictureLoader();
    for (const std::string& line : lines) {
        if (PreviewState != 1 || e.QuitRequested) {
            break;
        }
        std::string_view word = std::string_view(line).substr(1, 3);
        std::string_view argument = line.size() > 5 ? std::string_view(line).substr(5) : "";
        int held = 1;
        if (word == "GRB") {
            pictures.LoadBackground(argument.substr(0, argument.find(' ')), m_loaded);
            continue;
        }
        if (word == "GRA") {
            if (argument.starts_with('S') || argument.empty()) {
                continue;
            }
            if (argument.starts_with('B')) {
                g.SetCharacters(argument);
            } else {
                std::string_view name = argument.substr(0, argument.find_first_of(", "));
                g.BackgroundSurface.Fill(0);
                if (pictures.LoadBackground(name, m_loaded) == 0) {
                    g.BackgroundSurface.CopyFrom(m_loaded, Rect{0, 0, m_loaded.Width(), m_loaded.Height()},
                                                 0, 0);
                }
                g.SetCharacters("");
                held = argument.starts_with('A') ? 5 : 1;
            }
        } else {
            g.SetCharacters(argument);
        }
        g.ComposeScene();
        CrossFadeFull(g.BackBuffer, g.SceneSurface, 80, g.WorkSurface);
        g.PresentWhole(g.WorkSurface);
        for (int step = 0; step < held && PreviewState == 1 && !e.QuitRequested; ++step) {
            g.StartFrameClock();
            g.WaitFrames(kPreviewStepMs);
        }
    }
    e.ShowBackBuffer();
    PreviewState = 0;
}

// ---- Playing.

std::string RecollectionScreen::ReplayScriptName(int32_t scene) const {
    if (!m_list.IsScene(scene)) {
        return {};
    }
    std::string name = std::string(kReplayPrefix) + m_list.Scripts[static_cast<size_t>(scene)];
    // Cut to the name field, it would name another script.
    if (name.size() >= static_cast<size_t>(Dispatcher::kNameSize)) {
        return {};
    }
    return name;
}

bool RecollectionScreen::PlayScene(int32_t scene) {
    Engine& e = m_engine;
    std::string name = ReplayScriptName(scene);
    if (name.empty() || !e.archives.HasTextEntry(name)) {
        return false;
    }
    Dispatcher& d = e.dispatcher;
    d.CallDepth = 0;
    CopyName(d.ReturnScriptName, name);
    d.ResetTextAndWaitState();
    e.text.WindowShown = 0;
    e.script.LoadScript(name, ScriptTarget::Main);
    e.vars.S(cell::SavingAllowed) = 1;
    e.vars.S(cell::ClearedOnTitle) = 0;
    return true;
}

void RecollectionScreen::Play() {
    Engine& e = m_engine;
    // The first scene must exist before the screen is left for it.
    std::string first = ReplayScriptName(PlayQueue[0]);
    if (first.empty() || !e.archives.HasTextEntry(first)) {
        return;
    }
    PlayPosition = 0;
    e.screens.Close(*this);
    e.screens.ReplayMode = replay_mode::Recollection;
    PlayScene(PlayQueue[0]);
    e.Host().SetMenuItemVisible("N1", PlayQueue[1] != 0);
    e.Host().SetMenuItemVisible("N2", true);
    e.Host().SetMenuItemVisible("N19", true);
    for (const char* item : kSaveLoadItems) {
        e.SetMenuItemEnabled(item, false);
    }
}

void RecollectionScreen::NextQueuedScene() {
    Engine& e = m_engine;
    if (e.screens.ReplayMode != replay_mode::Recollection) {
        return;
    }
    e.sound.StopLoop();
    // A queued scene whose script is missing is passed over; the queue ends at its last entry.
    while (++PlayPosition < kPlaylistEntries && PlayQueue[static_cast<size_t>(PlayPosition)] != 0) {
        if (PlayScene(PlayQueue[static_cast<size_t>(PlayPosition)])) {
            bool more = PlayPosition + 1 < kPlaylistEntries &&
                        PlayQueue[static_cast<size_t>(PlayPosition + 1)] != 0;
            e.Host().SetMenuItemVisible("N1", more);
            return;
        }
    }
    EndSceneReplay();
}

void RecollectionScreen::EndSceneReplay() {
    Engine& e = m_engine;
    if (e.screens.ReplayMode != replay_mode::Recollection) {
        return;
    }
    VariableStore& vars = e.vars;
    e.sound.StopLoop();
    e.screens.ReplayMode = replay_mode::None;
    e.dispatcher.ResetTextAndWaitState();
    m_kept.Restore(e);
    e.gfx.Scene.OverlayName[0] = '\0';
    vars.S(cell::OverlayShown) = 0;
    e.text.WindowShown = 0;
    Pictures& pictures = e.gfx.PictureLoader();
    Fit(pictures, "ss_kaiso", m_loaded, m_base);
    Fit(pictures, "ss_kaiso2", m_loaded, m_lit);
    pictures.LoadPicture("ss_kaiso_p", m_tabs);
    m_label.Allocate(L::kLabelWidth, L::kLabelHeight);
    m_panel.Allocate(L::kPanelWidth, L::kPanelHeight);
    m_screen.Allocate(kScreenWidth, kScreenHeight);
    if (!e.screens.IsOpen(*this)) {
        e.screens.Open(*this);
    }
    HoverCode = 0;
    DrawEverything();
    for (const char* item : kReplayItems) {
        e.Host().SetMenuItemVisible(item, false);
    }
    e.sound.SetMusic(kRecollectionMusic);
    for (const char* item : kSaveLoadItems) {
        e.SetMenuItemEnabled(item, true);
    }
    vars.S(cell::SavingAllowed) = 0;
    vars.S(cell::NovelSceneAlone) = 0;
    vars.S(cell::ResumePoint) = 0;
    vars.S(cell::SceneFilter) = 0;
}

} // namespace orv
