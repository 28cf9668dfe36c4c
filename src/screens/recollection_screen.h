#pragma once
// The recollection (`kaisou`): the scenes seen in play by category and page, and ten record
// slots whose playlists (kept in kaiso.dat) play several scenes in a row. A scene replays as
// the script "k_" + its script name; the screen comes back when the last one ends.

#include "gfx/surface.h"
#include "screens/kept_script.h"
#include "screens/scene_list.h"
#include "platform/platform.h"
#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class Engine;

namespace recollection_layout {
constexpr int kCells = 150;
constexpr int kCategoryButtons = 5;
constexpr int kListLeft = 25, kListTop = 155, kCellWidth = 166, kCellHeight = 15;
constexpr int kPanelX = 568, kPanelY = 155, kPanelWidth = 208, kPanelHeight = 348;
constexpr int kRowHeight = 14;
constexpr int kSlotX = 72, kSlotY = 514, kSlotWidth = 44, kSlotHeight = 43;
constexpr int kTabX = 519, kTabY = 159, kTabWidth = 28, kTabHeight = 58;
constexpr int kLabelWidth = 160, kLabelHeight = 16;
constexpr int kDoubleClickTicks = 5;
} // namespace recollection_layout

// HoverCode: cell + 1, 200 + playlist row, 300 + command button, 400 + slot button.
namespace recollection_hover {
constexpr int FirstRow = 200;
constexpr int FirstButton = 300;
constexpr int Close = 301, Play = 302, Clear = 303, Rename = 307;
constexpr int FirstSlot = 400;
} // namespace recollection_hover

class RecollectionScreen final : public Screen {
public:
    explicit RecollectionScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::Recollection; }
    void Press(MouseButton button, int x, int y) override;
    void Move(int x, int y) override;
    void Release(MouseButton button, int x, int y) override;
    void Tick() override;
    AfterPass Pass() override { return AfterPass::Pace; }
    void Close() override;
    // Where a player presses to leave the screen: the centre of its close button.
    Point LeavePoint() const;

    // Start-up: the scene list of "sys_flashbak".
    void LoadSceneList();
    void Open(); // kaisou
    // Every script read: a listed scene, and the heading above it, count as seen.
    void MarkSceneSeen(std::string_view upperName);
    // The replay of the queued scenes: on to the next one, or out.
    void NextQueuedScene();
    void QuitReplay() { EndSceneReplay(); }
    void EndSceneReplay();

    void DrawEverything();
    const SceneList& Scenes() const { return m_list; }
    // The playlist of the slot shown.
    Playlist& SlotPlaylist();

    int32_t CurrentCategory = 0;
    std::array<int32_t, SceneList::kMaxCategories> CategoryPage{};
    std::array<int32_t, recollection_layout::kCells> CellScenes{};
    int32_t CurrentSlot = 0;
    int32_t HoverCode = 0;
    int32_t RecollectionDrag = 0;
    int32_t GrabX = 0, GrabY = 0;
    int32_t DoubleClickTicks = 0;
    int32_t PreviewState = 0;
    std::array<int32_t, kPlaylistEntries> PlayQueue{};
    int32_t PlayPosition = 0;

private:
    void DrawBase();
    void DrawList();
    void DrawPanel();
    // The panel into the panel surface, one row in `highlight` colour when not negative.
    void ComposePanel(int highlightRow);
    void DrawLabel(Surface& target, std::string_view text, int x, int y, int height,
                   uint32_t colour, bool shadow, bool bold);
    void ShowOnPaintBox(const Surface& picture);
    void RestorePaintBox();
    int CellAt(int x, int y) const;
    int ButtonAt(int x, int y) const;
    int32_t HoveredScene() const;
    void StartDrag(int x, int y);
    void PressButton(int code);
    void Drop(int x, int y);
    void Preview(int32_t scene);
    bool PlayScene(int32_t scene);
    void Play();
    void Leave();
    void FreePictures();
    std::string ReplayScriptName(int32_t scene) const;

    Engine& m_engine;
    SceneList m_list;
    KeptScript m_kept;
    Surface m_base;    // ss_kaiso
    Surface m_lit;     // ss_kaiso2
    Surface m_tabs;    // ss_kaiso_p
    Surface m_panel;   // the playlist panel
    Surface m_label;   // what is dragged
    Surface m_screen;  // BackBuffer with the pointer's highlights, for PB
    Surface m_loaded;
    int m_labelX = 0, m_labelY = 0;
    bool m_labelShown = false;
};

} // namespace orv
