// The engine's side of the settings store: values go under the game's key, in the store
// the engine options choose.
#include "engine/engine.h"

namespace orv {

namespace {

// "The settings could not be saved."
constexpr std::string_view kSettingsNotStored = "設定を保存できませんでした。";

// The value stays in memory for this run; the file keeps what it had.
void TellNotStored(Engine& engine, const SettingsStore& store, std::string_view name) {
    std::string text(kSettingsNotStored);
    text += "\n";
    text += std::string(name) + ": cannot write " +
            store.FileFor(GameSettingsLocation(engine.config)).string();
    engine.Host().MessageBox(text, kMissingDataCaption, MessageBoxButtons::Ok, MessageBoxIcon::Stop);
}

} // namespace

void Engine::WriteSetting(std::string_view name, std::string_view value) {
    SettingsStore store(SettingsRoot(m_options.DataDirectory));
    if (!orv::WriteSetting(store, config, name, value)) {
        TellNotStored(*this, store, name);
    }
}

void Engine::StoreSetting(std::string_view name) {
    SettingsStore store(SettingsRoot(m_options.DataDirectory));
    if (!StoreUserSetting(store, config, settings, name)) {
        TellNotStored(*this, store, name);
    }
}

} // namespace orv
