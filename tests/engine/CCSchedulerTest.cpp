#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <functional>
#include <stdexcept>
#include <utility>

#include "CCActionManager.h"
#include "CCAutoreleasePool.h"
#include "CCLog.h"
#include "CCPtr.h"
#include "CCScheduler.h"
#include "CCTimer.h"
#include "support/AllocationHooks.h"

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
    void tickC(float) { gLog->push_back(name + ".c"); }
    void tickD(float) { gLog->push_back(name + ".d"); }
    std::string name;
    std::vector<float> dts;
    std::function<void()> onUpdate, onA, onB;
};

SEL_SCHEDULE selA() { return schedule_selector(Probe::tickA); }
SEL_SCHEDULE selB() { return schedule_selector(Probe::tickB); }
SEL_SCHEDULE selC() { return schedule_selector(Probe::tickC); }
SEL_SCHEDULE selD() { return schedule_selector(Probe::tickD); }

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override {
        // An action manager made by an earlier test is registered with this scheduler: it goes
        // with it, or no later scheduler would ever step its actions.
        CCActionManager::purgeSharedManager();
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

// Updates that unschedule others from inside the tick, again and again: the removals wait for
// the walk's end, and that purge reuses its storage.
TEST_F(SchedulerTest, RemovalsDeferredToTheEndOfATickAllocateNothing) {
    if (!installAllocationHooks()) GTEST_SKIP() << "no sanitizer allocation hooks in this build";
    struct Target : CCObject {
        void update(float) override {
            for (CCObject* other : others) CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(other);
        }
        std::vector<CCObject*> others;
    };
    CCPtr<Target> remover = CCPtr<Target>::adopt(new Target);
    std::vector<CCPtr<Target>> removed;
    for (int i = 0; i < 8; ++i) {
        removed.push_back(CCPtr<Target>::adopt(new Target));
        remover->others.push_back(removed.back().get());
    }
    sched()->scheduleUpdateForTarget(remover, -1, false);
    auto cycle = [&] {
        for (auto& t : removed) sched()->scheduleUpdateForTarget(t, 0, false);
        sched()->tick(0.1f);
    };
    for (int i = 0; i < 5; ++i) cycle();
    EXPECT_EQ(allocationsOf([&] {
                  for (int i = 0; i < 20; ++i) cycle();
              }),
              0);
    for (auto& t : removed) EXPECT_EQ(t->retainCount(), 1u);
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

// ---- entries kept in pools: slots reused and pools grown while a tick walks them ----

TEST_F(SchedulerTest, ASlotFreedAndReusedDuringTheTickIsVisitedAsTheNewTarget) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p")), q = CCPtr<Probe>::adopt(new Probe("q")),
                 r = CCPtr<Probe>::adopt(new Probe("r")), s = CCPtr<Probe>::adopt(new Probe("s"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selA(), q, 0, false);
    sched()->scheduleSelector(selA(), s, 0, false);
    sched()->scheduleUpdateForTarget(p, 0, false);
    sched()->scheduleUpdateForTarget(q, 0, false);
    bool once = true;
    p->onA = [&] {
        if (!std::exchange(once, false)) return;
        // q's entry goes and r's most likely takes its slot: r comes last, q not at all.
        sched()->unscheduleAllSelectorsForTarget(q);
        sched()->scheduleSelector(selA(), r, 0, false);
        sched()->scheduleUpdateForTarget(r, 0, false);
    };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.update", "q.update", "p.a", "s.a", "r.a"}));
    EXPECT_EQ(q->retainCount(), 1u);
    EXPECT_EQ(r->retainCount(), 3u);
    log.clear();
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.update", "r.update", "p.a", "s.a", "r.a"}));
}

// Its destructor runs a hook: what a target does when the scheduler lets go of it.
class DyingProbe : public Probe {
public:
    using Probe::Probe;
    ~DyingProbe() override {
        if (onDestroy) onDestroy();
    }
    std::function<void()> onDestroy;
};

TEST_F(SchedulerTest, AnEntryMadeInTheSlotOfOneDroppedAfterItsPassIsNotTakenForIt) {
    CCPtr<Probe> q = CCPtr<Probe>::adopt(new Probe("q"));
    auto* p = new DyingProbe("p");
    sched()->scheduleSelector(selA(), p, 0, false);
    p->release(); // the scheduler's reference is the last one
    p->onA = [&] { sched()->unscheduleSelector(selA(), p); };
    p->onDestroy = [&] {
        // q's entry takes the slot p's has just given back; dropping it again frees it at once.
        sched()->scheduleSelector(selB(), q, 0, false);
        sched()->unscheduleSelector(selB(), q);
    };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.a"}));
    EXPECT_EQ(q->retainCount(), 1u);
    log.clear();
    sched()->tick(0.1f);
    EXPECT_TRUE(log.empty());
}

TEST_F(SchedulerTest, ATargetLetGoAfterItsPassMayDropTheNextTarget) {
    CCPtr<Probe> q = CCPtr<Probe>::adopt(new Probe("q")), r = CCPtr<Probe>::adopt(new Probe("r"));
    auto* p = new DyingProbe("p");
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selA(), q, 0, false);
    sched()->scheduleSelector(selA(), r, 0, false);
    p->release(); // the scheduler's reference is the last one
    p->onA = [&] { sched()->unscheduleSelector(selA(), p); };
    // Letting go of p, once its pass is over, drops q, the entry the tick goes to next.
    p->onDestroy = [&] { sched()->unscheduleAllSelectorsForTarget(q); };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.a", "r.a"}));
    EXPECT_EQ(q->retainCount(), 1u);
    log.clear();
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"r.a"}));

    // Unscheduling everything walks the entries too: letting go of s drops r, the next one.
    auto* s = new DyingProbe("s");
    sched()->scheduleSelector(selA(), s, 0, false);
    s->release();
    sched()->unscheduleAllSelectorsForTarget(r);
    sched()->scheduleSelector(selA(), r, 0, false);
    s->onDestroy = [&] { sched()->unscheduleAllSelectorsForTarget(r); };
    sched()->unscheduleAllSelectors();
    EXPECT_EQ(r->retainCount(), 1u);
    log.clear();
    sched()->tick(0.1f);
    EXPECT_TRUE(log.empty());

    // A walk inside the tick's own: letting go of t unschedules everything, and both walks go
    // on past every entry the inner one drops.
    auto* t = new DyingProbe("t");
    sched()->scheduleSelector(selA(), t, 0, false);
    sched()->scheduleSelector(selA(), q, 0, false);
    sched()->scheduleSelector(selA(), r, 0, false);
    t->release();
    t->onA = [&] { sched()->unscheduleSelector(selA(), t); };
    t->onDestroy = [&] { sched()->unscheduleAllSelectors(); };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"t.a"}));
    EXPECT_EQ(q->retainCount(), 1u);
    EXPECT_EQ(r->retainCount(), 1u);
}

TEST_F(SchedulerTest, UnscheduleThenScheduleInsideItsOwnCall) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p")), q = CCPtr<Probe>::adopt(new Probe("q"));
    sched()->scheduleSelector(selA(), p, 0, false);
    sched()->scheduleSelector(selB(), p, 0, false);
    sched()->scheduleSelector(selA(), q, 0, false);
    sched()->scheduleUpdateForTarget(p, 0, false);
    bool once = true;
    p->onA = [&] {
        if (!std::exchange(once, false)) return;
        // Its own timer goes and comes back with a new interval: the new one starts from
        // scratch, untouched by the end of the call that made it, and the next timer still runs.
        sched()->unscheduleSelector(selA(), p);
        sched()->scheduleSelector(selA(), p, 0.25f, false);
    };
    p->onUpdate = [&] {
        if (log.size() > 1) return;
        sched()->unscheduleUpdateForTarget(p);
        sched()->scheduleUpdateForTarget(p, 0, false);
    };
    sched()->tick(0.1f); // the new timer's first tick starts its count
    EXPECT_EQ(log, (std::vector<std::string>{"p.update", "p.a", "p.b", "q.a"}));
    EXPECT_EQ(p->retainCount(), 3u); // one update registration, one timer entry
    log.clear();
    for (int i = 0; i < 3; i++) sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.update", "p.b", "q.a", "p.update", "p.b", "q.a", "p.update", "p.b",
                                             "p.a", "q.a"}));
    EXPECT_NEAR(p->dts.back(), 0.3f, 1e-5f);
    sched()->unscheduleAllSelectorsForTarget(p);
    EXPECT_EQ(p->retainCount(), 1u);
}

TEST_F(SchedulerTest, TimersAddedDuringTheTickMoveNeitherTheWalkNorTheRunningTimer) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p"));
    // More timers than the entry keeps in place: growing the array again frees the storage
    // the running timer is in.
    sched()->scheduleSelector(selA(), p, 0.15f, false);
    sched()->scheduleSelector(selB(), p, 0, false);
    sched()->scheduleSelector(schedule_selector(Probe::update), p, 0, false);
    std::vector<CCPtr<Probe>> added;
    p->onA = [&] {
        if (!added.empty()) return;
        for (int i = 0; i < 2000; i++) {
            added.push_back(CCPtr<Probe>::adopt(new Probe("n")));
            sched()->scheduleSelector(selA(), added.back(), 0, false);
        }
        sched()->scheduleSelector(selA(), p, 0.15f, false); // the same selector: no second timer
        sched()->scheduleSelector(selC(), p, 0, false);
        sched()->scheduleSelector(selD(), p, 0, false);
    };
    sched()->tick(0.1f);
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"p.b", "p.update", "p.b", "p.update"}));
    log.clear();
    sched()->tick(0.1f);
    // The new timers of the running target run after it in the same tick, the new targets
    // after it in the order they came.
    ASSERT_EQ(log.size(), 2005u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 6),
              (std::vector<std::string>{"p.a", "p.b", "p.update", "p.c", "p.d", "n.a"}));
    EXPECT_EQ(log.back(), "n.a");
    for (auto& n : added) EXPECT_EQ(n->retainCount(), 2u);
    log.clear();
    // The running timer's count was restarted after its call, not lost with the old storage.
    sched()->tick(0.1f);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
              (std::vector<std::string>{"p.b", "p.update", "p.c", "p.d"}));
    log.clear();
    sched()->tick(0.1f);
    EXPECT_EQ(log.front(), "p.a");
    CCScheduler::purgeSharedScheduler();
    for (auto& n : added) EXPECT_EQ(n->retainCount(), 1u);
    EXPECT_EQ(p->retainCount(), 1u);
}

TEST_F(SchedulerTest, UpdateEntriesAddedDuringTheWalkLeaveTheEntryItHoldsNext) {
    CCPtr<Probe> p = CCPtr<Probe>::adopt(new Probe("p")), q = CCPtr<Probe>::adopt(new Probe("q"));
    sched()->scheduleUpdateForTarget(p, 0, false);
    sched()->scheduleUpdateForTarget(q, 0, false);
    std::vector<CCPtr<Probe>> added;
    p->onUpdate = [&] {
        if (!added.empty()) return;
        for (int i = 0; i < 2000; i++) {
            added.push_back(CCPtr<Probe>::adopt(new Probe("n" + std::to_string(i))));
            sched()->scheduleUpdateForTarget(added.back(), i % 3 - 1, false);
        }
    };
    sched()->tick(0.1f);
    // The walk goes on to q, then to the new entries of its own list and of the positive list,
    // in the order they came; the negative list was walked already.
    ASSERT_EQ(log.size(), 2u + 667 + 666);
    EXPECT_EQ(log[0], "p.update");
    EXPECT_EQ(log[1], "q.update");
    for (int k = 0; k < 667; k++) EXPECT_EQ(log[2 + k], "n" + std::to_string(3 * k + 1) + ".update");
    for (int k = 0; k < 666; k++) EXPECT_EQ(log[669 + k], "n" + std::to_string(3 * k + 2) + ".update");
    log.clear();
    sched()->tick(0.1f);
    EXPECT_EQ(log.size(), 2002u);
    CCScheduler::purgeSharedScheduler();
    for (auto& n : added) EXPECT_EQ(n->retainCount(), 1u);
}

TEST_F(SchedulerTest, AnUpdateChangingOthersAndTickingAgainSteersTheWalkItIsIn) {
    std::vector<CCPtr<Probe>> p;
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) p.push_back(CCPtr<Probe>::adopt(new Probe(name)));
    for (int i = 0; i < 5; i++) sched()->scheduleUpdateForTarget(p[i], 0, i == 2);
    sched()->tick(0.1f); // the walk has seen these entries once before they change under it
    log.clear();
    bool once = true;
    p[1]->onUpdate = [&] {
        if (!std::exchange(once, false)) return;
        sched()->pauseTarget(p[3]);
        sched()->resumeTarget(p[2]);
        sched()->unscheduleUpdateForTarget(p[4]);
        sched()->scheduleUpdateForTarget(p[5], 0, false);
        sched()->tick(0.1f); // a tick inside the walk, over the changed lists
    };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"a.update", "b.update", "a.update", "b.update", "c.update", "f.update",
                                             "c.update", "f.update"}));
    EXPECT_EQ(p[4]->retainCount(), 1u);
    log.clear();
    sched()->resumeTarget(p[3]);
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"a.update", "b.update", "c.update", "d.update", "f.update"}));
    // A pause alone, and an unscheduling alone, each stop a later entry in the same tick.
    for (bool pause : {true, false}) {
        log.clear();
        bool first = true;
        p[1]->onUpdate = [&] {
            if (!std::exchange(first, false)) return;
            if (pause) sched()->pauseTarget(p[3]);
            else sched()->unscheduleUpdateForTarget(p[3]);
        };
        sched()->tick(0.1f);
        EXPECT_EQ(log, (std::vector<std::string>{"a.update", "b.update", "c.update", "f.update"}));
        sched()->resumeTarget(p[3]);
    }
    EXPECT_EQ(p[3]->retainCount(), 1u);
}

// ---- removals between and during ticks ----

TEST_F(SchedulerTest, RemovalsOutsideATickKeepTheOrderPausesAndTimersOfTheRest) {
    std::vector<CCPtr<Probe>> probes;
    for (int i = 0; i < 12; i++) {
        probes.push_back(CCPtr<Probe>::adopt(new Probe(std::to_string(i))));
        sched()->scheduleSelector(selA(), probes.back(), 0, i == 5);
        if (i % 4 == 0) sched()->scheduleSelector(selB(), probes.back(), 0, i == 5);
    }
    // Enough removals to close up the slots, some of them moving a target with two timers.
    for (int i : {1, 2, 3, 6, 7, 9, 10}) sched()->unscheduleAllSelectorsForTarget(probes[i]);
    sched()->unscheduleSelector(selB(), probes[0]);
    CCPtr<Probe> late = CCPtr<Probe>::adopt(new Probe("late"));
    sched()->scheduleSelector(selA(), late, 0, false);
    sched()->scheduleSelector(selB(), probes[8], 0, false); // its existing slot, wherever it went
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"0.a", "4.a", "4.b", "8.a", "8.b", "11.a", "late.a"}));
    log.clear();
    sched()->resumeTarget(probes[5]);
    sched()->pauseTarget(probes[4]);
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"0.a", "5.a", "8.a", "8.b", "11.a", "late.a"}));
    for (int i : {1, 2, 3, 6, 7, 9, 10}) EXPECT_EQ(probes[i]->retainCount(), 1u);
    EXPECT_EQ(probes[8]->retainCount(), 2u);
}

TEST_F(SchedulerTest, TargetsRemovedDuringATickLeaveHolesTheWalkStepsOver) {
    std::vector<CCPtr<Probe>> probes;
    for (int i = 0; i < 8; i++) {
        probes.push_back(CCPtr<Probe>::adopt(new Probe(std::to_string(i))));
        sched()->scheduleSelector(selA(), probes.back(), 0, false);
    }
    CCPtr<Probe> back = CCPtr<Probe>::adopt(new Probe("back"));
    bool once = true;
    probes[2]->onA = [&] {
        if (!std::exchange(once, false)) return;
        // Most of the slots go, before and after this one, itself included; one comes back
        // at the end, and a new target follows it.
        for (int i : {0, 1, 2, 3, 5, 6}) sched()->unscheduleAllSelectorsForTarget(probes[i]);
        sched()->scheduleSelector(selA(), probes[5], 0, false);
        sched()->scheduleSelector(selA(), back, 0, false);
    };
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"0.a", "1.a", "2.a", "4.a", "7.a", "5.a", "back.a"}));
    EXPECT_EQ(probes[2]->retainCount(), 1u);
    log.clear();
    sched()->tick(0.1f);
    EXPECT_EQ(log, (std::vector<std::string>{"4.a", "7.a", "5.a", "back.a"}));
    sched()->unscheduleAllSelectors();
    for (auto& p : probes) EXPECT_EQ(p->retainCount(), 1u);
}
