// TForm9, the save list dialog: its components as the games lay them out, the keyboard and
// the input method reaching the model, and the modal run that pauses the script.
#include "base/cp932.h"
#include "base/files.h"
#include "desktop_fixture.h"
#include "dialogs/save_list.h"
#include "qt/save_list_dialog.h"
#include "test_registry.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace orv::test {

namespace {

// The list over the desktop's own slot files.
struct ListOnDesktop {
    explicit ListOnDesktop(Desktop& desktop) : Files(desktop.engine->saves) {}
    SaveSlotsForList Files;
    SaveListMemory Memory;
    SaveListModel Model{Files, Memory};
};

std::string CommentOf(Engine& engine, int slot) {
    std::optional<SlotSummary> summary = engine.saves.ReadSlotSummary(slot);
    return summary ? cp932::ToUtf8(summary->Comment) : std::string("(no file)");
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

} // namespace

class SaveListDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheGamesComponentsWithTheModesCaptions() {
        Desktop desktop;
        ListOnDesktop list(desktop);
        list.Model.Fill(save_list_mode::Save);
        TForm9 dialog(list.Model, desktop.form.get());
        QCOMPARE(dialog.size(), QSize(494, 408));
        QCOMPARE(dialog.windowTitle(), QString("セーブ"));
        QCOMPARE(dialog.Label1->text(), QString("セーブ"));
        QCOMPARE(dialog.Label1->pos(), QPoint(8, 8));
        QCOMPARE(dialog.Button1->text(), QString("セーブ"));
        QCOMPARE(dialog.Button1->geometry(), QRect(384, 352, 91, 41));
        QCOMPARE(dialog.Button2->text(), QString("削除"));
        QCOMPARE(dialog.Button2->geometry(), QRect(192, 368, 65, 25));
        QCOMPARE(dialog.Button3->text(), QString("コメント登録(最大全角15文字)"));
        QCOMPARE(dialog.Button3->geometry(), QRect(8, 344, 177, 25));
        QVERIFY(!dialog.Button3->isEnabled());
        QCOMPARE(dialog.Button4->text(), QString("閉じる"));
        QCOMPARE(dialog.Button4->geometry(), QRect(288, 352, 75, 41));
        QCOMPARE(dialog.Edit1->pos(), QPoint(8, 376));
        QCOMPARE(dialog.Edit1->width(), 177);

        QTableWidget& table = *dialog.ListView1;
        QCOMPARE(table.geometry(), QRect(8, 24, 465, 313));
        QCOMPARE(table.columnCount(), 4);
        const char* titles[] = {"スロット", "更新日時", "詳細", "ユーザーコメント"};
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(table.horizontalHeaderItem(c)->text(), QString::fromUtf8(titles[c]));
        }
        QCOMPARE(table.columnWidth(1), 120);
        QCOMPARE(table.columnWidth(2), 150);
        QCOMPARE(table.columnWidth(3), 120);
        QCOMPARE(table.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(table.editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(table.showGrid());
        QCOMPARE(table.rowCount(), 98);
        QCOMPARE(table.item(0, 0)->text(), QString("01"));
        QCOMPARE(table.item(97, 0)->text(), QString("98"));
        QCOMPARE(table.item(0, 1)->text(), QString(" 未登録"));
        QCOMPARE(table.item(0, 2)->text(), QString(" "));

        list.Model.Fill(save_list_mode::Load);
        TForm9 load(list.Model, desktop.form.get());
        QCOMPARE(load.windowTitle(), QString("ロード"));
        QCOMPARE(load.Button1->text(), QString("ロード"));
        QCOMPARE(load.ListView1->rowCount(), 99);
        QCOMPARE(load.ListView1->item(98, 0)->text(), QString("99"));
        desktop.engine->QuitRequested = 1;
    }

    void theKeyboardAndTheInputMethodSelectCommentAndSave() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        QVERIFY(engine.saves.SaveSlot(2, true));
        QVERIFY(engine.saves.SetSaveComment(2, cp932::FromUtf8Lenient("古いコメント")));
        ListOnDesktop list(desktop);
        list.Model.Fill(save_list_mode::Save);
        TForm9 dialog(list.Model, desktop.form.get());
        dialog.show();
        // The offscreen platform does not always hand activation to a new window when an
        // earlier test's windows were active: give it explicitly.
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.ListView1);

        Press(Qt::Key_Down);
        QCOMPARE(list.Memory.LastRow, 1);
        QCOMPARE(dialog.Edit1->text(), QString("古いコメント"));
        QVERIFY(dialog.Button3->isEnabled());
        Press(Qt::Key_Down);
        QCOMPARE(list.Memory.LastRow, 2);
        QCOMPARE(dialog.Edit1->text(), QString());
        QVERIFY(!dialog.Button3->isEnabled());

        // Tab leaves the list for the edit; typed keys and a composed text both arrive.
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.Edit1);
        QTest::keyClicks(dialog.Edit1, "dusk ");
        QInputMethodEvent composing("ゆうやけ", {});
        QApplication::sendEvent(dialog.Edit1, &composing);
        QInputMethodEvent commit;
        commit.setCommitString("夕焼け");
        QApplication::sendEvent(dialog.Edit1, &commit);
        QCOMPARE(dialog.Edit1->text(), QString("dusk 夕焼け"));
        QCOMPARE(cp932::ToUtf8(list.Model.CommentText()), std::string("dusk 夕焼け"));
        // Enter in the edit saves nothing.
        Press(Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QVERIFY(!IsRegularFile(engine.saves.Location.SlotPath(3)));

        Press(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), dialog.ListView1);
        Press(Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(CommentOf(engine, 3), std::string("dusk 夕焼け"));
        QCOMPARE(CommentOf(engine, 2), std::string("古いコメント"));
        engine.QuitRequested = 1;
    }

    void headerClicksSortAndTheDeleteButtonEmptiesTheRow() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        QVERIFY(engine.saves.SaveSlot(4, true));
        QVERIFY(engine.saves.SetSaveComment(4, "b"));
        QVERIFY(engine.saves.SaveSlot(5, true));
        QVERIFY(engine.saves.SetSaveComment(5, "A"));
        ListOnDesktop list(desktop);
        list.Model.Fill(save_list_mode::Load);
        TForm9 dialog(list.Model, desktop.form.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableWidget& table = *dialog.ListView1;
        QHeaderView* header = table.horizontalHeader();
        QPoint comment(header->sectionViewportPosition(3) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, comment);
        QCOMPARE(table.item(97, 3)->text(), QString("A"));
        QCOMPARE(table.item(98, 3)->text(), QString("b"));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, comment);
        QCOMPARE(table.item(0, 0)->text(), QString("04"));
        QCOMPARE(table.item(1, 0)->text(), QString("05"));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

        table.selectRow(0);
        QCOMPARE(dialog.Edit1->text(), QString("b"));
        dialog.Button2->click();
        QVERIFY(!IsRegularFile(engine.saves.Location.SlotPath(4)));
        QCOMPARE(table.item(0, 0)->text(), QString("04"));
        QCOMPARE(table.item(0, 1)->text(), QString(" 未登録"));
        QCOMPARE(table.item(0, 3)->text(), QString());
        QVERIFY(!dialog.Button3->isEnabled());
        // A double click on the empty row loads nothing and the dialog stays.
        QRect cell = table.visualItemRect(table.item(0, 1));
        QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(dialog.isVisible());
        engine.QuitRequested = 1;
    }

    void theEngineRunsTheListModallyOverTheWindowAndEscapeClosesIt() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        engine.ScriptRunning = 1;
        bool seen = false;
        uint8_t running = 1;
        bool shown = false;
        QPoint offset;
        QRect formArea, dialogArea, screenArea;
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<TForm9*>(QApplication::activeModalWidget());
            seen = dialog != nullptr;
            running = engine.ScriptRunning;
            shown = engine.dialogs.SaveListShown();
            if (dialog) {
                QPoint centre = desktop.form->frameGeometry().center();
                offset = dialog->frameGeometry().center() - centre;
                formArea = desktop.form->frameGeometry();
                dialogArea = dialog->frameGeometry();
                screenArea = desktop.form->screen()->availableGeometry();
                QTest::keyClick(dialog->ListView1, Qt::Key_Escape);
            }
        });
        engine.dialogs.ShowSaveList(save_list_mode::Load);
        QVERIFY(seen);
        QCOMPARE(running, uint8_t(0));
        QVERIFY(shown);
        // Centred over a window that fits the screen; moved onto a screen too small for it
        // (the HiDPI run's screen is 400 x 400), caption first.
        if (screenArea.contains(formArea)) {
            QVERIFY2(std::abs(offset.x()) <= 8 && std::abs(offset.y()) <= 40,
                     "centred over the main window");
        } else {
            QVERIFY(dialogArea.left() >= screenArea.left() && dialogArea.top() >= screenArea.top());
        }
        QCOMPARE(engine.ScriptRunning, uint8_t(1));
        QVERIFY(!engine.dialogs.SaveListShown());
        engine.QuitRequested = 1;
    }
};

ORVELL_QT_TEST(SaveListDialogTest);

} // namespace orv::test

#include "save_list_dialog_test.moc"
