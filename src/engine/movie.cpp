// Movie hand-off: the movie plays in its own panel while it holds the script.
#include "engine/engine.h"

#include "base/files.h"

namespace orv {

namespace {
// Ticks before a movie may end: about a second, so that a movie that fails at once still
// shows its panel briefly and the script does not race past it.
constexpr int32_t kMovieCountdownStart = 20;
// The player is told to close again after this many polls while it still reports playing.
constexpr int kClosePollInterval = 1000;
} // namespace

void Engine::PlayMovie(const std::string& fileName) {
    auto path = FindFileNoCase(m_options.GameDirectory, fileName);
    if (!path || !IsRegularFile(*path)) {
        return;
    }
    if (!m_platform.OpenMovie(path->string())) {
        blocking.Release(BlockingState::Holding::Movie);
        return;
    }
    MovieCountdown = kMovieCountdownStart;
    m_platform.ShowMoviePanel(true);
    m_platform.PlayMovie();
    blocking.Hold(BlockingState::Holding::Movie);
}

void Engine::EndMovie() {
    m_platform.ShowMoviePanel(false);
    bool wasFullScreen = FullScreenActive != 0;
    if (wasFullScreen) {
        LeaveFullScreen();
    }
    m_platform.Sleep(50);
    m_platform.StopMovie();
    MovieCountdown = 0;
    for (int polls = 1; m_platform.IsMoviePlaying(); ++polls) {
        m_platform.PumpMessages();
        if (polls % kClosePollInterval == 0) {
            m_platform.StopMovie();
        }
    }
    m_platform.CloseMovie();
    blocking.Release(BlockingState::Holding::Movie);
    MenusLocked = 0;
    UpdateMenus();
    if (wasFullScreen) {
        EnterFullScreen();
    }
}

} // namespace orv
