// The real desktop program on a real X server (Xvfb): it starts on a small game, shows its
// window, and a second copy started meanwhile ends at once with status 1. Skipped (exit
// status 77) where xvfb-run is not installed.
#include "desktop_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

namespace orv::test {

class XvfbTest : public QObject {
    Q_OBJECT

private:
    // The environment of a run that touches nothing of the user's: settings, data and the
    // single-instance lock all live in the temporary directory.
    QProcessEnvironment Environment(const QTemporaryDir& dir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        QDir().mkpath(dir.filePath("runtime"));
        QFile::setPermissions(dir.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
        return env;
    }

private slots:
    // The measurements end the program this way: a normal end, status 0, nothing written.
    void aTimedQuitEndsTheProgramWithoutAPicture() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir().mkpath(dir.filePath("game")));
        QVERIFY(WriteTestGame(dir.filePath("game").toStdString()));
        QProcessEnvironment env = Environment(dir);
        env.insert("ORVELL_QUIT_AFTER_MS", "300");
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start("xvfb-run",
                      {"-a", "-s", "-screen 0 1280x1024x24", ORVELL_PATH, dir.filePath("game")});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(QDir(dir.path()).entryList({"*.png"}, QDir::Files).isEmpty());
    }

    void theWindowShowsTheGameScreenBelowTheMenuBar() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir().mkpath(dir.filePath("game")));
        QVERIFY(WriteTestGame(dir.filePath("game").toStdString()));
        QString shot = dir.filePath("shot.png");

        QProcessEnvironment env = Environment(dir);
        env.insert("ORVELL_SCREENSHOT_AFTER_MS", "2500");
        env.insert("ORVELL_SCREENSHOT_FILE", shot);
        QProcess first;
        first.setProcessEnvironment(env);
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start("xvfb-run",
                    {"-a", "-s", "-screen 0 1280x1024x24", ORVELL_PATH, dir.filePath("game")});
        QVERIFY(first.waitForStarted());

        // The lock is taken before anything else; once its file exists (and a moment later,
        // held) a second copy must give up at once without a window.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("runtime/ORVELLKERNEL")), 20000);
        QTest::qWait(300);
        QProcess second;
        QProcessEnvironment secondEnv = Environment(dir);
        secondEnv.insert("DISPLAY", ":0"); // never opened: the lock ends it first
        second.setProcessEnvironment(secondEnv);
        second.start(ORVELL_PATH, {dir.filePath("game")});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);

        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);

        QImage image(shot);
        QVERIFY2(!image.isNull(), "the program wrote its window as a PNG");
        QCOMPARE(image.width(), kScreenWidth);
        QVERIFY(image.height() > kScreenHeight);
        int menuBar = image.height() - kScreenHeight;
        // The game screen starts black; the menu bar above it is drawn by the style.
        for (QPoint p :
             {QPoint(0, menuBar), QPoint(400, menuBar + 300), QPoint(799, image.height() - 1)}) {
            QCOMPARE(QColor(image.pixel(p)).rgb() & 0xFFFFFF, 0u);
        }
        bool menuDrawn = false;
        for (int x = 0; x < kScreenWidth && !menuDrawn; x += 7) {
            menuDrawn = (image.pixel(x, menuBar / 2) & 0xFFFFFF) != 0;
        }
        QVERIFY(menuDrawn);
    }
};

} // namespace orv::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty()) {
        std::puts("xvfb-run is not installed: skipped");
        return 77;
    }
    orv::test::XvfbTest test;
    return QTest::qExec(&test, argc, argv) == 0 ? 0 : 1;
}

#include "xvfb_test.moc"
