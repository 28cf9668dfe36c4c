#pragma once
// The desktop dialogs the game opens: the save list and the name entry. Entry points for the
// engine; each does nothing until its dialog lands.

#include <cstdint>

namespace orv {

class Engine;

class Dialogs {
public:
    explicit Dialogs(Engine& engine) : m_engine(engine) {}

    // The save list dialog: mode 1 saves, 0 loads.
    void ShowSaveList(int32_t /*mode*/) {}
    bool SaveListShown() const { return false; }
    // `setname`: the player names.
    void ShowNameEntry() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
