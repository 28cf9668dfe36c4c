// The panic screen of the right-click action: a cover picture over the game, the sound
// muted, until the next click.
#include "base/files.h"
#include "engine/engine.h"
#include "gfx/bmp_file.h"

namespace orv {

namespace {

constexpr std::string_view kPanicFile = "panic.bmp";

} // namespace

void Graphics::ShowPanicScreen() {
    // A second request would keep the cover instead of the game under it.
    if (m_panicShown) {
        return;
    }
    m_engine.sound.Mute();
    m_panicKept.CopyFrom(BackBuffer, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    // A picture that cannot be read leaves the screen black: the game stays hidden all the
    // same.
    bool shown = false;
    auto path = FindFileNoCase(m_engine.Options().GameDirectory, kPanicFile);
    if (path && IsRegularFile(*path)) {
        if (auto file = ReadWholeFile(*path)) {
            shown = DecodeBmp(*file, BackBuffer);
        }
    }
    if (!shown) {
        BackBuffer.Fill(0x000000);
    }
    m_engine.MenusLocked = 1;
    m_engine.UpdateMenus();
    PresentWhole(BackBuffer);
    m_panicShown = true;
    m_engine.blocking.Hold(BlockingState::Holding::PanicScreen);
    m_engine.sound.StopVoice();
}

void Graphics::HidePanicScreen() {
    if (!m_panicShown) {
        return;
    }
    m_engine.sound.Unmute();
    BackBuffer.CopyFrom(m_panicKept, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    PresentWhole(BackBuffer);
    m_panicShown = false;
    m_engine.blocking.Release(BlockingState::Holding::PanicScreen);
    m_engine.MenusLocked = 0;
    m_engine.UpdateMenus();
}

} // namespace orv
