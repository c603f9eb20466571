#include "Drawing.h"

namespace restool {

namespace {
double channel(std::uint32_t rgb, int shift) { return ((rgb >> shift) & 0xFF) / 255.0; }
}  // namespace

void setColour(cairo_t* cr, std::uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, channel(rgb, 16), channel(rgb, 8), channel(rgb, 0), alpha);
}

void addStop(cairo_pattern_t* pattern, double offset, std::uint32_t rgb, double alpha) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, channel(rgb, 16), channel(rgb, 8), channel(rgb, 0), alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_close_path(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void fillAndStroke(cairo_t* cr, std::uint32_t fill, std::uint32_t line, double lineWidth) {
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, line);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

}  // namespace restool
