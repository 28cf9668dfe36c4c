#pragma once
// What the script waits for before its next step: a click on a page or line wait, timer
// ticks, idle passes, the end of the voice, and auto mode's own count. Choices wait in their
// own subsystem (SelectionKind).

#include <cstdint>

namespace orv {

class SaveIo;

// Kinds of the click wait that text lines end with.
namespace wait_kind {
constexpr int32_t None = 0;
constexpr int32_t Page = 1;          // `\` and the page-wait mark
constexpr int32_t Line = 2;          // `=` and the line-wait mark: the page goes on after it
constexpr int32_t PageKeepVoice = 4; // `~`: the click that ends it does not stop the voice
constexpr int32_t PageNoIcon = 5;    // `+`: no click-wait icon, no page snapshot

// The page waits: continuing one starts a new page.
constexpr bool StartsNewPage(int32_t kind) {
    return kind == Page || kind == PageKeepVoice || kind == PageNoIcon;
}
} // namespace wait_kind

struct WaitState {
    int32_t WaitKind = wait_kind::None;
    int32_t TickWait = 0;      // timer ticks; counted down by the timer
    int32_t PassWait = 0;      // idle passes of `sleep`; -1 sleeps until a click
    int32_t AutoWaitTicks = 0; // timer ticks before auto mode continues a click wait
    uint8_t VoiceWait = 0;     // `wait_v_end`: until the voice ends
    // Idle passes since a click, counting down from 5. It is the player's, not the script's:
    // it keeps the next click from stopping the voice the last one started, whatever script
    // runs by then, so Reset leaves it alone.
    int32_t ClickGuard = 0;

    // Every wait of the script ends: another script takes over (a call, a chain, the title,
    // a load).
    void Reset() {
        WaitKind = wait_kind::None;
        TickWait = 0;
        PassWait = 0;
        AutoWaitTicks = 0;
        VoiceWait = 0;
    }
    // The script waits for a click, ticks or the voice (a sleep's passes not counted).
    bool Holds() const { return WaitKind != 0 || TickWait != 0 || VoiceWait != 0; }

    void Exchange(SaveIo& io);
};

} // namespace orv
