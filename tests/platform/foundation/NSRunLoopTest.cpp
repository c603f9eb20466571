#include <atomic>
#include <gtest/gtest.h>
#include <vector>

#include "CADisplayLink.h"
#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "NSThread.h"
#include "NSTimer.h"
#include "UIDevice.h"
#include "support/DeterministicClock.h"

namespace {

class Counter : public CCObject {
public:
    void tick(NSTimer* timer) {
        ++fires;
        times.push_back(CCClock::nowMicros());
        if (stopAfter && fires == stopAfter) timer->invalidate();
    }
    void refresh() {
        ++fires;
        times.push_back(CCClock::nowMicros());
    }
    int fires = 0;
    int stopAfter = 0;
    std::vector<int64_t> times;
};

NSTimer::Selector tickSel() { return ccSelector<void(NSTimer*)>(&Counter::tick, "tick:"); }

} // namespace

TEST(NSRunLoop, RepeatingTimerFiresOncePerIntervalInSimulatedTime) {
    DeterministicClock clock(0);
    CCPtr<Counter> counter = CCPtr<Counter>::adopt(new Counter);
    counter->stopAfter = 100;
    NSTimer::scheduledTimerWithTimeInterval(1.0 / 60, counter, tickSel(), nullptr, true);
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 10.0);
    ASSERT_EQ(counter->fires, 100);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(counter->times[i], (i + 1) * 16667);
    EXPECT_EQ(NSRunLoop::mainRunLoop()->sourceCount(), 0u);
}

TEST(NSRunLoop, TimerRetainsTargetUntilInvalidatedAndOneShotInvalidatesItself) {
    DeterministicClock clock;
    CCPtr<Counter> counter = CCPtr<Counter>::adopt(new Counter);
    CCPtr<NSTimer> repeating = NSTimer::scheduledTimerWithTimeInterval(0.5, counter, tickSel(), nullptr, true);
    EXPECT_EQ(counter->retainCount(), 2u);
    CCPtr<NSTimer> once = NSTimer::scheduledTimerWithTimeInterval(0.25, counter, tickSel(), nullptr, false);
    EXPECT_EQ(counter->retainCount(), 3u);
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 1.0);
    EXPECT_FALSE(once->isValid());
    EXPECT_TRUE(repeating->isValid());
    EXPECT_EQ(counter->fires, 3); // 0.25 once, 0.5 and 1.0 repeating
    EXPECT_EQ(counter->retainCount(), 2u);
    repeating->invalidate();
    EXPECT_EQ(counter->retainCount(), 1u);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(NSRunLoop::mainRunLoop()->sourceCount(), 0u);
}

TEST(NSRunLoop, MissedRepeatsAreSkippedNotQueued) {
    DeterministicClock clock(0);
    CCPtr<Counter> counter = CCPtr<Counter>::adopt(new Counter);
    CCPtr<NSTimer> t = NSTimer::scheduledTimerWithTimeInterval(0.1, counter, tickSel(), nullptr, true);
    CCClock::advance(1.05); // a long stall
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(counter->fires, 1);
    EXPECT_EQ(t->nextFireMicros(), 1100000);
    t->invalidate();
    NSRunLoop::mainRunLoop()->runOnce(0);
}

TEST(CADisplayLink, FiresEveryFrameIntervalRefreshes) {
    DeterministicClock clock(0);
    CCPtr<Counter> counter = CCPtr<Counter>::adopt(new Counter);
    CCPtr<CADisplayLink> every =
        CADisplayLink::displayLinkWithTarget(counter, ccSelector<void()>(&Counter::refresh, "refresh"));
    every->addToRunLoop(NSRunLoop::currentRunLoop());
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 60 * 0.016667);
    EXPECT_EQ(counter->fires, 60);
    every->invalidate();

    CCPtr<Counter> slow = CCPtr<Counter>::adopt(new Counter);
    CCPtr<CADisplayLink> quarter =
        CADisplayLink::displayLinkWithTarget(slow, ccSelector<void()>(&Counter::refresh, "refresh"));
    quarter->setFrameInterval(15);
    quarter->setFrameInterval(0); // ignored
    EXPECT_EQ(quarter->frameInterval(), 15);
    quarter->addToRunLoop(NSRunLoop::currentRunLoop());
    int64_t start = CCClock::nowMicros();
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 1.0);
    ASSERT_EQ(slow->fires, 4);
    EXPECT_EQ(slow->times[1] - slow->times[0], 15 * CCClock::kRefreshPeriodMicros);
    EXPECT_GT(slow->times[0], start);
    quarter->invalidate();
    EXPECT_EQ(slow->retainCount(), 1u);
    NSRunLoop::mainRunLoop()->runOnce(0);
}

TEST(NSRunLoop, EachPassDrainsTheAutoreleasePool) {
    CCObject* object = new CCObject;
    object->retain();
    object->autorelease();
    EXPECT_EQ(object->retainCount(), 2u);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(object->retainCount(), 1u);
    object->release();
}

TEST(NSRunLoop, PerformsFromBackgroundThreadsRunOnTheMainThread) {
    std::atomic<int> ranOnMain{0};
    std::atomic<bool> returned{false};
    NSThread* thread = NSThread::detachNewThread([&] {
        EXPECT_FALSE(NSThread::isMainThread());
        EXPECT_FALSE(NSThread::currentThread()->isMain());
        ccPerformOnMainThread([&] { ranOnMain += NSThread::isMainThread() ? 1 : 100; }, false);
        ccPerformOnMainThread([&] { ranOnMain += NSThread::isMainThread() ? 1 : 100; }, true);
        // The waiting perform has run by the time it returns.
        EXPECT_EQ(ranOnMain.load(), 2);
        returned = true;
    });
    CCPtr<NSThread> keep(thread);
    while (!thread->isFinished()) NSRunLoop::mainRunLoop()->runOnce(0.01);
    EXPECT_TRUE(returned);
    EXPECT_EQ(ranOnMain.load(), 2);

    // On the main thread a waiting perform runs at once, a queued one at the next pass.
    int order = 0;
    ccPerformOnMainThread([&] { order = order * 10 + 1; }, false);
    ccPerformOnMainThread([&] { order = order * 10 + 2; }, true);
    EXPECT_EQ(order, 2);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(order, 21);
}

TEST(NSRunLoop, DelayedPerformsAndStop) {
    DeterministicClock clock;
    std::vector<int> seen;
    NSRunLoop* loop = NSRunLoop::mainRunLoop();
    loop->performAfterDelay(0.2, [&] { seen.push_back(2); });
    loop->performAfterDelay(0.1, [&] { seen.push_back(1); });
    loop->performAfterDelay(0.3, [&] {
        seen.push_back(3);
        loop->stop();
    });
    loop->run();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

TEST(NSRunLoop, InputSourcesArePolledEveryPass) {
    struct Source : NSRunLoopInputSource {
        int polls = 0;
        bool poll() override { return ++polls == 1; }
    } source;
    NSRunLoop* loop = NSRunLoop::mainRunLoop();
    loop->addInputSource(&source);
    EXPECT_TRUE(loop->runOnce(0));
    EXPECT_FALSE(loop->runOnce(0));
    loop->removeInputSource(&source);
    loop->runOnce(0);
    EXPECT_EQ(source.polls, 2);
}

TEST(NSThread, CancelOnlySetsTheFlag) {
    std::atomic<bool> go{false};
    NSThread* thread = NSThread::detachNewThread([&] {
        while (!NSThread::currentThread()->isCancelled()) std::this_thread::yield();
        go = true;
    });
    CCPtr<NSThread> keep(thread);
    EXPECT_FALSE(thread->isCancelled());
    thread->cancel();
    while (!thread->isFinished()) std::this_thread::yield();
    EXPECT_TRUE(go);
    EXPECT_TRUE(NSThread::isMainThread());
    EXPECT_TRUE(NSThread::currentThread()->isMain());
}

TEST(CCClock, SimulatedTimeCanGoBackwardsAndReadsCanFail) {
    DeterministicClock clock(5'500'000);
    CCTimeValue tv;
    ASSERT_TRUE(CCClock::getTimeOfDay(&tv));
    EXPECT_EQ(tv.tv_sec, 5);
    EXPECT_EQ(tv.tv_usec, 500000);
    CCClock::setSimulatedMicros(-1);
    ASSERT_TRUE(CCClock::getTimeOfDay(&tv));
    EXPECT_EQ(tv.tv_sec, -1);
    EXPECT_EQ(tv.tv_usec, 999999);
    CCClock::setFailsReads(true);
    tv = {7, 7};
    EXPECT_FALSE(CCClock::getTimeOfDay(&tv));
    EXPECT_EQ(tv.tv_sec, 7);
    CCClock::sleep(0.25); // simulated: no waiting
    EXPECT_EQ(CCClock::simulatedMicros(), 249999);
}

TEST(UIDevice, SystemVersionDefaultsAndIsSettable) {
    UIDevice* device = UIDevice::currentDevice();
    EXPECT_EQ(device->systemVersion(), "4.1");
    device->setSystemVersion("3.0");
    EXPECT_EQ(UIDevice::currentDevice()->systemVersion(), "3.0");
    device->setSystemVersion("4.1");
}
