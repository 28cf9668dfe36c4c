#pragma once
// Data kept across games: read marks, unlocked pictures and scenes, global flags and the
// recollection slots. Entry points for the engine shell until the global data lands.

#include <cstdint>

namespace orv {

class Engine;

class GlobalData {
public:
    explicit GlobalData(Engine& engine) : m_engine(engine) {}

    void CreateRecollectionFileIfMissing() {}
    void ReadRecollection() {}
    void Read() {}
    void Save() {}

    // Character-picture changes made while neither skip mode nor auto level 1 ran; kept
    // only in the global data file.
    int32_t CharacterChangeCount = 0;

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
