#include "CCTouchDispatcher.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>

#include "CCAssert.h"
#include "CCTrace.h"
#include "NSSet.h"
#include "UITouch.h"
#include "ccMacros.h"

namespace {
CCTouchDispatcher* sharedDispatcher_ = nullptr;
std::mutex sharedDispatcherLock_;
} // namespace

CCTouchDispatcher* CCTouchDispatcher::sharedDispatcher() {
    std::lock_guard<std::mutex> guard(sharedDispatcherLock_);
    if (!sharedDispatcher_) sharedDispatcher_ = new CCTouchDispatcher;
    return sharedDispatcher_;
}

CCTouchDispatcher::CCTouchDispatcher() {
    CCAssertSingleton(sharedDispatcher_);
    targetedHandlers_.reserve(8);
    standardHandlers_.reserve(4);
    handlersToAdd_.reserve(8);
    handlersToRemove_.reserve(8);
    handlerHelperData_[kCCTouchBegan] = {&CCStandardTouchDelegate::ccTouchesBegan, nullptr, ccTouchSelectorBeganBit};
    handlerHelperData_[kCCTouchMoved] = {&CCStandardTouchDelegate::ccTouchesMoved,
                                         &CCTargetedTouchDelegate::ccTouchMoved, ccTouchSelectorMovedBit};
    handlerHelperData_[kCCTouchEnded] = {&CCStandardTouchDelegate::ccTouchesEnded,
                                         &CCTargetedTouchDelegate::ccTouchEnded, ccTouchSelectorEndedBit};
    handlerHelperData_[kCCTouchCancelled] = {&CCStandardTouchDelegate::ccTouchesCancelled,
                                             &CCTargetedTouchDelegate::ccTouchCancelled, ccTouchSelectorCancelledBit};
}

CCTouchDispatcher::~CCTouchDispatcher() {
    if (sharedDispatcher_ == this) sharedDispatcher_ = nullptr;
}

// Sorted by ascending priority; a new handler goes before existing ones of equal priority.
template <class H> void CCTouchDispatcher::forceAddHandler(H* handler, std::vector<CCPtr<H>>& array) {
    std::size_t index = 0;
    for (const CCPtr<H>& h : array) {
        if (h->priority() < handler->priority()) ++index;
        if (h->delegate() == handler->delegate())
            throw std::invalid_argument("Delegate already added to touch dispatcher.");
    }
    array.insert(array.begin() + static_cast<std::ptrdiff_t>(index), CCPtr<H>(handler));
}

template <class H>
bool CCTouchDispatcher::willBeRegistered(CCObject* delegate, const std::vector<CCPtr<H>>& array) const {
    bool present = std::any_of(array.begin(), array.end(), [&](const CCPtr<H>& h) { return h->delegate() == delegate; });
    if (present && std::any_of(handlersToRemove_.begin(), handlersToRemove_.end(),
                               [&](const CCPtr<CCObject>& d) { return d.get() == delegate; }))
        present = false;
    for (const CCPtr<CCTouchHandler>& queued : handlersToAdd_)
        if (queued->delegate() == delegate && dynamic_cast<H*>(queued.get())) present = true;
    return present;
}

template <class H> void CCTouchDispatcher::addHandler(H* handler, std::vector<CCPtr<H>>& array) {
    if (!locked()) {
        forceAddHandler(handler, array);
        return;
    }
    // Report a double registration to the caller now rather than out of the dispatch later.
    if (willBeRegistered(handler->delegate(), array))
        throw std::invalid_argument("Delegate already added to touch dispatcher.");
    handlersToAdd_.emplace_back(handler);
    toAdd_ = true;
}

void CCTouchDispatcher::addTargetedDelegate(CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches) {
    // Owned rather than autoreleased: a rejected or removed handler lets go of its delegate at once.
    auto handler = CCPtr<CCTargetedTouchHandler>::adopt(ccNew<CCTargetedTouchHandler>(
        [&](CCTargetedTouchHandler* h) { return h->initWithDelegate(delegate, priority, swallowsTouches); }));
    addHandler(handler.get(), targetedHandlers_);
}

void CCTouchDispatcher::addStandardDelegate(CCStandardTouchDelegate* delegate, int priority) {
    auto handler = CCPtr<CCStandardTouchHandler>::adopt(ccNew<CCStandardTouchHandler>(
        [&](CCStandardTouchHandler* h) { return h->initWithDelegate(delegate, priority); }));
    addHandler(handler.get(), standardHandlers_);
}

void CCTouchDispatcher::forceRemoveDelegate(CCObject* delegate) {
    auto t = std::find_if(targetedHandlers_.begin(), targetedHandlers_.end(),
                          [&](const CCPtr<CCTargetedTouchHandler>& h) { return h->delegate() == delegate; });
    // Each handler is let go of only after the array is consistent again: releasing it may
    // release the delegate, whose destructor may call back into the dispatcher.
    CCPtr<CCTargetedTouchHandler> targeted;
    if (t != targetedHandlers_.end()) {
        targeted = std::move(*t);
        targetedHandlers_.erase(t);
    }
    auto s = std::find_if(standardHandlers_.begin(), standardHandlers_.end(),
                          [&](const CCPtr<CCStandardTouchHandler>& h) { return h->delegate() == delegate; });
    CCPtr<CCStandardTouchHandler> standard;
    if (s != standardHandlers_.end()) {
        standard = std::move(*s);
        standardHandlers_.erase(s);
    }
}

void CCTouchDispatcher::removeDelegate(CCObject* delegate) {
    if (!delegate) return;
    if (!locked()) {
        forceRemoveDelegate(delegate);
        return;
    }
    // A registration queued earlier in this dispatch is withdrawn too: queued removals are
    // applied before queued additions, which would otherwise bring the delegate back.
    std::erase_if(handlersToAdd_, [&](const CCPtr<CCTouchHandler>& h) { return h->delegate() == delegate; });
    toAdd_ = !handlersToAdd_.empty();
    handlersToRemove_.emplace_back(delegate);
    toRemove_ = true;
}

void CCTouchDispatcher::forceRemoveAllDelegates() {
    // Moved out first: releasing a delegate may run code that calls back into the dispatcher.
    auto standard = std::move(standardHandlers_);
    standardHandlers_.clear();
    standard.clear();
    auto targeted = std::move(targetedHandlers_);
    targetedHandlers_.clear();
    targeted.clear();
}

void CCTouchDispatcher::removeAllDelegates() {
    if (!locked())
        forceRemoveAllDelegates();
    else
        toQuit_ = true;
}

void CCTouchDispatcher::setPriority(int priority, CCObject* delegate) {
    (void)priority, (void)delegate;
    CCAssert(false, "Set priority no implemented yet. Don't forget to report this bug!");
}

void CCTouchDispatcher::touches(NSSet* touches, UIEvent* event, unsigned idx) {
    CCAssert(idx < kCCTouchMax, "Invalid idx value");
    if (!touches) return;

    // Kept alive for the whole dispatch, whatever the callbacks release.
    CCPtr<NSSet> keepTouches(touches);
    CCPtr<UIEvent> keepEvent(event);
    ++lockDepth_;
    try {
        dispatch(touches, event, idx);
    } catch (...) {
        // A callback that throws must not leave the dispatcher locked for good.
        if (--lockDepth_ == 0) applyQueuedChanges();
        throw;
    }
    if (--lockDepth_ == 0) applyQueuedChanges();
}

void CCTouchDispatcher::dispatch(NSSet* touches, UIEvent* event, unsigned idx) {
    const std::vector<CCObject*> allTouches(touches->begin(), touches->end());
    const bool needsMutableSet = !targetedHandlers_.empty() && !standardHandlers_.empty();
    CCPtr<NSSet> mutableTouches = needsMutableSet ? CCPtr<NSSet>::adopt(touches->mutableCopy()) : CCPtr<NSSet>(touches);
    const ccTouchHandlerHelperData& helper = handlerHelperData_[idx];

    if (!targetedHandlers_.empty()) {
        for (CCObject* object : allTouches) {
            auto* touch = static_cast<UITouch*>(object);
            for (const CCPtr<CCTargetedTouchHandler>& handler : targetedHandlers_) {
                bool claimed = false;
                if (idx == kCCTouchBegan) {
                    claimed = handler->targetedDelegate()->ccTouchBegan(touch, event);
                    if (claimed) handler->claimedTouches()->addObject(touch);
                } else if (handler->claimedTouches()->containsObject(touch)) {
                    claimed = true;
                    if (handler->enabledSelectors() & helper.type) (handler->targetedDelegate()->*helper.touchSel)(touch, event);
                    if (helper.type & (ccTouchSelectorCancelledBit | ccTouchSelectorEndedBit))
                        handler->claimedTouches()->removeObject(touch);
                }
                if (claimed && handler->swallowsTouches()) {
                    if (needsMutableSet) mutableTouches->removeObject(touch);
                    break;
                }
            }
        }
    }

    if (!standardHandlers_.empty() && mutableTouches->count() > 0) {
        for (const CCPtr<CCStandardTouchHandler>& handler : standardHandlers_) {
            if (handler->enabledSelectors() & helper.type)
                (handler->standardDelegate()->*helper.touchesSel)(mutableTouches.get(), event);
        }
    }
}

void CCTouchDispatcher::applyQueuedChanges() {
    if (toRemove_) {
        toRemove_ = false;
        auto queued = std::move(handlersToRemove_);
        handlersToRemove_.clear();
        for (const CCPtr<CCObject>& delegate : queued) forceRemoveDelegate(delegate.get());
    }
    if (toAdd_) {
        toAdd_ = false;
        auto queued = std::move(handlersToAdd_);
        handlersToAdd_.clear();
        for (const CCPtr<CCTouchHandler>& handler : queued) {
            if (auto* targeted = dynamic_cast<CCTargetedTouchHandler*>(handler.get()))
                forceAddHandler(targeted, targetedHandlers_);
            else
                forceAddHandler(static_cast<CCStandardTouchHandler*>(handler.get()), standardHandlers_);
        }
    }
    if (toQuit_) {
        toQuit_ = false;
        forceRemoveAllDelegates();
    }
}

void CCTouchDispatcher::traceTouches(NSSet* touches, unsigned idx) const {
    if (!touches || !CCTrace::isOpen()) return;
    static const char* const phases[] = {"began", "moved", "ended", "cancelled"};
    for (CCObject* object : *touches) {
        auto* touch = static_cast<UITouch*>(object);
        CCTrace::event("touch", {{"phase", phases[idx]},
                                 {"dispatched", dispatchEvents_},
                                 {"view", touch->locationInView(touch->view())}});
    }
}

void CCTouchDispatcher::touchesBegan(NSSet* touches, UIEvent* event) {
    traceTouches(touches, kCCTouchBegan);
    if (dispatchEvents_) this->touches(touches, event, kCCTouchBegan);
}

void CCTouchDispatcher::touchesMoved(NSSet* touches, UIEvent* event) {
    traceTouches(touches, kCCTouchMoved);
    if (dispatchEvents_) this->touches(touches, event, kCCTouchMoved);
}

void CCTouchDispatcher::touchesEnded(NSSet* touches, UIEvent* event) {
    traceTouches(touches, kCCTouchEnded);
    if (dispatchEvents_) this->touches(touches, event, kCCTouchEnded);
}

void CCTouchDispatcher::touchesCancelled(NSSet* touches, UIEvent* event) {
    traceTouches(touches, kCCTouchCancelled);
    if (dispatchEvents_) this->touches(touches, event, kCCTouchCancelled);
}
