#include "CCTexture2D.h"

#include <GLES/glext.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "CCConfiguration.h"
#include "CCGLExtensions.h"
#include "CCGLStateCache.h"
#include "CCPtr.h"
#include "CCTexturePVR.h"
#include "CGContext.h"
#include "FontManager.h"
#include "UIFont.h"
#include "UIImage.h"
#include "ccMacros.h"
#include "ccUtils.h"

namespace {

CCTexture2DPixelFormat gDefaultAlphaPixelFormat = kCCTexture2DPixelFormat_Default;
bool gPVRHaveAlphaPremultiplied = false;

bool isPOT(unsigned v) { return v != 0 && ccNextPOT(v) == v; }

// Owns a bitmap context for the length of a function.
using ContextPtr = CCPtr<CGContext>;

} // namespace

std::uint16_t ccPackRGB565(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}
std::uint16_t ccPackRGBA4444(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    return static_cast<std::uint16_t>((r >> 4) << 12 | (g >> 4) << 8 | (b >> 4) << 4 | (a >> 4));
}
std::uint16_t ccPackRGB5A1(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    return static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 3) << 6 | (b >> 3) << 1 | (a >> 7));
}

CCTexture2D::~CCTexture2D() {
    ccGLDeleteTexture(name_);
}

bool CCTexture2D::initWithData(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned pixelsWide,
                               unsigned pixelsHigh, CGSize contentSize) {
    GLenum format = 0, type = 0;
    switch (pixelFormat) {
    case kCCTexture2DPixelFormat_RGBA8888: format = GL_RGBA, type = GL_UNSIGNED_BYTE; break;
    case kCCTexture2DPixelFormat_RGB565: format = GL_RGB, type = GL_UNSIGNED_SHORT_5_6_5; break;
    case kCCTexture2DPixelFormat_A8: format = GL_ALPHA, type = GL_UNSIGNED_BYTE; break;
    case kCCTexture2DPixelFormat_RGBA4444: format = GL_RGBA, type = GL_UNSIGNED_SHORT_4_4_4_4; break;
    case kCCTexture2DPixelFormat_RGB5A1: format = GL_RGBA, type = GL_UNSIGNED_SHORT_5_5_5_1; break;
    default: throw std::logic_error("");
    }
    ccGLDeleteTexture(name_);
    glGenTextures(1, &name_);
    ccGLBindTexture2D(name_);
    setAntiAliasTexParameters();
    // Rows of 1- and 2-byte pixels need not be 4-byte aligned.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), GLsizei(pixelsWide), GLsizei(pixelsHigh), 0, format, type, data);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    size_ = contentSize;
    width_ = pixelsWide;
    height_ = pixelsHigh;
    format_ = pixelFormat;
    maxS_ = pixelsWide ? contentSize.width / float(pixelsWide) : 0.f;
    maxT_ = pixelsHigh ? contentSize.height / float(pixelsHigh) : 0.f;
    hasPremultipliedAlpha_ = false;
    return true;
}

bool CCTexture2D::initWithImage(UIImage* uiImage) {
    CGImage* image = uiImage ? uiImage->CGImage() : nullptr;
    if (!image || image->width() == 0 || image->height() == 0) return false;

    const unsigned imageWidth = image->width(), imageHeight = image->height();
    const unsigned width = ccNextPOT(imageWidth), height = ccNextPOT(imageHeight);
    const unsigned maxSize = unsigned(CCConfiguration::sharedConfiguration()->maxTextureSize());
    // Also refuses sides past 2^31, whose next power of two wraps to 0.
    if (width == 0 || height == 0 || width > maxSize || height > maxSize) return false;

    const CGImageAlphaInfo info = image->alphaInfo();
    const bool hasAlpha = info == kCGImageAlphaPremultipliedLast || info == kCGImageAlphaPremultipliedFirst ||
                          info == kCGImageAlphaLast || info == kCGImageAlphaFirst;
    const bool hasColorSpace = image->colorSpace() != CGColorSpace::None;

    CCTexture2DPixelFormat pixelFormat;
    if (!hasColorSpace)
        pixelFormat = kCCTexture2DPixelFormat_A8;
    else if (!hasAlpha && image->bitsPerComponent() < 8)
        pixelFormat = kCCTexture2DPixelFormat_RGB565;
    else
        pixelFormat = gDefaultAlphaPixelFormat;

    CGColorSpace space;
    CGImageAlphaInfo contextInfo;
    unsigned bytesPerPixel;
    switch (pixelFormat) {
    case kCCTexture2DPixelFormat_RGBA8888:
    case kCCTexture2DPixelFormat_RGBA4444:
    case kCCTexture2DPixelFormat_RGB5A1:
        space = CGColorSpace::DeviceRGB;
        contextInfo = hasAlpha ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNoneSkipLast;
        bytesPerPixel = 4;
        break;
    case kCCTexture2DPixelFormat_RGB565:
        space = CGColorSpace::DeviceRGB;
        contextInfo = kCGImageAlphaNoneSkipLast;
        bytesPerPixel = 4;
        break;
    case kCCTexture2DPixelFormat_A8:
        space = CGColorSpace::None;
        contextInfo = kCGImageAlphaOnly;
        bytesPerPixel = 1;
        break;
    default: throw std::logic_error("Invalid pixel format");
    }

    const std::size_t pixels = std::size_t{width} * height;
    std::vector<std::uint8_t> data(pixels * bytesPerPixel, 0);
    auto context = ContextPtr::adopt(CGContext::createBitmapContext(data.data(), width, height, 8,
                                                                    std::size_t{width} * bytesPerPixel, space,
                                                                    contextInfo));
    if (!context) return false;
    context->clearRect(CGRectMake(0, 0, float(width), float(height)));
    context->translateCTM(0, float(height - imageHeight));
    context->drawImage(CGRectMake(0, 0, float(imageWidth), float(imageHeight)), image);

    const CGSize contentSize = CGSizeMake(float(imageWidth), float(imageHeight));
    if (pixelFormat == kCCTexture2DPixelFormat_RGB565 || pixelFormat == kCCTexture2DPixelFormat_RGBA4444 ||
        pixelFormat == kCCTexture2DPixelFormat_RGB5A1) {
        std::vector<std::uint16_t> packed(pixels);
        const std::uint8_t* p = data.data();
        for (std::size_t i = 0; i < pixels; ++i, p += 4) {
            packed[i] = pixelFormat == kCCTexture2DPixelFormat_RGB565     ? ccPackRGB565(p[0], p[1], p[2])
                        : pixelFormat == kCCTexture2DPixelFormat_RGBA4444 ? ccPackRGBA4444(p[0], p[1], p[2], p[3])
                                                                          : ccPackRGB5A1(p[0], p[1], p[2], p[3]);
        }
        data.clear();
        data.shrink_to_fit();
        initWithData(packed.data(), pixelFormat, width, height, contentSize);
    } else {
        initWithData(data.data(), pixelFormat, width, height, contentSize);
    }
    hasPremultipliedAlpha_ = contextInfo == kCGImageAlphaPremultipliedLast;
    return true;
}

bool CCTexture2D::initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                                 const std::string& fontName, float fontSize) {
    const unsigned boxWidth = dimensions.width > 0 ? unsigned(dimensions.width) : 0;
    const unsigned boxHeight = dimensions.height > 0 ? unsigned(dimensions.height) : 0;
    const unsigned width = ccNextPOT(boxWidth), height = ccNextPOT(boxHeight);
    // A box GL cannot hold would upload nothing; refuse it like an oversized image.
    const unsigned maxSize = unsigned(CCConfiguration::sharedConfiguration()->maxTextureSize());
    if (width == 0 || height == 0 || width > maxSize || height > maxSize) return false;

    std::vector<std::uint8_t> data(std::size_t{width} * height, 0);
    auto context = ContextPtr::adopt(CGContext::createBitmapContext(data.data(), width, height, 8, width,
                                                                    CGColorSpace::DeviceGray, kCGImageAlphaNone));
    if (!context) return false;

    context->setGrayFillColor(1.0f, 1.0f);
    context->translateCTM(0.0f, float(height));
    context->scaleCTM(1.0f, -1.0f);
    UIGraphicsPushContext(context);
    const CGRect box = CGRectMake(0, 0, dimensions.width, dimensions.height);
    if (ZFont* zFont = FontManager::sharedManager()->zFontWithName(fontName, fontSize))
        ::drawInRect(string, box, zFont, UILineBreakModeWordWrap, alignment);
    else
        ::drawInRect(string, box, UIFont::fontWithName(fontName, fontSize), UILineBreakModeWordWrap, alignment);
    UIGraphicsPopContext();

    initWithData(data.data(), kCCTexture2DPixelFormat_A8, width, height, dimensions);
    return true;
}

bool CCTexture2D::initWithString(const std::string& string, const std::string& fontName, float fontSize) {
    CGSize dim;
    if (ZFont* zFont = FontManager::sharedManager()->zFontWithName(fontName, fontSize))
        dim = sizeWithZFont(string, zFont);
    else
        dim = sizeWithFont(string, UIFont::fontWithName(fontName, fontSize));
    return initWithString(string, dim, UITextAlignmentCenter, fontName, fontSize);
}

bool CCTexture2D::initWithPVRTCData(const void* data, int level, int bpp, bool hasAlpha, int length) {
    if (!CCConfiguration::sharedConfiguration()->supportsPVRTC()) return false;
    ccGLDeleteTexture(name_);
    glGenTextures(1, &name_);
    ccGLBindTexture2D(name_);
    setAntiAliasTexParameters();

    GLsizei size = bpp * length * length / 8;
    if (size < 32) size = 32;
    GLenum format;
    if (hasAlpha)
        format = bpp == 4 ? GL_COMPRESSED_RGBA_PVRTC_4BPPV1_IMG : GL_COMPRESSED_RGBA_PVRTC_2BPPV1_IMG;
    else
        format = bpp == 4 ? GL_COMPRESSED_RGB_PVRTC_4BPPV1_IMG : GL_COMPRESSED_RGB_PVRTC_2BPPV1_IMG;
    glCompressedTexImage2D(GL_TEXTURE_2D, level, format, length, length, 0, size, data);

    size_ = CGSizeMake(float(length), float(length));
    width_ = height_ = unsigned(length);
    maxS_ = maxT_ = 1.0f;
    hasPremultipliedAlpha_ = gPVRHaveAlphaPremultiplied;
    return true;
}

bool CCTexture2D::initWithPVRFile(const std::string& path) {
    auto pvr = CCPtr<CCTexturePVR>::adopt(
        ccNew<CCTexturePVR>([&](CCTexturePVR* t) { return t->initWithContentsOfFile(path); }));
    if (!pvr) return false;
    pvr->setRetainName(true);
    ccGLDeleteTexture(name_);
    name_ = pvr->name();
    maxS_ = maxT_ = 1.0f;
    width_ = pvr->width();
    height_ = pvr->height();
    size_ = CGSizeMake(float(width_), float(height_));
    hasPremultipliedAlpha_ = gPVRHaveAlphaPremultiplied;
    pvr.reset();
    setAntiAliasTexParameters();
    return true;
}

CGSize CCTexture2D::contentSize() const {
    const float scale = CC_CONTENT_SCALE_FACTOR();
    return CGSizeMake(size_.width / scale, size_.height / scale);
}

void CCTexture2D::drawAtPoint(CGPoint point) const {
    const GLfloat coordinates[] = {0.0f, maxT_, maxS_, maxT_, 0.0f, 0.0f, maxS_, 0.0f};
    const GLfloat width = GLfloat(width_) * maxS_, height = GLfloat(height_) * maxT_;
    const GLfloat vertices[] = {point.x,         point.y,          0.0f, width + point.x, point.y,          0.0f,
                                point.x,         height + point.y, 0.0f, width + point.x, height + point.y, 0.0f};
    ccGLBindTexture2D(name_);
    ccGLForgetArrays();
    glVertexPointer(3, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, coordinates);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void CCTexture2D::drawInRect(CGRect rect) const {
    const GLfloat coordinates[] = {0.0f, maxT_, maxS_, maxT_, 0.0f, 0.0f, maxS_, 0.0f};
    const GLfloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    const GLfloat vertices[] = {x, y, x + w, y, x, y + h, x + w, y + h};
    ccGLBindTexture2D(name_);
    ccGLForgetArrays();
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, coordinates);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void CCTexture2D::setTexParameters(const ccTexParams* texParams) {
    CCAssert((isPOT(width_) && isPOT(height_)) ||
                 (texParams->wrapS == GL_CLAMP_TO_EDGE && texParams->wrapT == GL_CLAMP_TO_EDGE),
             "GL_CLAMP_TO_EDGE should be used in NPOT textures");
    ccGLBindTexture2D(name_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(texParams->minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(texParams->magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(texParams->wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(texParams->wrapT));
}

void CCTexture2D::setAntiAliasTexParameters() {
    const ccTexParams params{GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE};
    setTexParameters(&params);
}

void CCTexture2D::setAliasTexParameters() {
    const ccTexParams params{GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE};
    setTexParameters(&params);
}

void CCTexture2D::generateMipmap() {
    CCAssert(isPOT(width_) && isPOT(height_), "Mimpap texture only works in POT textures");
    ccGLBindTexture2D(name_);
    glGenerateMipmapOES(GL_TEXTURE_2D);
}

void CCTexture2D::setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format) { gDefaultAlphaPixelFormat = format; }
CCTexture2DPixelFormat CCTexture2D::defaultAlphaPixelFormat() { return gDefaultAlphaPixelFormat; }
void CCTexture2D::PVRImagesHavePremultipliedAlpha(bool have) { gPVRHaveAlphaPremultiplied = have; }
bool CCTexture2D::PVRHaveAlphaPremultiplied() { return gPVRHaveAlphaPremultiplied; }

std::string CCTexture2D::description() const {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, " | Name = %u | Dimensions = %ux%u | Coordinates = (%.2f, %.2f)>", name_,
                  width_, height_, double(maxS_), double(maxT_));
    return std::string("<").append(className()) + " = " + ccAddressString(this) + buffer;
}
