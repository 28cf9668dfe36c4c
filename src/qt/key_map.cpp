#include "qt/key_map.h"

#include "engine/keys.h"

#include <QKeyEvent>

namespace orv {

int EngineKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace:
        return keys::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: // Shift+Tab arrives as its own key
        return keys::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return keys::Return;
    case Qt::Key_Shift:
        return keys::Shift;
    case Qt::Key_Control:
        return keys::Control;
    case Qt::Key_Escape:
        return keys::Escape;
    case Qt::Key_Space:
        return keys::Space;
    case Qt::Key_Left:
        return keys::Left;
    case Qt::Key_Up:
        return keys::Up;
    case Qt::Key_Right:
        return keys::Right;
    case Qt::Key_Down:
        return keys::Down;
    case Qt::Key_PageUp:
        return keys::PageUp;
    case Qt::Key_PageDown:
        return keys::PageDown;
    case Qt::Key_Home:
        return keys::Home;
    case Qt::Key_End:
        return keys::End;
    default:
        break;
    }
    // Qt's codes for letters and digits are their upper-case ASCII codes, as the engine's.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey;
    }
    return 0;
}

char EngineKeyCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Escape:
        return '\x1b';
    case Qt::Key_Backspace:
        return '\b';
    case Qt::Key_Space:
        return ' ';
    default:
        break;
    }
    // With Control held the text is a control character; the engine's character handler
    // has no use for those, nor for anything outside ASCII (typed names go through a dialog).
    QString text = event.text();
    if (text.size() != 1 || (event.modifiers() & Qt::ControlModifier)) {
        return 0;
    }
    char16_t c = text.at(0).unicode();
    return c >= 0x20 && c < 0x7f ? static_cast<char>(c) : 0;
}

} // namespace orv
