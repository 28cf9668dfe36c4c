#include "screens/gallery_screen.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/blend.h"
#include "script/system_cells.h"

#include <algorithm>

namespace orv {

namespace {

constexpr const char* kSaveLoadItems[] = {"N5", "N8", "N9", "N10"};
constexpr const char* kReplayItems[] = {"N1", "N2", "N19"};
// A picture this high or higher is shown through a screen-sized window and scrolled.
constexpr int kTallPicture = 700;
constexpr int kScrollStep = 20; // rows a frame of 30 ms
constexpr int kFadeStart = 16;
constexpr int kPulsePeriod = 32;
constexpr char kEscape = '\x1b';

Rect ToRect(const ViewRect& r) {
    return r.Defined() ? Rect{r.X1, r.Y1, r.X2 - r.X1, r.Y2 - r.Y1} : Rect{};
}

// The part of `area` on the screen; empty when none is.
Rect OnScreen(Rect area) {
    int x1 = std::max(area.X, 0), y1 = std::max(area.Y, 0);
    int x2 = std::min(area.X + std::max(area.Width, 0), kScreenWidth);
    int y2 = std::min(area.Y + std::max(area.Height, 0), kScreenHeight);
    return x2 > x1 && y2 > y1 ? Rect{x1, y1, x2 - x1, y2 - y1} : Rect{};
}

std::string FieldAt(std::string_view list, size_t index) {
    std::vector<std::string_view> names = SplitViewFields(list);
    return index < names.size() ? std::string(names[index]) : std::string();
}

} // namespace

// ---- Start-up and the marks of play.

void GalleryScreen::CreateViews() {
    m_engine.gfx.PictureLoader().SetHooks(*this);
    ScriptState& script = m_engine.script;
    if (!script.LoadScript("view", ScriptTarget::Definition)) {
        return;
    }
    std::string_view text = script.DefinitionText();
    m_pictureList = ReadViewDefinition(text, "VIEW_1", nullptr).AllPictures;
    m_replayList = ReadViewDefinition(text, "VIEW_2", nullptr).ReplayEntries;
}

void GalleryScreen::BackgroundLoading(std::string_view upperName) {
    auto listed = std::find(m_pictureList.begin(), m_pictureList.end(), upperName);
    if (listed != m_pictureList.end()) {
        m_engine.vars.SetPictureUnlockedBit(static_cast<int>(listed - m_pictureList.begin()), true);
    }
}

void GalleryScreen::ReplayScriptRequested(std::string_view name) {
    if (m_replayList.empty()) {
        return;
    }
    std::string upper = cp932::UpperCase(name);
    for (const auto& [flag, script] : m_replayList) {
        if (script == upper) {
            m_engine.vars.SetFlag(FlagKind::E, flag);
        }
    }
}

bool GalleryScreen::PictureSeen(std::string_view name) const {
    auto listed = std::find(m_pictureList.begin(), m_pictureList.end(), name);
    return listed != m_pictureList.end() &&
           m_engine.vars.PictureUnlockedBit(static_cast<int>(listed - m_pictureList.begin()));
}

// ---- Opening and leaving.

void GalleryScreen::SetPopupItemsEnabled(bool enabled) {
    for (const char* item : kSaveLoadItems) {
        m_engine.SetMenuItemEnabled(item, enabled);
    }
}

void GalleryScreen::OpenView(std::string_view name) {
    Engine& e = m_engine;
    if (!e.script.LoadScript("view", ScriptTarget::Definition)) {
        SetPopupItemsEnabled(false);
        return;
    }
    std::string upper = cp932::UpperCase(name);
    // The second gallery numbers its pictures after those of the first.
    int32_t first = upper == "2_VIEW_1" ? static_cast<int32_t>(m_pictureList.size()) : 0;
    SetPopupItemsEnabled(false);
    ViewDefinition view = ReadViewDefinition(e.script.DefinitionText(), upper, &e.vars, first);
    ViewName = upper;
    PlayingTrack = LastTrack = 0;
    if (!view.Found) {
        return;
    }
    m_view = std::move(view);
    e.vars.S(cell::SaveLoad) = 2;
    e.UpdateMenus();
    Pictures& pictures = e.gfx.PictureLoader();
    m_plate = Surface();
    m_plate2 = Surface();
    m_digits = Surface();
    if (!m_view.Plate.empty()) {
        pictures.LoadPicture(m_view.Plate, m_plate);
    }
    if (!m_view.Plate2.empty()) {
        pictures.LoadPicture(m_view.Plate2, m_plate2);
    }
    DigitWidth = DigitHeight = 0;
    if (!m_view.Digits.empty() && pictures.LoadPicture(m_view.Digits, m_digits)) {
        DigitWidth = m_digits.Width() / 2;
        DigitHeight = m_digits.Height() / 10;
    }
    if (m_view.Type != view_type::MusicPlayer) {
        e.sound.SetMusic(m_view.Music);
    }
    CurrentSet = 0;
    PictureIndex = 0;
    GalleryHover = 0;
    Viewing = 0;
    if (!e.screens.IsOpen(*this)) {
        e.screens.Open(*this);
    }
    DrawGalleryPage();
    ViewBusy = 0;
}

void GalleryScreen::FreePictures() {
    m_plate = Surface();
    m_plate2 = Surface();
    m_digits = Surface();
    m_loaded = Surface();
    m_picture = Surface();
}

void GalleryScreen::Close() {
    FreePictures();
    Viewing = 0;
    ViewBusy = 0;
}

std::optional<Point> GalleryScreen::LeavePoint() const {
    Rect exit = ItemRect(gallery_item::Exit);
    if (Viewing || exit.Width <= 0 || exit.Height <= 0) {
        return std::nullopt;
    }
    return Point{exit.X + exit.Width / 2, exit.Y + exit.Height / 2};
}

void GalleryScreen::Leave(bool restoreSaveLoad) {
    Engine& e = m_engine;
    e.sound.SetMusic(0);
    SetPopupItemsEnabled(true);
    FreePictures();
    Viewing = 0;
    e.screens.Close(*this);
    if (restoreSaveLoad) {
        e.screens.ReplayMode = replay_mode::None;
        e.vars.S(cell::SaveLoad) = 1;
        e.UpdateMenus();
    }
}

void GalleryScreen::JumpToView(int digit) {
    std::string name = "VIEW_" + std::to_string(digit);
    // A jump to a view the resource lacks would leave a page with nothing behind it.
    ScriptState& script = m_engine.script;
    if (!script.LoadScript("view", ScriptTarget::Definition) ||
        !ReadViewDefinition(script.DefinitionText(), name, nullptr).Found) {
        return;
    }
    FreePictures();
    OpenView(name);
}

// ---- Drawing.

void GalleryScreen::DrawGalleryPage() {
    Graphics& g = m_engine.gfx;
    FadeCounters.fill(0);
    auto set = static_cast<size_t>(std::clamp(CurrentSet, 0, ViewDefinition::kMaxSets - 1));
    const std::string& pictures = m_view.SetPictures[set];
    Pictures& loader = g.PictureLoader();
    // The screen surfaces keep their size whatever the page pictures measure.
    auto fit = [&](size_t field, Surface& target) {
        target.Fill(0);
        std::string name = FieldAt(pictures, field);
        if (!name.empty() && loader.LoadPicture(name, m_loaded)) {
            target.CopyFrom(m_loaded, Rect{0, 0, m_loaded.Width(), m_loaded.Height()}, 0, 0);
        }
    };
    fit(0, g.SceneSurface);
    fit(1, g.BackgroundSurface);
    g.WorkSurface.CopyFrom(g.BackgroundSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    if (m_view.Type != view_type::MusicPlayer) {
        for (int slot = 1; slot <= ViewDefinition::kSlots; ++slot) {
            auto n = static_cast<size_t>(slot);
            int x = m_view.SlotX[n], y = m_view.SlotY[n];
            uint8_t state = m_view.SlotState[set][n];
            if (state == slot_state::Locked && !m_plate.Empty()) {
                DrawSideBySideSprite(g.SceneSurface, x, m_plate, y);
            } else if (state == slot_state::PartlyOpen && !m_plate2.Empty()) {
                DrawSideBySideSprite(g.SceneSurface, x, m_plate2, y);
                DrawSideBySideSprite(g.BackgroundSurface, x, m_plate2, y);
            }
        }
    }
    if (m_view.Type == view_type::Pictures && !m_digits.Empty()) {
        DrawPercentage();
    }
    g.BackBuffer.CopyFrom(g.SceneSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    m_engine.ShowBackBuffer();
}

void GalleryScreen::DrawPercentage() {
    std::array<int, 3> digits = PercentageDigits(m_view.SeenPictures, m_view.TotalPictures);
    for (int cell = 0; cell < 3; ++cell) {
        if (digits[static_cast<size_t>(cell)] >= 0) {
            DrawDigit(digits[static_cast<size_t>(cell)], m_view.PercentX + cell * DigitWidth);
        }
    }
}

// Digit d is the band d of the strip, its colour on the left blended through the mask on
// the right, clipped to the scene.
void GalleryScreen::DrawDigit(int digit, int x) {
    Surface& scene = m_engine.gfx.SceneSurface;
    if (DigitWidth <= 0 || DigitHeight <= 0) {
        return;
    }
    int left = std::max(x, 0);
    int right = std::min(x + DigitWidth, scene.Width());
    if (right <= left) {
        return;
    }
    int pixels = right - left;
    for (int row = 0; row < DigitHeight; ++row) {
        int y = m_view.PercentY + row;
        int source = digit * DigitHeight + row;
        if (y < 0 || y >= scene.Height() || source >= m_digits.Height()) {
            continue;
        }
        uint8_t* d = scene.Row(y) + left * 3;
        const uint8_t* colour = m_digits.Row(source) + (left - x) * 3;
        const uint8_t* mask = colour + DigitWidth * 3;
        MaskBlendRowTail(d, colour, d, mask, pixels);
    }
}

Rect GalleryScreen::ItemRect(int item) const {
    if (IsSlot(item)) {
        auto n = static_cast<size_t>(item);
        return Rect{m_view.SlotX[n], m_view.SlotY[n], m_view.ThumbWidth, m_view.ThumbHeight};
    }
    switch (item) {
    case gallery_item::Next:
        return ToRect(m_view.Next);
    case gallery_item::Prev:
        return ToRect(m_view.Prev);
    case gallery_item::Exit:
        return ToRect(m_view.Exit);
    default:
        break;
    }
    int n = item - gallery_item::FirstSetRegion;
    if (n >= 0 && n < ViewDefinition::kSetRegions) {
        return ToRect(m_view.SetRegions[static_cast<size_t>(n)].Area);
    }
    return {};
}

void GalleryScreen::ShowArea(Rect area) {
    area = OnScreen(area);
    if (area.Width > 0) {
        m_engine.gfx.Present(m_engine.gfx.BackBuffer, area, area.X, area.Y);
    }
}

void GalleryScreen::Highlight(Rect area) {
    Graphics& g = m_engine.gfx;
    g.BackBuffer.CopyFrom(g.BackgroundSurface, area, area.X, area.Y);
    ShowArea(area);
}

void GalleryScreen::RestoreCaption() {
    Graphics& g = m_engine.gfx;
    Rect area = ToRect(m_view.Caption);
    g.BackBuffer.CopyFrom(g.SceneSurface, area, area.X, area.Y);
}

void GalleryScreen::DrawCaption(int slot) {
    const ViewRect& c = m_view.Caption;
    const std::string& caption =
        m_view.SlotCaption[static_cast<size_t>(CurrentSet)][static_cast<size_t>(slot)];
    RestoreCaption();
    const GameConfig& config = m_engine.config;
    int centre = (c.X1 + c.X2) / 2 - 10;
    int y = c.Y1 + (c.Y2 - c.Y1 - config.FONT_SIZE) / 2 - 3;
    m_engine.text.glyphs.DrawTextCentred(caption, centre, m_engine.gfx.BackBuffer, 0, y,
                                         config.TX_PITCH_X,
                                         static_cast<uint32_t>(m_engine.vars.S(cell::TextColourZero)));
    ShowArea(ToRect(c));
}

// ---- The pointer.

int GalleryScreen::GalleryHitTest(int x, int y) const {
    auto set = static_cast<size_t>(CurrentSet);
    // Slot 50 is drawn but never hit.
    for (int slot = 1; slot < ViewDefinition::kSlots; ++slot) {
        auto n = static_cast<size_t>(slot);
        int sx = m_view.SlotX[n], sy = m_view.SlotY[n];
        if (m_view.SlotState[set][n] > slot_state::Locked && x >= sx && y >= sy &&
            x < sx + m_view.ThumbWidth && y < sy + m_view.ThumbHeight) {
            return slot;
        }
    }
    auto inRange = [&](const SetRegion& r) {
        return r.Area.Holds(x, y) && r.First <= CurrentSet && CurrentSet <= r.Last;
    };
    for (int n = 0; n < ViewDefinition::kSetRegions; ++n) {
        if (inRange(m_view.SetRegions[static_cast<size_t>(n)])) {
            return gallery_item::FirstSetRegion + n;
        }
    }
    // The view's own number is no jump: VIEW_1 has no M1.
    char own = ViewName.size() > 5 ? ViewName[5] : '\0';
    for (int d = 0; d < ViewDefinition::kViewRegions; ++d) {
        if (own != '0' + d && inRange(m_view.ViewRegions[static_cast<size_t>(d)])) {
            return gallery_item::FirstViewRegion + d;
        }
    }
    if (m_view.Exit.Holds(x, y)) {
        return gallery_item::Exit;
    }
    if (m_view.Prev.Holds(x, y)) {
        return gallery_item::Prev;
    }
    if (m_view.Next.Holds(x, y)) {
        return gallery_item::Next;
    }
    return gallery_item::None;
}

void GalleryScreen::Move(int x, int y) {
    if (Viewing || ViewBusy) {
        return;
    }
    int item = GalleryHitTest(x, y);
    if (item == gallery_item::Next || item == gallery_item::Prev) {
        if (m_view.SetCount != 1 || m_view.Type == view_type::MusicPlayer) {
            Highlight(ItemRect(item));
        }
    } else if (item == gallery_item::Exit ||
               (item >= gallery_item::FirstSetRegion && item < gallery_item::FirstViewRegion)) {
        Highlight(ItemRect(item));
    } else if (IsSlot(item)) {
        Highlight(ItemRect(item));
        if (m_view.Type == view_type::SceneReplay && item != GalleryHover &&
            m_view.Caption.Defined()) {
            DrawCaption(item);
        }
    }
    if (item != gallery_item::None) {
        FadeCounters[static_cast<size_t>(item)] = kFadeStart;
    } else if (m_view.Caption.Defined()) {
        RestoreCaption();
        ShowArea(ToRect(m_view.Caption));
    }
    GalleryHover = item;
}

// ---- The fading of what the pointer left.

AfterPass GalleryScreen::Pass() {
    GalleryTick();
    return AfterPass::Pace;
}

void GalleryScreen::GalleryTick() {
    if (Viewing) {
        return;
    }
    ++m_passes;
    if (m_view.Type == view_type::MusicPlayer && m_passes % kPulsePeriod == 0 && PlayingTrack) {
        FadeCounters[gallery_item::Next] = kFadeStart;
        if (IsSlot(PlayingTrack)) {
            FadeCounters[static_cast<size_t>(PlayingTrack)] = 2 * kFadeStart;
        }
    }
    bool blended = false;
    for (int item = 1; item < gallery_item::FirstViewRegion; ++item) {
        int32_t& c = FadeCounters[static_cast<size_t>(item)];
        if (item == ViewDefinition::kSlots || item == GalleryHover || c <= 0) {
            continue;
        }
        --c;
        BlendItem(ItemRect(item), c * 8);
        blended = true;
    }
    if (blended) {
        m_engine.ShowBackBuffer();
    }
}

// (twin x weight + page x (256 - weight)) / 256 over the area widened to whole groups of 8
// pixels, as far as the screen reaches.
void GalleryScreen::BlendItem(Rect area, int weight) {
    area.Width = (area.Width + 7) & ~7;
    area = OnScreen(area);
    if (area.Width <= 0) {
        return;
    }
    Graphics& g = m_engine.gfx;
    int bytes = area.Width * 3;
    int groups = bytes / 8;
    for (int y = area.Y; y < area.Y + area.Height; ++y) {
        const uint8_t* page = g.SceneSurface.Row(y) + area.X * 3;
        const uint8_t* twin = g.BackgroundSurface.Row(y) + area.X * 3;
        uint8_t* d = g.BackBuffer.Row(y) + area.X * 3;
        BlendRow(page, twin, d, groups, weight);
        for (int k = groups * 8; k < bytes; ++k) {
            d[k] = static_cast<uint8_t>((twin[k] * weight + page[k] * (256 - weight)) >> 8);
        }
    }
}

// ---- Presses.

void GalleryScreen::Press(MouseButton button, int /*x*/, int /*y*/) {
    if (ViewBusy) {
        return;
    }
    if (button == MouseButton::Right) {
        if (Viewing) {
            GalleryHover = 0;
            BackToPage();
        }
        return;
    }
    PressItem(button, GalleryHover);
}

bool GalleryScreen::KeyPress(char key) {
    if (key != kEscape || !Viewing || ViewBusy) {
        return false;
    }
    GalleryHover = 0;
    BackToPage();
    return true;
}

void GalleryScreen::BackToPage() {
    Viewing = 0;
    DrawGalleryPage();
}

void GalleryScreen::PressItem(MouseButton button, int item) {
    Engine& e = m_engine;
    int32_t type = m_view.Type;
    if (item >= gallery_item::FirstViewRegion && item < gallery_item::Count) {
        JumpToView(item - gallery_item::FirstViewRegion);
        return;
    }
    if (item >= gallery_item::FirstSetRegion && item < gallery_item::FirstViewRegion) {
        int32_t target = m_view.SetRegions[static_cast<size_t>(item - gallery_item::FirstSetRegion)].Target;
        if (target >= 0 && target < m_view.SetCount) {
            CurrentSet = target;
            DrawGalleryPage();
        }
        return;
    }
    if (type == view_type::MusicList && IsSlot(item)) {
        Graphics& g = e.gfx;
        g.BackBuffer.CopyFrom(g.SceneSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        Rect slot = ItemRect(item);
        g.BackBuffer.CopyFrom(g.WorkSurface, slot, slot.X, slot.Y);
        e.ShowBackBuffer();
        e.sound.SetMusic(item);
        PlayingTrack = item;
        return;
    }
    if (type == view_type::MusicPlayer) {
        if (IsSlot(item)) {
            PlayingTrack = LastTrack = item;
            e.sound.SetMusic(item);
        } else if (item == gallery_item::Next && PlayingTrack == 0) {
            e.sound.SetMusic(LastTrack);
            PlayingTrack = LastTrack;
        } else if (item == gallery_item::Prev) {
            PlayingTrack = 0;
            e.sound.SetMusic(0);
        } else if (item == gallery_item::Exit) {
            Leave(false);
        }
        return;
    }
    if (type == view_type::SceneReplay && IsSlot(item)) {
        StartReplay(item);
        return;
    }
    if (Viewing) {
        if (button == MouseButton::Left) {
            ShowGroupPicture();
        } else if (button == MouseButton::Middle) {
            BackToPage();
        }
        return;
    }
    if (IsSlot(item)) {
        PictureIndex = 0;
        ScrollState = 0;
        Viewing = ShowGroupPicture() ? 1 : 0;
    } else if (item == gallery_item::Next) {
        CurrentSet = (CurrentSet + 1) % m_view.SetCount;
        DrawGalleryPage();
    } else if (item == gallery_item::Prev) {
        CurrentSet = (CurrentSet + m_view.SetCount - 1) % m_view.SetCount;
        DrawGalleryPage();
    } else if (item == gallery_item::Exit) {
        Leave(true);
    }
}

// ---- Viewing a slot's pictures.

bool GalleryScreen::ShowGroupPicture() {
    if (!IsSlot(GalleryHover)) {
        return false;
    }
    const std::string& entry =
        m_view.SlotEntry[static_cast<size_t>(CurrentSet)][static_cast<size_t>(GalleryHover)];
    std::vector<std::string_view> names = SplitViewFields(entry);
    if (names.size() > static_cast<size_t>(ViewDefinition::kNamesPerSlot)) {
        names.resize(ViewDefinition::kNamesPerSlot);
    }
    // Each name is tried once: a slot whose pictures are all unseen (a second gallery's, or
    // names that are not in the list) leaves the page as it is instead of searching forever.
    std::string name;
    for (size_t tries = 0; tries <= names.size(); ++tries) {
        auto index = static_cast<size_t>(std::max(PictureIndex, 0));
        if (index >= names.size() || names[index].empty()) {
            PictureIndex = 0;
            index = 0;
        }
        if (!names.empty() && !names[index].empty() && PictureSeen(names[index])) {
            name = std::string(names[index]);
            break;
        }
        ++PictureIndex;
    }
    if (name.empty()) {
        return false;
    }
    ViewBusy = 1;
    if (m_engine.gfx.PictureLoader().LoadBackground(name, m_picture) != 0) {
        m_picture.Allocate(kScreenWidth, kScreenHeight);
    }
    ShowViewedPicture();
    ++PictureIndex;
    ViewBusy = 0;
    return true;
}

void GalleryScreen::ShowViewedPicture() {
    int height = m_picture.Height();
    if (height < kTallPicture) {
        ShowWindowAt(0);
        return;
    }
    int bottom = height - kScreenHeight;
    if (ScrollState == 0) {
        ShowWindowAt(bottom);
        ScrollState = 1;
    } else if (ScrollState == 1) {
        ScrollTo(bottom, 0);
        ScrollState = 2;
    } else {
        ScrollTo(0, bottom);
        ScrollState = 1;
    }
}

// The tall picture stays in its own surface; BackBuffer only ever takes a screenful of it.
void GalleryScreen::ShowWindowAt(int top) {
    Surface& back = m_engine.gfx.BackBuffer;
    if (m_picture.Width() < kScreenWidth || m_picture.Height() - top < kScreenHeight) {
        back.Fill(0);
    }
    back.CopyFrom(m_picture, Rect{0, top, kScreenWidth, kScreenHeight}, 0, 0);
    ViewTop = top;
    m_engine.ShowBackBuffer();
}

void GalleryScreen::ScrollTo(int from, int to) {
    Engine& e = m_engine;
    BusyScope busy(e.blocking);
    int distance = std::abs(to - from);
    int direction = to > from ? 1 : -1;
    e.gfx.StartFrameClock();
    for (int d = 0; d < distance && !e.QuitRequested; d += e.gfx.WaitFrames(30) * kScrollStep) {
        ShowWindowAt(from + direction * d);
    }
    ShowWindowAt(to);
}

void GalleryScreen::Wheel(int delta) {
    if (!Viewing || ViewBusy || m_picture.Height() < kTallPicture) {
        return;
    }
    if ((delta > 0 && ScrollState == 1) || (delta < 0 && ScrollState == 2)) {
        ViewBusy = 1;
        ShowViewedPicture();
        ViewBusy = 0;
    }
}

// ---- Scene replay.

void GalleryScreen::StartReplay(int slot) {
    Engine& e = m_engine;
    std::string name = m_view.SlotEntry[static_cast<size_t>(CurrentSet)][static_cast<size_t>(slot)];
    // A scene that no archive holds would leave the player in an empty replay.
    if (name.empty() || !e.archives.HasTextEntry(name)) {
        return;
    }
    m_kept.Keep(e);
    e.screens.Close(*this);
    e.screens.ReplayMode = replay_mode::Gallery;
    Dispatcher& d = e.dispatcher;
    d.CallDepth = 0;
    CopyName(d.ReturnScriptName, name);
    char first = static_cast<char>(name[0] & ~0x20);
    if (first == 'K' || first == 'V' || first == 'F') {
        e.text.LoadSystemPictures();
    }
    d.ResetTextAndWaitState();
    e.text.ResetPage();
    e.text.WindowShown = 0;
    e.vars.S(cell::SkipIndicator) = 0;
    e.script.LoadScript(name, ScriptTarget::Main);
    e.vars.S(cell::SavingAllowed) = 1;
    e.vars.S(cell::ClearedOnTitle) = 0;
    e.Host().SetMenuItemVisible("N2", true);
    e.Host().SetMenuItemVisible("N19", true);
    SetPopupItemsEnabled(false);
}

void GalleryScreen::ReturnFromReplay() {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    e.sound.StopLoop();
    e.screens.ReplayMode = replay_mode::None;
    e.dispatcher.ResetTextAndWaitState();
    m_kept.Restore(e);
    e.text.WindowShown = 0;
    vars.S(cell::NovelMode) = 0;
    vars.S(cell::ClearedOnTitle) = 0;
    e.gfx.Scene.OverlayName[0] = '\0';
    vars.S(cell::OverlayShown) = 0;
    e.SkipActive = 0;
    e.sound.StopLoop();
    e.sound.SetMusic(m_view.Music);
    vars.S(cell::SavingAllowed) = 0;
    if (!e.screens.IsOpen(*this)) {
        e.screens.Open(*this);
    }
    Viewing = 0;
    DrawGalleryPage();
    for (const char* item : kReplayItems) {
        e.Host().SetMenuItemVisible(item, false);
    }
    SetPopupItemsEnabled(true);
    e.gfx.StopBackgroundLoop();
    e.wait.PassWait = 0;
    vars.S(cell::NovelSceneAlone) = 0;
    vars.S(cell::ResumePoint) = 0;
    vars.S(cell::SceneFilter) = 0;
}

} // namespace orv
