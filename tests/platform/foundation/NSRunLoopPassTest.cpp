// What one pass of the run loop costs and when it sleeps: a steady pass allocates nothing,
// due timers fire earliest first, and a real-time pass with input sources sleeps until the
// next timer is due rather than waking on a fixed short period.
#include <gtest/gtest.h>

#include <vector>

#include "CADisplayLink.h"
#include "CCClock.h"
#include "NSRunLoop.h"
#include "NSTimer.h"
#include "support/AllocationHooks.h"
#include "support/DeterministicClock.h"

namespace {

class Ticks : public CCObject {
public:
    void tick(NSTimer* timer) { order.push_back(static_cast<int>(timer->timeInterval() * 1000)); }
    void refresh() { ++refreshes; }
    std::vector<int> order;
    int refreshes = 0;
};

NSTimer::Selector tickSel() { return ccSelector<void(NSTimer*)>(&Ticks::tick, "tick:"); }

TEST(NSRunLoopPass, ASteadyPassOfTimersLinksAndPerformsAllocatesNothing) {
    if (!installAllocationHooks()) GTEST_SKIP() << "no sanitizer allocation hooks in this build";
    DeterministicClock clock(0);
    CCPtr<Ticks> ticks = CCPtr<Ticks>::adopt(new Ticks);
    ticks->order.reserve(1000);
    CCPtr<NSTimer> a = NSTimer::scheduledTimerWithTimeInterval(0.05, ticks, tickSel(), nullptr, true);
    CCPtr<NSTimer> b = NSTimer::scheduledTimerWithTimeInterval(0.1, ticks, tickSel(), nullptr, true);
    CCPtr<CADisplayLink> link =
        CADisplayLink::displayLinkWithTarget(ticks, ccSelector<void()>(&Ticks::refresh, "refresh"));
    link->addToRunLoop(NSRunLoop::mainRunLoop());
    struct Input : NSRunLoopInputSource {
        bool poll() override { return false; }
    } input;
    NSRunLoop* loop = NSRunLoop::mainRunLoop();
    loop->addInputSource(&input);
    int performs = 0;
    // The first passes size the loop's buffers (both timers fall due together at 0.1 s).
    for (int i = 0; i < 30; ++i) {
        ccPerformOnMainThread([&performs] { ++performs; }, false);
        loop->runOnce(0.25);
    }
    EXPECT_EQ(allocationsOf([&] {
                  for (int i = 0; i < 120; ++i) loop->runOnce(0.25);
              }),
              0);
    EXPECT_EQ(performs, 30);
    EXPECT_GE(ticks->refreshes, 90);
    loop->removeInputSource(&input);
    a->invalidate();
    b->invalidate();
    link->invalidate();
    loop->runOnce(0);
}

TEST(NSRunLoopPass, DueTimersFireEarliestFirstAndEqualOnesInTheOrderAdded) {
    DeterministicClock clock(0);
    CCPtr<Ticks> ticks = CCPtr<Ticks>::adopt(new Ticks);
    // Intervals in ms name the timers; their first firings are made due at chosen times.
    std::vector<CCPtr<NSTimer>> timers;
    for (double interval : {0.004, 0.003, 0.002, 0.005, 0.001})
        timers.emplace_back(NSTimer::scheduledTimerWithTimeInterval(interval, ticks, tickSel(), nullptr, false));
    // Nothing fires until all are due: 5 ms.
    CCClock::setSimulatedMicros(5000);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(ticks->order, (std::vector<int>{1, 2, 3, 4, 5}));
    ticks->order.clear();
    for (int i = 0; i < 3; ++i)
        timers.emplace_back(NSTimer::scheduledTimerWithTimeInterval(0.002, ticks, tickSel(), nullptr, false));
    timers.emplace_back(NSTimer::scheduledTimerWithTimeInterval(0.001, ticks, tickSel(), nullptr, false));
    CCClock::setSimulatedMicros(8000);
    NSRunLoop::mainRunLoop()->runOnce(0);
    EXPECT_EQ(ticks->order, (std::vector<int>{1, 2, 2, 2}));
}

TEST(NSRunLoopPass, ARealTimePassWithInputSourcesSleepsUntilTheNextTimer) {
    CCClock::setDeterministic(false);
    CCPtr<Ticks> ticks = CCPtr<Ticks>::adopt(new Ticks);
    struct Input : NSRunLoopInputSource {
        int polls = 0;
        bool poll() override {
            ++polls;
            return false;
        }
    } input;
    NSRunLoop* loop = NSRunLoop::mainRunLoop();
    loop->addInputSource(&input);
    // Due well within a display refresh: one pass sleeps until it and fires it.
    NSTimer::scheduledTimerWithTimeInterval(0.012, ticks, tickSel(), nullptr, false);
    EXPECT_TRUE(loop->runOnce(1.0));
    EXPECT_EQ(ticks->order, std::vector<int>{12});
    EXPECT_GE(input.polls, 2); // before the sleep and after it
    // Nothing due: input is polled again within a refresh or so, not after the whole second.
    const int64_t start = CCClock::nowMicros();
    const int before = input.polls;
    loop->runOnce(1.0);
    EXPECT_GT(input.polls, before);
    EXPECT_LT(CCClock::nowMicros() - start, 500000);
    loop->removeInputSource(&input);
}

} // namespace
