#include "UITouchRouter.h"

#include <cmath>

#include "NSSet.h"
#include "UIView.h"

UITouchRouter::UITouchRouter(HitTest hitTest) : hitTest_(std::move(hitTest)) {}
UITouchRouter::~UITouchRouter() = default;

void UITouchRouter::clear() { touches_.clear(); }

void UITouchRouter::deliver(UIView* view, UITouch* touch, UITouchPhase phase, double timestamp) {
    NSSet* set = NSSet::setWithObject(touch);
    UIEvent* event = UIEvent::eventWithTimestamp(timestamp);
    CCPtr<UIView> keep(view);
    switch (phase) {
    case UITouchPhaseBegan: view->touchesBegan(set, event); break;
    case UITouchPhaseMoved:
    case UITouchPhaseStationary: view->touchesMoved(set, event); break;
    case UITouchPhaseEnded: view->touchesEnded(set, event); break;
    case UITouchPhaseCancelled: view->touchesCancelled(set, event); break;
    }
}

void UITouchRouter::sendTouch(long finger, UITouchPhase phase, CGPoint windowPoint, double timestamp) {
    if (!std::isfinite(windowPoint.x) || !std::isfinite(windowPoint.y)) return;
    auto found = touches_.find(finger);
    if (phase == UITouchPhaseBegan) {
        if (found != touches_.end()) return;
        UIView* target = hitTest_ ? hitTest_(windowPoint) : nullptr;
        // A view that takes one finger at a time ignores the others.
        if (target && !target->isMultipleTouchEnabled())
            for (auto& [id, f] : touches_)
                if (f.view.get() == target) target = nullptr;
        Finger f;
        f.view = target;
        if (target) f.touch = UITouch::touchInView(target, target->convertPointFromView(windowPoint, nullptr), timestamp);
        auto it = touches_.emplace(finger, std::move(f)).first;
        if (it->second.view) deliver(it->second.view, it->second.touch, UITouchPhaseBegan, timestamp);
        return;
    }
    if (found == touches_.end()) return;
    // A copy: the view's handler may send more touches or cancel them all.
    Finger f = found->second;
    if (phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled) touches_.erase(found);
    if (!f.view) return;
    f.touch->moveTo(f.view->convertPointFromView(windowPoint, nullptr), timestamp, phase);
    deliver(f.view, f.touch, phase, timestamp);
}

void UITouchRouter::cancelAllTouches(double timestamp) {
    std::map<long, Finger> fingers;
    fingers.swap(touches_);
    for (auto& [id, f] : fingers) {
        if (!f.view) continue;
        f.touch->setPhase(UITouchPhaseCancelled);
        deliver(f.view, f.touch, UITouchPhaseCancelled, timestamp);
    }
}

void UITouchRouter::forgetTouchesIn(UIView* view) {
    for (auto f = touches_.begin(); f != touches_.end();)
        if (f->second.view && f->second.view->isDescendantOfView(view)) f = touches_.erase(f);
        else ++f;
}
