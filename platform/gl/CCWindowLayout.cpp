#include "CCWindowLayout.h"

#include <algorithm>
#include <cmath>

namespace {
bool turned(int orientation) { return orientation == 3 || orientation == 4; }
} // namespace

CCWindowLayout CCWindowLayout::fit(int windowWidth, int windowHeight, int orientation) {
    CCWindowLayout l;
    l.orientation = orientation >= 1 && orientation <= 4 ? orientation : 1;
    const float pw = turned(l.orientation) ? kDeviceHeight : kDeviceWidth;
    const float ph = turned(l.orientation) ? kDeviceWidth : kDeviceHeight;
    const float w = std::max(1, windowWidth), h = std::max(1, windowHeight);
    float fits = std::min(w / pw, h / ph);
    l.scale = fits >= 1 ? std::floor(fits) : fits;
    l.width = pw * l.scale;
    l.height = ph * l.scale;
    l.x = std::floor((w - l.width) / 2);
    l.y = std::floor((h - l.height) / 2);
    return l;
}

CGPoint CCWindowLayout::viewPointFromWindow(float wx, float wy) const {
    // The upright picture's own points first, then turned back to the portrait view.
    const float ux = (wx - x) / scale, uy = (wy - y) / scale;
    switch (orientation) {
    case 2: return {kDeviceWidth - ux, kDeviceHeight - uy};
    case 3: return {kDeviceWidth - uy, ux}; // the portrait's top edge is on the left
    case 4: return {uy, kDeviceHeight - ux};
    default: return {ux, uy};
    }
}

CGPoint CCWindowLayout::windowPointFromView(CGPoint v) const {
    float ux, uy;
    switch (orientation) {
    case 2: ux = kDeviceWidth - v.x, uy = kDeviceHeight - v.y; break;
    case 3: ux = v.y, uy = kDeviceWidth - v.x; break;
    case 4: ux = kDeviceHeight - v.y, uy = v.x; break;
    default: ux = v.x, uy = v.y; break;
    }
    return {x + ux * scale, y + uy * scale};
}

bool CCWindowLayout::containsWindowPoint(float wx, float wy) const {
    return wx >= x && wy >= y && wx < x + width && wy < y + height;
}

int ccWindowScaleForDesktop(int desktopWidth, int desktopHeight) {
    int s = std::min(desktopWidth / CCWindowLayout::kDeviceHeight, desktopHeight / CCWindowLayout::kDeviceWidth);
    // Leave room for the desktop's panels and the window frame when the fit is exact.
    if (s > 1 && s * CCWindowLayout::kDeviceHeight > desktopWidth - 64) --s;
    return std::max(1, s);
}
