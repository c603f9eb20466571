#include "CCTimer.h"

#include "CCAssert.h"

CCTimer* CCTimer::timerWithTarget(CCObject* target, SEL_SCHEDULE selector) {
    return ccCreate<CCTimer>([&](CCTimer* t) { return t->initWithTarget(target, selector); });
}

CCTimer* CCTimer::timerWithTarget(CCObject* target, SEL_SCHEDULE selector, ccTime seconds) {
    return ccCreate<CCTimer>([&](CCTimer* t) { return t->initWithTarget(target, selector, seconds); });
}

bool CCTimer::init() {
    CCAssert(false, "CCTimer: Init not supported.");
    return false;
}

bool CCTimer::initWithTarget(CCObject* t, SEL_SCHEDULE sel) { return initWithTarget(t, sel, 0); }

bool CCTimer::initWithTarget(CCObject* t, SEL_SCHEDULE sel, ccTime seconds) {
    CCAssert(t != nullptr, "Argument target must be non-nil");
    CCAssert(bool(sel), "Argument selector must be non-nil");
    target_ = t;
    selector_ = sel;
    impMethod_ = sel.method;
    clock_ = CCTimerClock{-1, seconds};
    return true;
}

void CCTimer::update(ccTime dt) {
    if (clock_.advance(dt)) {
        (target_->*impMethod_)(clock_.elapsed);
        clock_.reset();
    }
}

std::string CCTimer::description() const {
    return "<" + className() + " = " + ccAddressString(this) + " | target:" + (target_ ? target_->className() : "(null)") +
           " selector:(" + selector_.name + ")>";
}
