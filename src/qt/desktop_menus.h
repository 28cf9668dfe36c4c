#pragma once
// The desktop's own menu items beside the game's: the recent games in the 終了 menu, and the
// About box in ヘルプ. The lists and the texts come from the core (RecentGames, AboutText).

#include "dialogs/about_text.h"
#include "dialogs/recent_games.h"

#include <filesystem>
#include <functional>

namespace orv {

class TForm1;

// A "最近のゲーム" sub-menu at the top of the 終了 menu (N12), one item a game named by its
// title; choosing one calls `open` with its folder. The game being played is left out.
void AddRecentGamesMenu(TForm1& form, const RecentGames& games,
                        const std::filesystem::path& current,
                        std::function<void(const std::filesystem::path&)> open);

// "ヘルプ" with "Orvell について", which shows AboutText(facts()).
void AddHelpMenu(TForm1& form, std::function<AboutFacts()> facts);

} // namespace orv
