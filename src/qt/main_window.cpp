#include "qt/main_window.h"

#include "engine/engine.h"
#include "qt/key_map.h"
#include "qt/movie_panel.h"
#include "qt/paint_box.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QWheelEvent>

namespace orv {

TForm1::TForm1(Engine& engine)
    : m_engine(engine),
      m_loop([&engine] { engine.AppIdle(); }, [&engine] { engine.Timer1Timer(); }, this) {
    setObjectName("TForm1");
    // A right click belongs to the game; no widget of the window has a menu of its own.
    setContextMenuPolicy(Qt::PreventContextMenu);
    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, Qt::black);
    central->setPalette(palette);

    m_pb = new PaintBox(engine, central);
    m_panel2 = new MoviePanel(central);
    m_panel1 = new QToolBar(central);
    m_panel1->setObjectName("Panel1");
    m_panel1->setMovable(false);
    m_panel1->setFloatable(false);
    m_panel1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_panel1->setAutoFillBackground(true);
    m_panel1->hide();

    // PB and Panel2 fill the client area; Panel1 lies over the top of them.
    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pb, 0, 0);
    layout->addWidget(m_panel2, 0, 0);
    layout->addWidget(m_panel1, 0, 0, Qt::AlignTop);
    setCentralWidget(central);

    BuildMenus();
    BuildViewMenu();
    connect(m_panel2, &MoviePanel::Clicked, this, &TForm1::MovieClicked);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TForm1::ApplicationStateChanged);

    // The client area is the game screen plus the menu bar; the engine then places the window.
    resize(kScreenWidth, kScreenHeight + menuBar()->sizeHint().height());
    m_requestedSize = size();
}

TForm1::~TForm1() {
    m_loop.Stop();
}

void TForm1::Start() {
    m_loop.Start();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_destroyed) {
        event->accept();
        return;
    }
    // A second close request while the confirmation is open waits for that answer.
    if (m_closeQueryRunning) {
        event->ignore();
        return;
    }
    m_closeQueryRunning = true;
    bool allowed = m_engine.FormCloseQuery();
    m_closeQueryRunning = false;
    if (!allowed) {
        event->ignore();
        return;
    }
    m_destroyed = true;
    m_loop.Stop();
    m_engine.FormDestroy();
    event->accept();
}

Rect TForm1::Bounds() const {
    return Rect{x(), y(), width(), height()};
}

void TForm1::SetBounds(Rect bounds) {
    move(bounds.X, bounds.Y);
    if (bounds.Width > 0 && bounds.Height > 0) {
        m_requestedSize = QSize(bounds.Width, bounds.Height);
        resize(m_requestedSize);
    }
}

bool TForm1::SetFullScreen(bool on) {
    m_viewMenu->menuAction()->setVisible(!on);
    UpdateMenuBarVisibility();
    if (on) {
        QScreen* current = screen();
        m_requestedSize = current ? current->geometry().size() : QSize();
        showFullScreen();
        return (windowState() & Qt::WindowFullScreen) != 0;
    }
    m_requestedSize = normalGeometry().size();
    showNormal();
    return true;
}

// Only the player's resizes reach the engine: the switches into and out of full screen and
// the bounds the engine sets are this window's own, and the engine's resize handler would
// take a switch for the player dropping full screen.
void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!isVisible() || (windowState() & Qt::WindowFullScreen) || size() == m_requestedSize) {
        return;
    }
    m_requestedSize = QSize();
    m_engine.FormResize();
}

// The window manager may take the window out of full screen before (or without) resizing it.
// While the engine still holds full screen that is the player's doing, as a resize is; when
// the engine left full screen itself it has cleared FullScreenActive first.
void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    auto* change = static_cast<QWindowStateChangeEvent*>(event);
    bool left =
        (change->oldState() & Qt::WindowFullScreen) && !(windowState() & Qt::WindowFullScreen);
    if (left && m_engine.FullScreenActive && !m_destroyed) {
        m_engine.FormResize();
    }
}

void TForm1::ApplicationStateChanged(Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive && m_engine.FullScreenActive && !m_destroyed) {
        m_engine.LeaveFullScreen();
    }
}

void TForm1::ShowToolBar(bool shown) {
    m_panel1->setVisible(shown);
    if (shown) {
        m_panel1->raise();
    }
}

void TForm1::ShowMoviePanel(bool shown) {
    m_panel2->setVisible(shown);
    m_pb->setVisible(!shown);
    if (shown) {
        m_panel2->raise();
        m_panel1->raise();
    }
}

void TForm1::MovieClicked() {
    // The movie may be cut short once its first second has passed.
    if (m_engine.MovieCountdown == 1) {
        m_engine.EndMovie();
    }
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    int key = EngineKeyCode(event->key());
    char character = EngineKeyCharacter(*event);
    if (key == 0 && character == 0) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    // Held keys repeat their key-down and character, as window messages do.
    if (key != 0) {
        m_engine.FormKeyDown(key);
    }
    if (character != 0) {
        m_engine.FormKeyPress(character);
    }
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
    int key = EngineKeyCode(event->key());
    if (key == 0) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    // Auto-repeat arrives as release and press pairs; the key is still held.
    if (!event->isAutoRepeat()) {
        m_engine.FormKeyUp(key);
    }
}

void TForm1::wheelEvent(QWheelEvent* event) {
    // Touchpads send small steps; the engine adds them up to whole notches.
    if (int delta = event->angleDelta().y(); delta != 0) {
        m_engine.FormMouseWheel(delta);
    }
    event->accept();
}

// Tab belongs to the game (it runs the right-click action), not to focus navigation.
bool TForm1::focusNextPrevChild(bool) {
    return false;
}

} // namespace orv
