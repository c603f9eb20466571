#pragma once
// A timer on a run loop. Like the platform's, it retains its target (and user info) until
// it is invalidated; a non-repeating timer invalidates itself after firing.
#include "CCSelector.h"
#include "NSRunLoop.h"

class NSTimer : public NSRunLoopTimedSource {
public:
    using Selector = CCSelector<void(NSTimer*)>;

    // A timer added to the current run loop, first firing `interval` seconds from now.
    static NSTimer* scheduledTimerWithTimeInterval(double interval, CCObject* target, Selector selector,
                                                   CCObject* userInfo, bool repeats);
    // The same, not yet added to a run loop.
    static NSTimer* timerWithTimeInterval(double interval, CCObject* target, Selector selector, CCObject* userInfo,
                                          bool repeats);
    bool initWithTimeInterval(double interval, CCObject* target, Selector selector, CCObject* userInfo,
                              bool repeats);

    // Stops the timer for good and lets go of its target and user info.
    void invalidate();
    // Sends the message now; a non-repeating timer is then invalidated.
    void fire();

    bool isValid() const override { return valid_; }
    double timeInterval() const { return interval_; }
    CCObject* userInfo() const { return userInfo_; }
    // Run-loop seconds of the next firing.
    double fireDate() const { return static_cast<double>(fireMicros_) * 1e-6; }

    int64_t nextFireMicros() const override { return fireMicros_; }
    void fireAt(int64_t now) override;

private:
    double interval_ = 0;
    int64_t intervalMicros_ = 0;
    int64_t fireMicros_ = 0;
    CCPtr<CCObject> target_;
    Selector selector_;
    CCPtr<CCObject> userInfo_;
    bool repeats_ = false;
    bool valid_ = false;
};
