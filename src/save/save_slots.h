#pragma once
// Save slots and the quick save. Entry points for the engine shell until the saves land.

#include <cstdint>

namespace orv {

class Engine;

class SaveSlots {
public:
    explicit SaveSlots(Engine& engine) : m_engine(engine) {}

    // Saves into the quick-save slot. Lands with the saves.
    void QuickSave() {}
    // Loads a slot (99 is the quick save). Lands with the saves.
    void LoadSlot(int32_t /*slot*/) {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
