#pragma once
// A modal box with a title, a message and buttons. While shown it takes every finger; it is
// drawn upright in the status bar's orientation over a dimmed screen. The application keeps it
// from show until it is dismissed. Buttons: the cancel button (if any) is index 0, then the
// others in order.
#include <string>
#include <vector>

#include "UIView.h"

class UIAlertViewDelegate;
class UIButton;
class UILabel;

class UIAlertView : public UIView {
public:
    // cancelButtonTitle nullptr: no cancel button.
    bool initWithTitle(const std::string& title, const std::string& message, UIAlertViewDelegate* delegate,
                       const char* cancelButtonTitle, const std::vector<std::string>& otherButtonTitles);

    const std::string& title() const { return title_; }
    void setTitle(const std::string& title);
    const std::string& message() const { return message_; }
    void setMessage(const std::string& message);
    // Not retained.
    UIAlertViewDelegate* delegate() const { return delegate_; }
    void setDelegate(UIAlertViewDelegate* delegate) { delegate_ = delegate; }

    int addButtonWithTitle(const std::string& title);
    // Empty for an index out of range.
    std::string buttonTitleAtIndex(int index) const;
    int numberOfButtons() const { return static_cast<int>(buttonTitles_.size()); }
    int cancelButtonIndex() const { return cancelButtonIndex_; }
    // The frame of a button in window coordinates (tests and scripted input tap there).
    CGRect buttonFrameInWindow(int index) const;

    UIAlertView();
    ~UIAlertView() override;

    void show();
    // Shown and on screen (not waiting behind another alert).
    bool isVisible() const;
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);

    // What a finger on a button does: the delegate hears the click, then the alert goes away.
    // False when the alert is not shown or there is no such button.
    bool pressButtonAtIndex(int index);
    bool pressButtonWithTitle(const std::string& title);

    void layoutSubviews() override;

private:
    void buttonPressed(CCObject* sender);
    void rebuildButtons();

    std::string title_;
    std::string message_;
    UIAlertViewDelegate* delegate_ = nullptr;
    std::vector<std::string> buttonTitles_;
    int cancelButtonIndex_ = -1;
    CCPtr<UILabel> titleLabel_;
    CCPtr<UILabel> messageLabel_;
    std::vector<CCPtr<UIButton>> buttons_;
};
