// Settings files are the player's, and may be damaged or edited by hand: any bytes must be
// read as far as they go, and what is read must write back and read again the same.
#include "data/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    orv::SettingsValues values = orv::SettingsValues::Parse(text);
    (void)orv::ReadSettingInt(values, "SMode", 0);
    auto name = values.Text("PlayerName");
    values.Set("PlayerName", std::string(text.substr(0, 64)));
    orv::SettingsValues again = orv::SettingsValues::Parse(values.Serialize(text.substr(0, 16)));
    if (again.Text("PlayerName") != values.Text("PlayerName")) {
        std::abort();
    }
    (void)name;
    return 0;
}
