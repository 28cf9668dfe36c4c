#include "screens/screens.h"

#include "engine/engine.h"
#include "save/save_io.h"
#include "save/save_layout.h"

namespace orv {

namespace {
constexpr const char* kReplayItems[] = {"N1", "N2", "N19"};
constexpr const char* kSaveLoadItems[] = {"N5", "N8", "N9", "N10"};
} // namespace

Screens::Screens(Engine& engine)
    : game(engine), backlog(engine), config(engine), windowHidden(engine), pageReview(engine),
      staffRoll(engine), map(engine),
      status(engine), gallery(engine), recollection(engine),
      quickButtons(engine), selectionTree(engine), m_engine(engine), m_stack(game) {}

Screen& Screens::ForMode(int32_t mode) {
    Screen* screens[] = {&windowHidden, &pageReview,       &staffRoll,   &map,
                         &status,       &gallery,          &recollection, &scrollingPicture};
    for (Screen* screen : screens) {
        if (screen->Mode() == mode) {
            return *screen;
        }
    }
    return game;
}

void Screens::Reset() {
    m_stack.CloseAllAboveBottom();
    if (m_engine.choices.SelectionKind == selection_kind::SelectionTree) {
        selectionTree.Close();
    }
    for (const char* item : kReplayItems) {
        m_engine.Host().SetMenuItemVisible(item, false);
    }
    ReplayMode = replay_mode::None;
    for (const char* item : kSaveLoadItems) {
        m_engine.SetMenuItemEnabled(item, true);
    }
}

void Screens::Exchange(SaveIo& io) {
    // A game saved on the map is kept as the game: its resume position is the
    // line of the screen's command, which opens the screen anew.
    int32_t mode = Mode() == screen_mode::Map ? screen_mode::Game : Mode();
    io.Int(save_layout::RecordOffset(save_layout::record::ScreenMode), mode);
    if (io.Reading()) {
        m_stack.CloseAllAboveBottom();
        Screen& screen = ForMode(mode);
        if (&screen != &game) {
            m_stack.Push(screen);
        }
    }
}

void Screens::EndReplay() {
    if (ReplayMode == replay_mode::Gallery) {
        gallery.EndReplay();
    } else if (ReplayMode == replay_mode::Recollection) {
        recollection.NextQueuedScene();
    }
}

void Screens::NextReplayScene() {
    recollection.NextQueuedScene();
}

void Screens::QuitReplay() {
    if (ReplayMode == replay_mode::Gallery) {
        gallery.QuitReplay();
    } else {
        recollection.QuitReplay();
    }
}

} // namespace orv
