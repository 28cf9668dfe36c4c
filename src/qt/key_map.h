#pragma once
// Qt's key events in the terms of the engine's key handlers.

class QKeyEvent;

namespace orv {

// The engine's key code (engine/keys.h) for a Qt key, or 0 for a key it has no code for.
int EngineKeyCode(int qtKey);

// The character a key press types as the engine's key-press handler takes it (Return as
// '\r', Escape, Backspace, Space and printable ASCII), or 0 when it types none.
char EngineKeyCharacter(const QKeyEvent& event);

} // namespace orv
