#pragma once
// Save slots and the quick save, and the one exchange of a game in progress with a saved
// game's image. Slot files and the quick save are entry points until the saves land.

#include "save/save_io.h"

#include <array>
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

    // Every subsystem's share of a saved game, in file order, through one stream: the game
    // into the image when writing, the image into the game when reading.
    void ExchangeGameState(SaveIo& io);

    SaveImage Image;

private:
    // What only saving and loading touch: kept as read, written back unchanged.
    std::array<uint8_t, save_layout::kReservedSize> m_reserved{};
    int32_t m_keptFlag = 0;

    Engine& m_engine;
};

} // namespace orv
