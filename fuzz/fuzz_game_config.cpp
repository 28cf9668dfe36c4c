// The game configuration comes from the game's text archive: any bytes must be read, or
// refused with an error, without reading outside the entry.
#include "data/game_config.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    orv::GameConfig config;
    std::vector<orv::ConfigLineNote> notes;
    if (auto error = orv::ParseGameConfig(text, config, &notes)) {
        (void)orv::GameConfigErrorText(*error);
    }
    std::string value;
    for (const std::string& key : orv::GameConfigKeyNames()) {
        orv::GameConfigValue(config, key, value);
    }
    for (const orv::ConfigLineNote& note : notes) {
        orv::GameConfigValue(config, note.Key, value);
    }
    return 0;
}
