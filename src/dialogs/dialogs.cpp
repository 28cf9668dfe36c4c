#include "dialogs/dialogs.h"

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

} // namespace orv
