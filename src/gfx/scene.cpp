// The compositor: background, overlay and characters into SceneSurface, and the road from
// the scene to the screen.
#include "gfx/scene.h"

#include "engine/engine.h"
#include "gfx/blend.h"
#include "save/save_io.h"
#include "script/commands.h"
#include "script/dispatcher.h"

#include <algorithm>

namespace orv {

namespace {

constexpr int kDefaultX[kPositionEntries] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};

constexpr int kOrder[5][4] = {{}, {0}, {0, 1}, {0, 2, 1}, {0, 1, 3, 2}};
constexpr int kSwappedOrder[5][4] = {{}, {0}, {1, 0}, {0, 2, 1}, {3, 2, 0, 1}};

// The overlay is drawn beneath the characters (S020 = 0) or above them (1); any other
// value hides it.
constexpr int32_t kOverlayBeneath = 0;
constexpr int32_t kOverlayAbove = 1;

} // namespace

void ResetPositionTable(VariableStore& vars) {
    for (int i = 0; i < kPositionEntries; ++i) {
        vars.S(kPositionXCell + i) = kDefaultX[i];
        vars.S(kPositionYCell + i) = 0;
    }
}

std::span<const int> DrawOrder(int count, bool swapped) {
    if (count < 1 || count > 4) {
        return {};
    }
    const int* order = swapped ? kSwappedOrder[count] : kOrder[count];
    return {order, static_cast<size_t>(count)};
}

void Graphics::ComposeScene() {
    const VariableStore& vars = m_engine.vars;
    SceneSurface.CopyFrom(BackgroundSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    bool overlay = m_engine.screens.Mode() != screen_mode::PageReview && vars.S(cell::OverlayShown) != 0;
    if (overlay && vars.S(cell::OverlayPlacement) == kOverlayBeneath) {
        DrawOverlay();
    }
    int count = std::clamp(Characters.CharacterCount, 0, CharacterLayer::kMaxDrawn);
    int base = PositionBase(count);
    for (int position : DrawOrder(count, vars.S(cell::SwappedDrawOrder) != 0)) {
        int x = ClampCoordinate(vars.S(kPositionXCell + base + position));
        int y = ClampCoordinate(vars.S(kPositionYCell + base + position));
        std::string_view name = Characters.Name(position);
        if (name.empty() && count != 1) {
            continue;
        }
        if (!name.empty() && name.front() == '#') {
            DrawComposite(name, x, y);
        } else {
            DrawCharacter(position, x, y);
        }
    }
    if (overlay && vars.S(cell::OverlayPlacement) == kOverlayAbove) {
        DrawOverlay();
    }
}

void Graphics::DrawOverlay() {
    int x = ClampCoordinate(m_engine.vars.S(cell::OverlayX));
    int y = ClampCoordinate(m_engine.vars.S(cell::OverlayY));
    int32_t weight = m_engine.vars.S(cell::OverlayWeight);
    if (weight == 0) {
        DrawSideBySideSprite(SceneSurface, x, OverlaySurface, y);
        return;
    }
    // The weighted blend covers whole groups of 8 bytes of each row. An overlay reaching
    // past the screen is clipped to it rather than written outside the scene.
    Rect from{0, 0, OverlaySurface.Width(), OverlaySurface.Height()};
    if (!ClipBlit(OverlaySurface, SceneSurface, from, x, y)) {
        return;
    }
    int groups = from.Width * 3 / 8;
    for (int row = 0; row < from.Height; ++row) {
        uint8_t* scene = SceneSurface.Row(y + row) + static_cast<size_t>(x) * 3;
        const uint8_t* picture = OverlaySurface.Row(from.Y + row) + static_cast<size_t>(from.X) * 3;
        BlendRow(scene, picture, scene, groups, weight);
    }
}

CharacterPictureLoader Graphics::CharacterLoader() {
    return CharacterPictureLoader{m_pictures, ScratchSurface, m_engine.config.TACHI_TYPE};
}

void Graphics::DrawCharacter(int position, int x, int y) {
    CharacterPictureLoader loader = CharacterLoader();
    // A scene of one character draws it even after clrb emptied its name: the picture its
    // cache entry holds stays until the scene changes.
    int index = Characters.Name(position).empty()
                    ? Characters.CacheIndex[static_cast<size_t>(position)]
                    : Characters.CachedEntry(position, loader);
    const CachedPicture& entry = Characters.Cache.Entry(index);
    DrawMaskedPicture(SceneSurface, entry.Picture, entry.Mask, x - entry.Picture.Width() / 2, y);
}

void Graphics::DrawComposite(std::string_view name, int x, int y) {
    const std::vector<std::string>& lines = m_pictures.SprSetLines;
    // The label is the name with its '#' written as ':'.
    auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() == name.size() && line.front() == ':' &&
               std::string_view(line).substr(1) == name.substr(1);
    });
    if (found == lines.end()) {
        return;
    }
    CharacterPictureLoader loader = CharacterLoader();
    int halfWidth = 0;
    auto end = found + 1 + std::min<ptrdiff_t>(kMaxCompositeLines, lines.end() - found - 1);
    for (auto line = found + 1; line != end && !(!line->empty() && line->front() == ':'); ++line) {
        std::string_view text = *line;
        size_t comma = text.find(',');
        if (comma == std::string_view::npos) {
            // A base part: cached like a character of its own; offset parts are placed
            // from its left edge.
            const CachedPicture& entry =
                Characters.Cache.Entry(Characters.Cache.Acquire(text, loader));
            halfWidth = entry.Picture.Width() / 2;
            DrawMaskedPicture(SceneSurface, entry.Picture, entry.Mask, x - halfWidth, y);
            continue;
        }
        std::string_view offsets = text.substr(comma + 1);
        int dx = ClampCoordinate(ArgumentNumber(offsets));
        size_t second = offsets.find(',');
        int dy = second == std::string_view::npos
                     ? 0
                     : ClampCoordinate(ArgumentNumber(offsets.substr(second + 1)));
        // Offset parts pass through two surfaces kept for them, not through the cache.
        if (loader.Load(text.substr(0, comma), m_partPicture, m_partMask)) {
            DrawMaskedPicture(SceneSurface, m_partPicture, m_partMask, x + dx - halfWidth, y + dy);
        }
    }
}

void Graphics::ShowScene(int32_t transition) {
    if (transition == 0) {
        return;
    }
    VariableStore& vars = m_engine.vars;
    BusyScope busy(m_engine.blocking);
    PreviousSurface.CopyFrom(BackBuffer, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    ComposeScene();
    ApplySceneFilter(SceneSurface, vars.S(cell::SceneFilter), vars.S(cell::FilterBrightness));
    if (vars.S(cell::NovelMode) != 0) {
        int32_t alone = vars.S(cell::NovelSceneAlone);
        if (alone == 2 || (alone == 1 && Scene.BackgroundChanged)) {
            // The full-screen text layout: the new scene first shows alone, then the page
            // comes over it.
            BackBuffer.CopyFrom(SceneSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
            RunTransition(transition);
            PreviousSurface.CopyFrom(BackBuffer, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
            Scene.BackgroundChanged = false;
            transition = 6;
        }
    }
    PresentFrame();
    RunTransition(transition);
}

void Graphics::PresentFrame() {
    RemoveMangaSymbol();
    if (m_engine.vars.S(cell::NovelMode) == 0) {
        if (Loop.Active) {
            RefreshLoopFrames();
        } else {
            BackBuffer.CopyFrom(SceneSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        }
    }
    m_engine.screens.status.DrawDayIndicator();
    m_engine.text.PresentWindow();
}

int32_t Graphics::SetCharacters(std::string_view list) {
    if (m_engine.SkipActive == 0 && m_engine.vars.S(cell::AutoLevel) != 1) {
        ++m_engine.globals.CharacterChangeCount;
    }
    CharacterPictureLoader loader = CharacterLoader();
    CharacterLayer::Result result = Characters.SetCharacters(list, loader);
    CopyName(Scene.CharacterDescription, result.Description);
    return result.Transition;
}

void Graphics::Exchange(SaveIo& io) {
    namespace name = save_layout::name;
    io.Name(name::BackgroundName, name::kSize, Scene.BackgroundName);
    io.Name(name::CharacterDescription, name::kCharacterDescriptionSize,
            Scene.CharacterDescription);
    io.Name(name::OverlayName, name::kSize, Scene.OverlayName);
    io.Int(save_layout::RecordOffset(save_layout::record::PrepareFlag), Scene.PrepareFlag);
}

void Graphics::RestoreScene() {
    if (Scene.BackgroundName[0] != '\0') {
        m_pictures.LoadBackground(FieldText(Scene.BackgroundName), BackgroundSurface);
        Scene.BackgroundChanged = true;
    }
    if (m_engine.vars.S(cell::OverlayShown) != 0) {
        m_pictures.LoadPicture(FieldText(Scene.OverlayName), OverlaySurface);
    }
    // A copy: SetCharacters writes the description anew.
    std::string description(FieldText(Scene.CharacterDescription));
    SetCharacters(description);
}

} // namespace orv
