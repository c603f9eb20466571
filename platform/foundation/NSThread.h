#pragma once
// A thread of execution. Detached threads run a function with their own autorelease pool;
// cancelling only sets a flag that the function is expected to check.
//
// The object belongs to the thread that made it. What both sides read (started, cancelled,
// finished) is shared state of its own, held by the object and by the running thread, so
// either may end first; on the running thread currentThread() is a second object of that
// thread's own over the same state.
#include <atomic>
#include <functional>
#include <memory>

#include "CCObject.h"

class NSThread : public CCObject {
public:
    // Starts a thread running `body`; returns it (autoreleased).
    static NSThread* detachNewThread(std::function<void()> body);

    // The calling thread's object (the main thread has one too).
    static NSThread* currentThread();
    static NSThread* mainThread();
    static bool isMainThread();
    static void sleepForTimeInterval(double seconds);

    NSThread();

    void cancel() { state_->cancelled.store(true); }
    bool isCancelled() const { return state_->cancelled.load(); }
    bool isFinished() const { return state_->finished.load(); }
    bool isExecuting() const { return state_->started.load() && !state_->finished.load(); }
    bool isMain() const { return isMain_; }

    struct State {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> started{false};
        std::atomic<bool> finished{false};
    };

private:
    std::shared_ptr<State> state_;
    bool isMain_ = false;
};
