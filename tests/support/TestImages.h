#pragma once
// Images made by the tests themselves: PNG through the platform's encoder, JPEG through
// libjpeg directly.
#include <jpeglib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CGImage.h"
#include "ImageCodecs.h"

// Tightly packed RGBA pixels where each pixel is a function of its position.
template <class F> std::vector<std::uint8_t> makeRGBA(unsigned width, unsigned height, F pixel) {
    std::vector<std::uint8_t> rgba(std::size_t{width} * height * 4);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            auto p = pixel(x, y);
            std::uint8_t* out = &rgba[(std::size_t{y} * width + x) * 4];
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            out[3] = p[3];
        }
    return rgba;
}

inline std::vector<std::uint8_t> solidRGBA(unsigned width, unsigned height, std::uint8_t r, std::uint8_t g,
                                           std::uint8_t b, std::uint8_t a) {
    return makeRGBA(width, height, [&](unsigned, unsigned) { return std::array<std::uint8_t, 4>{r, g, b, a}; });
}

// PNG bytes of straight-alpha RGBA pixels (with alpha) or of their RGB part (without).
inline std::vector<std::uint8_t> encodePNG(unsigned width, unsigned height, std::vector<std::uint8_t> rgba,
                                           bool alpha = true) {
    CCAutoreleaseScope scope;
    std::vector<std::uint8_t> out;
    if (alpha) {
        CGImage* image = CGImage::imageWithRGBA(width, height, std::move(rgba));
        if (image) ccEncodePNG(*image, out);
    } else {
        std::vector<std::uint8_t> rgb;
        for (std::size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), &rgba[i], &rgba[i] + 3);
        CGImage* image = CGImage::imageWithBytes(width, height, 8, 24, std::size_t{width} * 3, CGColorSpace::DeviceRGB,
                                                 kCGImageAlphaNone, std::move(rgb));
        if (image) ccEncodePNG(*image, out);
    }
    return out;
}

inline std::vector<std::uint8_t> encodeJPEG(unsigned width, unsigned height, const std::vector<std::uint8_t>& rgba,
                                            int quality = 95) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t{width} * 3);
    while (info.next_scanline < height) {
        for (unsigned x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) row[x * 3 + c] = rgba[(std::size_t{info.next_scanline} * width + x) * 4 + c];
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}
