#pragma once
// The process-wide router of touch events: the GL view hands it every event and it delivers
// the touches to targeted handlers (one touch at a time, with claiming and swallowing) and
// then to standard handlers (the set of unswallowed touches), each kind in priority order.
// Registrations made from inside a callback take effect when the dispatch ends.
#include <vector>

#include "CCObject.h"
#include "CCPtr.h"
#include "CCTouchHandler.h"
#include "EAGLTouchDelegate.h"

// Touch phases: the index into the per-phase callback table.
enum {
    kCCTouchBegan,
    kCCTouchMoved,
    kCCTouchEnded,
    kCCTouchCancelled,
    kCCTouchMax,
};

struct ccTouchHandlerHelperData {
    void (CCStandardTouchDelegate::*touchesSel)(NSSet*, UIEvent*);
    void (CCTargetedTouchDelegate::*touchSel)(UITouch*, UIEvent*); // nullptr for began (it answers)
    int type;
};

class CCTouchDispatcher : public CCObject, public EAGLTouchDelegate {
public:
    // Created on first use, under a lock.
    static CCTouchDispatcher* sharedDispatcher();

    // Fails with "Attempted to allocate a second instance of a singleton." once the shared
    // dispatcher exists.
    CCTouchDispatcher();
    ~CCTouchDispatcher() override;

    // Throw std::invalid_argument "Delegate already added to touch dispatcher." when the
    // delegate is (or, once the running dispatch ends, would be) registered as that kind already.
    void addTargetedDelegate(CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches);
    void addStandardDelegate(CCStandardTouchDelegate* delegate, int priority);
    // nullptr or an unregistered delegate: nothing happens.
    void removeDelegate(CCObject* delegate);
    void removeAllDelegates();
    // Not supported: fails with "Set priority no implemented yet. Don't forget to report this bug!".
    void setPriority(int priority, CCObject* delegate);

    bool dispatchEvents() const { return dispatchEvents_; }
    void setDispatchEvents(bool dispatch) { dispatchEvents_ = dispatch; }
    // A dispatch is in progress.
    bool locked() const { return lockDepth_ > 0; }

    // Phase kCCTouchBegan … kCCTouchCancelled; anything else fails with "Invalid idx value".
    void touches(NSSet* touches, UIEvent* event, unsigned idx);

    void touchesBegan(NSSet* touches, UIEvent* event) override;
    void touchesMoved(NSSet* touches, UIEvent* event) override;
    void touchesEnded(NSSet* touches, UIEvent* event) override;
    void touchesCancelled(NSSet* touches, UIEvent* event) override;

    const std::vector<CCPtr<CCTargetedTouchHandler>>& targetedHandlers() const { return targetedHandlers_; }
    const std::vector<CCPtr<CCStandardTouchHandler>>& standardHandlers() const { return standardHandlers_; }

private:
    // One trace line per touch that arrives, dispatched or not.
    void traceTouches(NSSet* touches, unsigned idx) const;
    template <class H> void forceAddHandler(H* handler, std::vector<CCPtr<H>>& array);
    void forceRemoveDelegate(CCObject* delegate);
    void dispatch(NSSet* touches, UIEvent* event, unsigned idx);
    // Queued removals, then queued additions, then a queued removal of everything.
    void applyQueuedChanges();
    void forceRemoveAllDelegates();
    // Whether the delegate will be registered in that array once the queues are applied.
    template <class H> bool willBeRegistered(CCObject* delegate, const std::vector<CCPtr<H>>& array) const;
    template <class H> void addHandler(H* handler, std::vector<CCPtr<H>>& array);

    std::vector<CCPtr<CCTargetedTouchHandler>> targetedHandlers_;
    std::vector<CCPtr<CCStandardTouchHandler>> standardHandlers_;
    // Nesting depth of dispatches (a callback may hand the dispatcher another event); the
    // queues are applied when the outermost one ends.
    int lockDepth_ = 0;
    bool toAdd_ = false;
    bool toRemove_ = false;
    bool toQuit_ = false;
    std::vector<CCPtr<CCTouchHandler>> handlersToAdd_;
    std::vector<CCPtr<CCObject>> handlersToRemove_;
    bool dispatchEvents_ = true;
    ccTouchHandlerHelperData handlerHelperData_[kCCTouchMax];
};
