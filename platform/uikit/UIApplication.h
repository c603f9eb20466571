#pragma once
// The process's application object: its delegate and lifecycle, the key window, the status
// bar's orientation, the overlay's dirty state and the animation clock. It owns the parts that
// route fingers to views (UITouchRouter), queue alerts (UIAlertPresenter) and open addresses
// (UIURLOpener), and adds what ties them together: a shown alert takes every finger, a
// dismissed one takes its fingers with it, and each event worth following is traced.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "UIAlertPresenter.h"
#include "UITouch.h"
#include "UITouchRouter.h"
#include "UIURLOpener.h"

class UIAlertView;
class UIApplicationDelegate;
class UIView;
class UIViewAnimator;
class UIWindow;

// Posted (object: the application) after the delegate has been told it became active.
inline constexpr const char* UIApplicationDidBecomeActiveNotification = "UIApplicationDidBecomeActiveNotification";

enum UIInterfaceOrientation {
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeRight = 3,
    UIInterfaceOrientationLandscapeLeft = 4,
};

class UIApplication : public CCObject {
public:
    static UIApplication* sharedApplication();
    // Destroys the shared application (tests); the next use makes a fresh one.
    static void purgeSharedApplication();
    ~UIApplication() override;

    // Not retained: whoever starts the application owns its delegate.
    UIApplicationDelegate* delegate() const { return delegate_; }
    void setDelegate(UIApplicationDelegate* delegate) { delegate_ = delegate; }

    // Records the address (log line and trace) and, when a display is present and the
    // application is not headless, hands it to xdg-open if that program exists. Returns
    // false for an address that cannot be opened (empty, or one that looks like an option).
    bool openURL(const std::string& url);
    const std::vector<std::string>& openedURLs() const { return urlOpener_.opened(); }

    // 1 to 4 as UIInterfaceOrientation; other values are ignored.
    int statusBarOrientation() const { return statusBarOrientation_; }
    void setStatusBarOrientation(int orientation, bool animated);
    void setStatusBarOrientation(int orientation) { setStatusBarOrientation(orientation, false); }
    // The rotation that turns portrait content upright in the status bar's orientation.
    CGAffineTransform statusBarTransform() const;
    bool isIdleTimerDisabled() const { return idleTimerDisabled_; }
    void setIdleTimerDisabled(bool disabled) { idleTimerDisabled_ = disabled; }

    // The window made key and visible last (not retained).
    UIWindow* keyWindow() const { return keyWindow_; }
    void setKeyWindow(UIWindow* window);
    void windowWillDealloc(UIWindow* window);

    // Alerts shown and not yet dismissed, in the order shown; the first is on screen.
    const std::vector<CCPtr<UIAlertView>>& alerts() const { return alertPresenter_.alerts(); }
    UIAlertView* visibleAlertView() const { return alertPresenter_.visibleAlertView(); }
    void presentAlert(UIAlertView* alert);
    // The full-screen dimmed view that holds the alert on screen (created on first use).
    UIView* alertBackdrop() { return alertPresenter_.backdrop(); }
    void removeAlert(UIAlertView* alert);

    // Headless runs never start programs for the user.
    bool isHeadless() const { return headless_; }
    void setHeadless(bool headless) { headless_ = headless; }

    // Events worth a trace line ("url", "alert-shown", "alert-dismissed"), with a detail text.
    // The index is the button of a dismissed alert, else -1. They go to the run's trace (when
    // one is open) and to the hook.
    using TraceHook = std::function<void(const std::string& event, const std::string& detail, int index)>;
    void setTraceHook(TraceHook hook) { traceHook_ = std::move(hook); }
    void trace(const std::string& event, const std::string& detail, int index = -1) const;

    // The clock view animations run on, in seconds; steady time unless replaced.
    double currentTime() const;
    void setClock(std::function<double()> clock) { clock_ = std::move(clock); }
    const std::function<double()>& clock() const { return clock_; }
    UIViewAnimator& viewAnimator() { return *animator_; }
    // Once per run-loop pass: advances view animations.
    void updateViews();
    // True when the overlay must be drawn again: a view in the key window or an alert changed,
    // or an animation runs.
    bool overlayNeedsDisplay() const;
    void clearOverlayNeedsDisplay();

    // A finger at a point of the key window's coordinates. A new finger goes to the view under
    // it (or, while an alert is shown, to the alert only); later phases go to the same view.
    void sendTouch(long finger, UITouchPhase phase, CGPoint windowPoint, double timestamp);
    // Sees every finger sent, from any source, before it is routed (a recording of the run);
    // nullptr: nobody.
    using TouchObserver = std::function<void(long finger, UITouchPhase phase, CGPoint windowPoint)>;
    void setTouchObserver(TouchObserver observer) { touchObserver_ = std::move(observer); }
    // Sees the application resign and become active (a recording of the run); nullptr: nobody.
    using ActiveObserver = std::function<void(bool active)>;
    void setActiveObserver(ActiveObserver observer) { activeObserver_ = std::move(observer); }
    // Cancels every finger that is down (focus loss, an alert appearing).
    void cancelAllTouches(double timestamp);
    unsigned activeTouchCount() const { return touchRouter_.activeTouchCount(); }

    // Lifecycle messages to the delegate. Resign and become-active are sent only when the state
    // changes; termination is sent once.
    bool isActive() const { return active_; }
    void sendWillResignActive();
    void sendDidBecomeActive();
    void sendMemoryWarning();
    void sendSignificantTimeChange();
    void sendWillTerminate();
    bool isTerminating() const { return terminating_; }

private:
    UIApplication();
    // Where a new finger lands: while an alert is shown, on the alert or its backdrop (which
    // ignores it); otherwise on the key window's views.
    UIView* touchTarget(CGPoint windowPoint);
    void tearDown();

    UIApplicationDelegate* delegate_ = nullptr;
    int statusBarOrientation_ = UIInterfaceOrientationPortrait;
    bool idleTimerDisabled_ = false;
    bool headless_ = false;
    bool active_ = true;
    bool terminating_ = false;
    TouchObserver touchObserver_;
    ActiveObserver activeObserver_;
    bool overlayChanged_ = true;
    UIWindow* keyWindow_ = nullptr;
    TraceHook traceHook_;
    std::function<double()> clock_;
    std::unique_ptr<UIViewAnimator> animator_;
    UIAlertPresenter alertPresenter_;
    UITouchRouter touchRouter_;
    UIURLOpener urlOpener_;
};
