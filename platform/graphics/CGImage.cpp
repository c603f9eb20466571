#include "CGImage.h"

#include <algorithm>

namespace {

unsigned colourComponents(CGColorSpace space) {
    switch (space) {
    case CGColorSpace::None: return 0;
    case CGColorSpace::DeviceGray: return 1;
    case CGColorSpace::DeviceRGB: return 3;
    }
    return 0;
}

bool hasAlphaSample(CGImageAlphaInfo info) { return info != kCGImageAlphaNone; }

bool alphaFirst(CGImageAlphaInfo info) {
    return info == kCGImageAlphaPremultipliedFirst || info == kCGImageAlphaFirst ||
           info == kCGImageAlphaNoneSkipFirst;
}

bool alphaIsPremultiplied(CGImageAlphaInfo info) {
    return info == kCGImageAlphaPremultipliedFirst || info == kCGImageAlphaPremultipliedLast;
}

bool alphaIsSkipped(CGImageAlphaInfo info) {
    return info == kCGImageAlphaNoneSkipFirst || info == kCGImageAlphaNoneSkipLast;
}

std::uint8_t mul255(unsigned a, unsigned b) { return static_cast<std::uint8_t>((a * b + 127) / 255); }

} // namespace

CGImage* CGImage::imageWithBytes(unsigned width, unsigned height, unsigned bitsPerComponent, unsigned bitsPerPixel,
                                 std::size_t bytesPerRow, CGColorSpace colorSpace, CGImageAlphaInfo alphaInfo,
                                 std::vector<std::uint8_t> bytes) {
    return ccCreate<CGImage>([&](CGImage* image) {
        return image->initWithBytes(width, height, bitsPerComponent, bitsPerPixel, bytesPerRow, colorSpace,
                                    alphaInfo, std::move(bytes));
    });
}

CGImage* CGImage::imageWithRGBA(unsigned width, unsigned height, std::vector<std::uint8_t> rgba) {
    return imageWithBytes(width, height, 8, 32, std::size_t{width} * 4, CGColorSpace::DeviceRGB, kCGImageAlphaLast,
                          std::move(rgba));
}

bool CGImage::initWithBytes(unsigned width, unsigned height, unsigned bitsPerComponent, unsigned bitsPerPixel,
                            std::size_t bytesPerRow, CGColorSpace colorSpace, CGImageAlphaInfo alphaInfo,
                            std::vector<std::uint8_t> bytes) {
    if (width == 0 || height == 0 || alphaInfo > kCGImageAlphaOnly) return false;
    if (bitsPerComponent == 8) {
        if (colorSpace == CGColorSpace::None && alphaInfo != kCGImageAlphaOnly) return false;
        if (colorSpace != CGColorSpace::None && alphaInfo == kCGImageAlphaOnly) return false;
        unsigned samples = colourComponents(colorSpace) + (hasAlphaSample(alphaInfo) ? 1 : 0);
        if (bitsPerPixel != samples * 8) return false;
    } else if (bitsPerComponent == 5) {
        if (bitsPerPixel != 16 || colorSpace != CGColorSpace::DeviceRGB || alphaInfo != kCGImageAlphaNoneSkipFirst)
            return false;
    } else {
        return false;
    }
    std::size_t minRow = (std::size_t{width} * bitsPerPixel + 7) / 8;
    if (bytesPerRow < minRow) return false;
    // Overflow-safe: the last row only needs minRow bytes.
    if ((bytes.size() < minRow) || (bytes.size() - minRow) / bytesPerRow < height - 1) return false;
    width_ = width;
    height_ = height;
    bitsPerComponent_ = bitsPerComponent;
    bitsPerPixel_ = bitsPerPixel;
    bytesPerRow_ = bytesPerRow;
    colorSpace_ = colorSpace;
    alphaInfo_ = alphaInfo;
    bytes_ = std::move(bytes);
    return true;
}

void CGImage::readRowStraight(unsigned row, std::uint8_t* out) const {
    const std::uint8_t* p = bytes_.data() + std::size_t{row} * bytesPerRow_;
    if (bitsPerComponent_ == 5) {
        for (unsigned x = 0; x < width_; ++x, p += 2, out += 4) {
            unsigned v = static_cast<unsigned>(p[0]) | static_cast<unsigned>(p[1]) << 8;
            auto expand = [](unsigned c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
            out[0] = expand((v >> 10) & 31);
            out[1] = expand((v >> 5) & 31);
            out[2] = expand(v & 31);
            out[3] = 255;
        }
        return;
    }
    const unsigned colours = colourComponents(colorSpace_);
    const bool alpha = hasAlphaSample(alphaInfo_);
    const bool first = alphaFirst(alphaInfo_);
    const bool skipped = alphaIsSkipped(alphaInfo_);
    const bool premultiplied = alphaIsPremultiplied(alphaInfo_);
    const unsigned step = colours + (alpha ? 1 : 0);
    for (unsigned x = 0; x < width_; ++x, p += step, out += 4) {
        const std::uint8_t* c = p + (alpha && first ? 1 : 0);
        std::uint8_t a = 255;
        if (alpha && !skipped) a = first ? p[0] : p[colours];
        if (colours == 0) {
            out[0] = out[1] = out[2] = 0;
        } else if (colours == 1) {
            out[0] = out[1] = out[2] = c[0];
        } else {
            out[0] = c[0];
            out[1] = c[1];
            out[2] = c[2];
        }
        if (premultiplied && colours) {
            for (int i = 0; i < 3; ++i)
                out[i] = a ? static_cast<std::uint8_t>(std::min(255u, (out[i] * 255u + a / 2) / a)) : 0;
        }
        out[3] = a;
    }
}

void CGImage::readRowPremultiplied(unsigned row, std::uint8_t* out) const {
    if (alphaIsPremultiplied(alphaInfo_) && bitsPerComponent_ == 8 && colorSpace_ == CGColorSpace::DeviceRGB &&
        alphaInfo_ == kCGImageAlphaPremultipliedLast) {
        const std::uint8_t* p = bytes_.data() + std::size_t{row} * bytesPerRow_;
        std::copy(p, p + std::size_t{width_} * 4, out);
        return;
    }
    readRowStraight(row, out);
    for (unsigned x = 0; x < width_; ++x, out += 4) {
        unsigned a = out[3];
        if (a == 255) continue;
        out[0] = mul255(out[0], a);
        out[1] = mul255(out[1], a);
        out[2] = mul255(out[2], a);
    }
}
