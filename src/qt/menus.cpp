// The menu bar MainMenu1, the pop-up menus PopupMenu3 and PopupMenu1 and the tool bar
// Panel1, built from the engine's table of menu components.
#include "engine/engine.h"
#include "engine/menu_items.h"
#include "qt/main_window.h"
#include "qt/paint_box.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>
#include <string_view>

namespace orv {

namespace {

bool HoldsItems(std::string_view name) {
    for (const MenuComponentEntry& entry : MenuComponents()) {
        if (entry.Place == MenuPlace::MenuBarMenu && entry.Parent == name) {
            return true;
        }
    }
    return false;
}

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr const char* kSmoothSetting = "display/smooth";
constexpr const char* kClipboardSetting = "display/copyTextToClipboard";

} // namespace

void TForm1::BuildMenus() {
    menuBar()->setObjectName("MainMenu1");
    std::map<std::string_view, QMenu*> holders;
    for (const MenuComponentEntry& entry : MenuComponents()) {
        QString caption = Utf8(entry.Caption);
        QString name = Utf8(entry.Name);
        QAction* action = nullptr;
        bool command = true;
        switch (entry.Place) {
        case MenuPlace::MenuBar:
            if (HoldsItems(entry.Name)) {
                QMenu* menu = menuBar()->addMenu(caption);
                holders[entry.Name] = menu;
                action = menu->menuAction();
                command = false;
            } else {
                action = menuBar()->addAction(caption);
            }
            break;
        case MenuPlace::MenuBarMenu:
            action = holders.at(entry.Parent)->addAction(caption);
            break;
        case MenuPlace::ToolBar: {
            action = m_panel1->addAction(caption);
            QWidget* button = m_panel1->widgetForAction(action);
            button->setObjectName(name);
            button->setFocusPolicy(Qt::NoFocus);
            break;
        }
        case MenuPlace::PopupMenu3:
        case MenuPlace::PopupMenu1: {
            const char* menuName =
                entry.Place == MenuPlace::PopupMenu3 ? "PopupMenu3" : "PopupMenu1";
            auto [it, added] = m_popupMenus.try_emplace(menuName, nullptr);
            if (added) {
                it->second = new QMenu(this);
                it->second->setObjectName(menuName);
            }
            action = it->second->addAction(caption);
            break;
        }
        }
        action->setObjectName(name);
        action->setVisible(entry.VisibleAtStart);
        m_components[std::string(entry.Name)] = action;
        if (command) {
            std::string component(entry.Name);
            connect(action, &QAction::triggered, this,
                    [this, component] { ComponentTriggered(component); });
        }
    }
}

// A menu of the desktop front end itself, beside the game's own.
void TForm1::BuildViewMenu() {
    m_viewMenu = menuBar()->addMenu(QString::fromUtf8("表示"));
    m_viewMenu->menuAction()->setObjectName("ViewMenu");
    QAction* smooth = m_viewMenu->addAction(QString::fromUtf8("スムーズ表示"));
    smooth->setObjectName("SmoothScaling");
    smooth->setCheckable(true);
    bool on = QSettings().value(kSmoothSetting, true).toBool();
    smooth->setChecked(on);
    m_pb->SetSmooth(on);
    connect(smooth, &QAction::toggled, this, &TForm1::SetSmoothScaling);

    // For players who read along with a dictionary: each new text line on the clipboard.
    QAction* copy = m_viewMenu->addAction(QString::fromUtf8("テキストをクリップボードへ"));
    copy->setObjectName("CopyTextToClipboard");
    copy->setCheckable(true);
    bool copying = QSettings().value(kClipboardSetting, false).toBool();
    copy->setChecked(copying);
    m_copyTextToClipboard = copying;
    connect(copy, &QAction::toggled, this, &TForm1::SetCopyTextToClipboard);
    m_engine.text.SetTextHook([this](std::string_view line) { TextLineCommitted(line); });

    // The lines the backlog shows, for quoting them or looking words up. The window holds
    // the action too, so that its key works while the menu bar is hidden (full screen).
    QAction* copyBacklog = m_viewMenu->addAction(QString::fromUtf8("バックログの表示行をコピー"));
    copyBacklog->setObjectName("CopyBacklogLines");
    copyBacklog->setShortcut(QKeySequence::Copy);
    addAction(copyBacklog);
    connect(copyBacklog, &QAction::triggered, this, &TForm1::CopyBacklogLines);
}

void TForm1::CopyBacklogLines() {
    std::string lines = m_engine.backlog.VisibleLinesUtf8();
    if (!lines.empty()) {
        QGuiApplication::clipboard()->setText(
            QString::fromUtf8(lines.data(), static_cast<qsizetype>(lines.size())));
    }
}

void TForm1::SetCopyTextToClipboard(bool on) {
    m_copyTextToClipboard = on;
    if (QAction* action = findChild<QAction*>("CopyTextToClipboard"); action) {
        action->setChecked(on);
    }
    QSettings().setValue(kClipboardSetting, on);
}

void TForm1::TextLineCommitted(std::string_view utf8Line) {
    if (m_textHookStdout) {
        std::fwrite(utf8Line.data(), 1, utf8Line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    if (m_copyTextToClipboard) {
        QGuiApplication::clipboard()->setText(
            QString::fromUtf8(utf8Line.data(), static_cast<qsizetype>(utf8Line.size())));
    }
}

void TForm1::SetSmoothScaling(bool smooth) {
    m_pb->SetSmooth(smooth);
    if (QAction* action = findChild<QAction*>("SmoothScaling"); action) {
        action->setChecked(smooth);
    }
    QSettings().setValue(kSmoothSetting, smooth);
}

void TForm1::ComponentTriggered(const std::string& name) { m_engine.MenuItemClick(name); }

QAction* TForm1::Component(std::string_view name) const {
    auto it = m_components.find(name);
    return it == m_components.end() ? nullptr : it->second;
}

QMenu* TForm1::PopupMenu(std::string_view name) const {
    auto it = m_popupMenus.find(name);
    return it == m_popupMenus.end() ? nullptr : it->second;
}

void TForm1::SetComponentEnabled(std::string_view name, bool enabled) {
    if (QAction* action = Component(name)) {
        action->setEnabled(enabled);
    }
}

void TForm1::SetComponentVisible(std::string_view name, bool visible) {
    if (QAction* action = Component(name)) {
        action->setVisible(visible);
        UpdateMenuBarVisibility();
    }
}

// With every item of the menu bar hidden (full screen) the bar itself goes, so that the
// game takes the whole window.
void TForm1::UpdateMenuBarVisibility() {
    bool any = false;
    for (QAction* action : menuBar()->actions()) {
        any = any || action->isVisible();
    }
    menuBar()->setVisible(any);
}

void TForm1::ClosePopupMenus() {
    for (auto& [name, menu] : m_popupMenus) {
        if (menu->isVisible()) {
            menu->close();
        }
    }
}

void TForm1::ShowPopupMenu(std::string_view name, Point screen) {
    if (QMenu* menu = PopupMenu(name)) {
        menu->popup(QPoint(screen.X, screen.Y));
    }
}

} // namespace orv
