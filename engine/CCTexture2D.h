#pragma once
// One GL texture object with the facts needed to draw from it: the GL image size (powers of
// two for images and text), the content size inside it, the texture coordinates where the
// content ends, the pixel format and whether colours are premultiplied by alpha.
#include <GLES/gl.h>

#include <string>

#include "CCObject.h"
#include "CGGeometry.h"
#include "NSStringDrawing.h"
#include "ccTypes.h"

class UIImage;

enum CCTexture2DPixelFormat : int {
    kCCTexture2DPixelFormat_Automatic = 0,
    kCCTexture2DPixelFormat_RGBA8888 = 1,
    kCCTexture2DPixelFormat_RGB565 = 2,
    kCCTexture2DPixelFormat_A8 = 3,
    kCCTexture2DPixelFormat_RGBA4444 = 4,
    kCCTexture2DPixelFormat_RGB5A1 = 5,
    kCCTexture2DPixelFormat_Default = kCCTexture2DPixelFormat_RGBA8888,
};

class CCTexture2D : public CCObject {
public:
    ~CCTexture2D() override;

    // Uploads the pixels as level 0 (linear filtering, clamp to edge) and leaves the texture
    // bound. A format outside 1..5 throws std::logic_error with an empty message.
    bool initWithData(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned pixelsWide,
                      unsigned pixelsHigh, CGSize contentSize);
    // Draws the image into a power-of-two bitmap (top-left corner) and uploads it; false when
    // the image has no bitmap or the enlarged size exceeds the GL limit.
    bool initWithImage(UIImage* image);
    // Text as an A8 texture: its coverage is the alpha; word wrap, alignment in the box.
    bool initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                        const std::string& fontName, float fontSize);
    // The box is the text's own size, centred.
    bool initWithString(const std::string& string, const std::string& fontName, float fontSize);
    // One level of square PVRTC data; false without PVRTC support.
    bool initWithPVRTCData(const void* data, int level, int bpp, bool hasAlpha, int length);
    // A PVR container file with all its levels; false when it cannot be read or is refused.
    bool initWithPVRFile(const std::string& path);

    GLuint name() const { return name_; }
    unsigned pixelsWide() const { return width_; }
    unsigned pixelsHigh() const { return height_; }
    CCTexture2DPixelFormat pixelFormat() const { return format_; }
    GLfloat maxS() const { return maxS_; }
    void setMaxS(GLfloat s) { maxS_ = s; }
    GLfloat maxT() const { return maxT_; }
    void setMaxT(GLfloat t) { maxT_ = t; }
    bool hasPremultipliedAlpha() const { return hasPremultipliedAlpha_; }
    CGSize contentSizeInPixels() const { return size_; }
    // The content size in points.
    CGSize contentSize() const;

    // Immediate drawing with the caller's colour and blending; vertex and texture-coordinate
    // arrays must be enabled.
    void drawAtPoint(CGPoint point) const;
    void drawInRect(CGRect rect) const;

    // Non-power-of-two textures only clamp.
    void setTexParameters(const ccTexParams* texParams);
    void setAntiAliasTexParameters();
    void setAliasTexParameters();
    // Power-of-two textures only.
    void generateMipmap();

    static void setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format);
    static CCTexture2DPixelFormat defaultAlphaPixelFormat();
    static void PVRImagesHavePremultipliedAlpha(bool haveAlphaPremultiplied);
    static bool PVRHaveAlphaPremultiplied();

    std::string description() const override;

private:
    GLuint name_ = 0;
    CGSize size_ = CGSizeZero;
    unsigned width_ = 0;
    unsigned height_ = 0;
    CCTexture2DPixelFormat format_ = kCCTexture2DPixelFormat_Automatic;
    GLfloat maxS_ = 0;
    GLfloat maxT_ = 0;
    bool hasPremultipliedAlpha_ = false;
};

// The 16-bit packings of one 8-bit RGBA pixel used for the 16-bit formats.
std::uint16_t ccPackRGB565(std::uint8_t r, std::uint8_t g, std::uint8_t b);
std::uint16_t ccPackRGBA4444(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);
std::uint16_t ccPackRGB5A1(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);
