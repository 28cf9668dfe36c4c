#pragma once
// Blocking work: effects that run their own loop inside one script step and pump messages
// meanwhile (transitions, fades, moves, banners), and the things that hold the screen across
// idle passes (a movie, the panic picture). While any of them runs the engine is busy, and
// the input handlers return at once.

#include <cstdint>

namespace orv {

class BlockingState {
public:
    // What holds the screen across idle passes; each is released by its own end.
    enum class Holding : uint8_t { Movie = 1, PanicScreen = 2 };

    bool Busy() const { return m_scopes > 0 || m_holds != 0; }
    void Hold(Holding hold) { m_holds = static_cast<uint8_t>(m_holds | static_cast<uint8_t>(hold)); }
    void Release(Holding hold) {
        m_holds = static_cast<uint8_t>(m_holds & ~static_cast<uint8_t>(hold));
    }

    // Set while an effect that a click may cut short runs (an InterruptibleScope).
    bool InterruptibleWait() const { return m_interruptible > 0; }
    // Set while an effect runs that closing the window ends though a click does not (a
    // ClosableScope).
    bool ClosableEffect() const { return m_closable > 0; }
    // The request to the running effect: 0 none, 1 cut short (a click), 2 close requested.
    // Each effect answers and clears it itself: a close request outlives the effect, for the
    // command that asks the player.
    int32_t InterruptRequest = 0;

private:
    friend class BusyScope;
    friend class InterruptibleScope;
    friend class ClosableScope;
    int32_t m_scopes = 0;
    int32_t m_interruptible = 0;
    int32_t m_closable = 0;
    uint8_t m_holds = 0;
};

// Busy for as long as the scope lasts. Scopes nest: an effect inside another (the transition
// that ends a scene change) leaves its caller busy when it ends.
class BusyScope {
public:
    explicit BusyScope(BlockingState& state) : m_state(state) { ++m_state.m_scopes; }
    ~BusyScope() { --m_state.m_scopes; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BlockingState& m_state;
};

// Busy, and interruptible by a click, for as long as the scope lasts.
class InterruptibleScope {
public:
    explicit InterruptibleScope(BlockingState& state) : m_busy(state), m_state(state) {
        ++m_state.m_interruptible;
    }
    ~InterruptibleScope() { --m_state.m_interruptible; }
    InterruptibleScope(const InterruptibleScope&) = delete;
    InterruptibleScope& operator=(const InterruptibleScope&) = delete;

private:
    BusyScope m_busy;
    BlockingState& m_state;
};

// Busy for as long as the scope lasts; a close request (InterruptRequest 2) ends the effect
// early, a click does not: shakes and fades that the player watches to their end, but that
// the close box must not wait for.
class ClosableScope {
public:
    explicit ClosableScope(BlockingState& state) : m_busy(state), m_state(state) {
        ++m_state.m_closable;
    }
    ~ClosableScope() { --m_state.m_closable; }
    ClosableScope(const ClosableScope&) = delete;
    ClosableScope& operator=(const ClosableScope&) = delete;

private:
    BusyScope m_busy;
    BlockingState& m_state;
};

} // namespace orv
