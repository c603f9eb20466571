#include "UIView.h"

#include <algorithm>

UIView* UIView::viewWithFrame(CGRect frame) {
    return ccCreate<UIView>([&](UIView* v) { return v->initWithFrame(frame); });
}

bool UIView::initWithFrame(CGRect frame) {
    setFrame(frame);
    return true;
}

UIView::~UIView() {
    for (auto& v : subviews_) v->superview_ = nullptr;
}

CGRect UIView::frame() const {
    CGRect around = CGRectApplyAffineTransform({{-bounds_.size.width / 2, -bounds_.size.height / 2}, bounds_.size},
                                               transform_);
    return {{center_.x + around.origin.x, center_.y + around.origin.y}, around.size};
}

void UIView::setFrame(CGRect frame) {
    frame = CGRectStandardize(frame);
    center_ = {frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2};
    if (!(bounds_.size == frame.size)) needsLayout_ = true;
    bounds_.size = frame.size;
}

void UIView::setBounds(CGRect bounds) {
    if (!(bounds_.size == bounds.size)) needsLayout_ = true;
    bounds_ = bounds;
}

void UIView::addSubview(UIView* view) { insertSubviewAtIndex(view, static_cast<unsigned>(subviews_.size())); }

void UIView::insertSubviewAtIndex(UIView* view, unsigned index) {
    if (!view || view == this) return;
    CCPtr<UIView> keep(view);
    if (view->superview_) view->removeFromSuperview();
    index = std::min<unsigned>(index, static_cast<unsigned>(subviews_.size()));
    subviews_.insert(subviews_.begin() + index, keep);
    view->superview_ = this;
    view->didMoveToSuperview();
}

void UIView::bringSubviewToFront(UIView* view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end()) return;
    CCPtr<UIView> keep = *it;
    subviews_.erase(it);
    subviews_.push_back(keep);
}

void UIView::removeFromSuperview() {
    UIView* parent = superview_;
    if (!parent) return;
    CCPtr<UIView> keep(this);
    auto it = std::find(parent->subviews_.begin(), parent->subviews_.end(), this);
    superview_ = nullptr;
    if (it != parent->subviews_.end()) parent->subviews_.erase(it);
    didMoveToSuperview();
}

void UIView::layoutIfNeeded() {
    if (!needsLayout_) return;
    needsLayout_ = false;
    layoutSubviews();
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

void UIView::touchesBegan(NSSet*, UIEvent*) {}
void UIView::touchesMoved(NSSet*, UIEvent*) {}
void UIView::touchesEnded(NSSet*, UIEvent*) {}
void UIView::touchesCancelled(NSSet*, UIEvent*) {}
