#include "CCCairoInk.h"

#include <cairo.h>
#include <cstddef>
#include <cstdint>

namespace {

const uint32_t* row(const unsigned char* data, int stride, int y) {
    return reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
}

// An OR over the whole row, without an early exit, so that it runs in vector registers.
bool rowHasInk(const uint32_t* pixels, int width) {
    uint32_t any = 0;
    for (int x = 0; x < width; ++x)
        any |= pixels[x];
    return any != 0;
}

} // namespace

bool ccARGB32HasInk(const unsigned char* data, int stride, int width, int height) {
    for (int y = 0; y < height; ++y)
        if (rowHasInk(row(data, stride, y), width)) return true;
    return false;
}

bool ccARGB32InkBounds(const unsigned char* data, int stride, int width, int height, int* x, int* y, int* w,
                       int* h) {
    int top = 0;
    while (top < height && !rowHasInk(row(data, stride, top), width))
        ++top;
    if (top == height) return false;
    int bottom = height - 1;
    while (!rowHasInk(row(data, stride, bottom), width))
        --bottom;
    int left = width, right = -1;
    for (int r = top; r <= bottom; ++r) {
        const uint32_t* p = row(data, stride, r);
        int first = 0;
        while (first < left && !p[first])
            ++first;
        left = first;
        int last = width - 1;
        while (last > right && !p[last])
            --last;
        right = last;
    }
    *x = left;
    *y = top;
    *w = right - left + 1;
    *h = bottom - top + 1;
    return true;
}

void ccCairoPaintGroupWithAlpha(cairo_t* cr, double alpha) {
    cairo_pattern_t* group = cairo_pop_group(cr);
    cairo_surface_t* surface = nullptr;
    double sx = 0, sy = 0;
    if (cairo_pattern_get_surface(group, &surface) == CAIRO_STATUS_SUCCESS &&
        cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
        cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
        cairo_surface_get_device_scale(surface, &sx, &sy);
    }
    if (sx != 1 || sy != 1) {
        cairo_set_source(cr, group);
        cairo_paint_with_alpha(cr, alpha);
        cairo_pattern_destroy(group);
        return;
    }
    cairo_surface_flush(surface);
    int x = 0, y = 0, w = 0, h = 0;
    if (ccARGB32InkBounds(cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface),
                          cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface), &x,
                          &y, &w, &h)) {
        // The group's pixel (x, y) lies at device (x - dx, y - dy); with the identity matrix, user
        // space is device space, and a rectangle of whole pixels clips without antialiasing.
        double dx = 0, dy = 0;
        cairo_surface_get_device_offset(surface, &dx, &dy);
        cairo_save(cr);
        cairo_set_source(cr, group);
        cairo_identity_matrix(cr);
        cairo_rectangle(cr, x - dx, y - dy, w, h);
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha);
        cairo_restore(cr);
    }
    cairo_pattern_destroy(group);
}
