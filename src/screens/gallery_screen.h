#pragma once
// The picture gallery (`viewer`): pages of thumbnails laid out by a view of the "view"
// resource. One screen serves four kinds of view: pictures that unlock as the player sees
// them in play, scenes that replay and come back, a music list and a music player. The
// pictures and replay scripts it lists are read at start-up, so that play can mark them seen.

#include "gfx/pictures.h"
#include "gfx/surface.h"
#include "platform/platform.h"
#include "screens/kept_script.h"
#include "screens/screen.h"
#include "screens/screen_modes.h"
#include "screens/view_definition.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

class Engine;

// GalleryHover and the hit test: slots are 1..49, then these.
namespace gallery_item {
constexpr int None = 0;
constexpr int Next = 51;
constexpr int Prev = 52;
constexpr int Exit = 53;
constexpr int FirstSetRegion = 60; // 60..77
constexpr int FirstViewRegion = 80; // 80..89: VIEW_0..VIEW_9
constexpr int Count = 90;
} // namespace gallery_item

class GalleryScreen final : public Screen, public PictureHooks {
public:
    explicit GalleryScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::Gallery; }
    void Press(MouseButton button, int x, int y) override;
    void Move(int x, int y) override;
    // Escape backs out of a viewed picture as the right button does.
    bool KeyPress(char key) override;
    // The wheel scrolls a tall picture: up towards its top, down towards its bottom.
    void Wheel(int delta) override;
    AfterPass Pass() override;
    void Close() override;
    // Where a player presses to leave the page: the centre of its exit; nothing while a
    // picture is viewed (a right press backs out of it) or when the view has no exit.
    std::optional<Point> LeavePoint() const;

    // Start-up: the pictures of VIEW_1 and the replay scripts of VIEW_2, and the watch on
    // backgrounds that marks listed pictures seen.
    void CreateViews();
    void OpenView(std::string_view name); // viewer
    // The upper-cased names of the pictures of VIEW_1 in file order; a picture's number is
    // its position.
    std::span<const std::string> PictureList() const { return m_pictureList; }
    // Every script load request: a replay script of VIEW_2 sets its E flag.
    void ReplayScriptRequested(std::string_view name);
    void BackgroundLoading(std::string_view upperName) override;
    // A replayed scene ended (exit, vend, its end, the menu's 回想終了): back to its view.
    void EndReplay() { ReturnFromReplay(); }
    void QuitReplay() { ReturnFromReplay(); }

    void DrawGalleryPage();
    int GalleryHitTest(int x, int y) const;

    const ViewDefinition& View() const { return m_view; }
    std::string ViewName;
    int32_t CurrentSet = 0;
    int32_t GalleryHover = 0;
    uint8_t Viewing = 0;
    int32_t PictureIndex = 0;
    int32_t ScrollState = 0;
    uint8_t ViewBusy = 0;
    int32_t PlayingTrack = 0;
    int32_t LastTrack = 0;
    int32_t DigitWidth = 0;
    int32_t DigitHeight = 0;
    // The row of the viewed picture at the top of the screen.
    int32_t ViewTop = 0;
    std::array<int32_t, gallery_item::Count> FadeCounters{};

private:
    void GalleryTick();
    void PressItem(MouseButton button, int item);
    bool IsSlot(int item) const { return item >= 1 && item < ViewDefinition::kSlots; }
    Rect ItemRect(int item) const;
    void Highlight(Rect area);
    void ShowArea(Rect area);
    void DrawCaption(int slot);
    void RestoreCaption();
    void BlendItem(Rect area, int weight);
    void DrawDigit(int digit, int x);
    void DrawPercentage();
    void SetPopupItemsEnabled(bool enabled);
    void FreePictures();
    // The view's end by its exit button.
    void Leave(bool restoreSaveLoad);
    void JumpToView(int digit);
    void BackToPage();
    // Shows the next seen picture of the hovered slot; false when it has none.
    bool ShowGroupPicture();
    void ShowViewedPicture();
    void ShowWindowAt(int top);
    void ScrollTo(int from, int to);
    void StartReplay(int slot);
    void ReturnFromReplay();
    bool PictureSeen(std::string_view name) const;

    Engine& m_engine;
    std::vector<std::string> m_pictureList;
    std::vector<std::pair<int32_t, std::string>> m_replayList; // E flag, script
    ViewDefinition m_view;
    KeptScript m_kept;
    int32_t m_passes = 0;
    Surface m_plate;
    Surface m_plate2;
    Surface m_digits;
    Surface m_loaded;  // a page picture before it is fitted to the screen
    Surface m_picture; // the viewed picture at its own size, however tall
};

} // namespace orv
