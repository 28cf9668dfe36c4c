// The idle passes and Timer1: when each runs, and that neither a message pump nor a modal
// dialog starts a pass.
#include "qt/loop_timers.h"
#include "test_registry.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

namespace orv::test {

class LoopTimersTest : public QObject {
    Q_OBJECT

private slots:
    void passesRunWhileTheQueueIsEmptyAndTimer1Ticks() {
        int passes = 0, ticks = 0;
        LoopTimers loop(
            [&] {
                ++passes;
                QThread::msleep(20);
            },
            [&] { ++ticks; });
        QCOMPARE(loop.Timer1().interval(), 55);
        loop.Start();
        QTRY_VERIFY(passes >= 5 && ticks >= 3);
        loop.Stop();
        int stoppedAt = passes, ticksAt = ticks;
        QTest::qWait(150);
        QCOMPARE(passes, stoppedAt);
        QCOMPARE(ticks, ticksAt);
    }

    void pumpingInsideAPassHandlesTicksButNeverStartsAnotherPass() {
        int depth = 0, deepest = 0, passes = 0, ticks = 0, ticksInsidePass = 0;
        LoopTimers* self = nullptr;
        LoopTimers loop(
            [&] {
                ++passes;
                deepest = std::max(deepest, ++depth);
                // A blocking effect: about 120 ms of frames, pumping between them.
                QElapsedTimer clock;
                clock.start();
                while (clock.elapsed() < 120) {
                    self->Pump();
                    QThread::msleep(5);
                }
                --depth;
            },
            [&] {
                ++ticks;
                ticksInsidePass += depth;
            });
        self = &loop;
        loop.Start();
        QTRY_VERIFY(passes >= 3);
        loop.Stop();
        QCOMPARE(deepest, 1);
        QVERIFY(ticksInsidePass > 0);
    }

    void aPumpFromATickDoesNotRunAPass() {
        int passes = 0, passesDuringPump = 0, ticks = 0;
        LoopTimers* self = nullptr;
        LoopTimers loop(
            [&] {
                ++passes;
                QThread::msleep(5);
            },
            [&] {
                if (++ticks != 2) {
                    return;
                }
                int before = passes;
                for (int i = 0; i < 50; ++i) {
                    self->Pump();
                    QThread::msleep(2);
                }
                passesDuringPump = passes - before;
            });
        self = &loop;
        loop.Start();
        QTRY_VERIFY(ticks >= 3);
        loop.Stop();
        QCOMPARE(passesDuringPump, 0);
        QVERIFY(passes > 0);
    }

    void aModalDialogHoldsPassesOffButTimer1GoesOn() {
        int passes = 0, ticks = 0;
        LoopTimers loop(
            [&] {
                ++passes;
                QThread::msleep(10);
            },
            [&] { ++ticks; });
        loop.Start();
        QTRY_VERIFY(passes > 0);
        {
            LoopTimers::ModalScope modal(&loop);
            int passesAt = passes, ticksAt = ticks;
            QTest::qWait(200);
            QCOMPARE(passes, passesAt);
            QVERIFY(ticks > ticksAt);
        }
        int resumedFrom = passes;
        QTRY_VERIFY(passes > resumedFrom);
        loop.Stop();
    }
};

ORVELL_QT_TEST(LoopTimersTest);

} // namespace orv::test

#include "loop_timers_test.moc"
