#pragma once
// One selector timer: calls a target's one-argument method once at least `interval`
// seconds have accumulated, passing the whole accumulated time.
#include <string>

#include "CCObject.h"
#include "CCSelector.h"
#include "CCTimerClock.h"
#include "ccTypes.h"

class CCTimer : public CCObject {
public:
    static CCTimer* timerWithTarget(CCObject* target, SEL_SCHEDULE selector);
    static CCTimer* timerWithTarget(CCObject* target, SEL_SCHEDULE selector, ccTime interval);

    // A timer needs a target and a selector: plain init is refused.
    bool init();
    bool initWithTarget(CCObject* target, SEL_SCHEDULE selector);
    bool initWithTarget(CCObject* target, SEL_SCHEDULE selector, ccTime interval);

    void update(ccTime dt) override;

    ccTime interval() const { return clock_.interval; }
    void setInterval(ccTime seconds) { clock_.interval = seconds; }
    // Seconds accumulated since the last call; -1 before the first tick.
    ccTime elapsed() const { return clock_.elapsed; }
    CCObject* target() const { return target_; }
    SEL_SCHEDULE selector() const { return selector_; }

    std::string description() const override;

private:
    // Not retained: the scheduler's per-target entry keeps the target alive.
    CCObject* target_ = nullptr;
    SEL_SCHEDULE selector_;
    // The method called, taken from the selector once at creation.
    SEL_SCHEDULE::Method impMethod_ = nullptr;
    CCTimerClock clock_;
};
