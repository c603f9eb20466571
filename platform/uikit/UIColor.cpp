#include "UIColor.h"

#include <cairo.h>

#include <algorithm>
#include <cstdio>

#include "CCPtr.h"

namespace {
float clamp01(float v) { return v != v ? 0.0f : std::clamp(v, 0.0f, 1.0f); }

// A named colour: created once, kept until the process ends.
UIColor* named(CCPtr<UIColor>& slot, float r, float g, float b, float a) {
    if (!slot) slot = CCPtr<UIColor>::adopt(ccNew<UIColor>([&](UIColor* c) { return c->initWithRed(r, g, b, a); }));
    return slot.get();
}
} // namespace

bool UIColor::initWithRed(float red, float green, float blue, float alpha) {
    value_ = {clamp01(red), clamp01(green), clamp01(blue), clamp01(alpha)};
    return true;
}

UIColor* UIColor::colorWithRed(float red, float green, float blue, float alpha) {
    return ccCreate<UIColor>([&](UIColor* c) { return c->initWithRed(red, green, blue, alpha); });
}

UIColor* UIColor::colorWithWhite(float white, float alpha) { return colorWithRed(white, white, white, alpha); }

#define NAMED_COLOR(NAME, R, G, B, A)                                                                                  \
    UIColor* UIColor::NAME() {                                                                                         \
        static CCPtr<UIColor> shared;                                                                                  \
        return named(shared, R, G, B, A);                                                                              \
    }
NAMED_COLOR(whiteColor, 1, 1, 1, 1)
NAMED_COLOR(blackColor, 0, 0, 0, 1)
NAMED_COLOR(clearColor, 0, 0, 0, 0)
NAMED_COLOR(grayColor, 0.5f, 0.5f, 0.5f, 1)
NAMED_COLOR(lightGrayColor, 2.0f / 3, 2.0f / 3, 2.0f / 3, 1)
NAMED_COLOR(darkGrayColor, 1.0f / 3, 1.0f / 3, 1.0f / 3, 1)
NAMED_COLOR(redColor, 1, 0, 0, 1)
NAMED_COLOR(greenColor, 0, 1, 0, 1)
NAMED_COLOR(blueColor, 0, 0, 1, 1)
NAMED_COLOR(yellowColor, 1, 1, 0, 1)
#undef NAMED_COLOR

std::string UIColor::description() const {
    char text[96];
    std::snprintf(text, sizeof text, "UIDeviceRGBColorSpace %g %g %g %g", value_.r, value_.g, value_.b, value_.a);
    return text;
}

void UIColor::fillRect(cairo_t* cr, CGRect rect) const {
    cairo_set_source_rgba(cr, value_.r, value_.g, value_.b, value_.a);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_fill(cr);
}
