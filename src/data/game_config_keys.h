#pragma once
// The key table of the game configuration: each key's name, how its value is read, and
// where it is kept in GameConfig. Shared by the reader and the value lookup.

#include "data/game_config.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orv {

enum class ConfigKind {
    Text,        // the whole value as text
    Int,         // the whole value as one integer
    IntFields,   // one integer per list field, as many as the field holds
    TextFields,  // one text per list field
    QuickButton, // f0 placement, then f1..f6 when f0 is not 0
    SpeakerName, // f0 entry number, f1 text, f2 colour
};

struct ConfigKey {
    std::string_view Name;
    ConfigKind Kind;
    std::span<int32_t> (*Ints)(GameConfig&) = nullptr;
    std::span<std::string> (*Texts)(GameConfig&) = nullptr;
    int32_t Button = 0; // QuickButton: index in GameConfig::QuickButtons
};

// Every key in the order of the configuration's table.
std::span<const ConfigKey> ConfigKeys();

// The key whose name equals `upperKey` exactly, or nullptr.
const ConfigKey* FindConfigKey(std::string_view upperKey);

// Field `k` of a list value: the text between the k-th and the (k+1)-th separator ("," or
// ":"); empty past the last separator.
std::string_view ConfigField(std::string_view value, int k);

// R | G << 8 | B << 16 from three characters, each 0..9 (times 16), A..F (160..240) or G
// (255); anything else, and a missing character, counts 0. Empty text gives white.
uint32_t SpeakerColour(std::string_view upperText);

} // namespace orv
