#pragma once
// `orvell --check GAME_DIR`: problems and the summary on standard output, progress on
// standard error.

#include <filesystem>
#include <ostream>

namespace orv {

// Exit status 0 when the game looks playable, 1 when a problem was found.
int RunCheck(const std::filesystem::path& gameDirectory, std::ostream& out, std::ostream& err,
             bool errIsTerminal);

} // namespace orv
