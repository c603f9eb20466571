#pragma once
// The alerts shown and not yet dismissed, in the order shown. Only the first is on screen, on a
// full-screen dimmed backdrop; when it goes, the next one is laid out and takes its place.
#include <vector>

#include "CCPtr.h"

class UIAlertView;
class UIView;

class UIAlertPresenter {
public:
    UIAlertPresenter();
    ~UIAlertPresenter();
    UIAlertPresenter(const UIAlertPresenter&) = delete;
    UIAlertPresenter& operator=(const UIAlertPresenter&) = delete;

    const std::vector<CCPtr<UIAlertView>>& alerts() const { return alerts_; }
    UIAlertView* visibleAlertView() const { return alerts_.empty() ? nullptr : alerts_.front().get(); }
    // Adds the alert to the end of the queue (on screen when the queue was empty). False when it
    // is already shown or queued.
    bool present(UIAlertView* alert);
    // Takes the alert out of the queue; when it was on screen the next one is shown. False when
    // it was not there.
    bool remove(UIAlertView* alert);
    // The dimmed view of the screen's size that holds the alert on screen (made on first use).
    UIView* backdrop();

    // Every alert is laid out again (the status bar turned).
    void setNeedsLayout();
    void layoutVisible();
    // The alert on screen asks to be drawn again.
    bool needsDisplay() const;
    void clearNeedsDisplay();
    // Drops every alert and the backdrop (teardown).
    void clear();

private:
    std::vector<CCPtr<UIAlertView>> alerts_;
    CCPtr<UIView> backdrop_;
};
