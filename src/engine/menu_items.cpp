// What each menu item, pop-up item and tool-bar button does, by component name.
#include "engine/menu_items.h"

#include "engine/engine.h"

#include <iterator>

namespace orv {

namespace {

void AutoOn(Engine& e) {
    e.SwitchAutoOn(4);
}
void StartSkip(Engine& e) {
    e.StartSkip();
}
void OpenBacklog(Engine& e) {
    e.backlog.OpenBacklog();
}
void HideWindow(Engine& e) {
    e.backlog.HideMessageWindow();
}
void ReplayVoice(Engine& e) {
    e.ReplayLastVoice();
}
void AskQuickLoad(Engine& e) {
    e.prompts.AskYesNo(kQuickLoadQuestion, prompt_action::QuickLoad);
}
void QuickSave(Engine& e) {
    e.saves.QuickSave();
}
void OpenLoadDialog(Engine& e) {
    e.OpenSaveList(0, "SSE06");
}
void OpenSaveDialog(Engine& e) {
    e.OpenSaveList(1, "SSE05");
}
// The menu-bar and tool-bar entries of the dialogs stay away from a running effect.
void OpenLoadDialogUnlessInterruptible(Engine& e) {
    if (!e.blocking.InterruptibleWait()) {
        OpenLoadDialog(e);
    }
}
void OpenSaveDialogUnlessInterruptible(Engine& e) {
    if (!e.blocking.InterruptibleWait()) {
        OpenSaveDialog(e);
    }
}
void OpenConfig(Engine& e) {
    e.screens.config.Open();
}
void StopAndOpenConfig(Engine& e) {
    if (!e.blocking.Busy()) {
        e.dispatcher.StopSkipAndAuto(true);
        e.screens.config.Open();
    }
}
void AskTitle(Engine& e) {
    e.prompts.AskYesNo(kTitleQuestion, prompt_action::Title);
}
void CloseWindow(Engine& e) {
    e.Host().CloseMainWindow();
}
// The exit button of the tool bar offers the exit menu below it.
void OpenExitMenu(Engine& e) {
    if (e.blocking.Busy()) {
        return;
    }
    e.dispatcher.StopSkipAndAuto(true);
    Point origin = e.Host().PaintBoxOrigin();
    bool fullScreen = e.FullScreenMode != 0;
    e.Host().ShowPopupMenu("PopupMenu1", origin.X + (fullScreen ? 4 : 0),
                           origin.Y + (fullScreen ? 21 : 0));
}
void WindowMode(Engine& e) {
    e.LeaveFullScreen();
    e.FullScreenMode = 0;
    e.settings.SMode = 0;
    e.WriteSetting("SMode", "0");
}
void NextReplayScene(Engine& e) {
    e.sound.StopVoice();
    e.sound.StopLoop();
    e.screens.NextReplayScene();
}
void QuitReplay(Engine& e) {
    if (e.blocking.InterruptibleWait()) {
        return;
    }
    e.sound.StopVoice();
    e.sound.StopLoop();
    e.screens.QuitReplay();
}

constexpr MenuPlace kMenuBar = MenuPlace::MenuBar;
constexpr MenuPlace kInMenu = MenuPlace::MenuBarMenu;
constexpr MenuPlace kPopup3 = MenuPlace::PopupMenu3;
constexpr MenuPlace kPopup1 = MenuPlace::PopupMenu1;
constexpr MenuPlace kToolBar = MenuPlace::ToolBar;

// The menu bar, the pop-up menus and the tool bar, each in the order it shows its items.
// The holders of sub-menus (N12, N22) act only as parents.
// clang-format off
constexpr MenuComponentEntry kMenuComponents[] = {
    {"N12", "終了", kMenuBar, {}, true, nullptr},
    {"N14", "ゲーム終了", kInMenu, "N12", true, CloseWindow},
    {"N15", "タイトルへ", kInMenu, "N12", true, AskTitle},
    {"N1", "次シーンへ", kInMenu, "N12", false, NextReplayScene},
    {"N2", "回想終了", kInMenu, "N12", false, QuitReplay},
    {"N20", "ロード", kMenuBar, {}, true, OpenLoadDialogUnlessInterruptible},
    {"N21", "セーブ", kMenuBar, {}, true, OpenSaveDialogUnlessInterruptible},
    {"N22", "制御", kMenuBar, {}, false, nullptr},
    {"N23", "スキップ", kInMenu, "N22", true, StartSkip},
    {"N24", "バックログ", kInMenu, "N22", true, OpenBacklog},
    {"N25", "オート", kInMenu, "N22", true, AutoOn},
    {"N27", "ウィンドウ消去", kInMenu, "N22", true, HideWindow},
    {"N26", "設定", kMenuBar, {}, true, StopAndOpenConfig},
    {"SM01", "自動送り", kPopup3, {}, true, AutoOn},
    {"SM02", "スキップ", kPopup3, {}, true, StartSkip},
    {"N4", "ログ", kPopup3, {}, true, OpenBacklog},
    {"SM04", "ウィンドウ消去", kPopup3, {}, true, HideWindow},
    {"SM05", "直前の音声を再生", kPopup3, {}, true, ReplayVoice},
    {"N5", "クイックロード", kPopup3, {}, true, AskQuickLoad},
    {"N8", "クイックセーブ", kPopup3, {}, true, QuickSave},
    {"N9", "ロード", kPopup3, {}, true, OpenLoadDialog},
    {"N10", "セーブ", kPopup3, {}, true, OpenSaveDialog},
    {"N13", "設定", kPopup3, {}, true, OpenConfig},
    {"N17", "タイトルへ戻る", kPopup3, {}, true, AskTitle},
    {"N18", "終了", kPopup3, {}, true, CloseWindow},
    {"N6", "終了", kPopup1, {}, true, CloseWindow},
    {"N7", "タイトルへ戻る", kPopup1, {}, true, AskTitle},
    {"N19", "回想終了", kPopup1, {}, false, QuitReplay},
    {"SpeedButton1", "終了", kToolBar, {}, true, OpenExitMenu},
    {"SpeedButton4", "ロード", kToolBar, {}, true, OpenLoadDialogUnlessInterruptible},
    {"SpeedButton3", "セーブ", kToolBar, {}, true, OpenSaveDialogUnlessInterruptible},
    {"SpeedButton2", "設定", kToolBar, {}, true, StopAndOpenConfig},
    {"SpeedButton5", "Window モード", kToolBar, {}, true, WindowMode},
};
// clang-format on
static_assert(std::size(kMenuComponents) == kMenuComponentCount);

} // namespace

std::span<const MenuComponentEntry> MenuComponents() {
    return kMenuComponents;
}

int MenuComponentIndex(std::string_view component) {
    for (int i = 0; i < kMenuComponentCount; ++i) {
        if (kMenuComponents[i].Name == component) {
            return i;
        }
    }
    return -1;
}

bool IsMenuComponent(std::string_view component) {
    return MenuComponentIndex(component) >= 0;
}

bool Engine::MenuItemClick(std::string_view component) {
    int index = MenuComponentIndex(component);
    if (index < 0) {
        return false;
    }
    const MenuComponentEntry& item = kMenuComponents[index];
    // A disabled item cannot be chosen, nor one inside a disabled menu; front ends that
    // deliver choices by name (play files) meet the same rule as the player.
    if (!item.Action || !MenuItemEnabled(item.Name) ||
        (!item.Parent.empty() && !MenuItemEnabled(item.Parent))) {
        return true;
    }
    item.Action(*this);
    // The title and exit items leave the flag to the question they ask.
    if (item.Place == MenuPlace::PopupMenu3 && item.Name != "N17" && item.Name != "N18") {
        PopupShown = 0;
    }
    return true;
}

} // namespace orv
