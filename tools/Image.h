#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <cairo.h>

namespace restool {

// An RGBA picture with straight (not premultiplied) alpha, rows from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0) {}

    std::uint8_t* pixel(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    const std::uint8_t* pixel(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};

// A Cairo drawing surface of a fixed size; toImage() gives its straight-alpha pixels.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }

    Image toImage() const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Converts Cairo's premultiplied native-endian ARGB32 pixels to straight RGBA.
// Fully transparent pixels become (0, 0, 0, 0).
Image imageFromArgb32(const std::uint8_t* data, int width, int height, int stride);

// Writes an 8-bit RGBA PNG with fixed settings and no time or text chunks, so that the
// same picture always gives the same bytes. Returns false and sets *error on failure.
bool writePng(const std::string& path, const Image& image, std::string* error);

// Reads an 8-bit RGBA PNG (as written by writePng). Returns false and sets *error on failure.
bool readPng(const std::string& path, Image* image, std::string* error);

}  // namespace restool
