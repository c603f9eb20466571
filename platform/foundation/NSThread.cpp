#include "NSThread.h"

#include <thread>

#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCPtr.h"
#include "NSRunLoop.h"

namespace {
// The state of the thread this class started, on that thread.
thread_local std::shared_ptr<NSThread::State> currentState;
} // namespace

NSThread::NSThread() : state_(std::make_shared<State>()) {}

NSThread* NSThread::detachNewThread(std::function<void()> body) {
    auto* thread = new NSThread;
    std::shared_ptr<State> state = thread->state_;
    state->started.store(true);
    std::thread([state, body = std::move(body)]() mutable {
        currentState = state;
        {
            CCAutoreleaseScope pool;
            if (body) body();
            body = nullptr;
        }
        state->finished.store(true);
        CCAutoreleasePool::drain();
    }).detach();
    return ccAutorelease(thread);
}

NSThread* NSThread::mainThread() {
    static NSThread* main = [] {
        auto* t = new NSThread; // lives for the whole process
        t->isMain_ = true;
        t->state_->started.store(true);
        return t;
    }();
    return main;
}

NSThread* NSThread::currentThread() {
    if (isMainThread()) return mainThread();
    // An object of this thread's own, made on it and let go of when it ends; for threads
    // started here it shares the state of the object their starter holds.
    thread_local CCPtr<NSThread> self = CCPtr<NSThread>::adopt([] {
        auto* t = new NSThread;
        if (currentState) t->state_ = currentState;
        t->state_->started.store(true);
        return t;
    }());
    return self.get();
}

bool NSThread::isMainThread() { return NSRunLoop::isMainThread(); }

void NSThread::sleepForTimeInterval(double seconds) { CCClock::sleep(seconds); }
