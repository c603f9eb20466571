#pragma once
// A PVR container file (version 2 header) uploaded level by level, without decoding.
#include <GLES/gl.h>

#include <cstdint>
#include <string>

#include "CCObject.h"

struct ccArray;
class NSData;

// One accepted PVR pixel type and how GL takes it.
struct CCPVRTexturePixelFormatInfo {
    std::uint32_t pixelType;
    std::uint32_t internalFormat;
    std::uint32_t format;
    std::uint32_t type;
    std::uint32_t bpp;
    bool compressed;
};
inline constexpr unsigned kCCPVRTableFormatCount = 10;
// Larger sides are refused before anything is read for them (GL refuses far smaller ones).
inline constexpr unsigned kCCPVRMaxSide = 65536;
extern const CCPVRTexturePixelFormatInfo tableFormats[kCCPVRTableFormatCount];

class CCTexturePVR : public CCObject {
public:
    CCTexturePVR();
    ~CCTexturePVR() override;

    // A file that cannot be used is refused with a log line naming it and why.
    bool initWithContentsOfFile(const std::string& path);
    // Only "file://" URLs are read.
    bool initWithContentsOfURL(const std::string& url);
    static CCTexturePVR* pvrTextureWithContentsOfFile(const std::string& path);
    static CCTexturePVR* pvrTextureWithContentsOfURL(const std::string& url);

    // Checks the header and cuts the image data into levels; false for a file it refuses,
    // with why when asked.
    bool unpackPVRData(const NSData* data, std::string* why = nullptr);
    // Uploads the levels into a new GL texture and drops them.
    bool createGLTexture(std::string* why = nullptr);

    GLuint name() const { return name_; }
    unsigned width() const { return width_; }
    unsigned height() const { return height_; }
    bool hasAlpha() const { return hasAlpha_; }
    bool retainName() const { return retainName_; }
    void setRetainName(bool retain) { retainName_ = retain; }
    unsigned tableFormatIndex() const { return tableFormatIndex_; }
    // Level data held between unpacking and upload.
    unsigned levelCount() const;
    const NSData* levelAtIndex(unsigned index) const;

private:
    ccArray* imageData_ = nullptr;
    unsigned tableFormatIndex_ = ~0u;
    unsigned width_ = 0, height_ = 0;
    GLuint name_ = 0;
    bool hasAlpha_ = false;
    bool retainName_ = false;
};
