#include "qt/desktop_main.h"

#include "qt/main_window.h"
#include "qt/qt_platform.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

namespace orv {

namespace {

// For tests and bug reports: ORVELL_SCREENSHOT_AFTER_MS=N with ORVELL_SCREENSHOT_FILE=PATH
// saves a picture of the main window as a PNG N ms after it is shown, then ends the program
// without asking. The exit status is 1 when the picture could not be written.
void ArmScreenshot(TForm1& form, Engine& engine, bool& failed) {
    bool numeric = false;
    int delay = qEnvironmentVariableIntValue("ORVELL_SCREENSHOT_AFTER_MS", &numeric);
    QString file = qEnvironmentVariable("ORVELL_SCREENSHOT_FILE");
    if (!numeric || delay < 0 || file.isEmpty()) {
        return;
    }
    QTimer::singleShot(delay, &form, [&form, &engine, &failed, file] {
        if (!form.grab().save(file, "PNG")) {
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

} // namespace

int RunDesktop(int argc, char** argv, const EngineOptions& options, bool textHookStdout) {
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

    QtPlatform platform;
    // The engine holds the script buffers and surfaces: too large for the stack.
    auto engine = std::make_unique<Engine>(platform, options);
    int status = 0;
    {
        TForm1 form(*engine);
        form.SetTextHookStdout(textHookStdout);
        platform.AttachWindow(&form);
        engine->FormCreate();
        form.show();
        form.Start();
        bool screenshotFailed = false;
        ArmScreenshot(form, *engine, screenshotFailed);
        status = app.exec();
        if (screenshotFailed) {
            status = 1;
        }
        platform.AttachWindow(nullptr);
    }
    // The engine's mixer goes with the engine: the device's thread must stop pulling first.
    platform.StopAudio();
    return status;
}

} // namespace orv
