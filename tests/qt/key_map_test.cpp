// Qt keys in the engine's key codes and characters.
#include "engine/keys.h"
#include "qt/key_map.h"
#include "test_registry.h"

#include <QKeyEvent>
#include <QtTest>

namespace orv::test {

namespace {
char CharacterOf(int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    return EngineKeyCharacter(event);
}
} // namespace

class KeyMapTest : public QObject {
    Q_OBJECT

private slots:
    void namedKeysGetTheEngineCodes() {
        QCOMPARE(EngineKeyCode(Qt::Key_Backspace), keys::Backspace);
        QCOMPARE(EngineKeyCode(Qt::Key_Tab), keys::Tab);
        QCOMPARE(EngineKeyCode(Qt::Key_Backtab), keys::Tab);
        QCOMPARE(EngineKeyCode(Qt::Key_Return), keys::Return);
        QCOMPARE(EngineKeyCode(Qt::Key_Enter), keys::Return);
        QCOMPARE(EngineKeyCode(Qt::Key_Shift), keys::Shift);
        QCOMPARE(EngineKeyCode(Qt::Key_Control), keys::Control);
        QCOMPARE(EngineKeyCode(Qt::Key_Escape), keys::Escape);
        QCOMPARE(EngineKeyCode(Qt::Key_Space), keys::Space);
        QCOMPARE(EngineKeyCode(Qt::Key_Left), keys::Left);
        QCOMPARE(EngineKeyCode(Qt::Key_Up), keys::Up);
        QCOMPARE(EngineKeyCode(Qt::Key_Right), keys::Right);
        QCOMPARE(EngineKeyCode(Qt::Key_Down), keys::Down);
        QCOMPARE(EngineKeyCode(Qt::Key_PageUp), keys::PageUp);
        QCOMPARE(EngineKeyCode(Qt::Key_PageDown), keys::PageDown);
        QCOMPARE(EngineKeyCode(Qt::Key_Home), keys::Home);
        QCOMPARE(EngineKeyCode(Qt::Key_End), keys::End);
    }

    void lettersAndDigitsAreTheirUpperCaseCodesAndOtherKeysHaveNone() {
        QCOMPARE(EngineKeyCode(Qt::Key_A), 'A');
        QCOMPARE(EngineKeyCode(Qt::Key_Z), 'Z');
        QCOMPARE(EngineKeyCode(Qt::Key_0), '0');
        QCOMPARE(EngineKeyCode(Qt::Key_9), '9');
        QCOMPARE(EngineKeyCode(Qt::Key_F1), 0);
        QCOMPARE(EngineKeyCode(Qt::Key_Alt), 0);
        QCOMPARE(EngineKeyCode(Qt::Key_Exclam), 0);
    }

    void keyPressesTypeTheCharactersTheEngineReads() {
        QCOMPARE(CharacterOf(Qt::Key_Return, "\r"), '\r');
        QCOMPARE(CharacterOf(Qt::Key_Enter, ""), '\r');
        QCOMPARE(CharacterOf(Qt::Key_Escape, ""), '\x1b');
        QCOMPARE(CharacterOf(Qt::Key_Backspace, ""), '\b');
        QCOMPARE(CharacterOf(Qt::Key_Space, " "), ' ');
        QCOMPARE(CharacterOf(Qt::Key_Z, "z"), 'z');
        QCOMPARE(CharacterOf(Qt::Key_Z, "Z", Qt::ShiftModifier), 'Z');
        QCOMPARE(CharacterOf(Qt::Key_1, "!"), '!');
    }

    void controlCharactersAndNonAsciiTextTypeNothing() {
        QCOMPARE(CharacterOf(Qt::Key_C, "\x03", Qt::ControlModifier), '\0');
        QCOMPARE(CharacterOf(Qt::Key_A, QString::fromUtf8("あ")), '\0');
        QCOMPARE(CharacterOf(Qt::Key_Shift, ""), '\0');
        QCOMPARE(CharacterOf(Qt::Key_Delete, "\x7f"), '\0');
        QCOMPARE(CharacterOf(Qt::Key_A, "ab"), '\0');
    }
};

ORVELL_QT_TEST(KeyMapTest);

} // namespace orv::test

#include "key_map_test.moc"
