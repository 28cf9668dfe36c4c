#include "platform/first_frame_exit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orv {

void ExitIfFirstFrameWanted() {
    static const bool wanted = [] {
        const char* value = std::getenv("ORVELL_EXIT_AT_FIRST_FRAME");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    if (wanted) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
}

} // namespace orv
