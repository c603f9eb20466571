#include "CADisplayLink.h"

CADisplayLink* CADisplayLink::displayLinkWithTarget(CCObject* target, Selector selector) {
    return ccCreate<CADisplayLink>([&](CADisplayLink* l) { return l->initWithTarget(target, selector); });
}

bool CADisplayLink::initWithTarget(CCObject* target, Selector selector) {
    if (!target || !selector) return false;
    target_ = target;
    selector_ = selector;
    valid_ = true;
    return true;
}

void CADisplayLink::setFrameInterval(int interval) {
    if (interval >= 1) frameInterval_ = interval;
}

void CADisplayLink::addToRunLoop(NSRunLoop* runLoop) {
    if (!valid_ || added_ || !runLoop) return;
    added_ = true;
    // Refreshes happen on a fixed grid of the run-loop clock; the first one after now fires.
    const int64_t period = CCClock::kRefreshPeriodMicros;
    int64_t now = CCClock::nowMicros();
    int64_t tick = now >= 0 ? now / period : (now - period + 1) / period;
    nextMicros_ = (tick + 1) * period;
    runLoop->addSource(this);
}

void CADisplayLink::invalidate() {
    if (!valid_) return;
    valid_ = false;
    CCPtr<CADisplayLink> self(this);
    target_ = nullptr;
}

void CADisplayLink::fireAt(int64_t now) {
    const int64_t step = CCClock::kRefreshPeriodMicros * frameInterval_;
    lastMicros_ = nextMicros_;
    int64_t next = nextMicros_ + step;
    // Refreshes missed while the main thread was busy are skipped.
    if (next <= now) next += ((now - next) / step + 1) * step;
    nextMicros_ = next;
    CCPtr<CADisplayLink> self(this);
    CCPtr<CCObject> target = target_;
    selector_(target.get());
}
