#include "DTBannerClipView.h"

#include <algorithm>

#include "NSBundle.h"
#include "NSNotificationCenter.h"
#include "UIActivityIndicatorView.h"
#include "UIButton.h"
#include "UIColor.h"
#include "UIImage.h"

namespace {
// A stretchable border picture of the resources; nullptr when the file is missing.
UIImage* borderImage(const char* name) {
    std::string path = NSBundle::mainBundle()->pathForResource(name, "", "");
    UIImage* image = path.empty() ? nullptr : UIImage::imageWithContentsOfFile(path);
    return image ? image->stretchableImageWithLeftCapWidth(4, 30) : nullptr;
}
} // namespace

bool DTBannerClipView::initWithFrame(CGRect frame) {
    if (!UIView::initWithFrame(frame)) return false;
    setClipsToBounds(true);
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);
    setUserInteractionEnabled(false);
    return true;
}

DTBannerClipView::~DTBannerClipView() = default;

void DTBannerClipView::post(const char* name) {
    NSNotificationCenter::defaultCenter()->postNotificationName(name, nullptr);
}

void DTBannerClipView::moveDown(UIView* view, float by) {
    CGAffineTransform down = CGAffineTransformMakeTranslation(0, by);
    if (view) view->setTransform(down);
    if (slidingView_) slidingView_->setTransform(down);
}

void DTBannerClipView::addSubviewAtBottom(UIView* view) {
    if (!view) return;
    CGRect f = view->frame();
    f.origin.y = bounds().size.height - f.size.height;
    view->setFrame(f);
    addSubview(view);
}

void DTBannerClipView::addSubviewOutsideAtBottom(UIView* view) {
    if (!view) return;
    addSubviewAtBottom(view);
    moveDown(view, view->bounds().size.height);
}

void DTBannerClipView::slideInSubview(UIView* view) {
    if (!view) return;
    CCPtr<UIView> keep(view);
    addSubviewOutsideAtBottom(view);
    post(kBannerWillSlideIn);
    // Straight into place: the banner is there at the next frame.
    view->setTransform(CGAffineTransformIdentity);
    if (slidingView_) slidingView_->setTransform(CGAffineTransformIdentity);
    slideInDidStop("", true, nullptr);
}

void DTBannerClipView::slideInSubviews() {
    post(kBannerWillSlideIn);
    for (const CCPtr<UIView>& v : std::vector<CCPtr<UIView>>(subviews())) v->setTransform(CGAffineTransformIdentity);
    if (slidingView_) slidingView_->setTransform(CGAffineTransformIdentity);
    slideInDidStop("", true, nullptr);
}

void DTBannerClipView::slideOutSubview(UIView* view) {
    CCPtr<UIView> keep(view);
    slideOutDidStop("", true, nullptr);
    post(kBannerWillSlideOut);
    if (view) moveDown(view, view->bounds().size.height);
}

void DTBannerClipView::slideOutSubviews() {
    post(kBannerWillSlideOut);
    for (const CCPtr<UIView>& v : std::vector<CCPtr<UIView>>(subviews()))
        v->setTransform(CGAffineTransformMakeTranslation(0, v->bounds().size.height));
    if (slidingView_) slidingView_->setTransform(CGAffineTransformMakeTranslation(0, bounds().size.height));
    slideOutDidStop("", true, nullptr);
}

void DTBannerClipView::slideInDidStop(const std::string&, bool, void*) {
    setUserInteractionEnabled(true);
    post(kBannerDidSlideIn);
}

void DTBannerClipView::slideOutDidStop(const std::string&, bool, void*) {
    setUserInteractionEnabled(false);
    post(kBannerDidSlideOut);
    for (const CCPtr<UIView>& v : std::vector<CCPtr<UIView>>(subviews())) {
        if (v.get() == purchaseButton_.get() || v.get() == backgroundView_.get()) continue;
        v->removeFromSuperview();
    }
}

UIButton* DTBannerClipView::purchaseButton() {
    if (!purchaseButton_) {
        UIButton* b = UIButton::buttonWithType(UIButtonTypeCustom);
        b->setAdjustsImageWhenHighlighted(false);
        b->setBackgroundImage(borderImage("xBatch_border_x_stretchable.png"), UIControlStateNormal);
        b->setBackgroundImage(borderImage("xBatch_border_x_stretchable_pressed.png"), UIControlStateHighlighted);
        b->setBackgroundImage(borderImage("xBatch_border_stretchable.png"), UIControlStateDisabled);
        purchaseButton_ = b;
    }
    return purchaseButton_;
}

void DTBannerClipView::setPurchaseButton(UIButton* button) { purchaseButton_ = button; }

UIView* DTBannerClipView::backgroundView() {
    if (!backgroundView_) {
        backgroundView_ = UIView::viewWithFrame(CGRectZero);
        backgroundView_->setBackgroundColor(UIColor::colorWithRed(0, 0, 0, 0.5f));
        backgroundView_->setOpaque(false);
    }
    return backgroundView_;
}

UIActivityIndicatorView* DTBannerClipView::activityIndicator() {
    if (!activityIndicator_)
        activityIndicator_ = UIActivityIndicatorView::activityIndicatorViewWithStyle(UIActivityIndicatorViewStyleWhite);
    return activityIndicator_;
}

void DTBannerClipView::setPurchaseButtonVisible(bool visible, bool animated) {
    if (visible == purchaseButtonVisible_) return;
    purchaseButtonVisible_ = visible;
    if (animated) {
        UIView::beginAnimations("PurchaseFade", nullptr);
        UIView::setAnimationDuration(0.3);
    }
    purchaseButton()->setAlpha(visible ? 1 : 0);
    backgroundView()->setAlpha(visible ? 1 : 0);
    if (animated) UIView::commitAnimations();
}

void DTBannerClipView::setPurchaseButtonBusy(bool busy) {
    if (busy == purchaseButtonBusy_) return;
    purchaseButtonBusy_ = busy;
    purchaseButton()->setEnabled(!busy);
    if (busy) activityIndicator()->startAnimating();
    else activityIndicator()->stopAnimating();
}

UIView* DTBannerClipView::hitTest(CGPoint point, UIEvent* event) {
    UIView* hit = UIView::hitTest(point, event);
    if (hit == this || CGRectContainsPoint(CGRect{{0, 0}, {280, 20}}, point)) return nullptr;
    return hit;
}
