// The recent-games list of the desktop's menu: newest first, eight at most, one entry a
// folder, and a file that damage cannot turn into nonsense.
#include "dialogs/recent_games.h"
#include "test_support.h"

#include <algorithm>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace orv {
namespace {

std::vector<std::string> Folders(const RecentGames& games) {
    std::vector<std::string> folders;
    for (const RecentGame& game : games.Games()) {
        folders.push_back(game.Directory.string());
    }
    return folders;
}

TEST(RecentGames, PutsTheGamePlayedFirstAndKeepsTheLastEight) {
    RecentGames games;
    for (int i = 1; i <= 10; ++i) {
        games.Played("/games/g" + std::to_string(i), "Game " + std::to_string(i));
    }
    ASSERT_EQ(games.Games().size(), RecentGames::kMaxGames);
    EXPECT_EQ(games.Games().front().Directory, "/games/g10");
    EXPECT_EQ(games.Games().front().Title, "Game 10");
    EXPECT_EQ(games.Games().back().Directory, "/games/g3");
    // Played again, a game moves to the front instead of coming twice, whatever the spelling.
    games.Played("/games/./g5/", "Game 5");
    std::vector<std::string> folders = Folders(games);
    EXPECT_EQ(folders.front(), "/games/g5");
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "/games/g5"), 1);
    EXPECT_EQ(games.Games().size(), RecentGames::kMaxGames);
    games.Forget("/games/g5");
    EXPECT_EQ(Folders(games).front(), "/games/g10");
}

TEST(RecentGames, NamesAGameWithoutTitleByItsFolderAndRefusesFoldersTheFileCannotHold) {
    RecentGames games;
    games.Played("/games/星の丘", "");
    games.Played("relative/game", "Relative");
    games.Played("/games/with\ttab", "Tab");
    games.Played("/games/with\nbreak", "Break");
    games.Played("/games/odd", "Two\tlines\nin one");
    ASSERT_EQ(games.Games().size(), 2u);
    EXPECT_EQ(games.Games()[0].Title, "Two lines in one");
    EXPECT_EQ(games.Games()[1].Title, "星の丘");
}

TEST(RecentGames, ReadsBackWhatItWroteAndSkipsDamagedLines) {
    RecentGames games;
    games.Played("/games/a", "A");
    games.Played("/games/b", "夕焼けの丘");
    EXPECT_EQ(Folders(RecentGames::Parse(games.Serialize())), Folders(games));
    EXPECT_EQ(RecentGames::Parse(games.Serialize()).Games()[0].Title, "夕焼けの丘");

    const std::string damaged = std::string("no tab here\n") + "relative\tR\n" + "\tno folder\n" +
                                "/games/nul\0x\tN\n" + std::string(9000, '/') + "\tlong\n" +
                                "/games/ok\tOK\r\n" + "/games/ok\tAgain\n" + "/games/last\t";
    RecentGames read = RecentGames::Parse(std::string_view(damaged.data(), damaged.size()));
    EXPECT_EQ(Folders(read), (std::vector<std::string>{"/games/ok", "/games/last"}));
    EXPECT_EQ(read.Games()[0].Title, "OK");
    EXPECT_EQ(read.Games()[1].Title, "last");
}

TEST(RecentGames, ForgetGamesWhoseFolderHoldsNoGameAnyMore) {
    test::TempDir dir;
    test::WriteFile(dir / "kept/OV_DATA.ORV", "x");
    test::WriteFile(dir / "emptied/notes.txt", "x");
    std::filesystem::create_directories(dir / "folder/ov_data.orv");
    RecentGames games;
    for (const char* name : {"kept", "emptied", "gone", "folder"}) {
        games.Played(dir / name, name);
    }
    games.ForgetGamesWithoutData();
    EXPECT_EQ(Folders(games), (std::vector<std::string>{(dir / "kept").string()}));
}

TEST(RecentGames, SurviveTheirFileThroughARename) {
    test::TempDir dir;
    std::filesystem::path file = RecentGamesFile(dir / "settings");
    EXPECT_TRUE(LoadRecentGames(file).Games().empty());
    RecentGames games;
    games.Played("/games/a", "A");
    EXPECT_EQ(SaveRecentGames(file, games), "");
    EXPECT_EQ(Folders(LoadRecentGames(file)), Folders(games));
    // Nothing of the write is left beside it.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir / "settings")) {
        ++files;
    }
    EXPECT_EQ(files, 1u);

    // Every start saves the list; the same list leaves the file as it was, a new one replaces it.
    auto inode = [&] {
        struct stat info {};
        return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    ino_t first = inode();
    EXPECT_EQ(SaveRecentGames(file, games), "");
    EXPECT_EQ(inode(), first);
    games.Played("/games/b", "B");
    EXPECT_EQ(SaveRecentGames(file, games), "");
    EXPECT_NE(inode(), first);
    EXPECT_EQ(Folders(LoadRecentGames(file)), Folders(games));
}

} // namespace
} // namespace orv
