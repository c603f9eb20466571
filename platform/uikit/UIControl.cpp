#include "UIControl.h"

#include <algorithm>

#include "NSSet.h"
#include "UITouch.h"

void UIControl::addTarget(CCObject* target, SEL_CONTROL_ACTION action, unsigned controlEvents) {
    if (!action || !controlEvents) return;
    for (auto& t : targets_)
        if (t.target == target && t.action == action) {
            t.events |= controlEvents;
            return;
        }
    targets_.push_back({target, action, controlEvents});
}

void UIControl::removeTarget(CCObject* target, SEL_CONTROL_ACTION action, unsigned controlEvents) {
    for (auto& t : targets_)
        if ((!target || t.target == target) && (!action || t.action == action)) t.events &= ~controlEvents;
    targets_.erase(std::remove_if(targets_.begin(), targets_.end(), [](const Target& t) { return t.events == 0; }),
                   targets_.end());
}

void UIControl::sendActionsForControlEvents(unsigned controlEvents) {
    // An action may remove targets or the control itself from the screen.
    CCPtr<UIControl> keep(this);
    std::vector<Target> snapshot = targets_;
    for (auto& t : snapshot)
        if ((t.events & controlEvents) && t.target) t.action(t.target, this);
}

void UIControl::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!enabled) {
        tracking_ = false;
        setHighlighted(false);
    }
    setNeedsDisplay();
}

void UIControl::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void UIControl::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    setNeedsDisplay();
}

unsigned UIControl::state() const {
    unsigned s = UIControlStateNormal;
    if (highlighted_) s |= UIControlStateHighlighted;
    if (!enabled_) s |= UIControlStateDisabled;
    if (selected_) s |= UIControlStateSelected;
    return s;
}

bool UIControl::touchIsInside(NSSet* touches) const {
    auto* touch = touches ? static_cast<UITouch*>(touches->anyObject()) : nullptr;
    return touch && pointInside(touch->locationInView(this));
}

void UIControl::touchesBegan(NSSet* touches, UIEvent*) {
    if (!enabled_) return;
    tracking_ = true;
    touchInside_ = true;
    setHighlighted(true);
    (void)touches;
    sendActionsForControlEvents(UIControlEventTouchDown);
}

void UIControl::touchesMoved(NSSet* touches, UIEvent*) {
    if (!tracking_) return;
    bool inside = touchIsInside(touches);
    bool was = touchInside_;
    touchInside_ = inside;
    setHighlighted(inside);
    unsigned events = inside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside;
    if (inside && !was) events |= UIControlEventTouchDragEnter;
    if (!inside && was) events |= UIControlEventTouchDragExit;
    sendActionsForControlEvents(events);
}

void UIControl::touchesEnded(NSSet* touches, UIEvent*) {
    if (!tracking_) return;
    tracking_ = false;
    bool inside = touchIsInside(touches);
    touchInside_ = false;
    setHighlighted(false);
    sendActionsForControlEvents(inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
}

void UIControl::touchesCancelled(NSSet*, UIEvent*) {
    if (!tracking_) return;
    tracking_ = false;
    touchInside_ = false;
    setHighlighted(false);
    sendActionsForControlEvents(UIControlEventTouchCancel);
}
