#include "CCTexturePVR.h"

#include <GLES/glext.h>

#include <algorithm>
#include <vector>

#include "CCConfiguration.h"
#include "CCGLStateCache.h"
#include "NSData.h"
#include "ccCArray.h"
#include "ccMacros.h"
#include "ccUtils.h"

namespace {

constexpr std::uint32_t kPVRTC2 = 0x18;
constexpr std::uint32_t kPVRTC4 = 0x19;
constexpr std::size_t kHeaderLength = 52;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

std::uint32_t readLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

} // namespace

const CCPVRTexturePixelFormatInfo tableFormats[kCCPVRTableFormatCount] = {
    {0x10, GL_RGBA, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, 16, false},
    {0x11, GL_RGBA, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, 16, false},
    {0x12, GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, 32, false},
    {0x13, GL_RGB, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 16, false},
    {0x16, GL_LUMINANCE, GL_LUMINANCE, GL_UNSIGNED_BYTE, 8, false},
    {0x17, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 16, false},
    {kPVRTC2, GL_COMPRESSED_RGBA_PVRTC_2BPPV1_IMG, kNone, kNone, 2, true},
    {kPVRTC4, GL_COMPRESSED_RGBA_PVRTC_4BPPV1_IMG, kNone, kNone, 4, true},
    {0x1A, GL_RGBA, GL_BGRA_EXT, GL_UNSIGNED_BYTE, 32, false},
    {0x1B, GL_ALPHA, GL_ALPHA, GL_UNSIGNED_BYTE, 8, false},
};

CCTexturePVR::CCTexturePVR() { imageData_ = ccArrayNew(10); }

CCTexturePVR::~CCTexturePVR() {
    ccArrayFree(imageData_);
    if (!retainName_) ccGLDeleteTexture(name_);
}

bool CCTexturePVR::initWithContentsOfFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    bool ok = ccReadFile(path, bytes, &why);
    if (ok) {
        NSData* data = NSData::dataWithVector(std::move(bytes));
        ok = unpackPVRData(data, &why) && createGLTexture(&why);
    }
    if (!ok) CCLog("CCTexturePVR: cannot load %s: %s", path.c_str(), why.c_str());
    return ok;
}

bool CCTexturePVR::initWithContentsOfURL(const std::string& url) {
    static const std::string kScheme = "file://";
    if (url.compare(0, kScheme.size(), kScheme) != 0) return false;
    return initWithContentsOfFile(url.substr(kScheme.size()));
}

CCTexturePVR* CCTexturePVR::pvrTextureWithContentsOfFile(const std::string& path) {
    return ccCreate<CCTexturePVR>([&](CCTexturePVR* t) { return t->initWithContentsOfFile(path); });
}

CCTexturePVR* CCTexturePVR::pvrTextureWithContentsOfURL(const std::string& url) {
    return ccCreate<CCTexturePVR>([&](CCTexturePVR* t) { return t->initWithContentsOfURL(url); });
}

unsigned CCTexturePVR::levelCount() const { return imageData_->num; }

const NSData* CCTexturePVR::levelAtIndex(unsigned index) const {
    return index < imageData_->num ? static_cast<const NSData*>(imageData_->arr[index]) : nullptr;
}

bool CCTexturePVR::unpackPVRData(const NSData* data, std::string* why) {
    auto refuse = [why](std::string reason) {
        if (why) *why = std::move(reason);
        return false;
    };
    // A file shorter than its header has nothing to read.
    if (!data || data->length() < kHeaderLength)
        return refuse("truncated at byte " + std::to_string(data ? data->length() : 0));
    const std::uint8_t* header = data->bytes();
    if (header[44] != 'P' || header[45] != 'V' || header[46] != 'R' || header[47] != '!') return refuse("not a PVR file");
    const std::uint32_t height = readLE32(header + 4), width = readLE32(header + 8);
    // Zero sides would pass the power-of-two check but describe no image.
    if (width == 0 || height == 0 || ccNextPOT(width) != width || ccNextPOT(height) != height)
        return refuse("sides are not powers of two");
    if (width > kCCPVRMaxSide || height > kCCPVRMaxSide)
        return refuse("too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");

    const std::uint32_t pixelType = readLE32(header + 16) & 0xFF;
    unsigned index = 0;
    while (index < kCCPVRTableFormatCount && tableFormats[index].pixelType != pixelType) ++index;
    if (index == kCCPVRTableFormatCount) return refuse("unsupported pixel type " + std::to_string(pixelType));
    // Image data said to run past the end of the file would be read from beyond it.
    const std::uint32_t dataLength = readLE32(header + 20);
    if (dataLength > data->length() - kHeaderLength)
        return refuse("truncated at byte " + std::to_string(data->length()) + " of " +
                      std::to_string(std::uint64_t{dataLength} + kHeaderLength));
    tableFormatIndex_ = index;

    ccArrayRemoveAllObjects(imageData_);
    width_ = width;
    height_ = height;
    hasAlpha_ = readLE32(header + 40) != 0;

    const std::uint8_t* bytes = header + kHeaderLength;
    std::uint32_t w = width, h = height, offset = 0;
    // One level per halving down to 1 x 1; data past the last of them is not a level.
    unsigned levelsLeft = 1;
    for (std::uint32_t side = std::max(width, height); side > 1; side >>= 1) ++levelsLeft;
    while (offset < dataLength && levelsLeft-- > 0) {
        std::uint32_t blockSize, widthBlocks, heightBlocks, bpp;
        if (pixelType == kPVRTC2) {
            blockSize = 8 * 4;
            widthBlocks = w / 8;
            heightBlocks = h / 4;
            bpp = 2;
        } else if (pixelType == kPVRTC4) {
            blockSize = 4 * 4;
            widthBlocks = w / 4;
            heightBlocks = h / 4;
            bpp = 4;
        } else {
            blockSize = 1;
            widthBlocks = w;
            heightBlocks = h;
            bpp = tableFormats[index].bpp;
        }
        widthBlocks = std::max(widthBlocks, 2u);
        heightBlocks = std::max(heightBlocks, 2u);
        const std::uint64_t levelSize = std::uint64_t{widthBlocks} * heightBlocks * (blockSize * bpp / 8);
        const std::uint32_t taken = std::uint32_t(std::min<std::uint64_t>(levelSize, dataLength - offset));
        NSData* level = NSData::dataWithBytes(bytes + offset, taken);
        ccArrayAppendObjectWithResize(imageData_, level);
        offset += taken;
        w = std::max(w >> 1, 1u);
        h = std::max(h >> 1, 1u);
    }
    return true;
}

bool CCTexturePVR::createGLTexture(std::string* why) {
    if (tableFormatIndex_ >= kCCPVRTableFormatCount) return false;
    std::string reason = "upload failed";
    const CCPVRTexturePixelFormatInfo& row = tableFormats[tableFormatIndex_];
    if (imageData_->num > 0) {
        ccGLDeleteTexture(name_);
        glGenTextures(1, &name_);
        ccGLBindTexture2D(name_);
    }
    // Earlier errors are not this upload's.
    while (glGetError() != GL_NO_ERROR) {
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::uint32_t w = width_, h = height_;
    bool ok = true;
    for (unsigned i = 0; i < imageData_->num && ok; ++i) {
        const NSData* level = static_cast<const NSData*>(imageData_->arr[i]);
        if (row.compressed) {
            if (!CCConfiguration::sharedConfiguration()->supportsPVRTC()) {
                reason = "PVRTC compression is not supported here";
                ok = false;
                break;
            }
            glCompressedTexImage2D(GL_TEXTURE_2D, GLint(i), row.internalFormat, GLsizei(w), GLsizei(h), 0,
                                   GLsizei(level->length()), level->bytes());
        } else {
            // A level cut short by the end of the data would make GL read past it.
            if (level->length() < std::uint64_t{w} * h * row.bpp / 8) {
                reason = "level " + std::to_string(i) + " is truncated";
                ok = false;
                break;
            }
            glTexImage2D(GL_TEXTURE_2D, GLint(i), GLint(row.internalFormat), GLsizei(w), GLsizei(h), 0, row.format,
                         row.type, level->bytes());
        }
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            CCLog("Error uploading compressed texture level: %u . glError: 0x%04X", i, unsigned(error));
            ok = false;
        }
        w = std::max(w >> 1, 1u);
        h = std::max(h >> 1, 1u);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (!ok) {
        if (why) *why = reason;
        return false;
    }
    ccArrayRemoveAllObjects(imageData_);
    return true;
}
