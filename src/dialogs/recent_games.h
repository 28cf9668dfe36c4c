#pragma once
// The games played last, newest first, for the desktop's menu: each one's folder and the
// title its configuration gives. Kept in the settings root as a small text file, one game a
// line (folder, a tab, the title, in UTF-8), so that every game the player opens is one
// choice away the next time.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct RecentGame {
    std::filesystem::path Directory;
    std::string Title; // UTF-8
};

class RecentGames {
public:
    static constexpr size_t kMaxGames = 8;

    // Reads the file's text; lines that cannot be a game (no tab, a relative folder, too
    // long) are skipped, and only the first kMaxGames count.
    static RecentGames Parse(std::string_view text);
    std::string Serialize() const;

    const std::vector<RecentGame>& Games() const { return m_games; }

    // The game comes first; an entry of the same folder goes, and the oldest beyond
    // kMaxGames. An empty title names the game by its folder. A folder that the file could
    // not hold (relative, or with a tab or a line break in it) is not recorded.
    void Played(const std::filesystem::path& directory, std::string_view title);
    // Drops a game whose folder no longer holds one.
    void Forget(const std::filesystem::path& directory);
    // Drops every game whose folder holds no ov_data.orv any more (moved, deleted, or on a
    // disc that is not in the drive), so that the menu offers only games that start.
    void ForgetGamesWithoutData();

private:
    std::vector<RecentGame> m_games;
};

// The file in the settings root (see SettingsRoot).
std::filesystem::path RecentGamesFile(const std::filesystem::path& settingsRoot);
// An empty list when the file is missing or unreadable.
RecentGames LoadRecentGames(const std::filesystem::path& file);
// Through a temporary file and a rename; an error text, empty on success.
std::string SaveRecentGames(const std::filesystem::path& file, const RecentGames& games);

} // namespace orv
