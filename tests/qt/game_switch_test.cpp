// One game after another in one process: a game chosen from the recent-games menu ends the
// running one through its close question, the next one starts in a new window, and both
// join the list, the latest first.
#include "desktop_fixture.h"
#include "dialogs/recent_games.h"
#include "qt/desktop_main.h"
#include "test_registry.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QtTest>

namespace orv::test {

namespace {

TForm1* RunningForm() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<TForm1*>(widget); form && form->isVisible()) {
            return form;
        }
    }
    return nullptr;
}

std::vector<std::filesystem::path> Folders(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> folders;
    RecentGames games = LoadRecentGames(file);
    for (const RecentGame& game : games.Games()) {
        folders.push_back(game.Directory);
    }
    return folders;
}

// Two playable games in a scratch folder, the second one already in the recent games.
struct TwoGames {
    QTemporaryDir Dir;
    std::filesystem::path Root = Dir.path().toStdString();
    std::filesystem::path First = Root / "first";
    std::filesystem::path Second = Root / "second";
    std::filesystem::path Recent = Root / "recent-games.txt";

    bool Ready() {
        if (!Dir.isValid() || !std::filesystem::create_directories(First) ||
            !std::filesystem::create_directories(Second) || !WriteTestGame(First) ||
            !WriteTestGame(Second)) {
            return false;
        }
        RecentGames games;
        games.Played(Second, "");
        return SaveRecentGames(Recent, games).empty();
    }
};

} // namespace

class GameSwitchTest : public QObject {
    Q_OBJECT

private slots:
    void aRecentGameTakesThePlaceOfTheRunningOne() {
        TwoGames two;
        QVERIFY(two.Ready());
        const std::filesystem::path &root = two.Root, &first = two.First, &second = two.Second,
                                    &recent = two.Recent;

        RecordingPlatform platform;
        EngineOptions options;
        options.GameDirectory = first;
        options.DataDirectory = root / "data";
        options.Seed = 1;
        auto& app = static_cast<QApplication&>(*QCoreApplication::instance());

        bool chosen = false;
        QTimer::singleShot(200, [&chosen] {
            TForm1* form = RunningForm();
            QAction* item = form ? form->findChild<QAction*>("RecentGame1") : nullptr;
            if (item) {
                chosen = true;
                item->trigger();
            }
        });
        GameRun firstRun = RunGame(app, platform, options, {}, recent);
        QVERIFY(chosen);
        // The running game was left through its own close question.
        QCOMPARE(platform.Boxes.size(), size_t{1});
        QCOMPARE(firstRun.Status, 0);
        QVERIFY(firstRun.NextGame);
        QCOMPARE(*firstRun.NextGame, second);
        QCOMPARE(Folders(recent), (std::vector<std::filesystem::path>{first, second}));

        options.GameDirectory = *firstRun.NextGame;
        QTimer::singleShot(200, [] {
            if (TForm1* form = RunningForm()) {
                form->close();
            }
        });
        GameRun secondRun = RunGame(app, platform, options, {}, recent);
        QCOMPARE(secondRun.Status, 0);
        QVERIFY(!secondRun.NextGame);
        QCOMPARE(Folders(recent), (std::vector<std::filesystem::path>{second, first}));
    }

    void aNoToTheCloseQuestionKeepsTheRunningGame() {
        TwoGames two;
        QVERIFY(two.Ready());

        RecordingPlatform platform;
        platform.Answers.push_back(MessageBoxResult::Cancel);
        EngineOptions options;
        options.GameDirectory = two.First;
        options.DataDirectory = two.Root / "data";
        options.Seed = 1;
        auto& app = static_cast<QApplication&>(*QCoreApplication::instance());
        QTimer::singleShot(200, [] {
            if (TForm1* form = RunningForm()) {
                form->findChild<QAction*>("RecentGame1")->trigger();
            }
        });
        // Later the player closes the window itself, and says yes.
        QTimer::singleShot(800, [] {
            if (TForm1* form = RunningForm()) {
                form->close();
            }
        });
        GameRun run = RunGame(app, platform, options, {}, two.Recent);
        QCOMPARE(run.Status, 0);
        QVERIFY(!run.NextGame);
        QVERIFY(platform.Boxes.size() >= 2);
    }
};

ORVELL_QT_TEST(GameSwitchTest);

} // namespace orv::test

#include "game_switch_test.moc"
