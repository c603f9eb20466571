#pragma once
// One finger on a view. A touch keeps its identity for all phases of that finger.
#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"

class UIView;

enum UITouchPhase { UITouchPhaseBegan, UITouchPhaseMoved, UITouchPhaseStationary, UITouchPhaseEnded, UITouchPhaseCancelled };

class UITouch : public CCObject {
public:
    // A touch at a point of `view` (its own coordinates).
    static UITouch* touchInView(UIView* view, CGPoint location, double timestamp);

    CGPoint locationInView(const UIView* view) const;
    CGPoint previousLocationInView(const UIView* view) const;
    UIView* view() const { return view_; }
    UITouchPhase phase() const { return phase_; }
    unsigned tapCount() const { return tapCount_; }
    double timestamp() const { return timestamp_; }

    // Moves the finger: the old location becomes the previous one.
    void moveTo(CGPoint location, double timestamp, UITouchPhase phase);
    void setPhase(UITouchPhase phase) { phase_ = phase; }
    void setTapCount(unsigned count) { tapCount_ = count; }

private:
    CGPoint convert(CGPoint p, const UIView* view) const;

    UIView* view_ = nullptr; // not retained: the view outlives its touches
    CGPoint location_{}, previous_{};
    UITouchPhase phase_ = UITouchPhaseBegan;
    unsigned tapCount_ = 1;
    double timestamp_ = 0;
};

// The event a set of touches arrives with.
class UIEvent : public CCObject {
public:
    static UIEvent* eventWithTimestamp(double timestamp);
    double timestamp() const { return timestamp_; }

private:
    double timestamp_ = 0;
};
