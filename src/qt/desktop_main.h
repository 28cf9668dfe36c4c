#pragma once
// The desktop program: the Qt application, the engine and its main window.

#include "engine/engine.h"

namespace orv {

struct DesktopChoices {
    // Every committed text line printed as UTF-8.
    bool TextHookStdout = false;
    // No game directory was given and none was found: the folder dialog asks for one.
    bool AskForGame = false;
};

// Runs the game until the main window closes; the single-instance lock is already held.
// A game chosen from the recent-games menu takes the place of the running one in the same
// process. Returns the process exit status.
int RunDesktop(int argc, char** argv, const EngineOptions& options,
               const DesktopChoices& choices = {});

} // namespace orv
