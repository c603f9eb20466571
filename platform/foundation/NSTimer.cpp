#include "NSTimer.h"

#include <algorithm>

#include "CCClock.h"

NSTimer* NSTimer::timerWithTimeInterval(double interval, CCObject* target, Selector selector, CCObject* userInfo,
                                        bool repeats) {
    return ccCreate<NSTimer>(
        [&](NSTimer* t) { return t->initWithTimeInterval(interval, target, selector, userInfo, repeats); });
}

NSTimer* NSTimer::scheduledTimerWithTimeInterval(double interval, CCObject* target, Selector selector,
                                                 CCObject* userInfo, bool repeats) {
    NSTimer* timer = timerWithTimeInterval(interval, target, selector, userInfo, repeats);
    if (timer) NSRunLoop::currentRunLoop()->addSource(timer);
    return timer;
}

bool NSTimer::initWithTimeInterval(double interval, CCObject* target, Selector selector, CCObject* userInfo,
                                   bool repeats) {
    if (!target || !selector) return false;
    // The platform treats non-positive intervals as 0.1 ms.
    interval_ = interval > 0 ? interval : 0.0001;
    intervalMicros_ = std::max<int64_t>(1, CCClock::toMicros(interval_));
    fireMicros_ = CCClock::nowMicros() + intervalMicros_;
    target_ = target;
    selector_ = selector;
    userInfo_ = userInfo;
    repeats_ = repeats;
    valid_ = true;
    return true;
}

void NSTimer::invalidate() {
    if (!valid_) return;
    valid_ = false;
    // Releasing the target may free this timer's last other owner: keep it alive meanwhile.
    CCPtr<NSTimer> self(this);
    target_ = nullptr;
    userInfo_ = nullptr;
}

void NSTimer::fire() {
    if (!valid_) return;
    CCPtr<NSTimer> self(this);
    CCPtr<CCObject> target = target_;
    selector_(target.get(), this);
    if (!repeats_) invalidate();
}

void NSTimer::fireAt(int64_t now) {
    if (repeats_) {
        // Missed firings are skipped, not queued up.
        int64_t next = fireMicros_ + intervalMicros_;
        if (next <= now) next += ((now - next) / intervalMicros_ + 1) * intervalMicros_;
        fireMicros_ = next;
    }
    fire();
}
