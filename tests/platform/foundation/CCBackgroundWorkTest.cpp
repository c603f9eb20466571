#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <dirent.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "CCBackgroundWork.h"
#include "CCClock.h"
#include "CCLog.h"
#include "NSRunLoop.h"
#include "support/DeterministicClock.h"

namespace {

std::size_t threadCount() {
    std::size_t n = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') ++n;
        closedir(dir);
    }
    return n;
}

void realSleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Passes of one display refresh each, as a deterministic run makes them; returns the pass
// (1 = the first) at which `delivered` became true, 0 if it never did within `passes`.
int passWhenDelivered(const bool& delivered, int passes) {
    for (int pass = 1; pass <= passes; ++pass) {
        CCClock::advanceMicros(CCClock::kRefreshPeriodMicros);
        NSRunLoop::mainRunLoop()->runOnce(0);
        if (delivered) return pass;
    }
    return 0;
}

// Records whether its last copy dies on the main thread.
struct DiesOn {
    explicit DiesOn(std::atomic<bool>* onMain) : onMain(onMain) {}
    ~DiesOn() {
        if (token.use_count() == 1) *onMain = NSRunLoop::isMainThread();
    }
    DiesOn(const DiesOn&) = default;
    std::atomic<bool>* onMain;
    std::shared_ptr<int> token = std::make_shared<int>(0);
};

} // namespace

TEST(BackgroundWorkThreads, DeterministicDeliveryDependsOnlyOnTheStartTime) {
    DeterministicClock clock(0);
    const int expected = int((CCBackgroundWork::kDeterministicDelayMicros + CCClock::kRefreshPeriodMicros - 1) /
                             CCClock::kRefreshPeriodMicros);
    for (int ms : {1, 200}) {
        CCClock::setSimulatedMicros(0);
        bool delivered = false;
        ccPerformInBackground<int>(
            [ms] {
                realSleep(ms);
                return ms;
            },
            [&](int value) {
                EXPECT_TRUE(NSRunLoop::isMainThread());
                EXPECT_EQ(value, ms);
                delivered = true;
            });
        EXPECT_EQ(passWhenDelivered(delivered, 100), expected) << "worker of " << ms << " ms";
    }

    // A slow piece started first comes before a quick one started after it, at the same pass.
    CCClock::setSimulatedMicros(0);
    std::vector<std::string> order;
    ccPerformInBackground<std::string>(
        [] {
            realSleep(100);
            return std::string("slow");
        },
        [&](std::string s) { order.push_back(s); });
    ccPerformInBackground<std::string>([] { return std::string("quick"); },
                                       [&](std::string s) { order.push_back(s); });
    bool both = false;
    for (int pass = 1; pass <= 100 && !both; ++pass) {
        CCClock::advanceMicros(CCClock::kRefreshPeriodMicros);
        NSRunLoop::mainRunLoop()->runOnce(0);
        if (!order.empty()) {
            EXPECT_EQ(pass, expected);
            both = true;
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"slow", "quick"}));

    // An idle deterministic loop neither sleeps nor waits: it jumps to the due time.
    CCClock::setSimulatedMicros(0);
    bool delivered = false;
    ccPerformInBackground<int>([] { return 1; }, [&](int) { delivered = true; });
    const auto before = std::chrono::steady_clock::now();
    NSRunLoop::mainRunLoop()->runOnce(5.0);
    EXPECT_TRUE(delivered);
    EXPECT_EQ(CCClock::nowMicros(), CCBackgroundWork::kDeterministicDelayMicros);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_EQ(CCBackgroundWork::pendingCount(), 0u);
}

TEST(BackgroundWorkThreads, RealTimeDeliveryFollowsTheWorkerAndClosuresDieOnTheMainThread) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> workDiedOnMain{false}, deliverDiedOnMain{false};
    std::vector<unsigned char> got;
    {
        DiesOn workGuard(&workDiedOnMain), deliverGuard(&deliverDiedOnMain);
        ccPerformInBackground<std::vector<unsigned char>>(
            [release, workGuard] {
                EXPECT_FALSE(NSRunLoop::isMainThread());
                while (!release->load()) realSleep(1);
                return std::vector<unsigned char>{1, 2, 3};
            },
            [&got, deliverGuard](std::vector<unsigned char> bytes) { got = std::move(bytes); });
    }
    for (int i = 0; i < 5; ++i) NSRunLoop::mainRunLoop()->runOnce(0.002);
    EXPECT_TRUE(got.empty()); // not before the worker finished
    *release = true;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got.empty() && std::chrono::steady_clock::now() < limit) NSRunLoop::mainRunLoop()->runOnce(0.05);
    EXPECT_EQ(got, (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_TRUE(workDiedOnMain);
    EXPECT_TRUE(deliverDiedOnMain);
}

TEST(BackgroundWorkThreads, WaitingDeliversEverythingInOrderAndLeavesNoThread) {
    // A first piece, so that threads a runtime starts once (ThreadSanitizer's) are counted.
    ccPerformInBackground<int>([] { return 0; }, [](int) {});
    ccWaitForBackgroundWork();
    const std::size_t threadsBefore = threadCount();
    std::vector<int> order;
    for (int i = 0; i < 4; ++i)
        ccPerformInBackground<int>(
            [i] {
                realSleep(4 - i);
                return i;
            },
            [&](int v) {
                order.push_back(v);
                // Work started by a delivery is waited for too.
                if (v == 3) ccPerformInBackground<int>([] { return 9; }, [&](int w) { order.push_back(w); });
            });
    ccWaitForBackgroundWork();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 9}));
    EXPECT_EQ(CCBackgroundWork::pendingCount(), 0u);
    EXPECT_EQ(threadCount(), threadsBefore);
}

TEST(BackgroundWorkThreads, CancelledOrFailedWorkIsDroppedAndOthersGoOn) {
    std::vector<std::string> lines;
    CCLogSink previous = ccSetLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(ccIsBackgroundWorkCancelled());

    std::atomic<bool> started{false}, sawCancel{false};
    bool longDelivered = false;
    ccPerformInBackground<int>(
        [&] {
            started = true;
            while (!ccIsBackgroundWorkCancelled()) realSleep(1);
            sawCancel = true;
            return 0;
        },
        [&](int) { longDelivered = true; });
    while (!started) realSleep(1);
    ccCancelBackgroundWork();
    bool failedDelivered = false;
    ccPerformInBackground<int>([]() -> int { throw std::runtime_error("disk on fire"); },
                               [&](int) { failedDelivered = true; });
    int later = 0;
    ccPerformInBackground<int>([] { return 7; }, [&](int v) { later = v; });
    ccWaitForBackgroundWork();
    ccSetLogSink(previous);

    EXPECT_TRUE(sawCancel);
    EXPECT_FALSE(longDelivered);
    EXPECT_FALSE(failedDelivered);
    EXPECT_EQ(later, 7); // started after the cancel: not affected by it
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("disk on fire"), std::string::npos);
}
