#include "qt/desktop_main.h"

#include "base/cp932.h"
#include "base/files.h"
#include "data/archives.h"
#include "data/settings_store.h"
#include "dialogs/recent_games.h"
#include "qt/desktop_menus.h"
#include "qt/gamepads.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPixmap>
#include <QTimer>
#include <SDL.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

namespace orv {

namespace {

// For tests and bug reports: ORVELL_SCREENSHOT_AFTER_MS=N with ORVELL_SCREENSHOT_FILE=PATH
// saves a picture of the main window as a PNG N ms after it is shown, then ends the program
// without asking. The exit status is 1 when the picture could not be written.
// ORVELL_QUIT_AFTER_MS=N ends it the same way without the picture (for measurements, which
// a grab of the window would disturb).
void ArmTimedEnd(TForm1& form, Engine& engine, bool& failed) {
    bool numeric = false;
    int delay = qEnvironmentVariableIntValue("ORVELL_SCREENSHOT_AFTER_MS", &numeric);
    QString file = qEnvironmentVariable("ORVELL_SCREENSHOT_FILE");
    if (!numeric || delay < 0 || file.isEmpty()) {
        delay = qEnvironmentVariableIntValue("ORVELL_QUIT_AFTER_MS", &numeric);
        file.clear();
        if (!numeric || delay < 0) {
            return;
        }
    }
    QTimer::singleShot(delay, &form, [&form, &engine, &failed, file] {
        if (!file.isEmpty() && !form.grab().save(file, "PNG")) {
            std::fprintf(stderr, "orvell: cannot write %s\n", file.toLocal8Bit().constData());
            failed = true;
        }
        engine.QuitRequested = 1;
        form.close();
    });
}

// Qt ends the process with an abort when it finds no display to open; say instead what to do.
bool HasDisplay(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return true;
        }
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// How often a close request held by a running effect is looked at.
constexpr int kDeferredCloseCheckMs = 50;

// The folder dialog of a start without a game; nothing when the player cancels it.
std::optional<std::filesystem::path> AskForGameDirectory() {
    // The dialog is the only window yet: closing it must not end the application before the
    // game's window opens.
    QApplication::setQuitOnLastWindowClosed(false);
    QString chosen = QFileDialog::getExistingDirectory(
        nullptr, QString::fromUtf8("ゲームのフォルダを選んでください (ov_data.orv のあるフォルダ)"),
        QDir::homePath());
    QApplication::setQuitOnLastWindowClosed(true);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdString());
}

std::filesystem::path Absolute(const std::filesystem::path& directory) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(directory, ec);
    return ec ? directory : absolute.lexically_normal();
}

std::string SdlVersionText() {
    SDL_version version;
    SDL_GetVersion(&version);
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.patch);
}

AboutFacts AboutFactsOf(Engine& engine) {
    AboutFacts facts;
    facts.Version = ORVELL_VERSION;
    facts.QtVersion = qVersion();
    facts.SdlVersion = SdlVersionText();
    const FontRenderer& font = engine.text.glyphs.Font();
    facts.FontName = cp932::ToUtf8(engine.settings.FontName);
    facts.FontFile = font.IsOpen() ? font.FontFile() : std::string();
    facts.FontFallback = font.UsingFallback();
    facts.GameTitle = cp932::ToUtf8(engine.config.TITLE);
    return facts;
}

// A game that started is remembered for the menu, under the title its configuration gives.
RecentGames RememberGame(const std::filesystem::path& file, const std::filesystem::path& game,
                         const Engine& engine) {
    RecentGames games = LoadRecentGames(file);
    games.ForgetGamesWithoutData();
    if (HoldsGameData(game)) {
        games.Played(game, cp932::ToUtf8(engine.config.TITLE));
    }
    if (std::string error = SaveRecentGames(file, games); !error.empty()) {
        std::fprintf(stderr, "orvell: the list of recent games was not kept: %s\n",
                     error.c_str());
    }
    return games;
}

} // namespace

GameRun RunGame(QApplication& app, QtPlatform& platform, const EngineOptions& options,
                const DesktopChoices& choices, const std::filesystem::path& recentFile) {
    GameRun run;
    // The engine holds the script buffers and surfaces: too large for the stack.
    auto engine = std::make_unique<Engine>(platform, options);
    {
        TForm1 form(*engine);
        form.SetTextHookStdout(choices.TextHookStdout);
        platform.AttachWindow(&form);
        engine->FormCreate();
        std::filesystem::path current = Absolute(options.GameDirectory);
        RecentGames games = RememberGame(recentFile, current, *engine);
        // A game chosen while an effect runs is answered once the effect has ended: until then
        // the engine holds the close request. When it holds none, wants no quit and the
        // window is still open, the player kept this game.
        QTimer deferredClose;
        Engine& running = *engine;
        QObject::connect(&deferredClose, &QTimer::timeout, &form, [&] {
            if (running.blocking.InterruptRequest != 2 && !running.QuitRequested &&
                !form.Destroyed()) {
                run.NextGame.reset();
            }
            if (!run.NextGame || form.Destroyed()) {
                deferredClose.stop();
            }
        });
        AddRecentGamesMenu(form, games, current, [&](const std::filesystem::path& next) {
            run.NextGame = next;
            // The close box's question comes first; a "no" keeps this game.
            form.close();
            if (form.Destroyed()) {
                return;
            }
            if (running.blocking.InterruptRequest == 2) {
                deferredClose.start(kDeferredCloseCheckMs);
            } else {
                run.NextGame.reset();
            }
        });
        AddHelpMenu(form, [&running] { return AboutFactsOf(running); });
        Gamepads pads(*engine, form);
        form.show();
        form.Start();
        bool screenshotFailed = false;
        ArmTimedEnd(form, *engine, screenshotFailed);
        run.Status = app.exec();
        if (screenshotFailed) {
            run.Status = 1;
        }
        platform.AttachWindow(nullptr);
    }
    // The engine's mixer goes with the engine: the device's thread must stop pulling first.
    platform.StopAudio();
    return run;
}

int RunDesktop(int argc, char** argv, const EngineOptions& options,
               const DesktopChoices& choices) {
    if (!HasDisplay(argc, argv)) {
        std::fputs("orvell: no desktop session to open a window in (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set)\nRun it in a desktop session, or play without a "
                   "window: orvell --headless [GAME_DIR]\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    // QSettings of the front end itself (display choices) live under this name.
    QApplication::setOrganizationName("orvell");
    QApplication::setApplicationName("orvell");
    // Wayland compositors find the icon and the name through the desktop entry.
    QGuiApplication::setDesktopFileName("org.orvell.Orvell");

    EngineOptions game = options;
    if (choices.AskForGame) {
        std::optional<std::filesystem::path> chosen = AskForGameDirectory();
        if (!chosen) {
            return 0;
        }
        game.GameDirectory = *chosen;
    }
    std::filesystem::path recentFile = RecentGamesFile(SettingsRoot(options.DataDirectory));
    QtPlatform platform;
    while (true) {
        GameRun run = RunGame(app, platform, game, choices, recentFile);
        if (!run.NextGame || run.Status != 0) {
            return run.Status;
        }
        game.GameDirectory = *run.NextGame;
    }
}

} // namespace orv
