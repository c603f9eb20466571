#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "CCPtr.h"
#include "CGContext.h"
#include "support/TestImages.h"

namespace {

CCPtr<CGContext> makeContext(std::vector<std::uint8_t>& buffer, unsigned w, unsigned h, CGColorSpace space,
                             CGImageAlphaInfo alpha) {
    unsigned bpp = space == CGColorSpace::DeviceRGB ? 4 : 1;
    buffer.assign(std::size_t{w} * h * bpp, 0xEE);
    return CCPtr<CGContext>::adopt(CGContext::createBitmapContext(buffer.data(), w, h, 8, std::size_t{w} * bpp, space, alpha));
}

} // namespace

TEST(CGContext, DrawsImageTopRowFirstAfterTranslation) {
    CCAutoreleaseScope scope;
    // A 2 × 3 image in a 4 × 4 context placed as the texture code does: top-left corner.
    auto rgba = makeRGBA(2, 3, [](unsigned x, unsigned y) {
        return std::array<std::uint8_t, 4>{std::uint8_t(10 + x), std::uint8_t(20 + y), 0, 255};
    });
    CGImage* image = CGImage::imageWithRGBA(2, 3, rgba);
    std::vector<std::uint8_t> buffer;
    auto context = makeContext(buffer, 4, 4, CGColorSpace::DeviceRGB, kCGImageAlphaPremultipliedLast);
    ASSERT_TRUE(context);
    context->clearRect(CGRectMake(0, 0, 4, 4));
    context->translateCTM(0, 4 - 3);
    context->drawImage(CGRectMake(0, 0, 2, 3), image);
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 4; ++x) {
            const std::uint8_t* p = &buffer[(y * 4 + x) * 4];
            if (x < 2 && y < 3) {
                EXPECT_EQ(p[0], 10 + x);
                EXPECT_EQ(p[1], 20 + y);
                EXPECT_EQ(p[3], 255);
            } else {
                EXPECT_EQ(p[0] | p[1] | p[2] | p[3], 0) << x << "," << y;
            }
        }
}

TEST(CGContext, PremultipliesSkipsOrKeepsOnlyAlpha) {
    CCAutoreleaseScope scope;
    CGImage* image = CGImage::imageWithRGBA(1, 1, {200, 100, 50, 128});
    std::vector<std::uint8_t> buffer;
    auto premultiplied = makeContext(buffer, 1, 1, CGColorSpace::DeviceRGB, kCGImageAlphaPremultipliedLast);
    premultiplied->clearRect(CGRectMake(0, 0, 1, 1));
    premultiplied->drawImage(CGRectMake(0, 0, 1, 1), image);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{100, 50, 25, 128}));

    auto skip = makeContext(buffer, 1, 1, CGColorSpace::DeviceRGB, kCGImageAlphaNoneSkipLast);
    skip->clearRect(CGRectMake(0, 0, 1, 1));
    skip->drawImage(CGRectMake(0, 0, 1, 1), image);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t>{100, 50, 25, 255}));

    auto mask = makeContext(buffer, 1, 1, CGColorSpace::None, kCGImageAlphaOnly);
    mask->clearRect(CGRectMake(0, 0, 1, 1));
    mask->drawImage(CGRectMake(0, 0, 1, 1), image);
    EXPECT_EQ(buffer[0], 128);
}

TEST(CGContext, RefusesUnsupportedLayouts) {
    std::vector<std::uint8_t> buffer(64);
    EXPECT_EQ(CGContext::createBitmapContext(buffer.data(), 4, 4, 8, 4, CGColorSpace::DeviceRGB,
                                             kCGImageAlphaPremultipliedLast),
              nullptr);
    EXPECT_EQ(CGContext::createBitmapContext(buffer.data(), 4, 4, 8, 16, CGColorSpace::DeviceRGB, kCGImageAlphaLast),
              nullptr);
    EXPECT_EQ(CGContext::createBitmapContext(nullptr, 4, 4, 8, 16, CGColorSpace::None, kCGImageAlphaOnly), nullptr);
}
