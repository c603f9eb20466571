#pragma once
// A layer filled with a linear gradient through its colours, evenly spaced unless locations
// are given, from startPoint to endPoint in unit coordinates (top to bottom by default).
// With no colours it draws nothing of its own.
#include <vector>

#include "CALayer.h"

class CAGradientLayer : public CALayer {
public:
    static CAGradientLayer* layer();

    const std::vector<CGColorRef>& colors() const { return colors_; }
    void setColors(const std::vector<CGColorRef>& colors);
    const std::vector<float>& locations() const { return locations_; }
    void setLocations(const std::vector<float>& locations);
    CGPoint startPoint() const { return startPoint_; }
    void setStartPoint(CGPoint point);
    CGPoint endPoint() const { return endPoint_; }
    void setEndPoint(CGPoint point);

protected:
    void drawInContext(cairo_t* cr, CGRect bounds) override;

private:
    std::vector<CGColorRef> colors_;
    std::vector<float> locations_;
    CGPoint startPoint_{0.5f, 0};
    CGPoint endPoint_{0.5f, 1};
};
