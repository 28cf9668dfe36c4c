#include "engine/wait_state.h"

#include "save/save_io.h"

namespace orv {

void WaitState::Exchange(SaveIo& io) {
    io.Int(save_layout::RecordOffset(save_layout::record::TickWait), TickWait);
    io.Int(save_layout::RecordOffset(save_layout::record::WaitKind), WaitKind);
}

} // namespace orv
