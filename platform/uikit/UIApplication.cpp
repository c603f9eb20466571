#include "UIApplication.h"

#include <chrono>
#include <cmath>

#include "CCTrace.h"
#include "NSNotificationCenter.h"
#include "UIAlertView.h"
#include "UIApplicationDelegate.h"
#include "UIView.h"
#include "UIViewAnimator.h"
#include "UIWindow.h"

namespace {
UIApplication*& sharedSlot() {
    static UIApplication* shared = nullptr;
    return shared;
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
    old->tearDown();
    shared = nullptr;
    old->release();
}

UIApplication::UIApplication()
    : animator_(std::make_unique<UIViewAnimator>()), touchRouter_([this](CGPoint p) { return touchTarget(p); }) {
    auto start = std::chrono::steady_clock::now();
    clock_ = [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
}

UIApplication::~UIApplication() { tearDown(); }

void UIApplication::tearDown() {
    // Animations hold views whose teardown may ask for the application again.
    animator_->reset();
    touchRouter_.clear();
    alertPresenter_.clear();
}

bool UIApplication::openURL(const std::string& url) {
    // Headless runs never start programs for the user.
    if (!urlOpener_.open(url, !headless_)) return false;
    trace("url", url);
    return true;
}

void UIApplication::setStatusBarOrientation(int orientation, bool) {
    if (orientation < UIInterfaceOrientationPortrait || orientation > UIInterfaceOrientationLandscapeLeft) return;
    if (orientation == statusBarOrientation_) return;
    statusBarOrientation_ = orientation;
    overlayChanged_ = true;
    alertPresenter_.setNeedsLayout();
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
    // A modal alert takes every finger from now on.
    if (alerts().empty()) cancelAllTouches(currentTime());
    if (!alertPresenter_.present(alert)) return;
    overlayChanged_ = true;
    trace("alert-shown", alert->title());
}

void UIApplication::removeAlert(UIAlertView* alert) {
    CCPtr<UIAlertView> keep(alert);
    if (!alertPresenter_.remove(alert)) return;
    // Fingers on the alert's buttons end with it.
    touchRouter_.forgetTouchesIn(alert);
    overlayChanged_ = true;
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
    alertPresenter_.layoutVisible();
}

bool UIApplication::overlayNeedsDisplay() const {
    if (overlayChanged_ || animator_->isAnimating()) return true;
    if (keyWindow_ && keyWindow_->needsDisplay()) return true;
    return alertPresenter_.needsDisplay();
}

void UIApplication::clearOverlayNeedsDisplay() {
    overlayChanged_ = false;
    if (keyWindow_) keyWindow_->clearNeedsDisplay();
    alertPresenter_.clearNeedsDisplay();
}

UIView* UIApplication::touchTarget(CGPoint windowPoint) {
    if (visibleAlertView()) return alertBackdrop()->hitTest(windowPoint, nullptr);
    return keyWindow_ ? keyWindow_->hitTest(windowPoint, nullptr) : nullptr;
}

void UIApplication::sendTouch(long finger, UITouchPhase phase, CGPoint windowPoint, double timestamp) {
    if (!std::isfinite(windowPoint.x) || !std::isfinite(windowPoint.y)) return;
    if (touchObserver_) touchObserver_(finger, phase, windowPoint);
    touchRouter_.sendTouch(finger, phase, windowPoint, timestamp);
}

void UIApplication::cancelAllTouches(double timestamp) { touchRouter_.cancelAllTouches(timestamp); }

void UIApplication::sendWillResignActive() {
    if (!active_ || terminating_) return;
    active_ = false;
    if (activeObserver_) activeObserver_(false);
    if (delegate_) delegate_->applicationWillResignActive(this);
}

void UIApplication::sendDidBecomeActive() {
    if (active_ || terminating_) return;
    active_ = true;
    if (activeObserver_) activeObserver_(true);
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
