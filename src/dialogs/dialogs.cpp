#include "dialogs/dialogs.h"

#include "dialogs/name_entry.h"
#include "dialogs/settings_dialog.h"
#include "engine/engine.h"

namespace orv {

void Dialogs::ShowSaveList(int32_t mode) {
    // A load's transition pumps messages, and what they deliver may ask for the list again:
    // it is open once at a time.
    if (m_saveListShown) {
        return;
    }
    m_engine.ScriptRunning = 0;
    SaveSlotsForList files(m_engine.saves);
    SaveListModel model(files, m_saveListMemory);
    model.Fill(mode);
    m_saveListShown = true;
    m_engine.Host().RunSaveList(model);
    m_saveListShown = false;
    m_engine.ScriptRunning = 1;
}

void Dialogs::ShowSettings() {
    SettingsDialogModel model(m_engine, *m_fonts);
    model.Fill();
    m_engine.Host().RunSettings(model);
    // A front end that closed without saying so still leaves no slider half written.
    model.Close();
}

void Dialogs::ShowNameEntry() {
    NameEntryModel model(m_engine);
    model.Fill();
    m_engine.Host().RunNameEntry(model);
}

bool Dialogs::AskSlotName(std::string& name) {
    SlotNameModel model;
    model.Fill(name);
    m_engine.Host().RunSlotName(model);
    if (!model.Accepted()) {
        return false;
    }
    name = model.Result();
    return true;
}

} // namespace orv
