#include "CCTouchHandler.h"

#include "CCAssert.h"
#include "NSSet.h"

bool CCTouchHandler::initWithDelegate(CCObject* delegate, int priority) {
    CCAssert(delegate != nullptr, "Touch delegate may not be nil");
    delegate_ = delegate;
    priority_ = priority;
    enabledSelectors_ = 0;
    return true;
}

CCObject* ccTouchDelegateObject(CCTargetedTouchDelegate* delegate) {
    if (!delegate) return nullptr;
    auto* object = dynamic_cast<CCObject*>(delegate);
    CCAssert(object != nullptr, "Touch delegate must be a CCObject");
    return object;
}

CCObject* ccTouchDelegateObject(CCStandardTouchDelegate* delegate) {
    if (!delegate) return nullptr;
    auto* object = dynamic_cast<CCObject*>(delegate);
    CCAssert(object != nullptr, "Touch delegate must be a CCObject");
    return object;
}

CCStandardTouchHandler* CCStandardTouchHandler::handlerWithDelegate(CCStandardTouchDelegate* delegate, int priority) {
    return ccCreate<CCStandardTouchHandler>([&](CCStandardTouchHandler* h) { return h->initWithDelegate(delegate, priority); });
}

bool CCStandardTouchHandler::initWithDelegate(CCStandardTouchDelegate* delegate, int priority) {
    if (!CCTouchHandler::initWithDelegate(ccTouchDelegateObject(delegate), priority)) return false;
    standard_ = delegate;
    enabledSelectors_ = delegate->standardTouchCallbacks() & ccTouchSelectorAllBits;
    return true;
}

CCTargetedTouchHandler* CCTargetedTouchHandler::handlerWithDelegate(CCTargetedTouchDelegate* delegate, int priority,
                                                                    bool swallowsTouches) {
    return ccCreate<CCTargetedTouchHandler>(
        [&](CCTargetedTouchHandler* h) { return h->initWithDelegate(delegate, priority, swallowsTouches); });
}

bool CCTargetedTouchHandler::initWithDelegate(CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches) {
    if (!CCTouchHandler::initWithDelegate(ccTouchDelegateObject(delegate), priority)) return false;
    targeted_ = delegate;
    swallowsTouches_ = swallowsTouches;
    claimedTouches_ = CCPtr<NSSet>::adopt(new NSSet);
    enabledSelectors_ = (delegate->targetedTouchCallbacks() & ccTouchSelectorAllBits) | ccTouchSelectorBeganBit;
    return true;
}
