// The engine's side of the settings store: values go under the game's key, in the store
// the engine options choose.
#include "engine/engine.h"

namespace orv {

void Engine::WriteSetting(std::string_view name, std::string_view value) {
    orv::WriteSetting(SettingsStore(SettingsRoot(m_options.DataDirectory)), config, name, value);
}

void Engine::StoreSetting(std::string_view name) {
    StoreUserSetting(SettingsStore(SettingsRoot(m_options.DataDirectory)), config, settings, name);
}

} // namespace orv
