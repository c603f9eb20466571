#include "NSRunLoop.h"

#include <algorithm>
#include <limits>
#include <sys/types.h>
#include <unistd.h>

#include "CCAutoreleasePool.h"
#include "CCBackgroundWork.h"
#include "CCClock.h"

namespace {
constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
} // namespace

bool NSRunLoop::isMainThread() { return gettid() == getpid(); }

NSRunLoop* NSRunLoop::mainRunLoop() {
    static NSRunLoop* loop = new NSRunLoop; // lives for the whole process
    return loop;
}

NSRunLoop* NSRunLoop::currentRunLoop() {
    if (isMainThread()) return mainRunLoop();
    thread_local std::unique_ptr<NSRunLoop> loop(new NSRunLoop);
    return loop.get();
}

void NSRunLoop::addSource(NSRunLoopTimedSource* source) {
    if (!source || !source->isValid()) return;
    for (auto& s : sources_)
        if (s.get() == source) return;
    sources_.emplace_back(source);
}

void NSRunLoop::addInputSource(NSRunLoopInputSource* source) {
    if (source && std::find(inputs_.begin(), inputs_.end(), source) == inputs_.end()) inputs_.push_back(source);
}

void NSRunLoop::removeInputSource(NSRunLoopInputSource* source) {
    inputs_.erase(std::remove(inputs_.begin(), inputs_.end(), source), inputs_.end());
}

void NSRunLoop::performAfterDelay(double delay, std::function<void()> work) {
    delayed_.push_back({CCClock::nowMicros() + std::max<int64_t>(0, CCClock::toMicros(delay)), std::move(work)});
}

void NSRunLoop::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
    }
    wake_.notify_all();
}

int64_t NSRunLoop::nextDate() const {
    int64_t next = kNever;
    for (auto& s : sources_)
        if (s->isValid()) next = std::min(next, s->nextFireMicros());
    for (auto& d : delayed_) next = std::min(next, d.at);
    // Background results fall due at fixed times of the deterministic clock.
    if (this == mainRunLoop()) next = std::min(next, CCBackgroundWork::nextDueMicros());
    return next;
}

bool NSRunLoop::handlePending(int64_t now) {
    bool handled = false;
    // Input first: touches arrive between frames.
    for (std::size_t i = 0; i < inputs_.size(); ++i) handled |= inputs_[i]->poll();

    std::vector<std::function<void()>> work = std::move(spareWork_);
    {
        std::lock_guard lock(mutex_);
        work.swap(posted_);
    }
    for (auto& w : work) {
        w();
        handled = true;
    }
    work.clear();
    spareWork_ = std::move(work);
    if (this == mainRunLoop()) handled |= CCBackgroundWork::deliverDue(now);

    // Delayed performs that are due, in the order they were asked for; they may add more.
    std::vector<std::function<void()>> due = std::move(spareDue_);
    for (auto it = delayed_.begin(); it != delayed_.end();) {
        if (it->at <= now) {
            due.push_back(std::move(it->work));
            it = delayed_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& w : due) {
        w();
        handled = true;
    }
    due.clear();
    spareDue_ = std::move(due);

    // Timers and links that are due, earliest first (in the order they were added among equals),
    // each once per pass. A handler may invalidate a later one, which then does not fire.
    std::vector<CCPtr<NSRunLoopTimedSource>> fire = std::move(spareFire_);
    if (fire.capacity() == 0) fire.reserve(8); // room for the usual few at once, from the first pass
    for (auto& s : sources_) {
        if (!s->isValid() || s->nextFireMicros() > now) continue;
        // Sorted as they are taken: few are due at once, and this needs no buffer.
        const int64_t at = s->nextFireMicros();
        auto place = fire.end();
        while (place != fire.begin() && (*(place - 1))->nextFireMicros() > at) --place;
        fire.insert(place, s);
    }
    for (auto& s : fire) {
        if (!s->isValid()) continue;
        s->fireAt(now);
        handled = true;
    }
    fire.clear();
    spareFire_ = std::move(fire);
    sources_.erase(std::remove_if(sources_.begin(), sources_.end(), [](const auto& s) { return !s->isValid(); }),
                   sources_.end());
    return handled;
}

bool NSRunLoop::runOnce(double timeout) {
    bool handled = handlePending(CCClock::nowMicros());
    if (!handled && timeout > 0) {
        int64_t now = CCClock::nowMicros();
        int64_t limit = now + std::max<int64_t>(1, CCClock::toMicros(timeout));
        int64_t next = nextDate();
        if (CCClock::isDeterministic()) {
            // Simulated time: never sleep nor wait for other threads (that would make a run
            // depend on their timing); jump to the next due time (or the limit) and handle
            // what is due there.
            if (CCClock::nowMicros() == now) CCClock::setSimulatedMicros(std::min(next, limit));
        } else {
            // Asleep until the next timer or display refresh is due; input sources are polled
            // again at the latest one refresh period later.
            int64_t until = std::min(next, limit);
            if (!inputs_.empty()) until = std::min(until, now + CCClock::kRefreshPeriodMicros);
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, std::chrono::microseconds(std::max<int64_t>(0, until - now)),
                           [this] { return !posted_.empty() || stopped_; });
        }
        handled = handlePending(CCClock::nowMicros());
    }
    CCAutoreleasePool::drain();
    return handled;
}

void NSRunLoop::runUntilDate(double date) {
    {
        std::lock_guard lock(mutex_);
        stopped_ = false;
    }
    int64_t until = CCClock::toMicros(date);
    for (;;) {
        int64_t now = CCClock::nowMicros();
        if (now >= until) break;
        runOnce(static_cast<double>(until - now) * 1e-6);
        std::lock_guard lock(mutex_);
        if (stopped_) break;
    }
}

void NSRunLoop::run() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = false;
    }
    for (;;) {
        runOnce(1.0);
        std::lock_guard lock(mutex_);
        if (stopped_) break;
    }
}

void NSRunLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

void ccPerformOnMainThread(std::function<void()> work, bool waitUntilDone) {
    NSRunLoop* main = NSRunLoop::mainRunLoop();
    if (!waitUntilDone) {
        main->post(std::move(work));
        return;
    }
    if (NSRunLoop::isMainThread()) {
        work();
        return;
    }
    struct Done {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
    };
    auto state = std::make_shared<Done>();
    main->post([state, work = std::move(work)] {
        work();
        {
            std::lock_guard lock(state->m);
            state->done = true;
        }
        state->cv.notify_all();
    });
    std::unique_lock lock(state->m);
    state->cv.wait(lock, [&] { return state->done; });
}
