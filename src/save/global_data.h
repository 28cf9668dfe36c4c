#pragma once
// Data kept across games: read marks, unlocked pictures and scenes, global flags and the
// recollection slots. Entry points for the engine shell until the global data lands.

namespace orv {

class Engine;

class GlobalData {
public:
    explicit GlobalData(Engine& engine) : m_engine(engine) {}

    void CreateRecollectionFileIfMissing() {}
    void ReadRecollection() {}
    void Read() {}
    void Save() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
