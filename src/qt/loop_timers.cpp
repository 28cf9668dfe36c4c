#include "qt/loop_timers.h"

#include <QCoreApplication>

namespace orv {

LoopTimers::LoopTimers(std::function<void()> idlePass, std::function<void()> timerTick,
                       QObject* parent)
    : QObject(parent), m_idlePass(std::move(idlePass)), m_timerTick(std::move(timerTick)) {
    m_idle.setObjectName("IdlePass");
    m_idle.setInterval(0);
    connect(&m_idle, &QTimer::timeout, this, &LoopTimers::RunIdlePass);
    m_timer1.setObjectName("Timer1");
    m_timer1.setInterval(kTimer1IntervalMs);
    // Ticks count waits and the click-wait icon: keep them at 55 ms rather than letting Qt
    // coarsen them by up to 5 %.
    m_timer1.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, &LoopTimers::RunTick);
}

void LoopTimers::Start() {
    m_running = true;
    m_timer1.start();
    ResumeIdle();
}

void LoopTimers::Stop() {
    m_running = false;
    m_idle.stop();
    m_timer1.stop();
}

void LoopTimers::ResumeIdle() {
    if (m_running && m_passDepth == 0 && m_modalDepth == 0) {
        m_idle.start();
    }
}

void LoopTimers::RunIdlePass() {
    // A pump outside a pass (a timer tick ending a movie) may still see the idle timer fire.
    if (!m_running || m_passDepth > 0 || m_pumpDepth > 0 || m_modalDepth > 0) {
        return;
    }
    m_idle.stop();
    ++m_passDepth;
    m_idlePass();
    --m_passDepth;
    ResumeIdle();
}

void LoopTimers::RunTick() {
    if (m_running) {
        m_timerTick();
    }
}

void LoopTimers::Pump() {
    ++m_pumpDepth;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --m_pumpDepth;
}

LoopTimers::ModalScope::ModalScope(LoopTimers* loop) : m_loop(loop) {
    if (m_loop) {
        ++m_loop->m_modalDepth;
        m_loop->m_idle.stop();
    }
}

LoopTimers::ModalScope::~ModalScope() {
    if (m_loop) {
        --m_loop->m_modalDepth;
        m_loop->ResumeIdle();
    }
}

} // namespace orv
