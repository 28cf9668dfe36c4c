#pragma once
// The in-game screens that take the loop over while they are open. Entry points for the
// engine shell; each does nothing until its screen lands.

#include "gfx/surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/mouse_button.h"

namespace orv {

class Engine;

class Screens {
public:
    explicit Screens(Engine& engine) : m_engine(engine) {}

    void CreateViews() {}

    void StaffRollPass() {}
    void StaffRollTick() {}
    void StaffRollPause() {}
    void StaffRollResume() {}
    void StaffRollStop() {}

    // Re-evaluates the pointer every 16 passes.
    void StatusScreenPass() {}
    void StatusScreenPaint() {}

    void GalleryPass() {}
    // The upper-cased names of the pictures of the view VIEW_1 in file order; a picture's
    // number is its position. Empty until the gallery lands.
    std::span<const std::string> PictureList() const { return {}; }
    void RecollectionTick() {}

    // Quick buttons: the hover state is reset when the control under the pointer changes.
    void ResetQuickButtonHover() {}
    void RefreshQuickButtons() {}
    // Quick-button input in game mode. The presses return whether a button (or the
    // auto-speed indicator) was hit. Each lands with the quick buttons.
    void QuickButtonHover(int /*x*/, int /*y*/) {}
    bool QuickButtonPress(int /*x*/, int /*y*/) { return false; }
    bool IndicatorClick(int /*x*/, int /*y*/) { return false; }

    // Input of the screens that own the pointer while they are open; each lands with its
    // screen.
    void ConfigPress(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void ConfigMove(int /*x*/, int /*y*/) {}
    void ConfigRelease(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void StaffRollPress(MouseButton /*button*/) {}
    void StatusScreenPress(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void StatusScreenMove(int /*x*/, int /*y*/) {}
    void CloseStatusScreen() {}
    void GalleryPress(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void GalleryMove(int /*x*/, int /*y*/) {}
    void RecollectionPress(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void RecollectionMove(int /*x*/, int /*y*/) {}
    void RecollectionRelease(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    void SelectionTreeHover(int /*x*/, int /*y*/) {}
    void SelectionTreeClick() {}
    // Frees the tree's row pictures and clears SelectionKind. Lands with the selection tree.
    void CloseSelectionTree() {}
    // The replay menu items: on to the next queued scene, or out of the replay. Land with
    // the gallery and the recollection.
    void NextReplayScene() {}
    void QuitReplay() {}
    // The quick buttons drawn into the window picture whose top left is at (x, y) on the
    // screen. Lands with the quick buttons.
    void DrawQuickButtonsInto(Surface& /*window*/, int32_t /*x*/, int32_t /*y*/) {}

    // Entry points of the script commands; each does nothing until its screen lands.
    // The save list dialog: mode 1 saves, 0 loads.
    void ShowSaveList(int32_t /*mode*/) {}
    bool SaveListShown() const { return false; }
    void ShowNameEntry() {}                            // setname
    void OpenMap(std::string_view /*name*/) {}         // map
    void ShowSelectionTree(int32_t /*tree*/) {}        // seltree
    void PlayStaffRoll(std::string_view /*name*/) {}   // roll
    void PlayCreditsRoll(std::string_view /*name*/) {} // sroll
    void OpenView(std::string_view /*name*/) {}        // viewer
    void OpenRecollection() {}                         // kaisou
    void OpenConfig() {}                               // config
    // The end of a replayed scene (exit, vend, end at the top level): back to the gallery
    // view for a scene replay, on to the next queued scene in the recollection.
    void EndReplay() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
