#pragma once
// TForm1, the main window: the menu bar MainMenu1, the pop-up menus, the tool bar Panel1 over
// the top of the game screen, the paint box PB and the movie panel Panel2. It translates
// window-system events into calls of the engine's handlers and carries out the engine's
// requests of the window; what those mean is the engine's business.

#include "platform/platform.h"
#include "qt/loop_timers.h"

#include <QMainWindow>
#include <map>
#include <string>
#include <string_view>

class QAction;
class QMenu;
class QToolBar;

namespace orv {

class Engine;
class MoviePanel;
class PaintBox;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(Engine& engine);
    ~TForm1() override;

    PaintBox& PB() { return *m_pb; }
    MoviePanel& Panel2() { return *m_panel2; }
    QToolBar& Panel1() { return *m_panel1; }
    LoopTimers& Loop() { return m_loop; }

    // Starts the idle passes and Timer1; the engine's creation handler has run by then.
    void Start();

    // A menu item, pop-up item or tool-bar button by component name, or nullptr.
    QAction* Component(std::string_view name) const;
    QMenu* PopupMenu(std::string_view name) const;
    void SetComponentEnabled(std::string_view name, bool enabled);
    void SetComponentVisible(std::string_view name, bool visible);
    void ShowPopupMenu(std::string_view name, Point screen);
    void ClosePopupMenus();
    void ShowToolBar(bool shown);
    void ShowMoviePanel(bool shown);

    // Position of the frame and size of the client area, as Qt's move and resize take them.
    Rect Bounds() const;
    void SetBounds(Rect bounds);
    bool SetFullScreen(bool on);

    void SetSmoothScaling(bool smooth);
    // The text hook: each committed text line goes to the clipboard while the menu choice
    // is checked, and to standard output when the program was started with it.
    void SetCopyTextToClipboard(bool on);
    void SetTextHookStdout(bool on) { m_textHookStdout = on; }
    void TextLineCommitted(std::string_view utf8Line);
    // The lines on the backlog screen onto the clipboard (nothing while it is closed).
    void CopyBacklogLines();
    // Leaves full screen when the player switches to another program (Alt+Tab).
    void ApplicationStateChanged(Qt::ApplicationState state);
    // What a menu item, pop-up item or tool-bar button does when chosen.
    void ComponentTriggered(const std::string& name);
    bool Destroyed() const { return m_destroyed; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void BuildMenus();
    void BuildViewMenu();
    void UpdateMenuBarVisibility();
    void MovieClicked();

    Engine& m_engine;
    LoopTimers m_loop;
    PaintBox* m_pb = nullptr;
    MoviePanel* m_panel2 = nullptr;
    QToolBar* m_panel1 = nullptr;
    QMenu* m_viewMenu = nullptr;
    std::map<std::string, QAction*, std::less<>> m_components;
    std::map<std::string, QMenu*, std::less<>> m_popupMenus;
    // The client size of the last geometry change this window asked for itself; a resize to
    // any other size is the player's.
    QSize m_requestedSize;
    bool m_closeQueryRunning = false;
    bool m_destroyed = false;
    bool m_copyTextToClipboard = false;
    bool m_textHookStdout = false;
};

} // namespace orv
