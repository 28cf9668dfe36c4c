#pragma once
// The two places where the engine's work enters besides input: the idle pass and Timer1.
//
// Idle passes run from a zero-interval timer, which Qt fires once the window system's events
// have been handled: the same moment at which the original's idle handler ran. The pass
// itself sleeps to its 20 ms floor, so a game waiting for a click costs one short pass every
// 20 ms and nothing in between. The idle timer is stopped while a pass runs (so pumping
// messages inside a blocking effect never starts another pass) and while a modal dialog runs
// its own loop (so the dialog's loop does not spin on it). Timer1 keeps ticking in both, as a
// window timer does.

#include <QObject>
#include <QTimer>
#include <functional>

namespace orv {

class LoopTimers : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimer1IntervalMs = 55;

    LoopTimers(std::function<void()> idlePass, std::function<void()> timerTick,
               QObject* parent = nullptr);

    void Start();
    // No pass or tick runs after this, also from a loop that is still unwinding.
    void Stop();
    bool Running() const { return m_running; }
    bool InIdlePass() const { return m_passDepth > 0; }

    // Handles pending events (input, Timer1, painting) during a blocking effect. Never runs
    // an idle pass.
    void Pump();

    // Holds idle passes off while a modal dialog or message box runs its own event loop.
    class ModalScope {
    public:
        explicit ModalScope(LoopTimers* loop);
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        LoopTimers* m_loop;
    };

    QTimer& Timer1() { return m_timer1; }

private:
    void RunIdlePass();
    void RunTick();
    void ResumeIdle();

    std::function<void()> m_idlePass;
    std::function<void()> m_timerTick;
    QTimer m_idle;
    QTimer m_timer1;
    bool m_running = false;
    int m_passDepth = 0;
    int m_pumpDepth = 0;
    int m_modalDepth = 0;
};

} // namespace orv
