#pragma once
// A whole headless run: the engine on the headless platform, driven by a play file or by
// automatic play, with the exit status the program returns.

#include "headless/run_options.h"

#include <ostream>

namespace orv {

// Runs the game in `options.GameDirectory` (the current directory when unset). `out` gets
// the log (echo, message boxes, summaries), `err` the failures. Returns the exit status.
int RunHeadless(const RunOptions& options, std::ostream& out, std::ostream& err);

} // namespace orv
