#include "UITouch.h"

#include "UIView.h"

UITouch* UITouch::touchInView(UIView* view, CGPoint location, double timestamp) {
    auto* t = new UITouch;
    t->view_ = view;
    t->location_ = t->previous_ = location;
    t->timestamp_ = timestamp;
    return ccAutorelease(t);
}

CGPoint UITouch::convert(CGPoint p, const UIView* view) const {
    if (!view_ || view == view_) return p;
    return view_->convertPointToView(p, view);
}

CGPoint UITouch::locationInView(const UIView* view) const { return convert(location_, view); }
CGPoint UITouch::previousLocationInView(const UIView* view) const { return convert(previous_, view); }

void UITouch::moveTo(CGPoint location, double timestamp, UITouchPhase phase) {
    previous_ = location_;
    location_ = location;
    timestamp_ = timestamp;
    phase_ = phase;
}

UIEvent* UIEvent::eventWithTimestamp(double timestamp) {
    auto* e = new UIEvent;
    e->timestamp_ = timestamp;
    return ccAutorelease(e);
}
