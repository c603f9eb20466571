#pragma once
// A bitmap drawing context over caller-owned memory (rows top first, like the platform's).
// User space has its origin at the bottom-left with y up; the CTM maps it to the bitmap.
// Layouts: RGB 8-bit with premultiplied-last or none-skip-last alpha (bytes R, G, B, A/X),
// alpha-only 8-bit (colour space None), and grey 8-bit without alpha.
#include <cstddef>
#include <cstdint>

#include "CCObject.h"
#include "CGGeometry.h"
#include "CGImage.h"

class CGContext : public CCObject {
public:
    // Owned by the caller (release it); nullptr for an unsupported layout, no memory or a
    // row too short for the width.
    static CGContext* createBitmapContext(void* data, unsigned width, unsigned height, unsigned bitsPerComponent,
                                          std::size_t bytesPerRow, CGColorSpace colorSpace,
                                          CGImageAlphaInfo alphaInfo);

    unsigned width() const { return width_; }
    unsigned height() const { return height_; }
    std::size_t bytesPerRow() const { return bytesPerRow_; }
    std::uint8_t* data() const { return data_; }
    CGColorSpace colorSpace() const { return colorSpace_; }
    CGImageAlphaInfo alphaInfo() const { return alphaInfo_; }
    // Bytes per pixel of the layout (1 or 4).
    unsigned bytesPerPixel() const { return colorSpace_ == CGColorSpace::DeviceRGB ? 4 : 1; }

    void translateCTM(float tx, float ty);
    void scaleCTM(float sx, float sy);
    CGAffineTransform CTM() const { return ctm_; }

    void setGrayFillColor(float gray, float alpha);
    void setRGBFillColor(float r, float g, float b, float alpha);
    // Premultiplied 8-bit fill colour (R, G, B, A).
    const std::uint8_t* fillColor() const { return fill_; }

    // Sets every pixel of the rectangle (user space) to transparent black.
    void clearRect(CGRect rect);
    // Draws the image scaled into the rectangle (user space), source over, nearest sample.
    void drawImage(CGRect rect, const CGImage* image);
    // Composites the fill colour through a coverage mask given in bitmap pixels (rows top
    // first, same size as the bitmap).
    void fillMask(const std::uint8_t* coverage, std::size_t coverageStride);

private:
    // The user-space rectangle as bitmap pixel bounds [x0, x1) × [y0, y1), rows top first.
    bool deviceBounds(CGRect rect, int& x0, int& y0, int& x1, int& y1) const;
    void blendPixel(std::uint8_t* pixel, const std::uint8_t* source, unsigned coverage) const;

    std::uint8_t* data_ = nullptr;
    unsigned width_ = 0, height_ = 0;
    std::size_t bytesPerRow_ = 0;
    CGColorSpace colorSpace_ = CGColorSpace::DeviceRGB;
    CGImageAlphaInfo alphaInfo_ = kCGImageAlphaNone;
    CGAffineTransform ctm_ = CGAffineTransformIdentity;
    std::uint8_t fill_[4] = {0, 0, 0, 255};
};
