#include "UIAlertView.h"

#include <algorithm>

#include "CALayer.h"
#include "UIAlertViewDelegate.h"
#include "UIApplication.h"
#include "UIButton.h"
#include "UIColor.h"
#include "UIFont.h"
#include "UILabel.h"

namespace {
constexpr float kWidth = 284, kPad = 12, kButtonHeight = 40, kGap = 8;
} // namespace

bool UIAlertView::initWithTitle(const std::string& title, const std::string& message, UIAlertViewDelegate* delegate,
                                const char* cancelButtonTitle, const std::vector<std::string>& otherButtonTitles) {
    if (!initWithFrame({{0, 0}, {kWidth, 120}})) return false;
    title_ = title;
    message_ = message;
    delegate_ = delegate;
    setBackgroundColor(UIColor::colorWithRed(0.11f, 0.17f, 0.34f, 0.94f));
    layer()->setCornerRadius(10);
    layer()->setBorderWidth(2);
    layer()->setBorderColor({1, 1, 1, 0.85f});

    titleLabel_ = UILabel::labelWithFrame(CGRectZero);
    titleLabel_->setFont(UIFont::boldSystemFontOfSize(18));
    titleLabel_->setTextColor(UIColor::whiteColor());
    titleLabel_->setTextAlignment(UITextAlignmentCenter);
    titleLabel_->setNumberOfLines(0);
    titleLabel_->setText(title_);
    addSubview(titleLabel_);
    messageLabel_ = UILabel::labelWithFrame(CGRectZero);
    messageLabel_->setFont(UIFont::systemFontOfSize(15));
    messageLabel_->setTextColor(UIColor::whiteColor());
    messageLabel_->setTextAlignment(UITextAlignmentCenter);
    messageLabel_->setNumberOfLines(0);
    messageLabel_->setText(message_);
    addSubview(messageLabel_);

    if (cancelButtonTitle) {
        cancelButtonIndex_ = 0;
        buttonTitles_.emplace_back(cancelButtonTitle);
    }
    for (auto& t : otherButtonTitles) buttonTitles_.push_back(t);
    rebuildButtons();
    return true;
}

void UIAlertView::setTitle(const std::string& title) {
    title_ = title;
    titleLabel_->setText(title);
    setNeedsLayout();
}

void UIAlertView::setMessage(const std::string& message) {
    message_ = message;
    messageLabel_->setText(message);
    setNeedsLayout();
}

int UIAlertView::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    rebuildButtons();
    return numberOfButtons() - 1;
}

std::string UIAlertView::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < numberOfButtons() ? buttonTitles_[index] : std::string();
}

void UIAlertView::rebuildButtons() {
    for (auto& b : buttons_) b->removeFromSuperview();
    buttons_.clear();
    for (int i = 0; i < numberOfButtons(); ++i) {
        UIButton* b = UIButton::buttonWithType(UIButtonTypeCustom);
        b->setTag(i);
        b->setTitle(buttonTitles_[i], UIControlStateNormal);
        b->titleLabel()->setFont(i == cancelButtonIndex_ && numberOfButtons() > 1 ? UIFont::systemFontOfSize(17)
                                                                                   : UIFont::boldSystemFontOfSize(17));
        b->setBackgroundColor(UIColor::colorWithWhite(1, 0.22f));
        b->layer()->setCornerRadius(6);
        b->layer()->setBorderWidth(1);
        b->layer()->setBorderColor({1, 1, 1, 0.5f});
        b->addTarget(this, control_selector(UIAlertView::buttonPressed), UIControlEventTouchUpInside);
        addSubview(b);
        buttons_.emplace_back(b);
    }
    setNeedsLayout();
}

void UIAlertView::layoutSubviews() {
    float inner = kWidth - 2 * kPad;
    float y = kPad;
    CGSize t = titleLabel_->sizeThatFits(inner);
    titleLabel_->setFrame({{kPad, y}, {inner, t.height}});
    y += t.height + (message_.empty() ? 0 : kGap);
    CGSize m = message_.empty() ? CGSizeZero : messageLabel_->sizeThatFits(inner);
    messageLabel_->setFrame({{kPad, y}, {inner, m.height}});
    y += m.height + kPad;
    // Two buttons share a row; otherwise each has its own.
    if (buttons_.size() == 2) {
        float w = (inner - kGap) / 2;
        buttons_[0]->setFrame({{kPad, y}, {w, kButtonHeight}});
        buttons_[1]->setFrame({{kPad + w + kGap, y}, {w, kButtonHeight}});
        y += kButtonHeight + kPad;
    } else {
        for (auto& b : buttons_) {
            b->setFrame({{kPad, y}, {inner, kButtonHeight}});
            y += kButtonHeight + kGap;
        }
        if (!buttons_.empty()) y += kPad - kGap;
    }
    // Centred on the screen, upright for the status bar.
    setBounds({{0, 0}, {kWidth, y}});
    setCenter({160, 240});
    setTransform(UIApplication::sharedApplication()->statusBarTransform());
}

CGRect UIAlertView::buttonFrameInWindow(int index) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return CGRectZero;
    const UIButton* b = buttons_[index];
    CGRect f = b->bounds();
    CGPoint a = b->convertPointToView(f.origin, nullptr);
    CGPoint c = b->convertPointToView({f.origin.x + f.size.width, f.origin.y + f.size.height}, nullptr);
    return CGRectStandardize({a, {c.x - a.x, c.y - a.y}});
}

UIAlertView::UIAlertView() = default;
UIAlertView::~UIAlertView() = default;

void UIAlertView::show() {
    UIApplication* app = UIApplication::sharedApplication();
    for (auto& a : app->alerts())
        if (a.get() == this) return;
    if (delegate_) delegate_->willPresentAlertView(this);
    setNeedsLayout();
    layoutIfNeeded();
    app->presentAlert(this);
}

bool UIAlertView::isVisible() const { return UIApplication::sharedApplication()->visibleAlertView() == this; }

void UIAlertView::dismissWithClickedButtonIndex(int buttonIndex, bool) {
    UIApplication* app = UIApplication::sharedApplication();
    bool shown = std::any_of(app->alerts().begin(), app->alerts().end(), [&](auto& a) { return a.get() == this; });
    if (!shown) return;
    CCPtr<UIAlertView> keep(this);
    if (delegate_) delegate_->alertViewWillDismissWithButtonIndex(this, buttonIndex);
    app->removeAlert(this);
    app->trace("alert-dismissed", title_, buttonIndex);
    if (delegate_) delegate_->alertViewDidDismissWithButtonIndex(this, buttonIndex);
}

bool UIAlertView::pressButtonAtIndex(int index) {
    if (!isVisible() || index < 0 || index >= numberOfButtons()) return false;
    CCPtr<UIAlertView> keep(this);
    if (delegate_) delegate_->alertView(this, index);
    dismissWithClickedButtonIndex(index, true);
    return true;
}

bool UIAlertView::pressButtonWithTitle(const std::string& title) {
    auto it = std::find(buttonTitles_.begin(), buttonTitles_.end(), title);
    return it != buttonTitles_.end() && pressButtonAtIndex(static_cast<int>(it - buttonTitles_.begin()));
}

void UIAlertView::buttonPressed(CCObject* sender) { pressButtonAtIndex(static_cast<UIButton*>(sender)->tag()); }
