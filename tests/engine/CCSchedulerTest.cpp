#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <functional>
#include <stdexcept>

#include "CCAutoreleasePool.h"
#include "CCLog.h"
#include "CCPtr.h"
#include "CCScheduler.h"
#include "CCTimer.h"

namespace {

std::vector<std::string>* gLog = nullptr;

// Records every call it gets; hooks let a test re-enter the scheduler from inside a call.
class Probe : public CCObject {
public:
    explicit Probe(std::string name = "") : name(std::move(name)) {}
    void update(float dt) override {
        gLog->push_back(name + ".update");
        dts.push_back(dt);
        if (onUpdate) onUpdate();
    }
    void tickA(float dt) {
        gLog->push_back(name + ".a");
        dts.push_back(dt);
        if (onA) onA();
    }
    void tickB(float dt) {
        gLog->push_back(name + ".b");
        dts.push_back(dt);
        if (onB) onB();
    }
    std::string name;
    std::vector<float> dts;
    std::function<void()> onUpdate, onA, onB;
};

SEL_SCHEDULE selA() { return schedule_selector(Probe::tickA); }
SEL_SCHEDULE selB() { return schedule_selector(Probe::tickB); }

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override {
        CCScheduler::purgeSharedScheduler();
        gLog = nullptr;
    }
    CCScheduler* sched() { return CCScheduler::sharedScheduler(); }
    CCAutoreleaseScope pool;
    std::vector<std::string> log;
};

} // namespace

TEST_F(SchedulerTest, TimerFiresOnceIntervalHasAccumulatedAndDropsExcess) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->scheduleSelector(selA(), p, 0.5f, false);
    for (int i = 0; i < 5; i++) sched()->tick(0.1f);
    EXPECT_TRUE(p->dts.empty()); // the first tick only starts the clock
    sched()->tick(0.1f);
    ASSERT_EQ(p->dts.size(), 1u);
    EXPECT_NEAR(p->dts[0], 0.5f, 1e-5);

    CCPtr<Probe> q = CCPtr<Probe>::adopt(new Probe("q"));
    sched()->scheduleSelector(selA(), q, 1.0f, false);
    sched()->tick(0.f);
    sched()->tick(2.5f);
    sched()->tick(0.5f);
    ASSERT_EQ(q->dts.size(), 1u);
    EXPECT_FLOAT_EQ(q->dts[0], 2.5f);
    sched()->tick(0.5f); // 1.0 accumulated again from 0
    EXPECT_EQ(q->dts.size(), 2u);
}

TEST_F(SchedulerTest, IntervalZeroFiresEveryTickStartingWithZero) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->tick(0.25f);
    sched()->tick(0.25f);
    EXPECT_EQ(p->dts, (std::vector<float>{0.f, 0.25f}));
}

TEST_F(SchedulerTest, ReschedulingOnlyChangesInterval) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->scheduleSelector(selA(), p, 10, false);
    sched()->tick(0);
    sched()->tick(0.3f);
    sched()->scheduleSelector(selA(), p, 0.5f, false);
    sched()->tick(0.3f); // elapsed kept: 0.6 >= 0.5
    EXPECT_EQ(log, (std::vector<std::string>{"p.a"}));
    EXPECT_NEAR(p->dts[0], 0.6f, 1e-5);
}

TEST_F(SchedulerTest, PauseKeepsElapsedTimeAndResumeContinues) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->scheduleSelector(selA(), p, 1.0f, false);
    sched()->scheduleUpdateForTarget(p, 0, false);
    sched()->tick(0);
    sched()->tick(0.6f);
    log.clear();
    sched()->pauseTarget(p);
    sched()->tick(5.0f);
    EXPECT_TRUE(log.empty());
    sched()->resumeTarget(p);
    sched()->tick(0.3f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.update"}));
    sched()->tick(0.1f);
    EXPECT_EQ(log.back(), "p.a");
    EXPECT_NEAR(p->dts.back(), 1.0f, 1e-5);
}

TEST_F(SchedulerTest, UpdatesRunByPriorityThenTimersWithScaledTime) {
    CCPtr<Probe> pos = CCPtr<Probe>::adopt(new Probe("pos")), a = CCPtr<Probe>::adopt(new Probe("A")),
                 b = CCPtr<Probe>::adopt(new Probe("B")), neg = CCPtr<Probe>::adopt(new Probe("neg")),
                 neg2 = CCPtr<Probe>::adopt(new Probe("neg2"));
    sched()->scheduleSelector(selA(), a, 0, false);
    sched()->scheduleUpdateForTarget(pos, 1, false);
    sched()->scheduleUpdateForTarget(a, 0, false);
    sched()->scheduleUpdateForTarget(neg, -1, false);
    sched()->scheduleUpdateForTarget(b, 0, false);
    sched()->scheduleUpdateForTarget(neg2, -5, false);
    sched()->setTimeScale(0.5f);
    sched()->tick(0);
    sched()->tick(0.2f);
    std::vector<std::string> one = {"neg2.update", "neg.update", "A.update", "B.update", "pos.update", "A.a"};
    ASSERT_EQ(log.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(log.begin() + 6, log.end()), one);
    EXPECT_FLOAT_EQ(pos->dts.back(), 0.1f);
    EXPECT_FLOAT_EQ(a->dts.back(), 0.1f);
}

TEST_F(SchedulerTest, SecondUpdateRegistrationOfOneTargetIsIgnored) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->scheduleUpdateForTarget(p, 0, false);
    std::vector<std::string> lines;
    CCLogSink old = ccSetLogSink([&](const std::string& line) { lines.push_back(line); });
    sched()->scheduleUpdateForTarget(p, 3, false);
    ccSetLogSink(old);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(p->retainCount(), 2u);
    sched()->tick(0.1f);
    EXPECT_EQ(log.size(), 1u);
    sched()->unscheduleAllSelectors();
    EXPECT_EQ(p->retainCount(), 1u);
}

TEST_F(SchedulerTest, TimerRemovingItselfLetsTheNextTimerOfTheTargetRun) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selB(), p, 0, false);
    p->onA = [&] { sched()->unscheduleSelector(selA(), p); };
    sched()->tick(0.1f);
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.a", "p.b", "p.b"}));
}

TEST_F(SchedulerTest, TimerRemovingAnEarlierTimerDoesNotSkipOrRepeatTheNext) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p")), q = CCPtr<Probe>::adopt(new Probe("q"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selB(), p, 0, false);
    sched()->scheduleSelector(schedule_selector(Probe::update), p, 0, false);
    p->onB = [&] { sched()->unscheduleSelector(selA(), p); };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.a", "p.b", "p.update"}));
}

TEST_F(SchedulerTest, UnscheduleEverythingFromInsideATimer) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p")), q = CCPtr<Probe>::adopt(new Probe("q"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selB(), p, 0, false);
    sched()->scheduleSelector(selA(), q, 0, false);
    sched()->scheduleUpdateForTarget(q, 0, false);
    p->onA = [&] { sched()->unscheduleAllSelectors(); };
    sched()->tick(0.1f);
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"q.update", "p.a"}));
    EXPECT_EQ(p->retainCount(), 1u);
    EXPECT_EQ(q->retainCount(), 1u);
}

TEST_F(SchedulerTest, TargetRemovingAllItsTimersIsDroppedAfterItsPass) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p")), q = CCPtr<Probe>::adopt(new Probe("q"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selB(), p, 0, false);
    sched()->scheduleSelector(selA(), q, 0, false);
    p->onA = [&] { sched()->unscheduleAllSelectorsForTarget(p); };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.a", "q.a"}));
    EXPECT_EQ(p->retainCount(), 1u);
    // Rescheduling after the salvage works from scratch.
    sched()->scheduleSelector(selB(), p, 0, true);
    EXPECT_EQ(p->retainCount(), 2u);
}

TEST_F(SchedulerTest, TimerRemovingAnotherTargetSkipsItThisTick) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p")), q = CCPtr<Probe>::adopt(new Probe("q"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selA(), q, 0, false);
    p->onA = [&] { sched()->unscheduleAllSelectorsForTarget(q); };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.a"}));
    EXPECT_EQ(q->retainCount(), 1u);
}

TEST_F(SchedulerTest, UpdateEntryMayRemoveItselfOrTheFollowingEntry) {
    CCPtr<Probe> a = CCPtr<Probe>::adopt(new Probe("A")), b = CCPtr<Probe>::adopt(new Probe("B")),
                 c = CCPtr<Probe>::adopt(new Probe("C"));
    for (Probe* p : {a.get(), b.get(), c.get()}) sched()->scheduleUpdateForTarget(p, 0, false);
    a->onUpdate = [&] { sched()->unscheduleUpdateForTarget(b); };
    c->onUpdate = [&] { sched()->unscheduleUpdateForTarget(c); };
    sched()->tick(0.1f);
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"A.update", "C.update", "A.update"}));
    EXPECT_EQ(b->retainCount(), 1u);
    EXPECT_EQ(c->retainCount(), 1u);
}

TEST_F(SchedulerTest, UpdateEntryRemovedByTheOnlyOtherHolderStaysAliveThroughItsCall) {
    // The scheduler's reference is the last one: the target must survive its own call.
    auto* p = new Probe("p");
    sched()->scheduleUpdateForTarget(p, 0, false);
    p->release();
    p->onUpdate = [&] {
        sched()->unscheduleUpdateForTarget(p);
        p->name = "still-alive";
    };
    sched()->tick(0.1f);
    sched()->tick(0.1f);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(SchedulerTest, RetainsTargetsAndPurgeReleasesThem) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selB(), p, 0, false);
    EXPECT_EQ(p->retainCount(), 2u);
    sched()->scheduleUpdateForTarget(p, 0, false);
    EXPECT_EQ(p->retainCount(), 3u);
    CCTimer* timer = CCTimer::timerWithTarget(p, selA(), 2);
    EXPECT_EQ(p->retainCount(), 3u); // timers do not retain
    EXPECT_EQ(timer->description().find("<CCTimer = "), 0u);
    EXPECT_NE(timer->description().find(" selector:(Probe::tickA)>"), std::string::npos) << timer->description();
    CCScheduler* first = sched();
    CCScheduler::purgeSharedScheduler();
    EXPECT_EQ(p->retainCount(), 1u);
    sched()->tick(1);
    EXPECT_TRUE(log.empty());
    (void)first;
}

TEST_F(SchedulerTest, UnschedulingWhatIsNotScheduledDoesNothing) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    sched()->unscheduleSelector(selA(), p);
    sched()->unscheduleSelector(nullptr, nullptr);
    sched()->unscheduleUpdateForTarget(p);
    sched()->unscheduleAllSelectorsForTarget(nullptr);
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->unscheduleSelector(selB(), p);
    EXPECT_EQ(p->retainCount(), 2u);
}

using SchedulerDeathTest = SchedulerTest;

TEST_F(SchedulerDeathTest, PreconditionFailuresStopWithTheirMessage) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    EXPECT_DEATH(sched()->scheduleSelector(selA(), nullptr, 0, false), "Argument target must be non-nil");
    EXPECT_DEATH(sched()->scheduleSelector(nullptr, p, 0, false), "Argument selector must be non-nil");
    EXPECT_DEATH(sched()->unscheduleSelector(selA(), nullptr), "Target MUST not be nil");
    EXPECT_DEATH(sched()->pauseTarget(nullptr), "target must be non nil");
    sched()->scheduleSelector(selA(), p, 0, true);
    EXPECT_DEATH(sched()->scheduleSelector(selB(), p, 0, false),
                 "CCScheduler. Trying to schedule a selector with a pause value different than the target");
    EXPECT_DEATH(new CCScheduler, "Attempted to allocate a second instance of a singleton.");
    EXPECT_DEATH(sched()->scheduleTimer(nullptr), "Not implemented. Use scheduleSelector:forTarget:");
    EXPECT_DEATH((void)CCTimer().init(), "CCTimer: Init not supported.");
}

TEST_F(SchedulerTest, AnUpdateThatThrowsLeavesLaterRemovalsWorking) {
    CCPtr<Probe> thrower = CCPtr<Probe>::adopt(new Probe("t"));
    CCPtr<Probe> other = CCPtr<Probe>::adopt(new Probe("o"));
    thrower->onUpdate = [] { throw std::runtime_error("update failed"); };
    sched()->scheduleUpdateForTarget(thrower, -1, false);
    sched()->scheduleUpdateForTarget(other, 0, false);
    EXPECT_THROW(sched()->tick(0.1f), std::runtime_error);

    // Removed at once, not deferred to a walk that is over.
    sched()->unscheduleUpdateForTarget(other);
    EXPECT_EQ(other->retainCount(), 1u);
    thrower->onUpdate = nullptr;
    log.clear();
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"t.update"}));

    // The same for a timer that throws: its target can still be dropped.
    thrower->onA = [] { throw std::runtime_error("timer failed"); };
    sched()->scheduleSelector(selA(), thrower, 0, false);
    sched()->scheduleSelector(selB(), other, 0, false);
    EXPECT_THROW(sched()->tick(0.1f), std::runtime_error);
    sched()->unscheduleAllSelectorsForTarget(thrower);
    sched()->unscheduleAllSelectorsForTarget(other);
    EXPECT_EQ(thrower->retainCount(), 1u);
    EXPECT_EQ(other->retainCount(), 1u);
    log.clear();
    sched()->tick(0.1f);
    EXPECT_TRUE(log.empty());
}
