#pragma once
// Key codes of the key handlers: the virtual-key numbers the game's input rules are
// written in. Front ends translate their own key events to these.

namespace orv::keys {

constexpr int Backspace = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int PageUp = 0x21;
constexpr int PageDown = 0x22;
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
// Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).

// The player may swap the two skip and auto keys (CS_SWAP).
constexpr int SwappedKey(int key, bool swap) {
    if (!swap) {
        return key;
    }
    return key == Control ? Shift : key == Shift ? Control : key;
}

} // namespace orv::keys
