// The desktop's own menus: the recent games in the 終了 menu and the About box's menu, and
// the game controllers' start without any pad plugged in.
#include "desktop_fixture.h"
#include "qt/desktop_menus.h"
#include "qt/gamepads.h"
#include "test_registry.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

namespace orv::test {

class DesktopMenusTest : public QObject {
    Q_OBJECT

private slots:
    void theRecentGamesSitAtTheTopOfTheQuitMenuByTitle() {
        Desktop desktop;
        RecentGames games;
        games.Played("/games/b", "B & C");
        games.Played(desktop.GameDir, "this one");
        games.Played("/games/a", "星の丘");
        std::filesystem::path opened;
        AddRecentGamesMenu(*desktop.form, games, desktop.GameDir,
                           [&opened](const std::filesystem::path& game) { opened = game; });
        QMenu* quitMenu = desktop.form->Component("N12")->menu();
        QAction* recent = quitMenu->actions().first();
        QCOMPARE(recent->objectName(), QString("RecentGames"));
        QVERIFY(recent->isEnabled());
        // The running game is left out; the others are numbered newest first.
        QList<QAction*> items = recent->menu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QString::fromUtf8("&1 星の丘"));
        QCOMPARE(items[1]->text(), QString::fromUtf8("&2 B && C"));
        QVERIFY(quitMenu->actions()[1]->isSeparator());
        QCOMPARE(quitMenu->actions()[2]->objectName(), QString("N14"));
        items[1]->trigger();
        QCOMPARE(opened, std::filesystem::path("/games/b"));
    }

    void anEmptyListLeavesTheSubMenuDisabled() {
        Desktop desktop;
        AddRecentGamesMenu(*desktop.form, RecentGames(), desktop.GameDir,
                           [](const std::filesystem::path&) {});
        QAction* recent = desktop.form->Component("N12")->menu()->actions().first();
        QVERIFY(!recent->isEnabled());
    }

    void theHelpMenuGoesWithTheMenuBarInFullScreen() {
        Desktop desktop;
        int asked = 0;
        AddHelpMenu(*desktop.form, [&asked] {
            ++asked;
            return AboutFacts{};
        });
        QAction* help = desktop.form->findChild<QAction*>("HelpMenu");
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(desktop.form->findChild<QAction*>("About"));
        desktop.form->SetFullScreen(true);
        QVERIFY(!help->isVisible());
        desktop.form->SetFullScreen(false);
        QVERIFY(help->isVisible());
        QCOMPARE(asked, 0);
    }

    void gamepadsStartWithoutAnyPadAndPollQuietly() {
        Desktop desktop;
        Gamepads pads(*desktop.engine, *desktop.form);
        pads.Poll();
        QCOMPARE(pads.Connected(), 0);
    }
};

ORVELL_QT_TEST(DesktopMenusTest);

} // namespace orv::test

#include "desktop_menus_test.moc"
