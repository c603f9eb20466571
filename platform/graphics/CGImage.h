#pragma once
// A decoded bitmap: size, sample layout (bits per component and pixel, alpha info, colour
// space, or none for masks) and the raw bytes, rows top first.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "CCObject.h"

enum CGImageAlphaInfo {
    kCGImageAlphaNone = 0,
    kCGImageAlphaPremultipliedLast = 1,
    kCGImageAlphaPremultipliedFirst = 2,
    kCGImageAlphaLast = 3,
    kCGImageAlphaFirst = 4,
    kCGImageAlphaNoneSkipLast = 5,
    kCGImageAlphaNoneSkipFirst = 6,
    kCGImageAlphaOnly = 7,
};

// None is the colour space of masks: one alpha sample per pixel.
enum class CGColorSpace { None, DeviceGray, DeviceRGB };

class CGImage : public CCObject {
public:
    // Autoreleased; nullptr for a layout this platform does not read or data too short for it.
    // Layouts read: 8 bits per component with any alpha info (masks: colour space None and
    // alpha Only), and 16-bit RGB with 5 bits per component and the top bit skipped.
    static CGImage* imageWithBytes(unsigned width, unsigned height, unsigned bitsPerComponent,
                                   unsigned bitsPerPixel, std::size_t bytesPerRow, CGColorSpace colorSpace,
                                   CGImageAlphaInfo alphaInfo, std::vector<std::uint8_t> bytes);
    bool initWithBytes(unsigned width, unsigned height, unsigned bitsPerComponent, unsigned bitsPerPixel,
                       std::size_t bytesPerRow, CGColorSpace colorSpace, CGImageAlphaInfo alphaInfo,
                       std::vector<std::uint8_t> bytes);
    // Tightly packed 8-bit RGBA, straight (not premultiplied) alpha.
    static CGImage* imageWithRGBA(unsigned width, unsigned height, std::vector<std::uint8_t> rgba);

    unsigned width() const { return width_; }
    unsigned height() const { return height_; }
    unsigned bitsPerComponent() const { return bitsPerComponent_; }
    unsigned bitsPerPixel() const { return bitsPerPixel_; }
    std::size_t bytesPerRow() const { return bytesPerRow_; }
    CGImageAlphaInfo alphaInfo() const { return alphaInfo_; }
    CGColorSpace colorSpace() const { return colorSpace_; }
    const std::vector<std::uint8_t>& data() const { return bytes_; }

    // One row as 8-bit RGBA with premultiplied alpha (width * 4 bytes).
    void readRowPremultiplied(unsigned row, std::uint8_t* rgba) const;
    // One row as 8-bit RGBA with straight alpha.
    void readRowStraight(unsigned row, std::uint8_t* rgba) const;

private:
    unsigned width_ = 0, height_ = 0, bitsPerComponent_ = 0, bitsPerPixel_ = 0;
    std::size_t bytesPerRow_ = 0;
    CGColorSpace colorSpace_ = CGColorSpace::None;
    CGImageAlphaInfo alphaInfo_ = kCGImageAlphaNone;
    std::vector<std::uint8_t> bytes_;
};
