#include "UIApplication.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "CCDeviceScreen.h"
#include "CCDisplay.h"
#include "CCLog.h"
#include "CCTrace.h"
#include "NSNotificationCenter.h"
#include "NSSet.h"
#include "UIAlertView.h"
#include "UIApplicationDelegate.h"
#include "UIColor.h"
#include "UIView.h"
#include "UIViewAnimator.h"
#include "UIWindow.h"

namespace {
UIApplication*& sharedSlot() {
    static UIApplication* shared = nullptr;
    return shared;
}

// Full path of an executable found on PATH, or empty.
std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty()) {
            std::string candidate = dir + "/" + name;
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        start = end + 1;
    }
    return {};
}

// Starts the program detached (no shell, the address is one argument) and reaps the helper.
void startDetached(const std::string& program, const std::string& argument) {
    pid_t helper = fork();
    if (helper < 0) {
        CCLog("Could not start %s", program.c_str());
        return;
    }
    if (helper == 0) {
        if (fork() == 0) {
            const char* argv[] = {program.c_str(), argument.c_str(), nullptr};
            execv(program.c_str(), const_cast<char* const*>(argv));
        }
        _exit(0);
    }
    int status = 0;
    waitpid(helper, &status, 0);
}
} // namespace

UIApplication* UIApplication::sharedApplication() {
    UIApplication*& shared = sharedSlot();
    if (!shared) shared = new UIApplication;
    return shared;
}

void UIApplication::purgeSharedApplication() {
    UIApplication*& shared = sharedSlot();
    if (!shared) return;
    UIApplication* old = shared;
    // Animations hold views whose teardown may ask for the application again.
    old->animator_->reset();
    old->touches_.clear();
    old->alerts_.clear();
    old->alertBackdrop_ = nullptr;
    shared = nullptr;
    old->release();
}

UIApplication::UIApplication() : animator_(std::make_unique<UIViewAnimator>()) {
    auto start = std::chrono::steady_clock::now();
    clock_ = [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
}

UIApplication::~UIApplication() {
    animator_->reset();
    touches_.clear();
    alerts_.clear();
    alertBackdrop_ = nullptr;
}

bool UIApplication::openURL(const std::string& url) {
    // An address is one argument of the opener; refuse what it would read as an option.
    if (url.empty() || url[0] == '-' || url.find('\n') != std::string::npos) {
        CCLog("Refusing to open URL \"%s\"", url.c_str());
        return false;
    }
    openedURLs_.push_back(url);
    CCLog("Opening URL %s", url.c_str());
    trace("url", url);
    if (headless_ || !CCDisplay::isPresent()) return true;
    std::string opener = findProgram("xdg-open");
    if (!opener.empty()) startDetached(opener, url);
    return true;
}

void UIApplication::setStatusBarOrientation(int orientation, bool) {
    if (orientation < UIInterfaceOrientationPortrait || orientation > UIInterfaceOrientationLandscapeLeft) return;
    if (orientation == statusBarOrientation_) return;
    statusBarOrientation_ = orientation;
    overlayChanged_ = true;
    for (auto& alert : alerts_) alert->setNeedsLayout();
}

CGAffineTransform UIApplication::statusBarTransform() const {
    switch (statusBarOrientation_) {
    case UIInterfaceOrientationPortraitUpsideDown: return CGAffineTransformMakeRotation(float(M_PI));
    case UIInterfaceOrientationLandscapeRight: return CGAffineTransformMakeRotation(float(M_PI / 2));
    case UIInterfaceOrientationLandscapeLeft: return CGAffineTransformMakeRotation(float(-M_PI / 2));
    default: return CGAffineTransformIdentity;
    }
}

void UIApplication::setKeyWindow(UIWindow* window) {
    if (keyWindow_ == window) return;
    keyWindow_ = window;
    overlayChanged_ = true;
}

void UIApplication::windowWillDealloc(UIWindow* window) {
    if (keyWindow_ == window) {
        keyWindow_ = nullptr;
        overlayChanged_ = true;
    }
}

void UIApplication::presentAlert(UIAlertView* alert) {
    for (auto& a : alerts_)
        if (a.get() == alert) return;
    // A modal alert takes every finger from now on.
    if (alerts_.empty()) cancelAllTouches(currentTime());
    alerts_.emplace_back(alert);
    if (alerts_.size() == 1) alertBackdrop()->addSubview(alert);
    overlayChanged_ = true;
    trace("alert-shown", alert->title());
}

void UIApplication::removeAlert(UIAlertView* alert) {
    for (auto it = alerts_.begin(); it != alerts_.end(); ++it)
        if (it->get() == alert) {
            CCPtr<UIAlertView> keep = *it;
            bool wasVisible = it == alerts_.begin();
            alerts_.erase(it);
            if (wasVisible) {
                alert->beingRemoved_ = false;
                alert->detachFromSuperview();
                if (!alerts_.empty()) {
                    alerts_.front()->setNeedsLayout();
                    alerts_.front()->layoutIfNeeded();
                    alertBackdrop()->addSubview(alerts_.front());
                }
            }
            // Fingers on the alert's buttons end with it.
            for (auto f = touches_.begin(); f != touches_.end();)
                if (f->second.view && f->second.view->isDescendantOfView(alert)) f = touches_.erase(f);
                else ++f;
            overlayChanged_ = true;
            return;
        }
}

UIView* UIApplication::alertBackdrop() {
    if (!alertBackdrop_) {
        alertBackdrop_ = UIView::viewWithFrame({{0, 0}, {CCDeviceScreen::kWidth, CCDeviceScreen::kHeight}});
        alertBackdrop_->setBackgroundColor(UIColor::colorWithWhite(0, 0.4f));
    }
    return alertBackdrop_;
}

void UIApplication::trace(const std::string& event, const std::string& detail, int index) const {
    if (CCTrace::isOpen()) {
        CCTraceFields fields{{event == "url" ? "url" : "title", detail}};
        if (index >= 0) fields.emplace_back("button", static_cast<long long>(index));
        CCTrace::event(event, fields);
    }
    if (traceHook_) traceHook_(event, detail, index);
}

double UIApplication::currentTime() const { return clock_ ? clock_() : 0.0; }

void UIApplication::updateViews() {
    if (animator_->isAnimating()) animator_->step(currentTime());
    if (keyWindow_) keyWindow_->layoutIfNeeded();
    if (UIAlertView* alert = visibleAlertView()) alert->layoutIfNeeded();
}

bool UIApplication::overlayNeedsDisplay() const {
    if (overlayChanged_ || animator_->isAnimating()) return true;
    if (keyWindow_ && keyWindow_->needsDisplay()) return true;
    return visibleAlertView() && alertBackdrop_ && alertBackdrop_->needsDisplay();
}

void UIApplication::clearOverlayNeedsDisplay() {
    overlayChanged_ = false;
    if (keyWindow_) keyWindow_->clearNeedsDisplay();
    if (alertBackdrop_) alertBackdrop_->clearNeedsDisplay();
}

void UIApplication::deliver(UIView* view, UITouch* touch, UITouchPhase phase, double timestamp) {
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

void UIApplication::sendTouch(long finger, UITouchPhase phase, CGPoint windowPoint, double timestamp) {
    if (!std::isfinite(windowPoint.x) || !std::isfinite(windowPoint.y)) return;
    auto found = touches_.find(finger);
    if (phase == UITouchPhaseBegan) {
        if (found != touches_.end()) return; // a finger cannot go down twice
        UIView* target = nullptr;
        if (visibleAlertView()) {
            // Outside the alert the finger lands on its backdrop, which ignores it.
            target = alertBackdrop()->hitTest(windowPoint, nullptr);
        } else if (keyWindow_) {
            target = keyWindow_->hitTest(windowPoint, nullptr);
        }
        // A view that takes one finger at a time ignores the others.
        if (target && !target->isMultipleTouchEnabled())
            for (auto& [id, f] : touches_)
                if (f.view.get() == target) target = nullptr;
        Finger f;
        f.view = target;
        if (target) f.touch = UITouch::touchInView(target, target->convertPointFromView(windowPoint, nullptr), timestamp);
        auto [it, added] = touches_.emplace(finger, std::move(f));
        (void)added;
        if (it->second.view) deliver(it->second.view, it->second.touch, UITouchPhaseBegan, timestamp);
        return;
    }
    if (found == touches_.end()) return;
    Finger f = found->second;
    bool over = phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled;
    if (over) touches_.erase(found);
    if (!f.view) return;
    f.touch->moveTo(f.view->convertPointFromView(windowPoint, nullptr), timestamp, phase);
    deliver(f.view, f.touch, phase, timestamp);
}

void UIApplication::cancelAllTouches(double timestamp) {
    std::map<long, Finger> fingers;
    fingers.swap(touches_);
    for (auto& [id, f] : fingers) {
        if (!f.view) continue;
        f.touch->setPhase(UITouchPhaseCancelled);
        deliver(f.view, f.touch, UITouchPhaseCancelled, timestamp);
    }
}

void UIApplication::sendWillResignActive() {
    if (!active_ || terminating_) return;
    active_ = false;
    if (delegate_) delegate_->applicationWillResignActive(this);
}

void UIApplication::sendDidBecomeActive() {
    if (active_ || terminating_) return;
    active_ = true;
    if (delegate_) delegate_->applicationDidBecomeActive(this);
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidBecomeActiveNotification, this);
}

void UIApplication::sendMemoryWarning() {
    if (delegate_) delegate_->applicationDidReceiveMemoryWarning(this);
}

void UIApplication::sendSignificantTimeChange() {
    if (delegate_) delegate_->applicationSignificantTimeChange(this);
}

void UIApplication::sendWillTerminate() {
    if (terminating_) return;
    terminating_ = true;
    if (delegate_) delegate_->applicationWillTerminate(this);
}
