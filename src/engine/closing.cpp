// Every exit path goes through closing the main window.
#include "engine/engine.h"

namespace orv {

bool Engine::FormCloseQuery() {
    if (QuitRequested) {
        return true;
    }
    globals.Save();
    if (blocking.InterruptibleWait() || blocking.ClosableEffect()) {
        // The running effect stops early; the command that ran it asks the question itself.
        blocking.InterruptRequest = 2;
        return false;
    }
    if (blocking.Busy()) {
        return false;
    }
    ScriptRunning = 0;
    screens.staffRoll.Pause();
    MessageBoxResult answer = m_platform.MessageBox(kQuitQuestion, kConfirmCaption,
                                                    MessageBoxButtons::OkCancel,
                                                    MessageBoxIcon::Question);
    bool close = answer == MessageBoxResult::Ok;
    if (close) {
        blocking.InterruptRequest = 1;
        screens.staffRoll.Stop();
    }
    screens.staffRoll.Resume();
    ScriptRunning = 1;
    return close;
}

void Engine::AnswerCloseRequest() {
    if (blocking.InterruptRequest != 2) {
        return;
    }
    blocking.InterruptRequest = 0;
    ScriptRunning = 0;
    MessageBoxResult answer = m_platform.MessageBox(kQuitQuestion, kConfirmCaption,
                                                    MessageBoxButtons::OkCancel,
                                                    MessageBoxIcon::Question);
    if (answer == MessageBoxResult::Ok) {
        QuitRequested = 1;
    }
    ShowBackBuffer();
    ScriptRunning = 1;
}

void Engine::FormDestroy() {
    sound.SetMusic(0);
    if (FullScreenActive) {
        LeaveFullScreen();
    }
}

} // namespace orv
