#pragma once
// A timer synchronised with the display refresh (every 1/60 s of the frame clock). It fires
// every frameInterval-th refresh and retains its target until invalidated.
#include "CCClock.h"
#include "CCSelector.h"
#include "NSRunLoop.h"

class CADisplayLink : public NSRunLoopTimedSource {
public:
    using Selector = CCSelector<void()>;

    static CADisplayLink* displayLinkWithTarget(CCObject* target, Selector selector);
    bool initWithTarget(CCObject* target, Selector selector);

    // Refreshes per firing; values below 1 are ignored.
    int frameInterval() const { return frameInterval_; }
    void setFrameInterval(int interval);

    // Starts firing from the next display refresh.
    void addToRunLoop(NSRunLoop* runLoop);
    void invalidate();
    bool isValid() const override { return valid_; }

    // Run-loop seconds of the refresh that last fired the link; the refresh period.
    double timestamp() const { return static_cast<double>(lastMicros_) * 1e-6; }
    double duration() const { return static_cast<double>(CCClock::kRefreshPeriodMicros) * 1e-6; }

    int64_t nextFireMicros() const override { return nextMicros_; }
    void fireAt(int64_t now) override;

private:
    CCPtr<CCObject> target_;
    Selector selector_;
    int frameInterval_ = 1;
    int64_t nextMicros_ = 0;
    int64_t lastMicros_ = 0;
    bool valid_ = false;
    bool added_ = false;
};
