// TForm1: its menus and tool bar, the close confirmation, full screen and the window bounds.
#include "desktop_fixture.h"
#include "qt/paint_box.h"
#include "test_registry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace orv::test {

namespace {

struct Expected {
    const char* Name;
    const char* Caption;
    bool Visible;
};

QStringList ActionNames(const QWidget* holder) {
    QStringList names;
    for (QAction* action : holder->actions()) {
        names << action->objectName();
    }
    return names;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyComponentHasItsNameAndCaption() {
        Desktop desktop;
        const Expected expected[] = {
            {"N12", "終了", true},
            {"N14", "ゲーム終了", true},
            {"N15", "タイトルへ", true},
            {"N1", "次シーンへ", false},
            {"N2", "回想終了", false},
            {"N20", "ロード", true},
            {"N21", "セーブ", true},
            {"N22", "制御", false},
            {"N23", "スキップ", true},
            {"N24", "バックログ", true},
            {"N25", "オート", true},
            {"N27", "ウィンドウ消去", true},
            {"N26", "設定", true},
            {"SM01", "自動送り", true},
            {"SM02", "スキップ", true},
            {"N4", "ログ", true},
            {"SM04", "ウィンドウ消去", true},
            {"SM05", "直前の音声を再生", true},
            {"N5", "クイックロード", true},
            {"N8", "クイックセーブ", true},
            {"N9", "ロード", true},
            {"N10", "セーブ", true},
            {"N13", "設定", true},
            {"N17", "タイトルへ戻る", true},
            {"N18", "終了", true},
            {"N6", "終了", true},
            {"N7", "タイトルへ戻る", true},
            {"N19", "回想終了", false},
            {"SpeedButton1", "終了", true},
            {"SpeedButton4", "ロード", true},
            {"SpeedButton3", "セーブ", true},
            {"SpeedButton2", "設定", true},
            {"SpeedButton5", "Window モード", true},
        };
        for (const auto& item : expected) {
            QAction* action = desktop.form->findChild<QAction*>(item.Name);
            QVERIFY2(action, item.Name);
            QCOMPARE(action->text(), QString::fromUtf8(item.Caption));
            QCOMPARE(action->isVisible(), item.Visible);
            QCOMPARE(desktop.form->Component(item.Name), action);
        }
    }

    void menusHoldTheirItemsInOrder() {
        Desktop desktop;
        TForm1& form = *desktop.form;
        QCOMPARE(form.menuBar()->objectName(), QString("MainMenu1"));
        QCOMPARE(ActionNames(form.menuBar()),
                 QStringList({"N12", "N20", "N21", "N22", "N26", "ViewMenu"}));
        QCOMPARE(ActionNames(form.Component("N12")->menu()),
                 QStringList({"N14", "N15", "N1", "N2"}));
        QCOMPARE(ActionNames(form.Component("N22")->menu()),
                 QStringList({"N23", "N24", "N25", "N27"}));
        QCOMPARE(ActionNames(form.PopupMenu("PopupMenu3")),
                 QStringList({"SM01", "SM02", "N4", "SM04", "SM05", "N5", "N8", "N9", "N10", "N13",
                              "N17", "N18"}));
        QCOMPARE(ActionNames(form.PopupMenu("PopupMenu1")), QStringList({"N6", "N7", "N19"}));
        QCOMPARE(ActionNames(&form.Panel1()),
                 QStringList({"SpeedButton1", "SpeedButton4", "SpeedButton3", "SpeedButton2",
                              "SpeedButton5"}));
        auto* button = form.Panel1().findChild<QToolButton*>("SpeedButton5");
        QVERIFY(button);
        QCOMPARE(button->text(), QString::fromUtf8("Window モード"));
        QVERIFY(!form.Panel1().isVisible());
    }

    void theEngineDrivesEnabledAndVisibleStateByName() {
        Desktop desktop;
        Platform& platform = desktop.platform;
        platform.SetMenuItemEnabled("N20", false);
        QVERIFY(!desktop.form->Component("N20")->isEnabled());
        platform.SetMenuItemEnabled("N20", true);
        QVERIFY(desktop.form->Component("N20")->isEnabled());
        platform.SetMenuItemVisible("N19", true);
        QVERIFY(desktop.form->Component("N19")->isVisible());
        platform.SetMenuItemEnabled("SpeedButton3", false);
        auto* button = desktop.form->Panel1().findChild<QToolButton*>("SpeedButton3");
        QVERIFY(!button->isEnabled());
        // A name the window does not have is no error.
        platform.SetMenuItemVisible("N99", false);
        platform.SetMenuItemEnabled("", false);
    }

    void theMenuBarGoesWhenEveryItemIsHidden() {
        Desktop desktop;
        for (const char* name : {"N12", "N20", "N21", "N26"}) {
            desktop.platform.SetMenuItemVisible(name, false);
        }
        QVERIFY(desktop.form->menuBar()->isVisible()); // the front end's own menu remains
        desktop.form->Component("N12")->setVisible(true);
        desktop.engine->FullScreenMode = 1;
        desktop.engine->EnterFullScreen();
        QVERIFY(!desktop.form->menuBar()->isVisible());
        desktop.engine->LeaveFullScreen();
        QVERIFY(desktop.form->menuBar()->isVisible());
    }

    void cancelInTheCloseConfirmationKeepsTheGameGoing() {
        Desktop desktop;
        desktop.platform.Answers = {MessageBoxResult::Cancel};
        desktop.form->Start();
        desktop.engine->ScriptRunning = 1;
        QVERIFY(!desktop.form->close());
        QVERIFY(desktop.form->isVisible());
        QVERIFY(!desktop.form->Destroyed());
        QVERIFY(desktop.form->Loop().Running());
        QCOMPARE(desktop.platform.Boxes, std::vector<std::string>{"確認: ゲームを終了しますか？"});
        QCOMPARE(int(desktop.engine->ScriptRunning), 1);
    }

    void okInTheCloseConfirmationEndsTheProgram() {
        Desktop desktop;
        desktop.platform.Answers = {MessageBoxResult::Ok};
        desktop.form->Start();
        QVERIFY(desktop.form->close());
        QVERIFY(desktop.form->Destroyed());
        QVERIFY(!desktop.form->Loop().Running());
        QVERIFY(!desktop.form->isVisible());
        QCOMPARE(desktop.platform.Boxes.size(), size_t(1));
    }

    void aRequestedQuitClosesWithoutAsking() {
        Desktop desktop;
        desktop.engine->QuitRequested = 1;
        desktop.platform.CloseMainWindow();
        QVERIFY(desktop.form->Destroyed());
        QVERIFY(desktop.platform.Boxes.empty());
    }

    void closingDuringAnInterruptibleEffectIsRefusedAndStopsTheEffect() {
        Desktop desktop;
        {
            InterruptibleScope effect(desktop.engine->blocking);
            QVERIFY(!desktop.form->close());
            QCOMPARE(desktop.engine->blocking.InterruptRequest, 2);
            QVERIFY(desktop.platform.Boxes.empty());
        }
        BusyScope busy(desktop.engine->blocking);
        QVERIFY(!desktop.form->close());
        QVERIFY(desktop.platform.Boxes.empty());
        QVERIFY(!desktop.form->Destroyed());
    }

    void theExitItemsCloseThroughTheConfirmation() {
        Desktop desktop;
        for (const char* name : {"N14", "N18", "N6"}) {
            desktop.platform.Answers = {MessageBoxResult::Cancel};
            desktop.form->Component(name)->trigger();
            QVERIFY2(desktop.form->isVisible(), name);
        }
        QCOMPARE(desktop.platform.Boxes.size(), size_t(3));
        desktop.form->Component("N14")->trigger(); // an empty queue answers OK
        QVERIFY(desktop.form->Destroyed());
    }

    void theRealMessageBoxShowsItsTextAndReturnsTheAnswer() {
        Desktop desktop;
        desktop.platform.RealBoxes = true;
        desktop.form->Start();
        QString seenText, seenTitle;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        bool passDuringBox = false;
        int passes = 0;
        QTimer::singleShot(50, [&] {
            passes = desktop.engine->PassCounter;
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QTimer::singleShot(200, [&, box] {
                passDuringBox = desktop.engine->PassCounter != passes;
                if (box) {
                    seenText = box->text();
                    seenTitle = box->windowTitle();
                    seenIcon = box->icon();
                    box->button(QMessageBox::Cancel)->click();
                }
            });
        });
        MessageBoxResult answer = desktop.platform.MessageBox(
            kQuitQuestion, kConfirmCaption, MessageBoxButtons::OkCancel, MessageBoxIcon::Stop);
        QCOMPARE(answer, MessageBoxResult::Cancel);
        QCOMPARE(seenText, QString::fromUtf8(kQuitQuestion));
        QCOMPARE(seenTitle, QString::fromUtf8(kConfirmCaption));
        QCOMPARE(seenIcon, QMessageBox::Critical);
        QVERIFY2(!passDuringBox, "no idle pass runs while the box is open");
        desktop.engine->QuitRequested = 1;
    }

    void fullScreenIsEnteredAndLeftWithTheBoundsRestored() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        desktop.platform.SetWindowBounds(Rect{40, 30, 820, 640});
        Rect before = desktop.platform.WindowBounds();
        engine.FullScreenMode = 1;
        engine.EnterFullScreen();
        QCOMPARE(engine.FullScreenActive, 1);
        QVERIFY(desktop.form->isFullScreen());
        QTRY_COMPARE(desktop.form->size(), desktop.form->screen()->geometry().size());
        for (const char* name : {"N12", "N20", "N21", "N26"}) {
            QVERIFY(!desktop.form->Component(name)->isVisible());
        }
        // The switch is the window's own: it must not count as the player resizing.
        QTest::qWait(50);
        QCOMPARE(engine.FullScreenActive, 1);
        QCOMPARE(engine.FullScreenMode, 1);

        engine.LeaveFullScreen();
        QVERIFY(!desktop.form->isFullScreen());
        QTRY_COMPARE(desktop.form->size(), QSize(before.Width, before.Height));
        Rect after = desktop.platform.WindowBounds();
        QCOMPARE(after.X, before.X);
        QCOMPARE(after.Y, before.Y);
        QCOMPARE(engine.FullScreenMode, 1);
        QVERIFY(desktop.form->Component("N26")->isVisible());
    }

    void leavingFullScreenByTheWindowManagerDropsToTheWindow() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        engine.FullScreenMode = 1;
        engine.EnterFullScreen();
        desktop.form->showNormal(); // as a window manager's key would
        QCOMPARE(engine.FullScreenActive, 0);
        QCOMPARE(engine.FullScreenMode, 0);
        QCOMPARE(engine.settings.SMode, 0);
    }

    void switchingToAnotherProgramLeavesFullScreen() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        engine.FullScreenMode = 1;
        engine.EnterFullScreen();
        desktop.form->ApplicationStateChanged(Qt::ApplicationInactive);
        QCOMPARE(engine.FullScreenActive, 0);
        QVERIFY(!desktop.form->isFullScreen());
        QCOMPARE(engine.FullScreenMode, 1); // the setting stays: the game comes back to it
    }

    void theWindowModeButtonLeavesFullScreenForGood() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        engine.FullScreenMode = 1;
        engine.EnterFullScreen();
        desktop.form->Component("SpeedButton5")->trigger();
        QCOMPARE(engine.FullScreenActive, 0);
        QCOMPARE(engine.FullScreenMode, 0);
        QCOMPARE(engine.settings.SMode, 0);
        QVERIFY(!desktop.form->isFullScreen());
    }

    void theToolBarLiesOverTheTopOfTheGameScreen() {
        Desktop desktop;
        desktop.platform.ShowToolBar(true);
        QToolBar& panel = desktop.form->Panel1();
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.geometry().top(), desktop.form->PB().geometry().top());
        QCOMPARE(panel.width(), desktop.form->PB().width());
        QCOMPARE(desktop.form->PB().height(), kScreenHeight); // the game screen is not pushed down
        desktop.platform.ShowToolBar(false);
        QVERIFY(!panel.isVisible());
    }

    void popupMenusOpenAtTheScreenPosition() {
        Desktop desktop;
        Point origin = desktop.platform.PaintBoxOrigin();
        desktop.platform.ShowPopupMenu("PopupMenu3", origin.X + 100, origin.Y + 50);
        QMenu* menu = desktop.form->PopupMenu("PopupMenu3");
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        desktop.platform.ShowPopupMenu("NoSuchMenu", 0, 0);
    }

    void smoothScalingIsAChoiceRememberedForTheNextRun() {
        {
            Desktop desktop;
            auto* smooth = desktop.form->findChild<QAction*>("SmoothScaling");
            QVERIFY(smooth && smooth->isCheckable());
            QVERIFY(desktop.form->PB().Smooth());
            smooth->trigger();
            QVERIFY(!desktop.form->PB().Smooth());
        }
        {
            Desktop desktop;
            QVERIFY(!desktop.form->PB().Smooth());
            desktop.form->SetSmoothScaling(true);
        }
        QVERIFY(QSettings().value("display/smooth").toBool());
    }

    void theClipboardChoiceCopiesEachCommittedTextLine() {
        Desktop desktop;
        auto* copy = desktop.form->findChild<QAction*>("CopyTextToClipboard");
        QVERIFY(copy && copy->isCheckable());
        QVERIFY(!copy->isChecked());
        QGuiApplication::clipboard()->setText("before");
        desktop.form->TextLineCommitted("「あい」");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
        copy->trigger();
        desktop.form->TextLineCommitted("「あい」");
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("「あい」"));
        desktop.form->SetCopyTextToClipboard(false);
        QVERIFY(!QSettings().value("display/copyTextToClipboard").toBool());
    }

    void theWindowTitleAndBoundsFollowTheEngine() {
        Desktop desktop;
        desktop.platform.SetWindowTitle("テスト ゲーム");
        QCOMPARE(desktop.form->windowTitle(), QString::fromUtf8("テスト ゲーム"));
        desktop.platform.SetWindowBounds(Rect{12, 34, 900, 700});
        QTRY_COMPARE(desktop.form->size(), QSize(900, 700));
        Rect bounds = desktop.platform.WindowBounds();
        QCOMPARE(bounds.X, 12);
        QCOMPARE(bounds.Y, 34);
    }

    void theClientAreaStartsAsTheGameScreenBelowTheMenuBar() {
        Desktop desktop;
        QCOMPARE(desktop.form->PB().size(), QSize(kScreenWidth, kScreenHeight));
        QVERIFY(desktop.form->PB().geometry().top() >= 0);
        QCOMPARE(desktop.form->PB().mapTo(desktop.form.get(), QPoint(0, 0)).y(),
                 desktop.form->menuBar()->height());
    }
};

ORVELL_QT_TEST(MainWindowTest);

} // namespace orv::test

#include "main_window_test.moc"
