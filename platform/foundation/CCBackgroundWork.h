#pragma once
// Work that runs off the main thread and comes back to it. A piece of work runs on its own
// worker thread and produces plain data (decoded pixels, response bytes, parsed values); the
// result is handed to `deliver` on the main run loop, where engine objects may be made from
// it. Workers never touch engine objects: `work` and `deliver` and everything they capture
// are destroyed on the main thread.
//
// When a result enters the main run loop:
// - real time: at the first main run-loop pass after the worker finished;
// - deterministic clock: at the first pass whose clock is at least the start time plus
//   kDeterministicDelayMicros, whatever the worker's real duration. The loop blocks before
//   that pass until the worker has finished (up to kDeterministicWaitSeconds of real time,
//   logging when that is passed), so a seeded run does not depend on thread timing.
// - a delivery plan (the replay of a recorded run): at the first pass at which the plan admits
//   the work's number, whatever the clock, waiting for the worker as above; work the plan
//   never admits is not delivered.
// Results due at the same pass are delivered in the order their work was started.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class CCBackgroundWork {
public:
    // Simulated time from start to delivery in deterministic runs.
    static constexpr int64_t kDeterministicDelayMicros = 500000;
    // Real time a deterministic pass waits for an unfinished worker before going on without it.
    static constexpr double kDeterministicWaitSeconds = 30.0;

    // Starts `run` on a worker; `deliver` runs on the main run loop once `run` has returned
    // (not when it threw or the work was cancelled). Both are kept and destroyed on the
    // calling side. Returns the work's number (1, 2, ...).
    static uint64_t start(std::function<void()> run, std::function<void()> deliver);

    // Delivers what is due at the main run loop's current pass; the main run loop calls it.
    // True when something was delivered.
    static bool deliverDue(int64_t nowMicros);
    // Deterministic runs: the earliest time a result is due, or INT64_MAX with none pending.
    static int64_t nextDueMicros();

    // Blocks until every piece started has finished and been delivered or dropped. On the
    // main thread it delivers finished results itself (in start order, at once, whatever
    // the clock); elsewhere it waits for the main run loop to do so.
    static void waitForAll();
    // Asks every running piece to stop (see isCancelled) and drops their results.
    static void cancelAll();
    // Inside `run`: whether the work was cancelled; long work should poll it and return early.
    static bool isCancelled();
    // Pieces started and not yet delivered or dropped.
    static std::size_t pendingCount();
    // The number of the last piece started (0 before any).
    static uint64_t lastStartedId();

    // Main thread only. The plan decides when results enter the main run loop (see above);
    // nullptr: the clock decides again.
    using DeliveryPlan = std::function<bool(uint64_t id)>;
    static void setDeliveryPlan(DeliveryPlan plan);
    // Sees the number of every result just before it is delivered (a recording of the run).
    using DeliveryObserver = std::function<void(uint64_t id)>;
    static void setDeliveryObserver(DeliveryObserver observer);
};

// Runs `work` on a worker thread and hands its result to `deliver` on the main run loop.
template <class T> void ccPerformInBackground(std::function<T()> work, std::function<void(T)> deliver) {
    auto result = std::make_shared<std::optional<T>>();
    auto body = std::make_shared<std::function<T()>>(std::move(work));
    CCBackgroundWork::start([result, body] { result->emplace((*body)()); },
                            [result, body, deliver = std::move(deliver)] {
                                if (*result && deliver) deliver(std::move(**result));
                            });
}

// Blocks until every started piece of background work has finished and been delivered or dropped (exit, tests).
void ccWaitForBackgroundWork();
// Cancels every piece of background work still running; their results are dropped.
void ccCancelBackgroundWork();
// True inside background work that has been cancelled.
bool ccIsBackgroundWorkCancelled();
