#pragma once
// The menu items, pop-up items and tool-bar buttons of the main window: one table of their
// component names, captions, places and actions. The engine acts on it by name; the desktop
// front end builds its menus from it, in table order.

#include <cstdint>
#include <span>
#include <string_view>

namespace orv {

class Engine;

// Where a component sits.
enum class MenuPlace : uint8_t {
    MenuBar,     // an item of the menu bar MainMenu1
    MenuBarMenu, // an item of the menu that the menu-bar item Parent opens
    PopupMenu3,  // the pop-up menu of the right button
    PopupMenu1,  // the exit menu of the tool bar's exit button
    ToolBar,     // a button of the tool bar Panel1
};

struct MenuComponentEntry {
    std::string_view Name;
    std::string_view Caption; // UTF-8
    MenuPlace Place = MenuPlace::MenuBar;
    // MenuBarMenu: the menu-bar item whose menu holds this one; it must be enabled for
    // this one to be reached.
    std::string_view Parent;
    bool VisibleAtStart = true;
    // None for the menu-bar items that only open a menu.
    void (*Action)(Engine& engine) = nullptr;
};

// Every component, each menu's items in the order the menu shows them.
std::span<const MenuComponentEntry> MenuComponents();

} // namespace orv
