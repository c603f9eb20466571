#include <gtest/gtest.h>

#include <cairo.h>
#include <cmath>
#include <cstring>
#include <functional>

#include "CCCairoInk.h"

namespace {

constexpr int kW = 120, kH = 90;

TEST(CCCairoInk, BoundsHoldEveryPixelThatIsNotTransparentBlack) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
    auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    int x = -1, y = -1, w = -1, h = -1;
    EXPECT_FALSE(ccARGB32HasInk(data, stride, kW, kH));
    EXPECT_FALSE(ccARGB32InkBounds(data, stride, kW, kH, &x, &y, &w, &h));
    EXPECT_EQ(x, -1) << "nothing set without ink";

    auto set = [&](int px, int py, uint32_t v) { reinterpret_cast<uint32_t*>(data + py * stride)[px] = v; };
    set(kW - 1, 7, 0x01000000u);  // the faintest alpha, at the right edge
    set(30, kH - 1, 0x00000001u); // colour without alpha still counts
    set(12, 40, 0xFF102030u);
    EXPECT_TRUE(ccARGB32HasInk(data, stride, kW, kH));
    ASSERT_TRUE(ccARGB32InkBounds(data, stride, kW, kH, &x, &y, &w, &h));
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 7);
    EXPECT_EQ(w, kW - 12);
    EXPECT_EQ(h, kH - 7);
    // Rows the scan does not look at are not read: a height of 7 sees nothing.
    EXPECT_FALSE(ccARGB32HasInk(data, stride, kW, 7));
    cairo_surface_destroy(s);
}

// Draws the same picture twice, groups painted once through the helper and once by Cairo's
// own pop and paint, and compares every byte.
void expectSamePixels(
    const std::function<void(cairo_t*, const std::function<void(cairo_t*, double)>&)>& draw) {
    auto render = [&](bool helper) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgba(cr, 0.2, 0.5, 0.7, 0.6); // something below for the groups to blend over
        cairo_rectangle(cr, 10, 10, 70, 50);
        cairo_fill(cr);
        draw(cr, [helper](cairo_t* c, double alpha) {
            if (helper) {
                ccCairoPaintGroupWithAlpha(c, alpha);
            } else {
                cairo_pop_group_to_source(c);
                cairo_paint_with_alpha(c, alpha);
            }
        });
        cairo_destroy(cr);
        cairo_surface_flush(s);
        return s;
    };
    cairo_surface_t* a = render(true);
    cairo_surface_t* b = render(false);
    const int stride = cairo_image_surface_get_stride(a);
    int differing = 0;
    for (int y = 0; y < kH; ++y)
        differing += std::memcmp(cairo_image_surface_get_data(a) + y * stride,
                                 cairo_image_surface_get_data(b) + y * stride, kW * 4) != 0;
    EXPECT_EQ(differing, 0) << "rows differing";
    cairo_surface_destroy(a);
    cairo_surface_destroy(b);
}

TEST(CCCairoInk, AGroupPaintedThroughItsInkLooksLikeTheWholeGroupPainted) {
    // Turned and antialiased, nested in another translucent group, and one group left empty.
    expectSamePixels([](cairo_t* cr, const std::function<void(cairo_t*, double)>& pop) {
        cairo_translate(cr, 60, 45);
        cairo_rotate(cr, 0.4);
        cairo_push_group(cr);
        cairo_set_source_rgba(cr, 1, 0.5, 0, 0.9);
        cairo_rectangle(cr, -30.3, -12.6, 47.5, 20.2);
        cairo_fill(cr);
        cairo_push_group(cr);
        cairo_set_source_rgb(cr, 0, 0, 1);
        cairo_set_line_width(cr, 3);
        cairo_arc(cr, 20, 10, 9.5, 0, 2 * M_PI);
        cairo_stroke(cr);
        pop(cr, 0.35);
        cairo_push_group(cr);
        pop(cr, 0.5);
        pop(cr, 0.6);
    });
    // A group under a clip, and one whose ink reaches every edge of the picture.
    expectSamePixels([](cairo_t* cr, const std::function<void(cairo_t*, double)>& pop) {
        cairo_rectangle(cr, 5.5, 8.25, 60, 40);
        cairo_clip(cr);
        cairo_push_group(cr);
        cairo_set_source_rgba(cr, 0.9, 0.9, 0.1, 0.8);
        cairo_paint(cr);
        pop(cr, 0.5);
        cairo_reset_clip(cr);
        cairo_push_group(cr);
        cairo_set_source_rgba(cr, 0.1, 0.9, 0.1, 0.4);
        cairo_paint(cr);
        pop(cr, 0.7);
    });
}

} // namespace
