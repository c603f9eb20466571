#pragma once
// A thread of execution. Detached threads run a function with their own autorelease pool;
// cancelling only sets a flag that the function is expected to check.
#include <atomic>
#include <functional>

#include "CCObject.h"

class NSThread : public CCObject {
public:
    // Starts a thread running `body`; returns it (autoreleased). The thread retains itself
    // while it runs.
    static NSThread* detachNewThread(std::function<void()> body);

    // The calling thread's object (the main thread has one too).
    static NSThread* currentThread();
    static NSThread* mainThread();
    static bool isMainThread();
    static void sleepForTimeInterval(double seconds);

    void cancel() { cancelled_.store(true); }
    bool isCancelled() const { return cancelled_.load(); }
    bool isFinished() const { return finished_.load(); }
    bool isExecuting() const { return started_.load() && !finished_.load(); }
    bool isMain() const { return isMain_; }

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> started_{false};
    std::atomic<bool> finished_{false};
    bool isMain_ = false;
};
