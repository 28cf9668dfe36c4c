#pragma once
// The in-game screens that take the loop over while they are open. Entry points for the
// engine shell; each does nothing until its screen lands.

#include "gfx/surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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
    // The quick buttons drawn into the window picture whose top left is at (x, y) on the
    // screen. Lands with the quick buttons.
    void DrawQuickButtonsInto(Surface& /*window*/, int32_t /*x*/, int32_t /*y*/) {}

    // Entry points of the script commands; each does nothing until its screen lands.
    // The in-game yes/no prompt; `action` runs on yes (1 quick load, 3 title).
    void AskYesNo(std::string_view /*message*/, int32_t /*action*/) {}
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
