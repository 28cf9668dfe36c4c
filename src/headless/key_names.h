#pragma once
// Key names of play files: the named keys and the printable ASCII characters, mapped to the
// key codes of the engine's key handlers.

#include <optional>
#include <string_view>

namespace orv {

struct KeyStroke {
    int Code = 0;   // key code for FormKeyDown / FormKeyUp (engine/keys.h)
    char Press = 0; // character for FormKeyPress
    bool HasPress = false;
};

// `Return` `Space` `Escape` `Backspace` `Tab` `Up` `Down` `Left` `Right` `Control` `Shift`, or
// one printable ASCII character (its key on a US keyboard). Nothing for any other name.
std::optional<KeyStroke> LookupKey(std::string_view name);

} // namespace orv
