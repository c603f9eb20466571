#pragma once
// A thread's run loop: timers, display links, delayed performs, input event sources and
// (on the main thread) work handed over from other threads. Each pass drains the thread's
// autorelease pool, so autoreleased objects live until the end of the current event.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "CCObject.h"
#include "CCPtr.h"

// Something the run loop fires at a time of the frame clock (timers, display links).
class NSRunLoopTimedSource : public CCObject {
public:
    // Micros of the next firing on CCClock's run-loop time.
    virtual int64_t nextFireMicros() const = 0;
    virtual bool isValid() const = 0;
    // Fires once; `now` is the current run-loop time. Schedules the next firing or invalidates.
    virtual void fireAt(int64_t now) = 0;
};

// A source of input events (the window backend's event queue).
class NSRunLoopInputSource {
public:
    virtual ~NSRunLoopInputSource() = default;
    // Handles what is pending without blocking; true when something was handled.
    virtual bool poll() = 0;
};

class NSRunLoop {
public:
    // The calling thread's run loop (the main thread's is the main run loop).
    static NSRunLoop* currentRunLoop();
    static NSRunLoop* mainRunLoop();
    static bool isMainThread();

    // Keeps the source (retained) until it is invalid.
    void addSource(NSRunLoopTimedSource* source);
    // Input sources are not owned; remove them before they go away.
    void addInputSource(NSRunLoopInputSource* source);
    void removeInputSource(NSRunLoopInputSource* source);

    // Runs `work` on this loop's thread after `delay` seconds of the frame clock.
    void performAfterDelay(double delay, std::function<void()> work);

    // One pass: input, handed-over work, due timers and links, then the pool drain. When none
    // of these had anything to do, waits at most `timeout` seconds for something and handles
    // it. Returns true when something was handled.
    bool runOnce(double timeout);
    // Runs passes until the frame clock reaches `date` (run-loop seconds, CCClock::now()).
    void runUntilDate(double date);
    // Runs passes until stop() is called (from a handler or another thread).
    void run();
    void stop();

    // How many timed sources are scheduled.
    std::size_t sourceCount() const { return sources_.size(); }

private:
    friend void ccPerformOnMainThread(std::function<void()> work, bool waitUntilDone);
    struct Delayed {
        int64_t at;
        std::function<void()> work;
    };
    bool handlePending(int64_t now);
    int64_t nextDate() const;
    void post(std::function<void()> work);

    std::vector<CCPtr<NSRunLoopTimedSource>> sources_;
    std::vector<NSRunLoopInputSource*> inputs_;
    std::vector<Delayed> delayed_;
    std::mutex mutex_; // guards posted_ and stopped_
    std::condition_variable wake_;
    std::vector<std::function<void()>> posted_;
    bool stopped_ = false;
    // Buffers of a pass, kept between passes so that a steady frame allocates nothing. A pass
    // inside a handler (a nested run loop) finds them taken and uses buffers of its own.
    std::vector<std::function<void()>> spareWork_;
    std::vector<std::function<void()>> spareDue_;
    std::vector<CCPtr<NSRunLoopTimedSource>> spareFire_;
};

// Runs `work` on the main thread: at the main run loop's next pass, or at once when called on
// the main thread with `waitUntilDone`. With `waitUntilDone` the caller blocks until it ran.
// Safe to call from any thread.
void ccPerformOnMainThread(std::function<void()> work, bool waitUntilDone);
