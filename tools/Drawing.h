#pragma once

#include <cstdint>

#include <cairo.h>

namespace restool {

// Small Cairo helpers shared by the pictures. Colours are 0xRRGGBB.
void setColour(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0);
void addStop(cairo_pattern_t* pattern, double offset, std::uint32_t rgb, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void circle(cairo_t* cr, double cx, double cy, double r);
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);

// Fills the current path with one colour and outlines it with another, clearing the path.
void fillAndStroke(cairo_t* cr, std::uint32_t fill, std::uint32_t line, double lineWidth);

constexpr double kPi = 3.14159265358979323846;

}  // namespace restool
