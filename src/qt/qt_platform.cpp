#include "qt/qt_platform.h"

#include "qt/main_window.h"
#include "qt/movie_panel.h"
#include "qt/name_dialogs.h"
#include "qt/paint_box.h"
#include "qt/save_list_dialog.h"
#include "qt/settings_dialog_view.h"

#include "dialogs/settings_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QUrl>
#include <ctime>

namespace orv {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon QtIcon(MessageBoxIcon icon) {
    switch (icon) {
    case MessageBoxIcon::Stop:
        return QMessageBox::Critical;
    case MessageBoxIcon::Question:
        return QMessageBox::Question;
    case MessageBoxIcon::Information:
        return QMessageBox::Information;
    case MessageBoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

Rect ToRect(const QRect& r) {
    return Rect{r.x(), r.y(), r.width(), r.height()};
}

} // namespace

QtPlatform::QtPlatform() {
    m_clock.start();
}

// A monotonic count: waits must not jump when the wall clock is set.
uint32_t QtPlatform::GetTickCount() {
    return static_cast<uint32_t>(m_clock.elapsed());
}

void QtPlatform::Sleep(uint32_t ms) {
    QThread::msleep(ms);
}

std::tm QtPlatform::LocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void QtPlatform::PumpMessages() {
    if (m_form) {
        m_form->Loop().Pump();
    } else {
        QCoreApplication::processEvents();
    }
}

void QtPlatform::Present(const Surface& source, Rect from, int x, int y) {
    if (m_form) {
        m_form->PB().Present(source, from, x, y);
    }
}

void QtPlatform::FillPaintBox(uint32_t bgr) {
    if (m_form) {
        m_form->PB().Fill(bgr);
    }
}

MessageBoxResult QtPlatform::MessageBox(std::string_view text, std::string_view caption,
                                        MessageBoxButtons buttons, MessageBoxIcon icon) {
    QMessageBox::StandardButtons choices = QMessageBox::Ok;
    if (buttons == MessageBoxButtons::OkCancel) {
        choices |= QMessageBox::Cancel;
    }
    QMessageBox box(QtIcon(icon), Utf8(caption), Utf8(text), choices, m_form);
    box.setDefaultButton(QMessageBox::Ok);
    LoopTimers::ModalScope modal(m_form ? &m_form->Loop() : nullptr);
    bool ok = box.exec() == QMessageBox::Ok;
    // Closing a box that has only OK counts as OK.
    if (ok || buttons == MessageBoxButtons::Ok) {
        return MessageBoxResult::Ok;
    }
    return MessageBoxResult::Cancel;
}

void QtPlatform::RunSaveList(SaveListModel& model) {
    TForm9 dialog(model, m_form);
    dialog.PlaceOver(m_form);
    LoopTimers::ModalScope modal(m_form ? &m_form->Loop() : nullptr);
    dialog.exec();
}

void QtPlatform::RunSettings(SettingsDialogModel& model) {
    TForm11 dialog(model, m_form);
    dialog.PlaceOver(m_form);
    LoopTimers::ModalScope modal(m_form ? &m_form->Loop() : nullptr);
    dialog.exec();
    model.Close();
}

void QtPlatform::RunNameEntry(NameEntryModel& model) {
    TForm2 dialog(model, m_form);
    PlaceDialogOver(dialog, m_form);
    LoopTimers::ModalScope modal(m_form ? &m_form->Loop() : nullptr);
    dialog.exec();
}

void QtPlatform::RunSlotName(SlotNameModel& model) {
    TForm6 dialog(model, m_form);
    PlaceDialogOver(dialog, m_form);
    LoopTimers::ModalScope modal(m_form ? &m_form->Loop() : nullptr);
    dialog.exec();
}

void QtPlatform::SetMenuItemEnabled(std::string_view component, bool enabled) {
    if (m_form) {
        m_form->SetComponentEnabled(component, enabled);
    }
}

void QtPlatform::SetMenuItemVisible(std::string_view component, bool visible) {
    if (m_form) {
        m_form->SetComponentVisible(component, visible);
    }
}

void QtPlatform::ShowPopupMenu(std::string_view menu, int screenX, int screenY) {
    if (m_form) {
        m_form->ShowPopupMenu(menu, m_form->PB().Anchor().ToScreen(Point{screenX, screenY}));
    }
}

void QtPlatform::ClosePopupMenu() {
    if (m_form) {
        m_form->ClosePopupMenus();
    }
}

void QtPlatform::CloseMainWindow() {
    if (m_form) {
        m_form->close();
    }
}

void QtPlatform::SetWindowTitle(std::string_view title) {
    if (m_form) {
        m_form->setWindowTitle(Utf8(title));
    }
}

bool QtPlatform::IsActiveWindow() {
    return QApplication::activeWindow() != nullptr;
}

Rect QtPlatform::WindowBounds() {
    return m_form ? m_form->Bounds() : Rect{};
}

void QtPlatform::SetWindowBounds(Rect bounds) {
    if (m_form) {
        m_form->SetBounds(bounds);
    }
}

bool QtPlatform::CanMoveWindow() {
    // Wayland lets no program place its own windows; a full-screen window has nowhere to go.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return false;
    }
    return m_form && !(m_form->windowState() & Qt::WindowFullScreen);
}

Rect QtPlatform::ScreenBounds() {
    QScreen* screen = m_form ? m_form->screen() : QGuiApplication::primaryScreen();
    return screen ? ToRect(screen->geometry()) : Rect{0, 0, kScreenWidth, kScreenHeight};
}

bool QtPlatform::SetFullScreen(bool on) {
    return m_form && m_form->SetFullScreen(on);
}

void QtPlatform::ShowToolBar(bool shown) {
    if (m_form) {
        m_form->ShowToolBar(shown);
    }
}

void QtPlatform::SetCursorShape(int32_t cursor) {
    // The games' own cursor pictures are not part of their data archives; any region cursor
    // shows as the desktop's pointing hand.
    if (m_form) {
        m_form->PB().setCursor(cursor == 0 ? Qt::ArrowCursor : Qt::PointingHandCursor);
    }
}

Point QtPlatform::GetCursorPos() {
    QPoint pos = QCursor::pos();
    return m_form ? m_form->PB().Anchor().ToEngine(pos.x(), pos.y()) : Point{pos.x(), pos.y()};
}

void QtPlatform::SetCursorPos(Point screen) {
    Point real = m_form ? m_form->PB().Anchor().ToScreen(screen) : screen;
    QCursor::setPos(real.X, real.Y);
}

Point QtPlatform::PaintBoxOrigin() {
    if (!m_form) {
        return {};
    }
    ScreenAnchor anchor = m_form->PB().Anchor();
    return anchor.ToEngine(anchor.OriginX, anchor.OriginY);
}

bool QtPlatform::OpenMovie(const std::string& path) {
    return m_form && m_form->Panel2().Open(path);
}

void QtPlatform::PlayMovie() {
    if (m_form) {
        m_form->Panel2().Play();
    }
}

bool QtPlatform::IsMoviePlaying() {
    return m_form && m_form->Panel2().IsPlaying();
}

void QtPlatform::StopMovie() {
    if (m_form) {
        m_form->Panel2().Stop();
    }
}

void QtPlatform::CloseMovie() {
    if (m_form) {
        m_form->Panel2().Close();
    }
}

void QtPlatform::ShowMoviePanel(bool shown) {
    if (m_form) {
        m_form->ShowMoviePanel(shown);
    }
}

// Web addresses go to the browser; anything else is a file opened with its default program.
// Either way the target is one argument to the desktop's opener, never a shell command line.
bool QtPlatform::OpenWithDesktop(const std::string& target) {
    QString text = QString::fromStdString(target);
    QUrl url(text, QUrl::StrictMode);
    bool web = url.isValid() && (url.scheme() == "http" || url.scheme() == "https");
    return QDesktopServices::openUrl(web ? url
                                         : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
}

} // namespace orv
