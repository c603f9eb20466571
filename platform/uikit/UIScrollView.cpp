#include "UIScrollView.h"

void UIScrollView::setContentInset(UIEdgeInsets insets) {
    if (insets == contentInset_) return;
    contentInset_ = insets;
    setNeedsLayout();
    setNeedsDisplay();
}

void UIScrollView::setScrollIndicatorInsets(UIEdgeInsets insets) {
    if (insets == scrollIndicatorInsets_) return;
    scrollIndicatorInsets_ = insets;
    setNeedsDisplay();
}
