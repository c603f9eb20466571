#pragma once
// What an alert tells its delegate. Every operation is optional.
class UIAlertView;

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    // A button was pressed (before the alert goes away).
    virtual void alertView(UIAlertView* alertView, int buttonIndex) { (void)alertView, (void)buttonIndex; }
    virtual void willPresentAlertView(UIAlertView* alertView) { (void)alertView; }
    virtual void alertViewWillDismissWithButtonIndex(UIAlertView* alertView, int buttonIndex) {
        (void)alertView, (void)buttonIndex;
    }
    // The alert has left the screen.
    virtual void alertViewDidDismissWithButtonIndex(UIAlertView* alertView, int buttonIndex) {
        (void)alertView, (void)buttonIndex;
    }
};
