// Panel2 and the movie hand-off: files that are missing or do not play are let go, and a
// click ends a movie only once its first second has passed.
#include "desktop_fixture.h"
#include "qt/movie_panel.h"
#include "qt/paint_box.h"
#include "test_registry.h"

#include <QFile>
#include <QtTest>

namespace orv::test {

namespace {

// A one-second movie of 64 by 48 red frames in the plain YUV4MPEG2 form, which any FFmpeg
// reads without a codec of its own.
QByteArray RedMovie() {
    QByteArray movie("YUV4MPEG2 W64 H48 F25:1 Ip A1:1 C420jpeg\n");
    for (int frame = 0; frame < 25; ++frame) {
        movie += "FRAME\n";
        movie += QByteArray(64 * 48, char(76));  // Y
        movie += QByteArray(32 * 24, char(85));  // Cb
        movie += QByteArray(32 * 24, char(255)); // Cr
    }
    return movie;
}

} // namespace

class MoviePanelTest : public QObject {
    Q_OBJECT

private slots:
    void aMissingMovieIsIgnored() {
        Desktop desktop;
        QVERIFY(!desktop.platform.OpenMovie((desktop.GameDir / "absent.mpg").string()));
        desktop.engine->PlayMovie("absent.mpg");
        QCOMPARE(desktop.engine->blocking.Busy(), false);
        QCOMPARE(desktop.engine->MovieCountdown, 0);
        QVERIFY(!desktop.form->Panel2().isVisible());
        QVERIFY(desktop.form->PB().isVisible());
    }

    void aMovieThatCannotPlayEndsOnTheTimerAndGivesTheScreenBack() {
        Desktop desktop;
        QFile file(QString::fromStdString((desktop.GameDir / "broken.mpg").string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, '\x5a'));
        file.close();
        Engine& engine = *desktop.engine;
        engine.PlayMovie("broken.mpg");
        if (engine.MovieCountdown == 0) {
            // No media back end on this machine: the movie is refused at once.
            QCOMPARE(engine.blocking.Busy(), false);
            return;
        }
        QVERIFY(desktop.form->Panel2().isVisible());
        QVERIFY(!desktop.form->PB().isVisible());
        QCOMPARE(engine.blocking.Busy(), true);
        QTRY_VERIFY(!desktop.platform.IsMoviePlaying());
        for (int tick = 0; tick < 20 && engine.MovieCountdown != 0; ++tick) {
            engine.Timer1Timer();
        }
        QCOMPARE(engine.MovieCountdown, 0);
        QCOMPARE(engine.blocking.Busy(), false);
        QVERIFY(!desktop.form->Panel2().isVisible());
        QVERIFY(desktop.form->PB().isVisible());
    }

    void aPlayableMovieShowsItsFramesAndEndsByItself() {
        Desktop desktop;
        QFile file(QString::fromStdString((desktop.GameDir / "red.y4m").string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(RedMovie());
        file.close();
        Engine& engine = *desktop.engine;
        engine.PlayMovie("red.y4m");
        if (engine.MovieCountdown == 0) {
            QSKIP("no media back end on this machine");
        }
        MoviePanel& panel = desktop.form->Panel2();
        auto centre = [&panel] {
            QImage shot = panel.grab().toImage();
            return QColor(shot.pixel(shot.width() / 2, shot.height() / 2));
        };
        QTRY_VERIFY_WITH_TIMEOUT(centre().red() > 180 && centre().green() < 90, 10000);
        // The picture is fitted to the panel: a 4:3 movie in a 4:3 panel leaves no bars.
        QImage shot = panel.grab().toImage();
        QVERIFY(QColor(shot.pixel(2, shot.height() / 2)).red() > 180);
        QTRY_VERIFY_WITH_TIMEOUT(!desktop.platform.IsMoviePlaying(), 10000);
        for (int tick = 0; tick < 20 && engine.MovieCountdown != 0; ++tick) {
            engine.Timer1Timer();
        }
        QCOMPARE(engine.MovieCountdown, 0);
        QVERIFY(!panel.isVisible());
    }

    void aClickOnTheMoviePanelEndsTheMovieOnlyAfterTheCountdown() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        desktop.platform.ShowMoviePanel(true);
        engine.blocking.Hold(BlockingState::Holding::Movie);
        engine.MovieCountdown = 5;
        MoviePanel& panel = desktop.form->Panel2();
        QTest::mouseClick(&panel, Qt::LeftButton, {}, panel.rect().center());
        QCOMPARE(engine.MovieCountdown, 5);
        QVERIFY(panel.isVisible());
        engine.MovieCountdown = 1;
        QTest::mouseClick(&panel, Qt::LeftButton, {}, panel.rect().center());
        QCOMPARE(engine.MovieCountdown, 0);
        QCOMPARE(engine.blocking.Busy(), false);
        QVERIFY(!panel.isVisible());
        QVERIFY(desktop.form->PB().isVisible());
    }
};

ORVELL_QT_TEST(MoviePanelTest);

} // namespace orv::test

#include "movie_panel_test.moc"
