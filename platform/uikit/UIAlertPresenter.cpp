#include "UIAlertPresenter.h"

#include "CCDeviceScreen.h"
#include "UIAlertView.h"
#include "UIColor.h"
#include "UIView.h"

UIAlertPresenter::UIAlertPresenter() = default;
UIAlertPresenter::~UIAlertPresenter() { clear(); }

bool UIAlertPresenter::present(UIAlertView* alert) {
    for (auto& a : alerts_)
        if (a.get() == alert) return false;
    alerts_.emplace_back(alert);
    if (alerts_.size() == 1) backdrop()->addSubview(alert);
    return true;
}

bool UIAlertPresenter::remove(UIAlertView* alert) {
    for (auto it = alerts_.begin(); it != alerts_.end(); ++it) {
        if (it->get() != alert) continue;
        CCPtr<UIAlertView> keep = *it;
        const bool wasVisible = it == alerts_.begin();
        alerts_.erase(it);
        if (wasVisible) {
            alert->removeFromSuperviewAtOnce();
            if (!alerts_.empty()) {
                alerts_.front()->setNeedsLayout();
                alerts_.front()->layoutIfNeeded();
                backdrop()->addSubview(alerts_.front());
            }
        }
        return true;
    }
    return false;
}

UIView* UIAlertPresenter::backdrop() {
    if (!backdrop_) {
        backdrop_ = UIView::viewWithFrame({{0, 0}, {CCDeviceScreen::kWidth, CCDeviceScreen::kHeight}});
        backdrop_->setBackgroundColor(UIColor::colorWithWhite(0, 0.4f));
    }
    return backdrop_;
}

void UIAlertPresenter::setNeedsLayout() {
    for (auto& alert : alerts_) alert->setNeedsLayout();
}

void UIAlertPresenter::layoutVisible() {
    if (UIAlertView* alert = visibleAlertView()) alert->layoutIfNeeded();
}

bool UIAlertPresenter::needsDisplay() const { return visibleAlertView() && backdrop_ && backdrop_->needsDisplay(); }

void UIAlertPresenter::clearNeedsDisplay() {
    if (backdrop_) backdrop_->clearNeedsDisplay();
}

void UIAlertPresenter::clear() {
    alerts_.clear();
    backdrop_ = nullptr;
}
