#include "UIView.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

#include "CALayer.h"
#include "CCCairoInk.h"
#include "UIApplication.h"
#include "UIColor.h"
#include "UIViewAnimator.h"

namespace {
UIViewAnimator& animator() { return UIApplication::sharedApplication()->viewAnimator(); }
double now() { return UIApplication::sharedApplication()->currentTime(); }
} // namespace

UIView::UIView() : layer_(CCPtr<CALayer>::adopt(new CALayer)) { layer_->setDelegate(this); }

UIView* UIView::viewWithFrame(CGRect frame) {
    return ccCreate<UIView>([&](UIView* v) { return v->initWithFrame(frame); });
}

bool UIView::initWithFrame(CGRect frame) {
    setFrame(frame);
    return true;
}

UIView::~UIView() {
    for (auto& v : subviews_) v->superview_ = nullptr;
    layer_->setDelegate(nullptr);
}

CGRect UIView::frame() const {
    CGRect around = CGRectApplyAffineTransform({{-bounds_.size.width / 2, -bounds_.size.height / 2}, bounds_.size},
                                               transform_);
    return {{center_.x + around.origin.x, center_.y + around.origin.y}, around.size};
}

void UIView::setFrame(CGRect frame) {
    frame = CGRectStandardize(frame);
    setCenter({frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2});
    if (!(bounds_.size == frame.size)) needsLayout_ = true;
    bounds_.size = frame.size;
    setNeedsDisplay();
}

void UIView::setBounds(CGRect bounds) {
    if (!(bounds_.size == bounds.size)) needsLayout_ = true;
    bounds_ = bounds;
    setNeedsDisplay();
}

void UIView::setCenter(CGPoint center) {
    if (center == center_) return;
    animator().record(this, UIViewAnimator::Center, presentationCenter(), center);
    center_ = center;
    setNeedsDisplay();
}

void UIView::setTransform(const CGAffineTransform& transform) {
    transform_ = transform;
    setNeedsDisplay();
}

void UIView::setAlpha(float alpha) {
    alpha = std::isfinite(alpha) ? std::clamp(alpha, 0.0f, 1.0f) : 1.0f;
    if (alpha == alpha_) return;
    animator().record(this, UIViewAnimator::Alpha, {presentationAlpha(), 0}, {alpha, 0});
    alpha_ = alpha;
    setNeedsDisplay();
}

void UIView::setHidden(bool hidden) {
    hidden_ = hidden;
    setNeedsDisplay();
}

void UIView::setBackgroundColor(UIColor* color) {
    backgroundColor_ = color;
    layer_->setBackgroundColor(color ? color->CGColor() : CGColorRef{});
}

bool UIView::clipsToBounds() const { return layer_->masksToBounds(); }
void UIView::setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }

void UIView::setNeedsDisplay() {
    UIView* top = this;
    while (top->superview_) top = top->superview_;
    top->needsDisplay_ = true;
}

void UIView::addSubview(UIView* view) { insertSubviewAtIndex(view, static_cast<unsigned>(subviews_.size())); }

void UIView::insertSubviewAtIndex(UIView* view, unsigned index) {
    if (!view || view == this || isDescendantOfView(view)) return;
    CCPtr<UIView> keep(view);
    // Adding a view cancels a pending animated removal.
    view->beingRemoved_ = false;
    if (view->superview_) view->detachFromSuperview();
    index = std::min<unsigned>(index, static_cast<unsigned>(subviews_.size()));
    subviews_.insert(subviews_.begin() + index, keep);
    view->superview_ = this;
    setNeedsDisplay();
    view->didMoveToSuperview();
}

void UIView::bringSubviewToFront(UIView* view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end()) return;
    CCPtr<UIView> keep = *it;
    subviews_.erase(it);
    subviews_.push_back(keep);
    setNeedsDisplay();
}

void UIView::removeFromSuperview() {
    if (!superview_) return;
    if (animator().record(this, UIViewAnimator::Removal, {}, {})) {
        beingRemoved_ = true;
        setNeedsDisplay();
        return;
    }
    beingRemoved_ = false;
    detachFromSuperview();
}

void UIView::removeFromSuperviewAtOnce() {
    beingRemoved_ = false;
    detachFromSuperview();
}

void UIView::detachFromSuperview() {
    UIView* parent = superview_;
    if (!parent) return;
    CCPtr<UIView> keep(this);
    parent->setNeedsDisplay();
    auto it = std::find(parent->subviews_.begin(), parent->subviews_.end(), this);
    superview_ = nullptr;
    if (it != parent->subviews_.end()) parent->subviews_.erase(it);
    needsDisplay_ = true;
    didMoveToSuperview();
}

UIView* UIView::viewWithTag(int tag) {
    if (tag_ == tag) return this;
    for (auto& v : subviews_)
        if (UIView* found = v->viewWithTag(tag)) return found;
    return nullptr;
}

bool UIView::isDescendantOfView(const UIView* view) const {
    for (const UIView* v = this; v; v = v->superview_)
        if (v == view) return true;
    return false;
}

void UIView::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    // The whole tree: a subview resized by its superview's layout is laid out in the same pass.
    if (subviews_.empty()) return;
    std::vector<CCPtr<UIView>> subviews = std::move(layoutWalk_);
    subviews.assign(subviews_.begin(), subviews_.end());
    for (auto& v : subviews) v->layoutIfNeeded();
    subviews.clear();
    layoutWalk_ = std::move(subviews);
}

CGPoint UIView::toSuperview(CGPoint p) const {
    CGPoint local{p.x - bounds_.origin.x - bounds_.size.width / 2, p.y - bounds_.origin.y - bounds_.size.height / 2};
    CGPoint t = CGPointApplyAffineTransform(local, transform_);
    return {center_.x + t.x, center_.y + t.y};
}

CGPoint UIView::fromSuperview(CGPoint p) const {
    CGPoint t = CGPointApplyAffineTransform({p.x - center_.x, p.y - center_.y}, CGAffineTransformInvert(transform_));
    return {t.x + bounds_.origin.x + bounds_.size.width / 2, t.y + bounds_.origin.y + bounds_.size.height / 2};
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const {
    for (const UIView* v = this; v && v->superview_; v = v->superview_) point = v->toSuperview(point);
    return view ? view->convertPointFromView(point, nullptr) : point;
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const {
    if (view) point = view->convertPointToView(point, nullptr);
    std::vector<const UIView*> chain;
    for (const UIView* v = this; v && v->superview_; v = v->superview_) chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) point = (*it)->fromSuperview(point);
    return point;
}

bool UIView::pointInside(CGPoint point) const { return CGRectContainsPoint(bounds_, point); }

UIView* UIView::hitTest(CGPoint point, UIEvent* event) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01f || beingRemoved_ || !pointInside(point)) return nullptr;
    // Front to back; the subview list may change under a subclass's hitTest, so hold a copy.
    std::vector<CCPtr<UIView>> front = subviews_;
    for (auto it = front.rbegin(); it != front.rend(); ++it) {
        UIView* sub = *it;
        if (UIView* hit = sub->hitTest(sub->fromSuperview(point), event)) return hit;
    }
    return this;
}

void UIView::touchesBegan(NSSet*, UIEvent*) {}
void UIView::touchesMoved(NSSet*, UIEvent*) {}
void UIView::touchesEnded(NSSet*, UIEvent*) {}
void UIView::touchesCancelled(NSSet*, UIEvent*) {}

void UIView::drawInContext(cairo_t*, CGRect) {}

void UIView::renderInContext(cairo_t* cr) {
    float alpha = presentationAlpha();
    if (hidden_ || alpha <= 0 || layer_->isHidden()) return;
    alpha *= layer_->opacity();
    CGPoint c = presentationCenter();
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_matrix_t m{transform_.a, transform_.b, transform_.c, transform_.d, transform_.tx, transform_.ty};
    cairo_transform(cr, &m);
    cairo_translate(cr, -bounds_.size.width / 2 - bounds_.origin.x, -bounds_.size.height / 2 - bounds_.origin.y);
    bool group = alpha < 1;
    if (group) cairo_push_group(cr);
    cairo_save(cr);
    layer_->renderBody(cr, bounds_);
    cairo_save(cr);
    drawInContext(cr, bounds_);
    cairo_restore(cr);
    std::vector<CCPtr<UIView>> subs = subviews_;
    for (auto& v : subs) v->renderInContext(cr);
    cairo_restore(cr);
    layer_->renderBorder(cr, bounds_);
    if (group) ccCairoPaintGroupWithAlpha(cr, alpha);
    cairo_restore(cr);
}

void UIView::beginAnimations(const std::string& animationID, void* context) { animator().begin(animationID, context); }
void UIView::setAnimationDuration(double seconds) { animator().setDuration(seconds); }
void UIView::setAnimationDelegate(CCObject* delegate) { animator().setDelegate(delegate); }
void UIView::setAnimationDidStopSelector(SEL_ANIMATION_STOP selector) { animator().setDidStopSelector(selector); }
void UIView::commitAnimations() { animator().commit(now()); }

float UIView::presentationAlpha() const {
    return animator().isAnimating() ? animator().presentationAlpha(this, now()) : alpha_;
}

CGPoint UIView::presentationCenter() const {
    return animator().isAnimating() ? animator().presentationCenter(this, now()) : center_;
}
