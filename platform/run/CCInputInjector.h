#pragma once
// Plays scripted input into the application through the same entry points as live input:
// fingers go through the application's touch routing (hit testing, alerts taking every finger,
// the GL view forwarding to the touch dispatcher), tilt readings become the accelerometer's
// source, alert and platform buttons are tapped where they are on screen.
#include <functional>
#include <map>
#include <string>

#include "CCRunScript.h"
#include "CGGeometry.h"

class UIButton;
class UIView;

class CCInputInjector {
public:
    // Scene point (origin bottom-left, the game's orientation) to view point (portrait, origin
    // top-left); the director's conversion. Without one, scene points cannot be played.
    using PointMapping = std::function<CGPoint(CGPoint)>;
    void setSceneToView(PointMapping mapping) { sceneToView_ = std::move(mapping); }
    bool hasSceneToView() const { return static_cast<bool>(sceneToView_); }

    // Plays one input action at `timestamp` (frame-clock seconds). False, with the reason in
    // `missed`, when there was nothing to play it on (no alert shown, no such button…).
    // Screenshot and Quit actions are not input: they are left to the runner.
    bool perform(const CCRunAction& action, double timestamp, std::string* missed);

    // The view point a scripted point stands for.
    CGPoint viewPoint(const CCRunAction& action) const;

    // The visible, enabled platform button with this title in the key window, or nullptr.
    static UIButton* findButton(const std::string& title);

    // Fingers of taps and buttons are numbered below every scripted finger.
    static constexpr long kFirstTapFinger = -1;

private:
    bool tapAt(CGPoint viewPoint, double timestamp);

    PointMapping sceneToView_;
    std::map<long, CGPoint> fingers_; // scripted fingers that are down, where they are
    long nextTapFinger_ = kFirstTapFinger;
};
