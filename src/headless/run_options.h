#pragma once
// The command line of the orvell program, the choice of the game directory, and the
// scratch data directory of a headless run.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orv {

struct RunOptions {
    bool Headless = false;
    bool Help = false;
    bool Version = false;
    bool ListCommands = false; // print the script command table and its state
    bool Check = false;        // check the game's data and print its problems
    std::optional<std::filesystem::path> PlayFile;
    std::optional<std::filesystem::path> OutDirectory;
    std::optional<std::filesystem::path> DataDirectory;
    std::optional<std::filesystem::path> AudioOut;
    std::optional<std::filesystem::path> GameDirectory;
    std::optional<uint32_t> Seed;
    std::optional<std::tm> Date;
    int64_t MaxPasses = 200000;
    // --texthook stdout: every committed text line printed as UTF-8.
    bool TextHookStdout = false;
};

// Parses the arguments after the program name. False with `error` set when they are wrong.
bool ParseRunOptions(std::span<const std::string_view> args, RunOptions& out, std::string& error);

std::string UsageText();

// YYYY-MM-DDTHH:MM:SS with every field in its range (February 29 only in leap years).
std::optional<std::tm> ParseDateTime(std::string_view text);

// GAME_DIR when given; otherwise the current directory when it holds ov_data.orv (in any
// case); otherwise the directory of the executable when it does; otherwise the demo game
// installed beside the program when there is one; otherwise the executable's directory.
std::filesystem::path ResolveGameDirectory(const std::optional<std::filesystem::path>& given,
                                           const std::filesystem::path& currentDirectory,
                                           const std::filesystem::path& executableDirectory);

// Where an installed program keeps its demo game: share/orvell/demo beside its bin/.
std::filesystem::path InstalledDemoDirectory(const std::filesystem::path& executableDirectory);

// The directory of the running program, from /proc/self/exe; empty when it cannot be read.
std::filesystem::path ExecutableDirectory();

// A fresh directory under the temporary directory, removed with its contents when the
// object goes: a headless run without --data-dir never touches the player's own data.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Empty when no directory could be made.
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace orv
