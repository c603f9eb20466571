// One scheduler tick over many timers and many per-frame updates, beside a plain loop that
// makes the same calls on the same objects. A timer's call passes the time accumulated since its
// last call (0 on its first tick), so the plain loop keeps a clock per timer as well.
#include <benchmark/benchmark.h>

#include <vector>

#include "CCScheduler.h"
#include "CCTimerClock.h"

namespace {

class Target : public CCObject {
public:
    __attribute__((noinline)) void tick(float dt) { total += dt; }
    __attribute__((noinline)) void update(float dt) override { total += dt; }
    float total = 0;
};

std::vector<Target*> makeTargets(int n) {
    std::vector<Target*> targets;
    targets.reserve(n);
    for (int i = 0; i < n; i++) targets.push_back(new Target);
    return targets;
}

void releaseAll(std::vector<Target*>& targets) {
    for (Target* t : targets) t->release();
}

void BM_SchedulerTickTimers(benchmark::State& state) {
    auto targets = makeTargets(state.range(0));
    CCScheduler* s = CCScheduler::sharedScheduler();
    for (Target* t : targets) s->scheduleSelector(schedule_selector(Target::tick), t, 0, false);
    for (auto _ : state) s->tick(1.0f / 60);
    CCScheduler::purgeSharedScheduler();
    releaseAll(targets);
}

// A timer as a plain record: each may call a different method, at its own interval.
struct PlainTimer {
    Target* target;
    void (Target::*method)(float);
    CCTimerClock clock;
};

void BM_PlainLoopTimers(benchmark::State& state) {
    auto targets = makeTargets(state.range(0));
    std::vector<PlainTimer> timers;
    timers.reserve(targets.size());
    for (Target* t : targets) timers.push_back(PlainTimer{t, &Target::tick, CCTimerClock{-1, 0}});
    benchmark::DoNotOptimize(timers.data());
    for (auto _ : state) {
        for (PlainTimer& timer : timers) {
            if (!timer.clock.advance(1.0f / 60)) continue;
            (timer.target->*timer.method)(timer.clock.elapsed);
            timer.clock.reset();
        }
        benchmark::ClobberMemory();
    }
    releaseAll(targets);
}

// The calls alone, with no clock per timer: the floor under any scheduler (the peer the figures
// were given against before the clock was counted).
void BM_PlainLoopCallsOnly(benchmark::State& state) {
    auto targets = makeTargets(state.range(0));
    void (Target::*method)(float) = &Target::tick;
    for (auto _ : state) {
        for (Target* t : targets) (t->*method)(1.0f / 60);
        benchmark::ClobberMemory();
    }
    releaseAll(targets);
}

void BM_SchedulerTickUpdates(benchmark::State& state) {
    auto targets = makeTargets(state.range(0));
    CCScheduler* s = CCScheduler::sharedScheduler();
    for (Target* t : targets) s->scheduleUpdateForTarget(t, 0, false);
    for (auto _ : state) s->tick(1.0f / 60);
    CCScheduler::purgeSharedScheduler();
    releaseAll(targets);
}

void BM_PlainLoopUpdates(benchmark::State& state) {
    auto targets = makeTargets(state.range(0));
    std::vector<CCObject*> objects(targets.begin(), targets.end());
    for (auto _ : state) {
        for (CCObject* o : objects) o->update(1.0f / 60);
        benchmark::ClobberMemory();
    }
    releaseAll(targets);
}

} // namespace

BENCHMARK(BM_SchedulerTickTimers)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_PlainLoopTimers)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_PlainLoopCallsOnly)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_SchedulerTickUpdates)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(BM_PlainLoopUpdates)->Arg(1000)->Arg(10000)->Arg(100000);

BENCHMARK_MAIN();
