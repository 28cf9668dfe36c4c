// TForm2 and TForm6: the names typed through the input method, Enter for OK, Tab through the
// boxes and buttons, a refused name brought back, Escape.
#include "base/cp932.h"
#include "desktop_fixture.h"
#include "dialogs/name_entry.h"
#include "qt/name_dialogs.h"
#include "test_registry.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace orv::test {

namespace {

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

void Compose(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QInputMethodEvent composing("よみ", {});
    QApplication::sendEvent(edit, &composing);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
}

void Activate(QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

} // namespace

class NameDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theNamesGoInThroughTheInputMethodAndEnterAcceptsThem() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        engine.config.DEFAULT_NAME = cp932::FromUtf8Lenient("太郎");
        engine.config.DEFAULT_NAME2 = cp932::FromUtf8Lenient("たろ");
        engine.vars.SetString(0, engine.config.DEFAULT_NAME);
        engine.vars.SetString(1, engine.config.DEFAULT_NAME2);
        NameEntryModel model(engine);
        model.Fill();
        TForm2 dialog(model, desktop.form.get());
        QCOMPARE(dialog.size(), QSize(295, 164));
        QCOMPARE(dialog.windowTitle(), QString("名前の変更"));
        QVERIFY(!dialog.Edit3->isEnabled()); // the game has no surname
        Activate(dialog);
        QCOMPARE(QApplication::focusWidget(), dialog.Edit1);
        QCOMPARE(dialog.Edit1->text(), QString("太郎"));

        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.Edit2);
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.Button1);
        Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog.Button2);

        // A half-width nickname is refused: the stored one comes back, the dialog stays.
        Compose(dialog.Edit1, "次郎");
        dialog.Edit2->setFocus();
        dialog.Edit2->selectAll();
        QTest::keyClicks(dialog.Edit2, "jiro");
        Press(Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Edit2->text(), QString("たろ"));
        QCOMPARE(QApplication::focusWidget(), dialog.Edit2);
        QCOMPARE(cp932::ToUtf8(engine.vars.String(0)), std::string("太郎"));

        Compose(dialog.Edit2, "じろ");
        Press(Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(cp932::ToUtf8(engine.vars.String(0)), std::string("次郎"));
        QCOMPARE(cp932::ToUtf8(engine.vars.String(1)), std::string("じろ"));
    }

    void theDefaultButtonFillsTheDefaultsAndItsMnemonicReachesIt() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        engine.config.DEFAULT_NAME = cp932::FromUtf8Lenient("太郎");
        engine.vars.SetString(0, cp932::FromUtf8Lenient("花子"));
        NameEntryModel model(engine);
        model.Fill();
        TForm2 dialog(model, desktop.form.get());
        Activate(dialog);
        QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
        QTRY_COMPARE(dialog.Edit1->text(), QString("太郎"));
        Press(Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(cp932::ToUtf8(engine.vars.String(0)), std::string("花子"));
    }

    void theSlotNameIsCutInCodePage932BytesAndEscapeCancels() {
        Desktop desktop;
        SlotNameModel model;
        model.Fill(cp932::FromUtf8Lenient("古い"));
        {
            TForm6 dialog(model, desktop.form.get());
            QCOMPARE(dialog.size(), QSize(376, 109));
            Activate(dialog);
            QCOMPARE(QApplication::focusWidget(), dialog.Edit1);
            Compose(dialog.Edit1, "あいうえおかきくけこさしすせそたちつてと");
            QCOMPARE(dialog.Edit1->text(), QString("あいうえおかきくけこさしすせそたちつ"));
            Press(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), dialog.BitBtn1);
            Press(Qt::Key_Escape);
            QVERIFY(!model.Accepted());
            QCOMPARE(cp932::ToUtf8(model.Result()), std::string("古い"));
        }
        TForm6 dialog(model, desktop.form.get());
        Activate(dialog);
        Compose(dialog.Edit1, "新しい回想の名前です、とても長い");
        Press(Qt::Key_Return);
        QVERIFY(model.Accepted());
        QCOMPARE(cp932::ToUtf8(model.Result()), std::string("新しい回想の名前です、と"));
    }
};

ORVELL_QT_TEST(NameDialogsTest);

} // namespace orv::test

#include "name_dialogs_test.moc"
