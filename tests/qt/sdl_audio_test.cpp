// The SDL audio output of the desktop: the device pulls the mix until it is stopped, and a
// machine without sound says so in one diagnostic line and prints nothing else.
#include "base/diagnostics.h"
#include "qt/qt_platform.h"
#include "sound/mixer.h"
#include "test_registry.h"

#include <QTemporaryFile>
#include <QtTest>
#include <cstdio>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace orv::test {

namespace {

// Sets an environment variable (or removes it) while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<QByteArray> value) : m_name(name) {
        if (qEnvironmentVariableIsSet(name)) {
            m_previous = qgetenv(name);
        }
        if (value) {
            qputenv(name, *value);
        } else {
            qunsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (m_previous) {
            qputenv(m_name, *m_previous);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_previous;
};

// What the process writes to its standard error while it lives (the C library's and every
// library's own writes to file descriptor 2).
class CapturedStandardError {
public:
    CapturedStandardError() {
        if (!m_file.open()) {
            return;
        }
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~CapturedStandardError() { Restore(); }
    CapturedStandardError(const CapturedStandardError&) = delete;
    CapturedStandardError& operator=(const CapturedStandardError&) = delete;

    QByteArray Text() {
        Restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void Restore() {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

// The diagnostic lines written while it lives.
class CapturedDiagnostics {
public:
    CapturedDiagnostics()
        : m_previous(
              SetDiagnosticSink([this](std::string_view line) { Lines.emplace_back(line); })) {}
    ~CapturedDiagnostics() { SetDiagnosticSink(std::move(m_previous)); }
    CapturedDiagnostics(const CapturedDiagnostics&) = delete;
    CapturedDiagnostics& operator=(const CapturedDiagnostics&) = delete;

    std::vector<std::string> Lines;

private:
    DiagnosticSink m_previous;
};

PcmClip TenSecondsOfTone() {
    PcmClip clip;
    clip.Rate = 22050;
    clip.Samples.resize(22050 * 10);
    for (size_t i = 0; i < clip.Samples.size(); ++i) {
        clip.Samples[i] = static_cast<int16_t>(i % 50 < 25 ? 3000 : -3000);
    }
    return clip;
}

} // namespace

class SdlAudioTest : public QObject {
    Q_OBJECT

private slots:
    // SDL's dummy driver plays at the pace of a real device without any sound hardware.
    void theDevicePullsTheMixUntilItIsStopped() {
        ScopedEnvironment driver("SDL_AUDIODRIVER", QByteArray("dummy"));
        Mixer mixer;
        mixer.PlayClip(0, TenSecondsOfTone(), false, 0);
        QtPlatform platform;
        QVERIFY(platform.StartAudio(mixer));
        QTRY_VERIFY(mixer.PlayPosition(0) > 2048);
        platform.StopAudio();
        size_t stoppedAt = mixer.PlayPosition(0);
        QTest::qWait(100);
        QCOMPARE(mixer.PlayPosition(0), stoppedAt);
        // A second start after a stop opens the device again.
        QVERIFY(platform.StartAudio(mixer));
        QTRY_VERIFY(mixer.PlayPosition(0) > stoppedAt);
    }

    void noDeviceGivesOneDiagnosticLineAndNothingElse() {
        // The machine's own choice of driver, as a player gets it; on a machine with sound
        // this opens, and only the driver SDL does not know about is refused.
        for (std::optional<QByteArray> driver :
             {std::optional<QByteArray>(), std::optional<QByteArray>("no-such-driver")}) {
            ScopedEnvironment environment("SDL_AUDIODRIVER", driver);
            Mixer mixer;
            QtPlatform platform;
            CapturedDiagnostics diagnostics;
            const std::vector<std::string>& lines = diagnostics.Lines;
            CapturedStandardError stderrOutput;
            bool opened = platform.StartAudio(mixer);
            platform.StopAudio();
            QByteArray printed = stderrOutput.Text();
            if (opened) {
                QVERIFY(driver == std::nullopt);
                QCOMPARE(lines.size(), size_t{0});
                continue;
            }
            QCOMPARE(printed, QByteArray());
            QCOMPARE(lines.size(), size_t{1});
            QVERIFY2(lines[0].starts_with("no audio output ("), lines[0].c_str());
            QVERIFY2(lines[0].ends_with("); playing without sound"), lines[0].c_str());
        }
    }
};

ORVELL_QT_TEST(SdlAudioTest);

} // namespace orv::test

#include "sdl_audio_test.moc"
