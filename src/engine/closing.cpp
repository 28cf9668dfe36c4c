// Every exit path goes through closing the main window.
#include "engine/engine.h"

namespace orv {

bool Engine::FormCloseQuery() {
    if (QuitRequested) {
        return true;
    }
    globals.Save();
    if (InterruptibleWait) {
        // The running effect stops early; the picture command asks the question itself.
        InterruptRequest = 2;
        return false;
    }
    if (Busy) {
        return false;
    }
    ScriptRunning = 0;
    screens.StaffRollPause();
    MessageBoxResult answer = m_platform.MessageBox(kQuitQuestion, kConfirmCaption,
                                                    MessageBoxButtons::OkCancel,
                                                    MessageBoxIcon::Question);
    bool close = answer == MessageBoxResult::Ok;
    if (close) {
        InterruptRequest = 1;
        screens.StaffRollStop();
    }
    screens.StaffRollResume();
    ScriptRunning = 1;
    return close;
}

void Engine::FormDestroy() {
    sound.SetMusic(0);
    if (FullScreenActive) {
        LeaveFullScreen();
    }
}

} // namespace orv
