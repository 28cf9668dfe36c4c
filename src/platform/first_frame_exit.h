#pragma once
// ORVELL_EXIT_AT_FIRST_FRAME=1 in the environment ends the program as soon as the first
// picture of the game has been shown, with status 0 and without closing anything: how the
// start-up is timed from the start of the process to the first frame (scripts/bench).

namespace orv {

// Call after a frame of the game has been drawn where the player sees it.
void ExitIfFirstFrameWanted();

} // namespace orv
