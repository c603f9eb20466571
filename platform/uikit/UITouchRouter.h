#pragma once
// Routes fingers to views. A new finger goes to the view the hit test finds under it; its later
// phases go to that same view, in the view's coordinates, even when it has moved off it. A
// finger whose first point found no view (or a view that takes one finger at a time and already
// has one) is swallowed until it lifts.
#include <functional>
#include <map>

#include "CCPtr.h"
#include "CGGeometry.h"
#include "UITouch.h"

class UIView;

class UITouchRouter {
public:
    // The view under a point of the window's coordinates, or nullptr.
    using HitTest = std::function<UIView*(CGPoint windowPoint)>;
    explicit UITouchRouter(HitTest hitTest);
    ~UITouchRouter();
    UITouchRouter(const UITouchRouter&) = delete;
    UITouchRouter& operator=(const UITouchRouter&) = delete;

    // Points that are not finite are dropped; a finger cannot go down twice.
    void sendTouch(long finger, UITouchPhase phase, CGPoint windowPoint, double timestamp);
    // Cancels every finger that is down: each view hears touchesCancelled for its fingers.
    void cancelAllTouches(double timestamp);
    // Forgets, without a message, the fingers on this view or inside it (a view leaving the
    // screen takes its fingers with it).
    void forgetTouchesIn(UIView* view);
    // Forgets every finger without a message (teardown).
    void clear();
    unsigned activeTouchCount() const { return static_cast<unsigned>(touches_.size()); }

private:
    struct Finger {
        CCPtr<UITouch> touch;
        CCPtr<UIView> view; // nullptr: swallowed
    };
    static void deliver(UIView* view, UITouch* touch, UITouchPhase phase, double timestamp);

    HitTest hitTest_;
    std::map<long, Finger> touches_;
};
