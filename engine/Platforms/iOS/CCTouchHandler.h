#pragma once
// A registration in the touch dispatcher: the delegate (retained), its priority and the bit
// set of callbacks the delegate implements.
#include "CCObject.h"
#include "CCPtr.h"
#include "CCTouchDelegateProtocol.h"

class NSSet;

class CCTouchHandler : public CCObject {
public:
    // Fails with "Touch delegate may not be nil" for a nil delegate.
    bool initWithDelegate(CCObject* delegate, int priority);

    CCObject* delegate() const { return delegate_.get(); }
    void setDelegate(CCObject* delegate) { delegate_ = delegate; }
    int priority() const { return priority_; }
    void setPriority(int priority) { priority_ = priority; }
    int enabledSelectors() const { return enabledSelectors_; }
    void setEnabledSelectors(int selectors) { enabledSelectors_ = selectors; }

protected:
    CCPtr<CCObject> delegate_;
    int priority_ = 0;
    int enabledSelectors_ = 0;
};

// The object behind a delegate interface; fails when the delegate is not a CCObject.
CCObject* ccTouchDelegateObject(CCTargetedTouchDelegate* delegate);
CCObject* ccTouchDelegateObject(CCStandardTouchDelegate* delegate);

class CCStandardTouchHandler : public CCTouchHandler {
public:
    static CCStandardTouchHandler* handlerWithDelegate(CCStandardTouchDelegate* delegate, int priority);
    bool initWithDelegate(CCStandardTouchDelegate* delegate, int priority);

    CCStandardTouchDelegate* standardDelegate() const { return standard_; }

private:
    CCStandardTouchDelegate* standard_ = nullptr; // the same object as delegate_
};

class CCTargetedTouchHandler : public CCTouchHandler {
public:
    static CCTargetedTouchHandler* handlerWithDelegate(CCTargetedTouchDelegate* delegate, int priority,
                                                       bool swallowsTouches);
    bool initWithDelegate(CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches);

    CCTargetedTouchDelegate* targetedDelegate() const { return targeted_; }
    bool swallowsTouches() const { return swallowsTouches_; }
    void setSwallowsTouches(bool swallows) { swallowsTouches_ = swallows; }
    // The touches this handler's delegate claimed and that have not ended yet.
    NSSet* claimedTouches() const { return claimedTouches_.get(); }

private:
    CCTargetedTouchDelegate* targeted_ = nullptr; // the same object as delegate_
    bool swallowsTouches_ = false;
    CCPtr<NSSet> claimedTouches_;
};
