// One action-manager pass (a scheduler tick) over many running move actions, one per node,
// beside a plain loop that moves the same nodes directly. Each move keeps its own time and
// duration (moves start and end independently), so the plain loop does too. The "allocs" counter is the number
// of heap allocations per pass, which must be 0.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "CCActionManager.h"
#include "CCAutoreleasePool.h"
#include "CCIntervalActions.h"
#include "CCNode.h"
#include "CCScheduler.h"

namespace {
std::atomic<long> allocations{0};
} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr float kFrame = 1.0f / 60;
const CGPoint kVelocity = CGPointMake(30, 12); // points per second
// Every move lasts long enough never to finish during a run.
constexpr float kDuration = 1e6f;
const CGPoint kOffset = CGPointMake(kVelocity.x * kDuration, kVelocity.y * kDuration);

std::vector<CCNode*> makeNodes(int n) {
    std::vector<CCNode*> nodes;
    nodes.reserve(n);
    for (int i = 0; i < n; i++) {
        CCNode* node = new CCNode;
        node->init();
        node->setPosition(CGPointMake(i % 480, i % 320));
        node->onEnter();
        nodes.push_back(node);
    }
    return nodes;
}

// The nodes made the shared action manager, which is scheduled in this scheduler: both go, so
// that the next run's manager is scheduled in the next scheduler.
void purgeManagerAndScheduler() {
    CCActionManager::purgeSharedManager();
    CCScheduler::purgeSharedScheduler();
}

void BM_ActionManagerPass(benchmark::State& state) {
    CCAutoreleaseScope pool;
    const int n = static_cast<int>(state.range(0));
    CCActionManager::sharedManager();
    std::vector<CCNode*> nodes = makeNodes(n);
    for (CCNode* node : nodes) node->runAction(CCMoveBy::actionWithDuration(kDuration, kOffset));
    CCScheduler* scheduler = CCScheduler::sharedScheduler();
    scheduler->tick(kFrame); // the first step of each action
    long before = allocations.load();
    for (auto _ : state) scheduler->tick(kFrame);
    state.counters["allocs"] =
        benchmark::Counter(double(allocations.load() - before), benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * n);
    for (CCNode* node : nodes) {
        node->cleanup();
        node->release();
    }
    purgeManagerAndScheduler();
}

// The actions' own calls (step, then isDone) over the same moves with no manager around them:
// the floor that the action objects set under any manager.
void BM_ActionCallsOnly(benchmark::State& state) {
    CCAutoreleaseScope pool;
    const int n = static_cast<int>(state.range(0));
    std::vector<CCNode*> nodes = makeNodes(n);
    std::vector<CCAction*> actions;
    actions.reserve(n);
    for (CCNode* node : nodes) {
        CCAction* action = CCMoveBy::actionWithDuration(kDuration, kOffset);
        action->retain();
        action->startWithTarget(node);
        action->step(kFrame);
        actions.push_back(action);
    }
    long finished = 0;
    for (auto _ : state) {
        for (CCAction* action : actions) {
            action->step(kFrame);
            if (action->isDone()) finished++;
        }
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(finished);
    state.SetItemsProcessed(state.iterations() * n);
    for (CCAction* action : actions) action->release();
    for (CCNode* node : nodes) node->release();
    purgeManagerAndScheduler();
}

// A move as a plain record: its start, offset, duration and time so far.
struct PlainMove {
    CCNode* node;
    CGPoint start;
    CGPoint delta;
    float duration;
    float elapsed;
};

void BM_PlainMoveLoop(benchmark::State& state) {
    CCAutoreleaseScope pool;
    const int n = static_cast<int>(state.range(0));
    std::vector<CCNode*> nodes = makeNodes(n);
    std::vector<PlainMove> moves;
    moves.reserve(n);
    for (CCNode* node : nodes) moves.push_back(PlainMove{node, node->position(), kOffset, kDuration, 0});
    benchmark::DoNotOptimize(moves.data());
    long finished = 0;
    long before = allocations.load();
    for (auto _ : state) {
        for (PlainMove& move : moves) {
            move.elapsed += kFrame;
            const float t = move.elapsed / move.duration;
            const float u = t > 1 ? 1 : t;
            move.node->setPosition(CGPointMake(move.start.x + move.delta.x * u, move.start.y + move.delta.y * u));
            if (move.elapsed >= move.duration) finished++;
        }
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(finished);
    state.counters["allocs"] =
        benchmark::Counter(double(allocations.load() - before), benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * n);
    for (CCNode* node : nodes) node->release();
    purgeManagerAndScheduler();
}

// One shared clock for every move: the moves alone (the peer the figures were given against
// before each move's own time was counted).
void BM_PlainMoveLoopSharedClock(benchmark::State& state) {
    CCAutoreleaseScope pool;
    const int n = static_cast<int>(state.range(0));
    std::vector<CCNode*> nodes = makeNodes(n);
    std::vector<CGPoint> start(n);
    for (int i = 0; i < n; i++) start[i] = nodes[i]->position();
    float elapsed = 0;
    for (auto _ : state) {
        elapsed += kFrame;
        for (int i = 0; i < n; i++)
            nodes[i]->setPosition(CGPointMake(start[i].x + kVelocity.x * elapsed, start[i].y + kVelocity.y * elapsed));
        benchmark::ClobberMemory();
    }
    for (CCNode* node : nodes) node->release();
    purgeManagerAndScheduler();
}

} // namespace

BENCHMARK(BM_ActionManagerPass)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ActionCallsOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainMoveLoop)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainMoveLoopSharedClock)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
