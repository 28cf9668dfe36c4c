#pragma once
// The game checker behind `orvell --check`: reads every archive index, every script and
// every picture of a game directory the way the engine would, and names each problem that
// would keep the game from starting or show up in play. Players and translators run it when
// a game does not start; it must get through any damage without failing itself.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

// Where the checker tells what it found and how far it has got.
class CheckReport {
public:
    virtual ~CheckReport() = default;
    // One problem, as one line of UTF-8 text without its line end.
    virtual void Problem(std::string_view line) = 0;
    // `done` of the `total` entries of `archive` are checked.
    virtual void Progress(std::string_view archive, size_t done, size_t total) = 0;
};

struct CheckSummary {
    size_t Archives = 0;
    size_t Entries = 0;
    size_t Scripts = 0;
    size_t Pictures = 0;
    size_t Problems = 0;

    bool LooksPlayable() const { return Problems == 0; }
};

CheckSummary CheckGame(const std::filesystem::path& gameDirectory, CheckReport& report);

// "9 archives, 412 entries (23 scripts, 120 pictures): no problems, the game looks playable".
std::string SummaryLine(const CheckSummary& summary);

} // namespace orv
