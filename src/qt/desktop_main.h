#pragma once
// The desktop program: the Qt application, the engine and its main window.

#include "engine/engine.h"

namespace orv {

// Runs the game until the main window closes; the single-instance lock is already held.
// Returns the process exit status.
// With `textHookStdout` every committed text line is printed as UTF-8.
int RunDesktop(int argc, char** argv, const EngineOptions& options, bool textHookStdout = false);

} // namespace orv
