#include "Image.h"

#include <cstdio>
#include <csetjmp>
#include <stdexcept>

#include <png.h>

namespace restool {

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error(std::string("cannot create a drawing surface: ") +
                                 cairo_status_to_string(cairo_status(cr_)));
    }
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

Image Canvas::toImage() const {
    cairo_surface_flush(surface_);
    return imageFromArgb32(cairo_image_surface_get_data(surface_), width_, height_,
                           cairo_image_surface_get_stride(surface_));
}

Image imageFromArgb32(const std::uint8_t* data, int width, int height, int stride) {
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = row[x];
            const unsigned a = argb >> 24;
            std::uint8_t* p = out.pixel(x, y);
            if (a == 0) {
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            const unsigned c[3] = {(argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF};
            for (int i = 0; i < 3; ++i) {
                const unsigned v = (c[i] * 255 + a / 2) / a;
                p[i] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
            }
            p[3] = static_cast<std::uint8_t>(a);
        }
    }
    return out;
}

namespace {

struct PngErrorState {
    std::string message;
};

void pngError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngErrorState*>(png_get_error_ptr(png));
    state->message = message ? message : "unknown PNG error";
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

struct File {
    std::FILE* f = nullptr;
    ~File() {
        if (f) std::fclose(f);
    }
};

}  // namespace

bool writePng(const std::string& path, const Image& image, std::string* error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
        *error = path + ": picture has no pixels";
        return false;
    }
    File file;
    file.f = std::fopen(path.c_str(), "wb");
    if (!file.f) {
        *error = path + ": cannot open for writing";
        return false;
    }
    PngErrorState state;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        *error = path + ": out of memory";
        return false;
    }
    std::vector<png_const_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) rows[static_cast<std::size_t>(y)] = image.pixel(0, y);

    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        *error = path + ": " + state.message;
        return false;
    }
    png_init_io(png, file.f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, 0);
    png_set_compression_window_bits(png, 15);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
    png_write_info(png, info);
    png_write_rows(png, const_cast<png_bytepp>(rows.data()), static_cast<png_uint_32>(image.height));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.f) != 0 || std::ferror(file.f)) {
        *error = path + ": write failed";
        return false;
    }
    return true;
}

bool readPng(const std::string& path, Image* image, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        *error = path + ": " + png.message;
        return false;
    }
    if (png.format != PNG_FORMAT_RGBA) {
        png_image_free(&png);
        *error = path + ": not an 8-bit RGBA PNG";
        return false;
    }
    Image out(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, out.rgba.data(), 0, nullptr)) {
        *error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    *image = std::move(out);
    return true;
}

}  // namespace restool
