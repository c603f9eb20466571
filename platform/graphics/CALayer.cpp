#include "CALayer.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>


CALayer* CALayer::layer() { return ccAutorelease(new CALayer); }

CALayer::~CALayer() {
    for (auto& l : sublayers_) l->superlayer_ = nullptr;
}

void CALayer::setNeedsDisplay() {
    CALayer* top = this;
    while (!top->delegate_ && top->superlayer_) top = top->superlayer_;
    if (top->delegate_) top->delegate_->layerNeedsDisplay();
}

void CALayer::setBounds(CGRect bounds) {
    bounds_ = bounds;
    setNeedsDisplay();
}
void CALayer::setPosition(CGPoint position) {
    position_ = position;
    setNeedsDisplay();
}
void CALayer::setAnchorPoint(CGPoint anchor) {
    anchorPoint_ = anchor;
    setNeedsDisplay();
}

CGRect CALayer::frame() const {
    return {{position_.x - bounds_.size.width * anchorPoint_.x, position_.y - bounds_.size.height * anchorPoint_.y},
            bounds_.size};
}

void CALayer::setFrame(CGRect frame) {
    frame = CGRectStandardize(frame);
    bounds_.size = frame.size;
    position_ = {frame.origin.x + frame.size.width * anchorPoint_.x, frame.origin.y + frame.size.height * anchorPoint_.y};
    setNeedsDisplay();
}

void CALayer::setCornerRadius(float radius) {
    cornerRadius_ = std::isfinite(radius) ? std::max(radius, 0.0f) : 0.0f;
    setNeedsDisplay();
}
void CALayer::setMasksToBounds(bool masks) {
    masksToBounds_ = masks;
    setNeedsDisplay();
}
void CALayer::setBorderWidth(float width) {
    borderWidth_ = std::isfinite(width) ? std::max(width, 0.0f) : 0.0f;
    setNeedsDisplay();
}
void CALayer::setBorderColor(CGColorRef color) {
    borderColor_ = color;
    setNeedsDisplay();
}
void CALayer::setBackgroundColor(CGColorRef color) {
    backgroundColor_ = color;
    setNeedsDisplay();
}
void CALayer::setOpacity(float opacity) {
    opacity_ = std::isfinite(opacity) ? std::clamp(opacity, 0.0f, 1.0f) : 1.0f;
    setNeedsDisplay();
}
void CALayer::setHidden(bool hidden) {
    hidden_ = hidden;
    setNeedsDisplay();
}

void CALayer::addSublayer(CALayer* layer) { insertSublayer(layer, static_cast<unsigned>(sublayers_.size())); }

void CALayer::insertSublayer(CALayer* layer, unsigned index) {
    if (!layer || layer == this) return;
    for (CALayer* up = superlayer_; up; up = up->superlayer_)
        if (up == layer) return; // would make a cycle
    CCPtr<CALayer> keep(layer);
    layer->removeFromSuperlayer();
    index = std::min<unsigned>(index, static_cast<unsigned>(sublayers_.size()));
    sublayers_.insert(sublayers_.begin() + index, keep);
    layer->superlayer_ = this;
    setNeedsDisplay();
}

void CALayer::removeFromSuperlayer() {
    CALayer* parent = superlayer_;
    if (!parent) return;
    CCPtr<CALayer> keep(this);
    auto it = std::find(parent->sublayers_.begin(), parent->sublayers_.end(), this);
    if (it != parent->sublayers_.end()) parent->sublayers_.erase(it);
    superlayer_ = nullptr;
    parent->setNeedsDisplay();
}

void CALayer::addShapePath(cairo_t* cr, CGRect b) const {
    double r = std::min<double>(cornerRadius_, std::min(b.size.width, b.size.height) / 2.0);
    double x = b.origin.x, y = b.origin.y, w = b.size.width, h = b.size.height;
    if (r <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void CALayer::drawInContext(cairo_t*, CGRect) {}

void CALayer::renderBody(cairo_t* cr, CGRect b) {
    if (masksToBounds_) {
        addShapePath(cr, b);
        cairo_clip(cr);
    }
    if (backgroundColor_.a > 0) {
        cairo_set_source_rgba(cr, backgroundColor_.r, backgroundColor_.g, backgroundColor_.b, backgroundColor_.a);
        addShapePath(cr, b);
        cairo_fill(cr);
    }
    cairo_save(cr);
    drawInContext(cr, b);
    cairo_restore(cr);
    for (auto& sub : sublayers_) sub->renderInContext(cr);
}

void CALayer::renderBorder(cairo_t* cr, CGRect b) {
    if (borderWidth_ <= 0 || borderColor_.a <= 0) return;
    cairo_save(cr);
    cairo_reset_clip(cr);
    // Inset by half the width so the whole stroke lies inside the bounds.
    double half = borderWidth_ / 2.0;
    CGRect inner{{b.origin.x + float(half), b.origin.y + float(half)},
                 {std::max(0.0f, b.size.width - borderWidth_), std::max(0.0f, b.size.height - borderWidth_)}};
    float savedRadius = cornerRadius_;
    cornerRadius_ = std::max(0.0f, cornerRadius_ - float(half));
    addShapePath(cr, inner);
    cornerRadius_ = savedRadius;
    cairo_set_line_width(cr, borderWidth_);
    cairo_set_source_rgba(cr, borderColor_.r, borderColor_.g, borderColor_.b, borderColor_.a);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CALayer::renderInContext(cairo_t* cr) {
    if (hidden_ || opacity_ <= 0) return;
    cairo_save(cr);
    CGRect f = frame();
    cairo_translate(cr, f.origin.x - bounds_.origin.x, f.origin.y - bounds_.origin.y);
    bool group = opacity_ < 1;
    if (group) cairo_push_group(cr);
    cairo_save(cr);
    renderBody(cr, bounds_);
    cairo_restore(cr);
    renderBorder(cr, bounds_);
    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, opacity_);
    }
    cairo_restore(cr);
}
