#include "CAGradientLayer.h"

#include <cairo.h>

CAGradientLayer* CAGradientLayer::layer() { return ccAutorelease(new CAGradientLayer); }

void CAGradientLayer::setColors(const std::vector<CGColorRef>& colors) {
    colors_ = colors;
    setNeedsDisplay();
}
void CAGradientLayer::setLocations(const std::vector<float>& locations) {
    locations_ = locations;
    setNeedsDisplay();
}
void CAGradientLayer::setStartPoint(CGPoint point) {
    startPoint_ = point;
    setNeedsDisplay();
}
void CAGradientLayer::setEndPoint(CGPoint point) {
    endPoint_ = point;
    setNeedsDisplay();
}

void CAGradientLayer::drawInContext(cairo_t* cr, CGRect b) {
    if (colors_.empty()) return;
    double x0 = b.origin.x + startPoint_.x * b.size.width, y0 = b.origin.y + startPoint_.y * b.size.height;
    double x1 = b.origin.x + endPoint_.x * b.size.width, y1 = b.origin.y + endPoint_.y * b.size.height;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
    // Locations count only when there is one per colour; otherwise the stops are spread evenly.
    bool useLocations = locations_.size() == colors_.size();
    for (size_t i = 0; i < colors_.size(); ++i) {
        double offset = useLocations ? locations_[i] : colors_.size() == 1 ? 0.0 : double(i) / (colors_.size() - 1);
        const CGColorRef& c = colors_[i];
        cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, c.a);
    }
    cairo_set_source(cr, pattern);
    addShapePath(cr, b);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}
