#include "dialogs/recent_games.h"

#include "base/files.h"
#include "data/archives.h"

#include <algorithm>
#include <system_error>

namespace orv {

namespace fs = std::filesystem;

namespace {

// Longer than any folder and title a player has; a longer line is damage.
constexpr size_t kMaxLineBytes = 8192;
// The file holds eight short lines: only its beginning is worth reading.
constexpr uint64_t kMaxFileBytes = RecentGames::kMaxGames * kMaxLineBytes;

bool FitsALine(std::string_view text) {
    return text.size() < kMaxLineBytes && text.find_first_of("\t\r\n") == std::string_view::npos;
}

// Two spellings of one folder ("/games/a" and "/games/a/") are one game.
fs::path Normal(const fs::path& directory) {
    fs::path normal = directory.lexically_normal();
    if (normal.has_relative_path() && normal.filename().empty()) {
        normal = normal.parent_path();
    }
    return normal;
}

std::string TitleOrFolderName(const fs::path& directory, std::string_view title) {
    std::string text(title.empty() ? directory.filename().string() : std::string(title));
    // A title is one line of the menu.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text.substr(0, kMaxLineBytes / 2);
}

} // namespace

RecentGames RecentGames::Parse(std::string_view text) {
    RecentGames result;
    while (!text.empty() && result.m_games.size() < kMaxGames) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        size_t tab = line.find('\t');
        if (line.size() >= kMaxLineBytes || tab == std::string_view::npos || tab == 0 ||
            line[0] != '/' || line.find('\0') != std::string_view::npos) {
            continue;
        }
        fs::path directory = Normal(fs::path(line.substr(0, tab)));
        bool known = std::any_of(result.m_games.begin(), result.m_games.end(),
                                 [&](const RecentGame& game) { return game.Directory == directory; });
        if (!known) {
            result.m_games.push_back({directory, TitleOrFolderName(directory, line.substr(tab + 1))});
        }
    }
    return result;
}

std::string RecentGames::Serialize() const {
    std::string text;
    for (const RecentGame& game : m_games) {
        text += game.Directory.string() + '\t' + game.Title + '\n';
    }
    return text;
}

void RecentGames::Played(const fs::path& directory, std::string_view title) {
    fs::path normal = Normal(directory);
    if (!normal.is_absolute() || !FitsALine(normal.string())) {
        return;
    }
    Forget(normal);
    m_games.insert(m_games.begin(), RecentGame{normal, TitleOrFolderName(normal, title)});
    if (m_games.size() > kMaxGames) {
        m_games.resize(kMaxGames);
    }
}

void RecentGames::Forget(const fs::path& directory) {
    fs::path normal = Normal(directory);
    std::erase_if(m_games, [&](const RecentGame& game) { return game.Directory == normal; });
}

void RecentGames::ForgetGamesWithoutData() {
    std::erase_if(m_games, [](const RecentGame& game) { return !HoldsGameData(game.Directory); });
}

fs::path RecentGamesFile(const fs::path& settingsRoot) {
    return settingsRoot / "recent-games.txt";
}

RecentGames LoadRecentGames(const fs::path& file) {
    auto size = FileSize(file);
    if (!size) {
        return {};
    }
    std::string text(static_cast<size_t>(std::min<uint64_t>(*size, kMaxFileBytes)), '\0');
    if (!ReadFileRange(file, 0, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size()))) {
        return {};
    }
    return RecentGames::Parse(text);
}

std::string SaveRecentGames(const fs::path& file, const RecentGames& games) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    return WriteFileIfChanged(file, games.Serialize());
}

} // namespace orv
