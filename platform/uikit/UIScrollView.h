#pragma once
// A view whose content may be larger than itself: only the insets around the content and
// its scroll indicators are kept (what layouts over banners and bars adjust).
#include "UIView.h"

struct UIEdgeInsets {
    float top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const UIEdgeInsets&) const = default;
};
inline constexpr UIEdgeInsets UIEdgeInsetsZero{};
inline UIEdgeInsets UIEdgeInsetsMake(float top, float left, float bottom, float right) {
    return {top, left, bottom, right};
}

class UIScrollView : public UIView {
public:
    UIEdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(UIEdgeInsets insets);
    UIEdgeInsets scrollIndicatorInsets() const { return scrollIndicatorInsets_; }
    void setScrollIndicatorInsets(UIEdgeInsets insets);

private:
    UIEdgeInsets contentInset_{};
    UIEdgeInsets scrollIndicatorInsets_{};
};
