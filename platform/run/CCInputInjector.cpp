#include "CCInputInjector.h"

#include "CCApplicationInput.h"
#include "CCTrace.h"
#include "UIAccelerometer.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIButton.h"
#include "UIWindow.h"

namespace {

const char* phaseName(UITouchPhase phase) {
    switch (phase) {
    case UITouchPhaseBegan: return "began";
    case UITouchPhaseMoved: return "moved";
    case UITouchPhaseStationary: return "stationary";
    case UITouchPhaseEnded: return "ended";
    case UITouchPhaseCancelled: return "cancelled";
    }
    return "";
}

void sendFinger(long finger, UITouchPhase phase, CGPoint viewPoint, double timestamp) {
    CCTrace::event("input", [&] {
        return CCTraceFields{{"kind", "touch"},
                             {"finger", static_cast<long long>(finger)},
                             {"phase", phaseName(phase)},
                             {"view", viewPoint}};
    });
    UIApplication::sharedApplication()->sendTouch(finger, phase, viewPoint, timestamp);
}

bool showsOnScreen(const UIView* view) {
    for (const UIView* v = view; v; v = v->superview())
        if (v->isHidden() || v->alpha() <= 0 || v->isBeingRemoved()) return false;
    return true;
}

UIButton* findIn(UIView* view, const std::string& title) {
    // Front to back, as a finger would find it.
    const auto& subviews = view->subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if (UIButton* found = findIn(*it, title)) return found;
    auto* button = dynamic_cast<UIButton*>(view);
    if (button && button->isEnabled() && showsOnScreen(button) &&
        (button->currentTitle() == title || button->titleForState(UIControlStateNormal) == title))
        return button;
    return nullptr;
}

CGPoint centreInWindow(const UIView* view) {
    CGRect b = view->bounds();
    return view->convertPointToView({b.origin.x + b.size.width / 2, b.origin.y + b.size.height / 2}, nullptr);
}

} // namespace

CGPoint CCInputInjector::viewPoint(const CCRunAction& action) const {
    if (action.viewPoint || !sceneToView_) return action.point;
    return sceneToView_(action.point);
}

UIButton* CCInputInjector::findButton(const std::string& title) {
    UIWindow* window = UIApplication::sharedApplication()->keyWindow();
    return window ? findIn(window, title) : nullptr;
}

bool CCInputInjector::tapAt(CGPoint point, double timestamp) {
    long finger = nextTapFinger_--;
    sendFinger(finger, UITouchPhaseBegan, point, timestamp);
    sendFinger(finger, UITouchPhaseEnded, point, timestamp);
    return true;
}

bool CCInputInjector::perform(const CCRunAction& action, double timestamp, std::string* missed) {
    auto miss = [&](std::string why) {
        if (missed) *missed = std::move(why);
        return false;
    };
    bool needsMapping = (action.kind == CCRunAction::Tap || action.kind == CCRunAction::Down ||
                         action.kind == CCRunAction::Move || (action.kind == CCRunAction::Up && action.hasPoint)) &&
                        !action.viewPoint;
    if (needsMapping && !sceneToView_) return miss("scene points need the director's mapping to view points");

    UIApplication* app = UIApplication::sharedApplication();
    switch (action.kind) {
    case CCRunAction::Tap: return tapAt(viewPoint(action), timestamp);
    case CCRunAction::Down: {
        if (fingers_.count(action.finger)) return miss("finger " + std::to_string(action.finger) + " is already down");
        CGPoint p = viewPoint(action);
        fingers_[action.finger] = p;
        sendFinger(action.finger, UITouchPhaseBegan, p, timestamp);
        return true;
    }
    case CCRunAction::Move:
    case CCRunAction::Up: {
        auto found = fingers_.find(action.finger);
        if (found == fingers_.end()) return miss("finger " + std::to_string(action.finger) + " is not down");
        CGPoint p = action.hasPoint ? viewPoint(action) : found->second;
        if (action.kind == CCRunAction::Up) fingers_.erase(found);
        else found->second = p;
        sendFinger(action.finger, action.kind == CCRunAction::Up ? UITouchPhaseEnded : UITouchPhaseMoved, p, timestamp);
        return true;
    }
    case CCRunAction::Tilt: {
        UIAccelerometerReading reading{action.x, action.y, action.z};
        CCTrace::event("input", [&] {
            return CCTraceFields{{"kind", "tilt"}, {"x", action.x}, {"y", action.y}, {"z", action.z}};
        });
        UIAccelerometer::sharedAccelerometer()->setSource([reading] { return reading; });
        return true;
    }
    case CCRunAction::Reading: {
        // A reading the accelerometer handed over in a recorded run: it becomes the source and
        // reaches the delegate now, as it did then.
        UIAccelerometerReading reading{action.x, action.y, action.z};
        UIAccelerometer* accelerometer = UIAccelerometer::sharedAccelerometer();
        accelerometer->setSource([reading] { return reading; });
        accelerometer->deliverReading(timestamp);
        return true;
    }
    case CCRunAction::Focus: {
        CCTrace::event("input", [&] { return CCTraceFields{{"kind", "focus"}, {"focused", action.focused}}; });
        CCApplicationInput input;
        if (action.focused) {
            input.focusGained();
        } else {
            fingers_.clear();
            input.focusLost(timestamp);
        }
        return true;
    }
    case CCRunAction::Alert: {
        UIAlertView* alert = app->visibleAlertView();
        if (!alert) return miss("no alert is shown");
        int index = action.index;
        if (!action.text.empty()) {
            index = -1;
            for (int i = 0; i < alert->numberOfButtons(); ++i)
                if (alert->buttonTitleAtIndex(i) == action.text) index = i;
            if (index < 0) return miss("the alert \"" + alert->title() + "\" has no button \"" + action.text + "\"");
        }
        if (index < 0 || index >= alert->numberOfButtons())
            return miss("the alert \"" + alert->title() + "\" has no button " + std::to_string(index));
        CGRect f = alert->buttonFrameInWindow(index);
        CCPtr<UIAlertView> keep(alert);
        CCTrace::event("input", [&] {
            return CCTraceFields{{"kind", "alert"},
                                 {"title", alert->title()},
                                 {"button", static_cast<long long>(index)},
                                 {"buttonTitle", alert->buttonTitleAtIndex(index)}};
        });
        tapAt({f.origin.x + f.size.width / 2, f.origin.y + f.size.height / 2}, timestamp);
        for (auto& a : app->alerts())
            if (a.get() == alert) return miss("the alert \"" + alert->title() + "\" did not take the tap");
        return true;
    }
    case CCRunAction::Button: {
        UIButton* button = findButton(action.text);
        if (!button) return miss("no button \"" + action.text + "\" is on screen");
        CCTrace::event("input", [&] { return CCTraceFields{{"kind", "button"}, {"title", action.text}}; });
        return tapAt(centreInWindow(button), timestamp);
    }
    case CCRunAction::Clock:
    case CCRunAction::Work:
    case CCRunAction::Screenshot:
    case CCRunAction::Quit: return true;
    }
    return true;
}
