#include <gtest/gtest.h>

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <stdexcept>

#include "CCTexture2D.h"
#include "NSData.h"
#include "TextureTestSupport.h"
#include "UIImage.h"
#include "ccMacros.h"
#include "ccUtils.h"
#include "support/TestImages.h"

namespace {

CCTexture2D* textureFromImage(UIImage* image) {
    return ccCreate<CCTexture2D>([&](CCTexture2D* t) { return t->initWithImage(image); });
}

UIImage* imageOf(unsigned width, unsigned height, std::vector<std::uint8_t> rgba) {
    return UIImage::imageWithCGImage(CGImage::imageWithRGBA(width, height, std::move(rgba)));
}

UIImage* imageFromBytes(const std::vector<std::uint8_t>& bytes) {
    return UIImage::imageWithData(NSData::dataWithBytes(bytes.data(), bytes.size()));
}

using Texture2DTest = TextureGLTest;

TEST(Texture2DPacking, SixteenBitFormatsOfOnePixel) {
    EXPECT_EQ(ccPackRGB565(255, 128, 64), 0xFC08);
    EXPECT_EQ(ccPackRGBA4444(255, 128, 64, 200), 0xF84C);
    EXPECT_EQ(ccPackRGB5A1(255, 128, 64, 200), 0xFC11);
    EXPECT_EQ(ccPackRGB5A1(255, 255, 255, 127), 0xFFFE);
    EXPECT_EQ(ccPackRGBA4444(0, 0, 0, 15), 0x0000);
}

TEST_F(Texture2DTest, ImageIsEnlargedToPowersOfTwoWithContentInTheCorner) {
    CCTexture2D* texture = textureFromImage(imageOf(100, 30, solidRGBA(100, 30, 255, 0, 0, 255)));
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(texture->name(), 0u);
    EXPECT_EQ(texture->pixelsWide(), 128u);
    EXPECT_EQ(texture->pixelsHigh(), 32u);
    EXPECT_FLOAT_EQ(texture->maxS(), 0.78125f);
    EXPECT_FLOAT_EQ(texture->maxT(), 0.9375f);
    EXPECT_EQ(texture->contentSizeInPixels(), CGSizeMake(100, 30));
    EXPECT_EQ(texture->contentSize(), CGSizeMake(100, 30));
    ccContentScaleFactor = 2;
    EXPECT_EQ(texture->contentSize(), CGSizeMake(50, 15));
    EXPECT_EQ(texture->contentSizeInPixels(), CGSizeMake(100, 30));
    ccContentScaleFactor = 1;

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), texture->name());
    EXPECT_NE(texture->description().find("| Dimensions = 128x32 | Coordinates = (0.78, 0.94)>"), std::string::npos)
        << texture->description();
}

TEST_F(Texture2DTest, ImagesLargerThanTheGLLimitAreRefused) {
    const unsigned limit = unsigned(CCConfiguration::sharedConfiguration()->maxTextureSize());
    ASSERT_GE(limit, 64u);
    CCTexture2D* atLimit = textureFromImage(imageOf(limit, 1, solidRGBA(limit, 1, 1, 2, 3, 255)));
    ASSERT_NE(atLimit, nullptr);
    EXPECT_EQ(atLimit->pixelsWide(), limit);
    EXPECT_EQ(textureFromImage(imageOf(limit + 1, 1, solidRGBA(limit + 1, 1, 1, 2, 3, 255))), nullptr);
    EXPECT_EQ(textureFromImage(imageOf(1, limit + 1, solidRGBA(1, limit + 1, 1, 2, 3, 255))), nullptr);
    EXPECT_EQ(textureFromImage(nullptr), nullptr);
}

TEST_F(Texture2DTest, PixelFormatFollowsTheImageLayout) {
    const auto rgba = solidRGBA(8, 8, 200, 100, 50, 128);
    // PNG with alpha: the default format, premultiplied.
    CCTexture2D* png = textureFromImage(imageFromBytes(encodePNG(8, 8, rgba)));
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->pixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
    EXPECT_TRUE(png->hasPremultipliedAlpha());
    // JPEG: no alpha, 8 bits per component: the default format, not premultiplied.
    CCTexture2D* jpeg = textureFromImage(imageFromBytes(encodeJPEG(8, 8, rgba)));
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->pixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
    EXPECT_FALSE(jpeg->hasPremultipliedAlpha());
    // Five bits per component, no alpha: RGB565 whatever the default.
    std::vector<std::uint8_t> rgb555(8 * 8 * 2, 0x7F);
    CGImage* fiveBit = CGImage::imageWithBytes(8, 8, 5, 16, 16, CGColorSpace::DeviceRGB, kCGImageAlphaNoneSkipFirst,
                                               rgb555);
    ASSERT_NE(fiveBit, nullptr);
    CCTexture2D* low = textureFromImage(UIImage::imageWithCGImage(fiveBit));
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(low->pixelFormat(), kCCTexture2DPixelFormat_RGB565);
    EXPECT_FALSE(low->hasPremultipliedAlpha());
    // A mask image: A8.
    CGImage* mask = CGImage::imageWithBytes(4, 4, 8, 8, 4, CGColorSpace::None, kCGImageAlphaOnly,
                                            std::vector<std::uint8_t>(16, 0xFF));
    ASSERT_NE(mask, nullptr);
    CCTexture2D* alpha = textureFromImage(UIImage::imageWithCGImage(mask));
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->pixelFormat(), kCCTexture2DPixelFormat_A8);

    CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA4444);
    CCTexture2D* halved = textureFromImage(imageFromBytes(encodePNG(8, 8, rgba)));
    ASSERT_NE(halved, nullptr);
    EXPECT_EQ(halved->pixelFormat(), kCCTexture2DPixelFormat_RGBA4444);
    EXPECT_TRUE(halved->hasPremultipliedAlpha());
    CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGB5A1);
    CCTexture2D* oneBit = textureFromImage(imageFromBytes(encodePNG(8, 8, rgba)));
    ASSERT_NE(oneBit, nullptr);
    EXPECT_EQ(oneBit->pixelFormat(), kCCTexture2DPixelFormat_RGB5A1);
}

TEST_F(Texture2DTest, UnknownPixelFormatsRaise) {
    CCTexture2D::setDefaultAlphaPixelFormat(CCTexture2DPixelFormat(9));
    UIImage* image = imageOf(2, 2, solidRGBA(2, 2, 1, 1, 1, 255));
    auto* texture = new CCTexture2D;
    try {
        texture->initWithImage(image);
        ADD_FAILURE() << "no error raised";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Invalid pixel format");
    }
    const std::uint8_t data[16] = {};
    try {
        texture->initWithData(data, CCTexture2DPixelFormat(0), 2, 2, CGSizeMake(2, 2));
        ADD_FAILURE() << "no error raised";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "");
    }
    EXPECT_EQ(texture->name(), 0u);
    texture->release();
}

TEST_F(Texture2DTest, DrawAtPointPutsTheImageUprightWithItsColours) {
    // Top half red, bottom half green, one translucent corner pixel.
    auto rgba = makeRGBA(4, 4, [](unsigned x, unsigned y) {
        if (x == 3 && y == 3) return std::array<std::uint8_t, 4>{255, 255, 255, 0};
        return y < 2 ? std::array<std::uint8_t, 4>{255, 0, 0, 255} : std::array<std::uint8_t, 4>{0, 255, 0, 255};
    });
    CCTexture2D* texture = textureFromImage(imageOf(4, 4, rgba));
    ASSERT_NE(texture, nullptr);
    texture->setAliasTexParameters();
    texture->drawAtPoint(CGPointMake(10, 10));
    EXPECT_EQ(pixel(10, 10), (RGBA{0, 255, 0, 255}));  // bottom row of the picture
    EXPECT_EQ(pixel(12, 13), (RGBA{255, 0, 0, 255})); // top row
    EXPECT_EQ(pixel(13, 10), (RGBA{0, 0, 255, 255}));  // transparent pixel shows the background
    EXPECT_EQ(pixel(9, 10), (RGBA{0, 0, 255, 255}));
    EXPECT_EQ(pixel(14, 14), (RGBA{0, 0, 255, 255}));
}

TEST_F(Texture2DTest, DrawInRectStretchesTheContent) {
    // 3 × 1: only the content, not the padding to 4 × 1, is stretched over the rectangle.
    auto rgba = makeRGBA(3, 1, [](unsigned x, unsigned) {
        return x == 0 ? std::array<std::uint8_t, 4>{255, 0, 0, 255}
               : x == 1 ? std::array<std::uint8_t, 4>{0, 255, 0, 255}
                        : std::array<std::uint8_t, 4>{255, 255, 255, 255};
    });
    CCTexture2D* texture = textureFromImage(imageOf(3, 1, rgba));
    ASSERT_NE(texture, nullptr);
    texture->setAliasTexParameters();
    texture->drawInRect(CGRectMake(0, 0, 30, 8));
    EXPECT_EQ(pixel(5, 4), (RGBA{255, 0, 0, 255}));
    EXPECT_EQ(pixel(15, 4), (RGBA{0, 255, 0, 255}));
    EXPECT_EQ(pixel(28, 4), (RGBA{255, 255, 255, 255}));
    EXPECT_EQ(pixel(31, 4), (RGBA{0, 0, 255, 255}));
}

TEST_F(Texture2DTest, SixteenBitTexturesDrawTheirConvertedColours) {
    const auto rgba = solidRGBA(2, 2, 255, 128, 64, 255);
    CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA4444);
    CCTexture2D* texture = textureFromImage(imageOf(2, 2, rgba));
    ASSERT_NE(texture, nullptr);
    texture->drawAtPoint(CGPointMake(0, 0));
    // 4 bits per channel: 0x8 and 0x4 expand to 0x88 and 0x44.
    EXPECT_EQ(pixel(1, 1), (RGBA{255, 0x88, 0x44, 255}));
}

TEST_F(Texture2DTest, TextBecomesAnAlphaTextureOfItsBox) {
    CCTexture2D* texture = ccCreate<CCTexture2D>([](CCTexture2D* t) {
        return t->initWithString("Hi", CGSizeMake(50, 20), UITextAlignmentLeft, "Helvetica", 16);
    });
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->pixelFormat(), kCCTexture2DPixelFormat_A8);
    EXPECT_EQ(texture->pixelsWide(), 64u);
    EXPECT_EQ(texture->pixelsHigh(), 32u);
    EXPECT_EQ(texture->contentSizeInPixels(), CGSizeMake(50, 20));
    EXPECT_FALSE(texture->hasPremultipliedAlpha());

    // Drawn white over black: the glyphs show in the box's left part only.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    texture->setAliasTexParameters();
    texture->drawInRect(CGRectMake(0, 0, 32, 32 * 20 / 50.f));
    int lit = 0, litRight = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (pixel(x, y)[0] > 128) {
                ++lit;
                if (x > 20) ++litRight;
            }
    EXPECT_GT(lit, 5);
    EXPECT_EQ(litRight, 0);
}

TEST_F(Texture2DTest, TextWrapsAndAlignsInsideTheBox) {
    auto coverage = [](CCTexture2D* texture, int& firstColumn, int& lastRow) {
        // Drawn 1:1, white on black: where the lit pixels begin.
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        texture->setAliasTexParameters();
        texture->drawInRect(CGRectMake(0, 0, 32, 32));
        firstColumn = kSide;
        lastRow = kSide;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                if (pixel(x, y)[0] > 100) {
                    firstColumn = std::min(firstColumn, x);
                    lastRow = std::min(lastRow, y); // lowest lit row, from the bottom
                }
    };
    CCTexture2D* right = ccCreate<CCTexture2D>([](CCTexture2D* t) {
        return t->initWithString("i", CGSizeMake(32, 32), UITextAlignmentRight, "DejaVu Sans", 10);
    });
    CCTexture2D* wrapped = ccCreate<CCTexture2D>([](CCTexture2D* t) {
        return t->initWithString("ii ii ii ii ii", CGSizeMake(32, 32), UITextAlignmentLeft, "DejaVu Sans", 10);
    });
    ASSERT_NE(right, nullptr);
    ASSERT_NE(wrapped, nullptr);
    int column = 0, row = 0;
    coverage(right, column, row);
    EXPECT_GT(column, 24);     // a right-aligned letter sits at the right edge
    EXPECT_GT(row, 16);        // on the first line only
    coverage(wrapped, column, row);
    EXPECT_LT(column, 6);
    EXPECT_LT(row, 16);        // wrapped onto lines below the first
}

TEST_F(Texture2DTest, TextTakesItsOwnSizeAndNeedsABox) {
    CCTexture2D* texture = ccCreate<CCTexture2D>(
        [](CCTexture2D* t) { return t->initWithString("Score 10", "DejaVu Sans", 12); });
    ASSERT_NE(texture, nullptr);
    EXPECT_GT(texture->contentSizeInPixels().width, 20);
    EXPECT_GT(texture->contentSizeInPixels().height, 8);
    EXPECT_EQ(texture->pixelsWide(), ccNextPOT(unsigned(texture->contentSizeInPixels().width)));
    // An empty box cannot be drawn into, nor one wider than GL takes.
    const float tooWide = float(CCConfiguration::sharedConfiguration()->maxTextureSize() + 1);
    for (float width : {0.0f, tooWide})
        EXPECT_EQ(ccCreate<CCTexture2D>([&](CCTexture2D* t) {
                      return t->initWithString("x", CGSizeMake(width, 10), UITextAlignmentLeft, "DejaVu Sans", 12);
                  }),
                  nullptr)
            << width;
}

TEST_F(Texture2DTest, RawPVRTCNeedsTheExtension) {
    const std::uint8_t data[32] = {};
    EXPECT_FALSE(CCConfiguration::sharedConfiguration()->supportsPVRTC());
    EXPECT_EQ(ccCreate<CCTexture2D>([&](CCTexture2D* t) { return t->initWithPVRTCData(data, 0, 2, true, 8); }),
              nullptr);
}

TEST_F(Texture2DTest, WrapModesAndMipmapsNeedPowerOfTwoSides) {
    const std::vector<std::uint8_t> pixels(128 * 128 * 4, 0x80);
    auto make = [&](unsigned side) {
        return ccCreate<CCTexture2D>([&](CCTexture2D* t) {
            return t->initWithData(pixels.data(), kCCTexture2DPixelFormat_RGBA8888, side, side,
                                   CGSizeMake(float(side), float(side)));
        });
    };
    const ccTexParams repeat{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT};
    CCTexture2D* pot = make(128);
    pot->setTexParameters(&repeat);
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_REPEAT);
    pot->generateMipmap();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    CCTexture2D* npot = make(100);
    EXPECT_FLOAT_EQ(npot->maxS(), 1.0f);
    npot->setAliasTexParameters();
    EXPECT_DEATH(npot->setTexParameters(&repeat), "GL_CLAMP_TO_EDGE should be used in NPOT textures");
    EXPECT_DEATH(npot->generateMipmap(), "Mimpap texture only works in POT textures");
}

} // namespace
