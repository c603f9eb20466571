#pragma once
// The two kinds of touch delegate. Delegates are CCObjects as well (handlers retain them);
// these interfaces carry only the callbacks, so one object may be both kinds.
//
// Optional callbacks have empty bodies. Which ones a delegate implements is reported by
// targetedTouchCallbacks() / standardTouchCallbacks(): a bit set of the ccTouchSelector...Bit
// values, all set by default. A delegate that leaves a callback out may clear its bit; the
// dispatcher then never calls it (and, for a standard delegate, skips it for that phase).
class NSSet;
class UITouch;
class UIEvent;

enum {
    ccTouchSelectorBeganBit = 1 << 0,
    ccTouchSelectorMovedBit = 1 << 1,
    ccTouchSelectorEndedBit = 1 << 2,
    ccTouchSelectorCancelledBit = 1 << 3,
    ccTouchSelectorAllBits = ccTouchSelectorBeganBit | ccTouchSelectorMovedBit | ccTouchSelectorEndedBit |
                             ccTouchSelectorCancelledBit,
};

// Sees one touch at a time; claims it by answering YES to ccTouchBegan and then receives
// that touch's later phases.
class CCTargetedTouchDelegate {
public:
    virtual ~CCTargetedTouchDelegate() = default;
    virtual bool ccTouchBegan(UITouch* touch, UIEvent* event) = 0;
    virtual void ccTouchMoved(UITouch* touch, UIEvent* event) { (void)touch, (void)event; }
    virtual void ccTouchEnded(UITouch* touch, UIEvent* event) { (void)touch, (void)event; }
    virtual void ccTouchCancelled(UITouch* touch, UIEvent* event) { (void)touch, (void)event; }
    // The began bit is always reported: ccTouchBegan is required.
    virtual int targetedTouchCallbacks() const { return ccTouchSelectorAllBits; }
};

// Sees the whole set of (unswallowed) touches of each event.
class CCStandardTouchDelegate {
public:
    virtual ~CCStandardTouchDelegate() = default;
    virtual void ccTouchesBegan(NSSet* touches, UIEvent* event) { (void)touches, (void)event; }
    virtual void ccTouchesMoved(NSSet* touches, UIEvent* event) { (void)touches, (void)event; }
    virtual void ccTouchesEnded(NSSet* touches, UIEvent* event) { (void)touches, (void)event; }
    virtual void ccTouchesCancelled(NSSet* touches, UIEvent* event) { (void)touches, (void)event; }
    virtual int standardTouchCallbacks() const { return ccTouchSelectorAllBits; }
};
