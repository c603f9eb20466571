#pragma once
// A view that turns touches into control events sent to targets (target–action).
// Targets are not retained. A disabled control ignores touches.
#include <vector>

#include "CCSelector.h"
#include "UIView.h"

enum UIControlEvents : unsigned {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchDownRepeat = 1u << 1,
    UIControlEventTouchDragInside = 1u << 2,
    UIControlEventTouchDragOutside = 1u << 3,
    UIControlEventTouchDragEnter = 1u << 4,
    UIControlEventTouchDragExit = 1u << 5,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventTouchUpOutside = 1u << 7,
    UIControlEventTouchCancel = 1u << 8,
    UIControlEventValueChanged = 1u << 12,
    UIControlEventAllTouchEvents = 0x0FFFu,
    UIControlEventAllEvents = 0xFFFFFFFFu,
};

enum UIControlState : unsigned {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1u << 0,
    UIControlStateDisabled = 1u << 1,
    UIControlStateSelected = 1u << 2,
};

// An action receives the control that sent it.
using SEL_CONTROL_ACTION = CCSelector<void(CCObject*)>;
#define control_selector(M) ::ccSelector<void(CCObject*)>(&M, #M)

class UIControl : public UIView {
public:
    void addTarget(CCObject* target, SEL_CONTROL_ACTION action, unsigned controlEvents);
    // A null target or action matches any.
    void removeTarget(CCObject* target, SEL_CONTROL_ACTION action, unsigned controlEvents);
    void sendActionsForControlEvents(unsigned controlEvents);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    unsigned state() const;
    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return touchInside_; }

    void touchesBegan(NSSet* touches, UIEvent* event) override;
    void touchesMoved(NSSet* touches, UIEvent* event) override;
    void touchesEnded(NSSet* touches, UIEvent* event) override;
    void touchesCancelled(NSSet* touches, UIEvent* event) override;

private:
    struct Target {
        CCObject* target; // not retained
        SEL_CONTROL_ACTION action;
        unsigned events;
    };
    bool touchIsInside(NSSet* touches) const;

    std::vector<Target> targets_;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
};
