#pragma once
// The desktop dialogs the game opens: the save list, the settings and the name entry. Each one's
// rules are its model (save_list.h, settings_dialog.h, name_entry.h); the front end shows it
// modally and passes the player's actions on.

#include "dialogs/font_list.h"
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
    // `setname`: the hero's three names, modal (TForm2).
    void ShowNameEntry();
    // The settings dialog, modal: from the config screen's detail button, and in its place
    // for games without config pictures or players who chose CONFIG_MODE. The caller applies
    // the settings afterwards.
    void ShowSettings();
    // The record slot's name for the recollection, shown with `name` (code page 932) in the
    // field: true and the new name (at most 24 code page 932 bytes) on OK, false with `name`
    // untouched on Cancel.
    bool AskSlotName(std::string& name);

    // Where the settings dialog's font list comes from (fontconfig unless a test says).
    void SetFontSource(FontFamilySource& source) { m_fonts = &source; }

private:
    Engine& m_engine;
    FontconfigFamilies m_fontconfig;
    FontFamilySource* m_fonts = &m_fontconfig;
    SaveListMemory m_saveListMemory;
    bool m_saveListShown = false;
};

} // namespace orv
