#include "save/save_slots.h"

#include "engine/engine.h"

namespace orv {

void SaveSlots::ExchangeGameState(SaveIo& io) {
    Engine& e = m_engine;
    io.Bytes(save_layout::kReserved, m_reserved);
    e.vars.Exchange(io);
    e.dispatcher.Exchange(io);
    e.text.Exchange(io);
    e.wait.Exchange(io);
    e.screens.Exchange(io);
    e.gfx.Exchange(io);
    io.Int(save_layout::RecordOffset(save_layout::record::KeptFlag), m_keptFlag);
    e.ExchangeLoopState(io);
    e.script.Exchange(io);
    e.choices.Record.Exchange(io);
    e.sound.Exchange(io);
    e.backlog.Exchange(io);
}

} // namespace orv
