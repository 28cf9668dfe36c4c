// The menu bar MainMenu1, the pop-up menus PopupMenu3 and PopupMenu1 and the tool bar
// Panel1, built from one table of component names and captions.
#include "engine/engine.h"
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

struct ComponentEntry {
    const char* Name;
    const char* Caption;
    // MainMenu1 for a menu-bar item, PopupMenu3, PopupMenu1, Panel1, or the menu-bar item
    // whose menu holds it.
    std::string_view Parent;
    bool Visible = true;
};

constexpr ComponentEntry kComponents[] = {
    {"N12", "終了", "MainMenu1"},
    {"N14", "ゲーム終了", "N12"},
    {"N15", "タイトルへ", "N12"},
    {"N1", "次シーンへ", "N12", false},
    {"N2", "回想終了", "N12", false},
    {"N20", "ロード", "MainMenu1"},
    {"N21", "セーブ", "MainMenu1"},
    {"N22", "制御", "MainMenu1", false},
    {"N23", "スキップ", "N22"},
    {"N24", "バックログ", "N22"},
    {"N25", "オート", "N22"},
    {"N27", "ウィンドウ消去", "N22"},
    {"N26", "設定", "MainMenu1"},
    {"SM01", "自動送り", "PopupMenu3"},
    {"SM02", "スキップ", "PopupMenu3"},
    {"N4", "ログ", "PopupMenu3"},
    {"SM04", "ウィンドウ消去", "PopupMenu3"},
    {"SM05", "直前の音声を再生", "PopupMenu3"},
    {"N5", "クイックロード", "PopupMenu3"},
    {"N8", "クイックセーブ", "PopupMenu3"},
    {"N9", "ロード", "PopupMenu3"},
    {"N10", "セーブ", "PopupMenu3"},
    {"N13", "設定", "PopupMenu3"},
    {"N17", "タイトルへ戻る", "PopupMenu3"},
    {"N18", "終了", "PopupMenu3"},
    {"N6", "終了", "PopupMenu1"},
    {"N7", "タイトルへ戻る", "PopupMenu1"},
    {"N19", "回想終了", "PopupMenu1", false},
    {"SpeedButton1", "終了", "Panel1"},
    {"SpeedButton4", "ロード", "Panel1"},
    {"SpeedButton3", "セーブ", "Panel1"},
    {"SpeedButton2", "設定", "Panel1"},
    {"SpeedButton5", "Window モード", "Panel1"},
};

bool HoldsItems(std::string_view name) {
    for (const auto& entry : kComponents) {
        if (entry.Parent == name) {
            return true;
        }
    }
    return false;
}

constexpr const char* kSmoothSetting = "display/smooth";
constexpr const char* kClipboardSetting = "display/copyTextToClipboard";

} // namespace

void TForm1::BuildMenus() {
    menuBar()->setObjectName("MainMenu1");
    std::map<std::string_view, QMenu*> holders;
    for (const auto& entry : kComponents) {
        QString caption = QString::fromUtf8(entry.Caption);
        QAction* action = nullptr;
        bool command = true;
        if (entry.Parent == "MainMenu1" && HoldsItems(entry.Name)) {
            QMenu* menu = menuBar()->addMenu(caption);
            holders[entry.Name] = menu;
            action = menu->menuAction();
            command = false;
        } else if (entry.Parent == "MainMenu1") {
            action = menuBar()->addAction(caption);
        } else if (entry.Parent == "Panel1") {
            action = m_panel1->addAction(caption);
            QWidget* button = m_panel1->widgetForAction(action);
            button->setObjectName(entry.Name);
            button->setFocusPolicy(Qt::NoFocus);
        } else if (entry.Parent == "PopupMenu3" || entry.Parent == "PopupMenu1") {
            auto [it, added] = m_popupMenus.try_emplace(std::string(entry.Parent), nullptr);
            if (added) {
                it->second = new QMenu(this);
                it->second->setObjectName(QString::fromUtf8(entry.Parent));
            }
            action = it->second->addAction(caption);
        } else {
            action = holders.at(entry.Parent)->addAction(caption);
        }
        action->setObjectName(entry.Name);
        action->setVisible(entry.Visible);
        m_components[entry.Name] = action;
        if (command) {
            std::string name = entry.Name;
            connect(action, &QAction::triggered, this, [this, name] { ComponentTriggered(name); });
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
