#include "controls/jov_timer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace vexo;

namespace {

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(JovTimer, IdentifiersCountUpAndWrap)
{
    JOVTIMER::setLastIdentifier(2031);
    JOVTIMER first, second;
    EXPECT_EQ(first.ID(), 2032);
    EXPECT_EQ(second.ID(), 2033);
    EXPECT_EQ(first.Interval(), 1000);
    JOVTIMERCONTROL control;
    EXPECT_EQ(control.Timer().Interval(), 100);
    EXPECT_FALSE(control.Running());

    JOVTIMER::setLastIdentifier(65534);
    JOVTIMER top, wrapped;
    EXPECT_EQ(top.ID(), 65535);
    EXPECT_EQ(wrapped.ID(), 2032);
}

TEST(JovTimer, StartStopIntervalAndOwnerRules)
{
    JOVTIMER orphan;
    EXPECT_FALSE(orphan.Start());
    EXPECT_FALSE(orphan.Running());

    QObject owner;
    JOVTIMER timer(&owner, 500);
    EXPECT_EQ(timer.setInterval(700), 700); // stopped: only stored
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(timer.Start());
    EXPECT_FALSE(timer.Start()); // already running
    EXPECT_TRUE(timer.Running());
    ASSERT_EQ(owner.findChildren<QTimer *>().size(), 1);
    EXPECT_EQ(owner.findChildren<QTimer *>().first()->interval(), 700);

    EXPECT_EQ(timer.setInterval(300), 300); // running: set again with the new period
    EXPECT_TRUE(timer.Running());
    flushDeletes();
    ASSERT_EQ(owner.findChildren<QTimer *>().size(), 1);
    EXPECT_EQ(owner.findChildren<QTimer *>().first()->interval(), 300);

    QObject other;
    EXPECT_EQ(timer.setOwner(&other), &other); // moves to the new owner's side
    flushDeletes();
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(owner.findChildren<QTimer *>().isEmpty());
    EXPECT_EQ(other.findChildren<QTimer *>().size(), 1);

    timer.Stop();
    EXPECT_FALSE(timer.Running());
    timer.Stop(); // harmless
    flushDeletes();
    EXPECT_TRUE(other.findChildren<QTimer *>().isEmpty());
}

TEST(JovTimer, DestructionAndOwnerLossStopTheTick)
{
    QObject owner;
    {
        JOVTIMER timer(&owner, 5);
        ASSERT_TRUE(timer.Start());
    }
    flushDeletes();
    EXPECT_TRUE(owner.findChildren<QTimer *>().isEmpty());

    auto doomed = std::make_unique<QObject>();
    JOVTIMER timer(doomed.get(), 5);
    ASSERT_TRUE(timer.Start());
    doomed.reset();
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(timer.Start()); // no owner any more
}

// A window that counts its timer ticks and answers as told.
struct TickOwner : QWidget, TimerOwner
{
    explicit TickOwner(std::optional<bool> answer)
    {
        ONJOVTIMER = [this, answer](JOVTIMERCONTROL &control) {
            ++ticks;
            runningDuringCall = runningDuringCall || control.Running();
            return answer;
        };
    }
    int ticks = 0;
    bool runningDuringCall = false;
};

TEST(JovTimerControl, FalseAnswerMakesAOneShot)
{
    TickOwner owner(false);
    auto *control = new JOVTIMERCONTROL(&owner);
    control->Timer().setInterval(1);
    control->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.ticks > 0; }, 5000));
    QTest::qWait(30);
    EXPECT_EQ(owner.ticks, 1);
    EXPECT_FALSE(control->Running());
    EXPECT_FALSE(owner.runningDuringCall);
    control->Start(); // one more tick after each start
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.ticks > 1; }, 5000));
    QTest::qWait(30);
    EXPECT_EQ(owner.ticks, 2);
}

TEST(JovTimerControl, TrueOrNoAnswerKeepsTicking)
{
    for (const std::optional<bool> answer : {std::optional<bool>(true), std::optional<bool>()}) {
        TickOwner owner(answer);
        auto *control = new JOVTIMERCONTROL(&owner);
        control->Timer().setInterval(1);
        control->Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return owner.ticks >= 3; }, 5000));
        EXPECT_TRUE(control->Running());
        EXPECT_FALSE(owner.runningDuringCall); // stopped while the owner works
    }
}

TEST(JovTimerControl, OwnerWithoutHandlerKeepsTheTimerRunning)
{
    QWidget owner;
    auto *control = new JOVTIMERCONTROL(&owner);
    control->Timer().setInterval(1);
    control->Start();
    QTest::qWait(20);
    EXPECT_TRUE(control->Running());
    delete control; // destruction kills its tick
    flushDeletes();
    EXPECT_TRUE(owner.findChildren<QTimer *>().isEmpty());
}

} // namespace
