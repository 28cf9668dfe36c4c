// What each menu item, pop-up item and tool-bar button does, by component name.
#include "engine/engine.h"

namespace orv {

namespace {

enum class Holder { MenuBar, PopupMenu3, PopupMenu1, ToolBar };

struct MenuItem {
    std::string_view Name;
    Holder In;
    // The menu-bar item whose menu holds this one; it must be enabled for this to be reached.
    std::string_view Parent;
    void (*Action)(Engine& engine);
};

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

// In the order of the menus; the holders of sub-menus (N12, N22) act only as parents.
constexpr MenuItem kMenuItems[kMenuComponentCount] = {
    {"SM01", Holder::PopupMenu3, {}, AutoOn},
    {"SM02", Holder::PopupMenu3, {}, StartSkip},
    {"N4", Holder::PopupMenu3, {}, OpenBacklog},
    {"SM04", Holder::PopupMenu3, {}, HideWindow},
    {"SM05", Holder::PopupMenu3, {}, ReplayVoice},
    {"N5", Holder::PopupMenu3, {}, AskQuickLoad},
    {"N8", Holder::PopupMenu3, {}, QuickSave},
    {"N9", Holder::PopupMenu3, {}, OpenLoadDialog},
    {"N10", Holder::PopupMenu3, {}, OpenSaveDialog},
    {"N13", Holder::PopupMenu3, {}, OpenConfig},
    {"N17", Holder::PopupMenu3, {}, AskTitle},
    {"N18", Holder::PopupMenu3, {}, CloseWindow},
    {"N12", Holder::MenuBar, {}, nullptr},
    {"N14", Holder::MenuBar, "N12", CloseWindow},
    {"N15", Holder::MenuBar, "N12", AskTitle},
    {"N1", Holder::MenuBar, "N12", NextReplayScene},
    {"N2", Holder::MenuBar, "N12", QuitReplay},
    {"N20", Holder::MenuBar, {}, OpenLoadDialogUnlessInterruptible},
    {"N21", Holder::MenuBar, {}, OpenSaveDialogUnlessInterruptible},
    {"N22", Holder::MenuBar, {}, nullptr},
    {"N23", Holder::MenuBar, "N22", StartSkip},
    {"N24", Holder::MenuBar, "N22", OpenBacklog},
    {"N25", Holder::MenuBar, "N22", AutoOn},
    {"N27", Holder::MenuBar, "N22", HideWindow},
    {"N26", Holder::MenuBar, {}, StopAndOpenConfig},
    {"N6", Holder::PopupMenu1, {}, CloseWindow},
    {"N7", Holder::PopupMenu1, {}, AskTitle},
    {"N19", Holder::PopupMenu1, {}, QuitReplay},
    {"SpeedButton1", Holder::ToolBar, {}, OpenExitMenu},
    {"SpeedButton2", Holder::ToolBar, {}, StopAndOpenConfig},
    {"SpeedButton3", Holder::ToolBar, {}, OpenSaveDialogUnlessInterruptible},
    {"SpeedButton4", Holder::ToolBar, {}, OpenLoadDialogUnlessInterruptible},
    {"SpeedButton5", Holder::ToolBar, {}, WindowMode},
};

} // namespace

int MenuComponentIndex(std::string_view component) {
    for (int i = 0; i < kMenuComponentCount; ++i) {
        if (kMenuItems[i].Name == component) {
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
    const MenuItem& item = kMenuItems[index];
    // A disabled item cannot be chosen, nor one inside a disabled menu; front ends that
    // deliver choices by name (play files) meet the same rule as the player.
    if (!item.Action || !MenuItemEnabled(item.Name) ||
        (!item.Parent.empty() && !MenuItemEnabled(item.Parent))) {
        return true;
    }
    item.Action(*this);
    // The title and exit items leave the flag to the question they ask.
    if (item.In == Holder::PopupMenu3 && item.Name != "N17" && item.Name != "N18") {
        PopupShown = 0;
    }
    return true;
}

} // namespace orv
