#pragma once
// The in-game screens and the stack that says which of them owns input, with the pieces of
// the game screen that are drawn over it (the quick buttons, the selection tree) and the
// replay of scenes from the gallery and the recollection.

#include "screens/backlog_screen.h"
#include "screens/config_screen.h"
#include "screens/gallery_screen.h"
#include "screens/game_screen.h"
#include "screens/map_screen.h"
#include "screens/page_review_screen.h"
#include "screens/quick_buttons.h"
#include "screens/recollection_screen.h"
#include "screens/screen_stack.h"
#include "screens/scrolling_picture_screen.h"
#include "screens/selection_tree.h"
#include "screens/staff_roll_screen.h"
#include "screens/status_screen.h"
#include "screens/window_hidden_screen.h"

#include <cstdint>

namespace orv {

class Engine;
class SaveIo;

// ReplayMode: what a replayed scene returns to when it ends.
namespace replay_mode {
constexpr uint8_t None = 0;
constexpr uint8_t Gallery = 1;
constexpr uint8_t Recollection = 2;
} // namespace replay_mode

class Screens {
public:
    explicit Screens(Engine& engine);
    Screens(const Screens&) = delete;
    Screens& operator=(const Screens&) = delete;

    // The screen that gets the next event.
    Screen& InputOwner() const { return m_stack.Top(); }
    // ScreenMode: the screen that owns the loop (0 the game).
    int32_t Mode() const { return m_stack.Mode(); }
    bool IsOpen(const Screen& screen) const { return m_stack.Contains(screen); }
    bool BacklogOpen() const { return IsOpen(backlog); }
    bool ConfigScreenOpen() const { return IsOpen(config); }
    // Puts a screen over whatever owns input, or takes it off again.
    bool Open(Screen& screen) { return m_stack.Push(screen); }
    bool Close(const Screen& screen) { return m_stack.Remove(screen); }
    // The screen that stands for a ScreenMode number (a loaded game's); the game for 0 and
    // for a number no screen has.
    Screen& ForMode(int32_t mode);

    // The title return: every screen over the game closed, the selection tree too, and a
    // replay left with its menu items.
    void Reset();
    // A saved game keeps ScreenMode, the map written as the game.
    void Exchange(SaveIo& io);

    // The end of a replayed scene (exit, vend, end at the top level): back to the gallery
    // view for a scene replay, on to the next queued scene in the recollection.
    void EndReplay();
    // The replay menu items: on to the next queued scene, or out of the replay.
    void NextReplayScene();
    void QuitReplay();

    GameScreen game;
    BacklogScreen backlog;
    ConfigScreen config;
    WindowHiddenScreen windowHidden;
    PageReviewScreen pageReview;
    StaffRollScreen staffRoll;
    MapScreen map;
    StatusScreen status;
    GalleryScreen gallery;
    ScrollingPictureScreen scrollingPicture;
    RecollectionScreen recollection;

    QuickButtons quickButtons;
    SelectionTree selectionTree;

    uint8_t ReplayMode = replay_mode::None;

private:
    Engine& m_engine;
    ScreenStack m_stack;
};

} // namespace orv
