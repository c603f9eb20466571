#include "UIActivityIndicatorView.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

UIActivityIndicatorView* UIActivityIndicatorView::activityIndicatorViewWithStyle(int style) {
    return ccCreate<UIActivityIndicatorView>(
        [&](UIActivityIndicatorView* v) { return v->initWithActivityIndicatorStyle(style); });
}

bool UIActivityIndicatorView::initWithActivityIndicatorStyle(int style) {
    if (style != UIActivityIndicatorViewStyleWhiteLarge && style != UIActivityIndicatorViewStyleGray)
        style = UIActivityIndicatorViewStyleWhite;
    style_ = style;
    const float side = style == UIActivityIndicatorViewStyleWhiteLarge ? 37 : 20;
    if (!initWithFrame({{0, 0}, {side, side}})) return false;
    setOpaque(false);
    setUserInteractionEnabled(false);
    setHidden(hidesWhenStopped_);
    return true;
}

void UIActivityIndicatorView::startAnimating() {
    if (animating_) return;
    animating_ = true;
    setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    if (!animating_) return;
    animating_ = false;
    if (hidesWhenStopped_) setHidden(true);
    setNeedsDisplay();
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (!animating_) setHidden(hides);
}

void UIActivityIndicatorView::drawInContext(cairo_t* cr, CGRect bounds) {
    const double grey = style_ == UIActivityIndicatorViewStyleGray ? 0.5 : 1.0;
    const double cx = bounds.size.width / 2, cy = bounds.size.height / 2;
    const double outer = std::min(cx, cy), inner = outer * 0.45;
    cairo_set_line_width(cr, std::max(2.0, outer * 0.22));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        // The spokes fade round the wheel; the brightest leads.
        cairo_set_source_rgba(cr, grey, grey, grey, animating_ ? 0.25 + 0.75 * i / 11.0 : 0.4);
        cairo_move_to(cr, cx + std::cos(a) * inner, cy + std::sin(a) * inner);
        cairo_line_to(cr, cx + std::cos(a) * (outer - 1), cy + std::sin(a) * (outer - 1));
        cairo_stroke(cr);
    }
}
