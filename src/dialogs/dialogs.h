#pragma once
// The desktop dialogs the game opens: the save list, the settings and the name entry. The save list's
// rows and buttons are its model (save_list.h); the front end shows it modally.

#include "dialogs/save_list.h"

#include <cstdint>
#include <string>

namespace orv {

class Engine;

class Dialogs {
public:
    explicit Dialogs(Engine& engine) : m_engine(engine) {}

    // The save list dialog: mode 1 saves, 0 loads. The script is paused while it is open.
    void ShowSaveList(int32_t mode);
    bool SaveListShown() const { return m_saveListShown; }
    // LastRow and the sort state, kept from one showing to the next.
    const SaveListMemory& SaveListState() const { return m_saveListMemory; }
    // `setname`: the player names. Nothing until the name entry lands.
    void ShowNameEntry() {}
    // The settings dialog, modal: from the config screen's detail button, and in its place
    // for games without config pictures or players who chose CONFIG_MODE. Nothing until the
    // settings dialog lands; the caller applies the settings afterwards.
    void ShowSettings() {}
    // The record slot's name for the recollection, shown with `name` in the field: true and
    // the new name (at most 24 code page 932 bytes) on OK, false with `name` untouched on
    // Cancel. Cancels until the name entry lands.
    bool AskSlotName(std::string& /*name*/) { return false; }

private:
    Engine& m_engine;
    SaveListMemory m_saveListMemory;
    bool m_saveListShown = false;
};

} // namespace orv
