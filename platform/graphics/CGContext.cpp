#include "CGContext.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::uint8_t mul255(unsigned a, unsigned b) { return static_cast<std::uint8_t>((a * b + 127) / 255); }

std::uint8_t unit(float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255.f)); }

} // namespace

CGContext* CGContext::createBitmapContext(void* data, unsigned width, unsigned height, unsigned bitsPerComponent,
                                          std::size_t bytesPerRow, CGColorSpace colorSpace,
                                          CGImageAlphaInfo alphaInfo) {
    if (!data || width == 0 || height == 0 || bitsPerComponent != 8) return nullptr;
    unsigned bpp = 0;
    if (colorSpace == CGColorSpace::DeviceRGB &&
        (alphaInfo == kCGImageAlphaPremultipliedLast || alphaInfo == kCGImageAlphaNoneSkipLast))
        bpp = 4;
    else if (colorSpace == CGColorSpace::None && alphaInfo == kCGImageAlphaOnly)
        bpp = 1;
    else if (colorSpace == CGColorSpace::DeviceGray && alphaInfo == kCGImageAlphaNone)
        bpp = 1;
    if (bpp == 0 || bytesPerRow < std::size_t{width} * bpp) return nullptr;
    auto* context = new CGContext;
    context->data_ = static_cast<std::uint8_t*>(data);
    context->width_ = width;
    context->height_ = height;
    context->bytesPerRow_ = bytesPerRow;
    context->colorSpace_ = colorSpace;
    context->alphaInfo_ = alphaInfo;
    return context;
}

void CGContext::translateCTM(float tx, float ty) { ctm_ = CGAffineTransformTranslate(ctm_, tx, ty); }

void CGContext::scaleCTM(float sx, float sy) { ctm_ = CGAffineTransformScale(ctm_, sx, sy); }

void CGContext::setGrayFillColor(float gray, float alpha) { setRGBFillColor(gray, gray, gray, alpha); }

void CGContext::setRGBFillColor(float r, float g, float b, float alpha) {
    std::uint8_t a = unit(alpha);
    fill_[0] = mul255(unit(r), a);
    fill_[1] = mul255(unit(g), a);
    fill_[2] = mul255(unit(b), a);
    fill_[3] = a;
}

bool CGContext::deviceBounds(CGRect rect, int& x0, int& y0, int& x1, int& y1) const {
    CGRect device = CGRectApplyAffineTransform(rect, ctm_);
    // Bitmap rows run top first while device y runs up.
    double left = device.origin.x, right = double(device.origin.x) + device.size.width;
    double bottom = device.origin.y, top = double(device.origin.y) + device.size.height;
    x0 = static_cast<int>(std::clamp(std::floor(left + 0.5), 0.0, double(width_)));
    x1 = static_cast<int>(std::clamp(std::floor(right + 0.5), 0.0, double(width_)));
    y0 = static_cast<int>(std::clamp(std::floor(double(height_) - top + 0.5), 0.0, double(height_)));
    y1 = static_cast<int>(std::clamp(std::floor(double(height_) - bottom + 0.5), 0.0, double(height_)));
    return x0 < x1 && y0 < y1;
}

void CGContext::clearRect(CGRect rect) {
    int x0, y0, x1, y1;
    if (!deviceBounds(rect, x0, y0, x1, y1)) return;
    const unsigned bpp = bytesPerPixel();
    for (int y = y0; y < y1; ++y)
        std::fill_n(data_ + std::size_t(y) * bytesPerRow_ + std::size_t(x0) * bpp, std::size_t(x1 - x0) * bpp, 0);
}

void CGContext::blendPixel(std::uint8_t* pixel, const std::uint8_t* s, unsigned coverage) const {
    std::uint8_t src[4] = {s[0], s[1], s[2], s[3]};
    if (coverage < 255)
        for (auto& c : src) c = mul255(c, coverage);
    const unsigned keep = 255u - src[3];
    if (colorSpace_ == CGColorSpace::DeviceRGB) {
        for (int i = 0; i < 3; ++i) pixel[i] = static_cast<std::uint8_t>(src[i] + mul255(pixel[i], keep));
        pixel[3] = alphaInfo_ == kCGImageAlphaNoneSkipLast
                       ? 255
                       : static_cast<std::uint8_t>(src[3] + mul255(pixel[3], keep));
    } else if (colorSpace_ == CGColorSpace::None) {
        pixel[0] = static_cast<std::uint8_t>(src[3] + mul255(pixel[0], keep));
    } else {
        unsigned lum = (src[0] * 299u + src[1] * 587u + src[2] * 114u + 500u) / 1000u;
        pixel[0] = static_cast<std::uint8_t>(std::min(255u, lum + mul255(pixel[0], keep)));
    }
}

void CGContext::drawImage(CGRect rect, const CGImage* image) {
    if (!image || rect.size.width <= 0 || rect.size.height <= 0) return;
    int x0, y0, x1, y1;
    if (!deviceBounds(rect, x0, y0, x1, y1)) return;
    const CGAffineTransform inverse = CGAffineTransformInvert(ctm_);
    const unsigned iw = image->width(), ih = image->height();
    const unsigned bpp = bytesPerPixel();
    std::vector<std::uint8_t> row(std::size_t{iw} * 4);
    long cachedRow = -1;
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* out = data_ + std::size_t(y) * bytesPerRow_;
        for (int x = x0; x < x1; ++x) {
            CGPoint user = CGPointApplyAffineTransform({x + 0.5f, float(height_) - (y + 0.5f)}, inverse);
            double u = (user.x - rect.origin.x) / rect.size.width * iw;
            double v = (double(rect.origin.y) + rect.size.height - user.y) / rect.size.height * ih;
            if (u < 0 || v < 0 || u >= iw || v >= ih) continue;
            long iy = static_cast<long>(v);
            if (iy != cachedRow) {
                image->readRowPremultiplied(static_cast<unsigned>(iy), row.data());
                cachedRow = iy;
            }
            blendPixel(out + std::size_t(x) * bpp, row.data() + static_cast<std::size_t>(u) * 4, 255);
        }
    }
}

void CGContext::fillMask(const std::uint8_t* coverage, std::size_t stride) {
    if (!coverage) return;
    const unsigned bpp = bytesPerPixel();
    for (unsigned y = 0; y < height_; ++y) {
        const std::uint8_t* c = coverage + std::size_t{y} * stride;
        std::uint8_t* out = data_ + std::size_t{y} * bytesPerRow_;
        for (unsigned x = 0; x < width_; ++x)
            if (c[x]) blendPixel(out + std::size_t{x} * bpp, fill_, c[x]);
    }
}
