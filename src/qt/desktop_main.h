#pragma once
// The desktop program: the Qt application, the engine and its main window.

#include "engine/engine.h"

#include <filesystem>
#include <optional>

class QApplication;

namespace orv {

class QtPlatform;

struct DesktopChoices {
    // Every committed text line printed as UTF-8.
    bool TextHookStdout = false;
    // No game directory was given and none was found: the folder dialog asks for one.
    bool AskForGame = false;
};

struct GameRun {
    int Status = 0;
    // A recent game the player chose instead of this one.
    std::optional<std::filesystem::path> NextGame;
};

// One game in its window until the window closes: the engine, the menus of the desktop (the
// recent games kept in `recentFile`, which this game joins, and the About box) and the pads.
GameRun RunGame(QApplication& app, QtPlatform& platform, const EngineOptions& options,
                const DesktopChoices& choices, const std::filesystem::path& recentFile);

// Runs the game until the main window closes; the single-instance lock is already held.
// A game chosen from the recent-games menu takes the place of the running one in the same
// process. Returns the process exit status.
int RunDesktop(int argc, char** argv, const EngineOptions& options,
               const DesktopChoices& choices = {});

} // namespace orv
