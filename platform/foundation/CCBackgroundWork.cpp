#include "CCBackgroundWork.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "CCClock.h"
#include "CCLog.h"
#include "NSRunLoop.h"

namespace {

constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

struct Job {
    uint64_t id = 0;
    bool deterministic = false; // started under the deterministic clock
    bool overdue = false;       // passed the wait bound: delivered whenever it finishes
    int64_t dueMicros = 0;
    std::function<void()> run;
    std::function<void()> deliver;
    std::thread thread;
    std::atomic<bool> cancelled{false};
    bool finished = false; // guarded by State::mutex
    bool failed = false;   // `run` threw or no thread could be started
};

struct State {
    std::mutex mutex;
    std::condition_variable changed; // a job finished or was taken off the list
    std::deque<std::shared_ptr<Job>> jobs; // in start order
    uint64_t lastId = 0;
    // Main thread only.
    CCBackgroundWork::DeliveryPlan plan;
    CCBackgroundWork::DeliveryObserver observer;
};

// Never destroyed: workers may still be running while the process exits.
State& state() {
    static State* s = new State;
    return *s;
}

thread_local Job* currentJob = nullptr;

void workerBody(Job* job) {
    currentJob = job;
    bool failed = false;
    if (!job->cancelled.load()) {
        try {
            job->run();
        } catch (const std::exception& e) {
            CCLog("Background work %llu failed: %s", static_cast<unsigned long long>(job->id), e.what());
            failed = true;
        } catch (...) {
            CCLog("Background work %llu failed", static_cast<unsigned long long>(job->id));
            failed = true;
        }
    }
    currentJob = nullptr;
    const bool deterministic = job->deterministic;
    {
        State& s = state();
        std::lock_guard lock(s.mutex);
        job->failed = failed;
        job->finished = true;
    }
    state().changed.notify_all();
    // A real-time main loop may be asleep waiting for something to do.
    if (!deterministic) ccPerformOnMainThread([] {}, false);
}

// Joins the worker and delivers on the calling (main) thread; the job's closures die here.
void finish(std::shared_ptr<Job> job) {
    if (job->thread.joinable()) job->thread.join();
    std::function<void()> deliver = std::move(job->deliver);
    std::function<void()> run = std::move(job->run);
    const bool keep = !job->failed && !job->cancelled.load();
    const uint64_t id = job->id;
    job.reset();
    if (!keep || !deliver) return;
    if (state().observer) state().observer(id);
    deliver();
}

// Blocks (the lock held by `lock`) until the job has finished, up to the wait bound; false,
// with the job marked overdue, when it is still running then.
bool waitToFinish(State& s, std::unique_lock<std::mutex>& lock, Job* job) {
    if (job->finished) return true;
    const auto bound = std::chrono::steady_clock::now() +
                       std::chrono::microseconds(CCClock::toMicros(CCBackgroundWork::kDeterministicWaitSeconds));
    if (s.changed.wait_until(lock, bound, [job] { return job->finished; })) return true;
    CCLog("Background work %llu is still running after %.0f s; it is delivered when it ends",
          static_cast<unsigned long long>(job->id), CCBackgroundWork::kDeterministicWaitSeconds);
    job->overdue = true;
    return false;
}

// Takes the job off the list (under the lock).
std::shared_ptr<Job> take(State& s, uint64_t id) {
    auto found = std::find_if(s.jobs.begin(), s.jobs.end(), [id](const auto& j) { return j->id == id; });
    if (found == s.jobs.end()) return nullptr;
    std::shared_ptr<Job> job = std::move(*found);
    s.jobs.erase(found);
    return job;
}

} // namespace

uint64_t CCBackgroundWork::start(std::function<void()> run, std::function<void()> deliver) {
    auto job = std::make_shared<Job>();
    job->run = std::move(run);
    job->deliver = std::move(deliver);
    job->deterministic = CCClock::isDeterministic();
    job->dueMicros = job->deterministic ? CCClock::nowMicros() + kDeterministicDelayMicros : 0;
    State& s = state();
    std::lock_guard lock(s.mutex);
    job->id = ++s.lastId;
    try {
        job->thread = std::thread(workerBody, job.get());
    } catch (const std::system_error& e) {
        CCLog("Background work %llu could not start a thread: %s", static_cast<unsigned long long>(job->id),
              e.what());
        job->failed = job->finished = true;
    }
    s.jobs.push_back(job);
    return job->id;
}

bool CCBackgroundWork::deliverDue(int64_t nowMicros) {
    State& s = state();
    const bool deterministicNow = CCClock::isDeterministic();
    // Which jobs this pass delivers is decided first; work started by a delivery waits for
    // a later pass.
    std::vector<uint64_t> due;
    {
        std::unique_lock lock(s.mutex);
        // A copy: waiting below lets other threads start work meanwhile.
        const std::vector<std::shared_ptr<Job>> jobs(s.jobs.begin(), s.jobs.end());
        for (auto& job : jobs) {
            if (s.plan && !job->overdue) {
                if (!s.plan(job->id) || !waitToFinish(s, lock, job.get())) continue;
                due.push_back(job->id);
            } else if (job->deterministic && deterministicNow && !job->overdue) {
                if (job->dueMicros > nowMicros || !waitToFinish(s, lock, job.get())) continue;
                due.push_back(job->id);
            } else if (job->finished) {
                due.push_back(job->id);
            }
        }
    }
    for (uint64_t id : due) {
        std::shared_ptr<Job> job;
        {
            std::lock_guard lock(s.mutex);
            job = take(s, id);
        }
        s.changed.notify_all();
        if (job) finish(std::move(job));
    }
    return !due.empty();
}

int64_t CCBackgroundWork::nextDueMicros() {
    State& s = state();
    // A plan admits results at frames, not at times.
    if (!CCClock::isDeterministic() || s.plan) return kNever;
    std::lock_guard lock(s.mutex);
    int64_t next = kNever;
    for (auto& job : s.jobs)
        if (job->deterministic && !job->overdue) next = std::min(next, job->dueMicros);
    return next;
}

void CCBackgroundWork::waitForAll() {
    State& s = state();
    if (!NSRunLoop::isMainThread()) {
        std::unique_lock lock(s.mutex);
        s.changed.wait(lock, [&] { return s.jobs.empty(); });
        return;
    }
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(s.mutex);
            if (s.jobs.empty()) return;
            // The earliest started first, so results keep their order.
            Job* first = s.jobs.front().get();
            s.changed.wait(lock, [first] { return first->finished; });
            job = std::move(s.jobs.front());
            s.jobs.pop_front();
        }
        s.changed.notify_all();
        finish(std::move(job));
    }
}

uint64_t CCBackgroundWork::lastStartedId() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.lastId;
}

void CCBackgroundWork::setDeliveryPlan(DeliveryPlan plan) { state().plan = std::move(plan); }
void CCBackgroundWork::setDeliveryObserver(DeliveryObserver observer) { state().observer = std::move(observer); }

void CCBackgroundWork::cancelAll() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    for (auto& job : s.jobs) job->cancelled.store(true);
}

bool CCBackgroundWork::isCancelled() { return currentJob && currentJob->cancelled.load(); }

std::size_t CCBackgroundWork::pendingCount() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.jobs.size();
}

void ccWaitForBackgroundWork() { CCBackgroundWork::waitForAll(); }
void ccCancelBackgroundWork() { CCBackgroundWork::cancelAll(); }
bool ccIsBackgroundWorkCancelled() { return CCBackgroundWork::isCancelled(); }
