// The line store as the text flow feeds it, the hidden message window, and what saved games
// keep of the backlog.
#include "text/backlog.h"

#include "engine/engine.h"
#include "save/save_io.h"

namespace orv {

void Backlog::CreateSurfaces() {
    for (Surface* surface : {&m_background, &m_screenBefore, &m_hidden, &m_kept.Background}) {
        surface->Allocate(kScreenWidth, kScreenHeight);
    }
}

void Backlog::ClearBacklog() {
    Lines.Clear();
}

void Backlog::AppendBacklogBytes(std::string_view bytes) {
    Lines.Append(bytes);
}

void Backlog::AppendVoiceEntry(std::string_view name) {
    Lines.AppendVoice(name);
    m_engine.vars.S(cell::LineBroken) = 0;
}

void Backlog::CommitBacklogLine() {
    Lines.Commit();
    m_engine.vars.S(cell::LineBroken) = 0;
}

void Backlog::Exchange(SaveIo& io) {
    Lines.Exchange(io);
    Rewind.Exchange(io);
}

void Backlog::UnlockMenus() {
    Screens& screens = m_engine.screens;
    bool stillOpen = screens.BacklogOpen() || screens.IsOpen(screens.pageReview) ||
                     screens.IsOpen(screens.windowHidden);
    m_engine.MenusLocked = stillOpen ? 1 : 0;
    m_engine.UpdateMenus();
}

void Backlog::HideMessageWindow() {
    Engine& e = m_engine;
    if (e.vars.S(cell::SavingAllowed) == 0 || e.screens.Mode() != screen_mode::Game ||
        e.screens.BacklogOpen()) {
        return;
    }
    e.MenusLocked = 1;
    e.UpdateMenus();
    // What PB shows, not BackBuffer: the click-wait icon and pictures drawn on the screen
    // alone come back with the window.
    m_hidden.CopyFrom(e.gfx.PaintBoxCopy(), Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    m_hiddenKept = true;
    e.screens.Open(e.screens.windowHidden);
    e.gfx.PresentWhole(e.gfx.SceneWithoutWindow());
}

void Backlog::RestoreMessageWindow() {
    Engine& e = m_engine;
    if (!e.screens.Close(e.screens.windowHidden)) {
        return;
    }
    // A game loaded with the window hidden has nothing kept: the screen as it stands then.
    e.gfx.PresentWhole(m_hiddenKept ? m_hidden : e.gfx.BackBuffer);
    m_hiddenKept = false;
    UnlockMenus();
    e.screens.quickButtons.Refresh();
}

} // namespace orv
