#include "NSThread.h"

#include <thread>

#include "CCAutoreleasePool.h"
#include "CCClock.h"
#include "CCPtr.h"
#include "NSRunLoop.h"

namespace {
thread_local NSThread* current = nullptr; // set for threads this class started
}

NSThread* NSThread::detachNewThread(std::function<void()> body) {
    auto* thread = new NSThread;
    thread->retain(); // the running thread's reference
    thread->started_.store(true);
    std::thread([thread, body = std::move(body)] {
        current = thread;
        {
            CCAutoreleaseScope pool;
            if (body) body();
        }
        current = nullptr;
        thread->finished_.store(true);
        thread->release();
        CCAutoreleasePool::drain();
    }).detach();
    return ccAutorelease(thread);
}

NSThread* NSThread::mainThread() {
    static NSThread* main = [] {
        auto* t = new NSThread; // lives for the whole process
        t->isMain_ = true;
        t->started_.store(true);
        return t;
    }();
    return main;
}

NSThread* NSThread::currentThread() {
    if (isMainThread()) return mainThread();
    if (current) return current;
    // A thread not started here: give it an object that lives as long as the thread.
    thread_local CCPtr<NSThread> other = CCPtr<NSThread>::adopt([] {
        auto* t = new NSThread;
        t->started_.store(true);
        return t;
    }());
    return other.get();
}

bool NSThread::isMainThread() { return NSRunLoop::isMainThread(); }

void NSThread::sleepForTimeInterval(double seconds) { CCClock::sleep(seconds); }
