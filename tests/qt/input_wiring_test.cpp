// The desktop front end delivers the player's input to the engine and shows the menu states
// the engine decides: menu items, the tool bar, presses on PB, keys and the wheel.
#include "base/cp932.h"
#include "desktop_fixture.h"
#include "qt/paint_box.h"
#include "test_registry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

namespace orv::test {

class InputWiringTest : public QObject {
    Q_OBJECT

private slots:
    void enabledStatesFollowUpdateMenus() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        TForm1& form = *desktop.form;
        QVERIFY(!form.Component("N21")->isEnabled()); // S000 is 3 at start-up
        engine.vars.S(0) = 0;
        engine.vars.S(28) = 1;
        engine.UpdateMenus();
        QVERIFY(form.Component("N21")->isEnabled());
        QVERIFY(form.Component("N5")->isEnabled());
        auto* save = form.Panel1().findChild<QToolButton*>("SpeedButton3");
        QVERIFY(save && save->isEnabled());
        engine.vars.S(0) = 1;
        engine.UpdateMenus();
        QVERIFY(!form.Component("N21")->isEnabled());
        QVERIFY(!save->isEnabled());
        QVERIFY(form.Component("N20")->isEnabled());
        engine.MenusLocked = 1;
        engine.UpdateMenus();
        QVERIFY(!form.Component("N12")->isEnabled());
        QVERIFY(!form.Component("N20")->isEnabled());
        QVERIFY(form.Component("N4")->isEnabled());
    }

    void menuItemsRunTheirEngineActions() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        TForm1& form = *desktop.form;
        form.Component("SM02")->trigger();
        QCOMPARE(engine.SkipActive, 1);
        QCOMPARE(engine.vars.S(60), 2);
        engine.vars.S(27) = 0;
        form.Component("N25")->trigger();
        QCOMPARE(engine.vars.S(26), 4);
        form.Component("N15")->trigger();
        QCOMPARE(engine.prompts.SystemMenuState, 3);
        QVERIFY(!form.Component("N20")->isEnabled()); // the question locks the menus
        QTest::mouseClick(&form.PB(), Qt::RightButton, {}, QPoint(320, 200));
        QCOMPARE(engine.prompts.SystemMenuState, 0);
        QCOMPARE(engine.MenusLocked, uint8_t(0));
    }

    void aDisabledItemDoesNotReachTheEngine() {
        Desktop desktop;
        TForm1& form = *desktop.form;
        QVERIFY(!form.Component("N5")->isEnabled());
        form.Component("N5")->trigger();
        QCOMPARE(desktop.engine->prompts.SystemMenuState, 0);
    }

    void aRightClickOpensThePopUpAndASecondClosesIt() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        TForm1& form = *desktop.form;
        QMenu* popup = form.PopupMenu("PopupMenu3");
        QTest::mouseMove(&form.PB(), QPoint(100, 120));
        QTest::mouseClick(&form.PB(), Qt::RightButton, {}, QPoint(100, 120));
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(engine.PopupShown, uint8_t(1));
        engine.PBMouseDown(MouseButton::Right, 100, 120);
        QTRY_VERIFY(!popup->isVisible());
        QCOMPARE(engine.PopupShown, uint8_t(0));
    }

    void theExitButtonOfTheToolBarOpensTheExitMenu() {
        Desktop desktop;
        TForm1& form = *desktop.form;
        form.Component("SpeedButton1")->trigger();
        QMenu* exitMenu = form.PopupMenu("PopupMenu1");
        QTRY_VERIFY(exitMenu->isVisible());
        exitMenu->close();
    }

    void keysAndTheWheelReachTheEngine() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        TForm1& form = *desktop.form;
        QTest::keyClick(&form, Qt::Key_Space);
        QVERIFY(engine.vars.S(26) != 0);
        QTest::keyClick(&form, Qt::Key_Space);
        QCOMPARE(engine.vars.S(26), 0);
        engine.wait.WaitKind = 1;
        QPointF at(400, 300);
        QWheelEvent down(at, form.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&form, &down);
        QCOMPARE(engine.wait.WaitKind, 0);
        // A touchpad's small steps reach the engine as they come; it adds them up.
        engine.wait.WaitKind = 1;
        QWheelEvent part(at, form.mapToGlobal(at), QPoint(), QPoint(0, -60), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&form, &part);
        QCOMPARE(engine.wait.WaitKind, 1);
        QApplication::sendEvent(&form, &part);
        QCOMPARE(engine.wait.WaitKind, 0);
    }

    void aHeldButtonKeepsDeliveringMovesOutsideTheWindow() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        PaintBox& pb = desktop.form->PB();
        QTest::mousePress(&pb, Qt::LeftButton, {}, QPoint(100, 100));
        engine.PointerMoved = 0;
        // Far beyond the window's bottom left: the drag of a scroll thumb goes on, held at
        // the picture's edge.
        QTest::mouseMove(&pb, QPoint(-300, pb.height() + 400));
        QCOMPARE(engine.PointerMoved, uint8_t(1));
        QCOMPARE(engine.PointerX, 0);
        QCOMPARE(engine.PointerY, kScreenHeight - 1);
        QTest::mouseRelease(&pb, Qt::LeftButton, {}, QPoint(-300, pb.height() + 400));
    }

    void theCopyCommandPutsTheBacklogsVisibleLinesOnTheClipboard() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        auto* copy = desktop.form->findChild<QAction*>("CopyBacklogLines");
        QVERIFY(copy);
        QCOMPARE(copy->shortcut(), QKeySequence(QKeySequence::Copy));
        // The window holds it too: the key works while the menu bar is hidden.
        QVERIFY(desktop.form->actions().contains(copy));
        engine.backlog.AppendBacklogBytes(cp932::FromUtf8Lenient("「あい」"));
        engine.backlog.AppendVoiceEntry("V001"); // a voice button, no text
        engine.backlog.AppendBacklogBytes("ok");
        engine.backlog.CommitBacklogLine();
        QGuiApplication::clipboard()->setText("before");
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("before")); // nothing open
        engine.vars.S(28) = 1;
        engine.config.LOG_LINES = 20;
        engine.backlog.OpenBacklog();
        QVERIFY(engine.screens.BacklogOpen());
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("「あい」\nok\n"));
    }
};

ORVELL_QT_TEST(InputWiringTest);

} // namespace orv::test

#include "input_wiring_test.moc"
