#include <gtest/gtest.h>

#include <cstring>

#include "CCLog.h"
#include "CCTexturePVR.h"
#include "NSBundle.h"
#include "NSData.h"
#include "TextureTestSupport.h"
#include "ccUtils.h"
#include "support/TestFiles.h"

namespace {

void put32(std::vector<std::uint8_t>& b, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[offset + i] = std::uint8_t(v >> (8 * i));
}

// A version-2 container with `dataLength` bytes after the header (pixels value `fill`).
std::vector<std::uint8_t> pvrFile(std::uint32_t width, std::uint32_t height, std::uint32_t pixelType,
                                  std::uint32_t dataLength, std::uint32_t alphaMask = 0xFF, std::uint8_t fill = 0x7F) {
    std::vector<std::uint8_t> b(52 + dataLength, fill);
    std::fill(b.begin(), b.begin() + 52, 0);
    put32(b, 0, 52);
    put32(b, 4, height);
    put32(b, 8, width);
    put32(b, 16, pixelType | 0x8000);
    put32(b, 20, dataLength);
    put32(b, 40, alphaMask);
    std::memcpy(&b[44], "PVR!", 4);
    return b;
}

class TexturePVRTest : public TextureGLTest {
protected:
    CCTexturePVR* load(const std::vector<std::uint8_t>& bytes) {
        return CCTexturePVR::pvrTextureWithContentsOfFile(dir.write("t.pvr", bytes));
    }
    TempDir dir;
};

TEST_F(TexturePVRTest, UploadsEveryLevelAndHandsItsNameToTheTexture) {
    // 8 × 4 RGBA8888 with two levels: 128 + 32 bytes.
    CCTexturePVR* pvr = load(pvrFile(8, 4, 0x12, 128 + 32));
    ASSERT_NE(pvr, nullptr);
    EXPECT_EQ(pvr->width(), 8u);
    EXPECT_EQ(pvr->height(), 4u);
    EXPECT_TRUE(pvr->hasAlpha());
    EXPECT_NE(pvr->name(), 0u);
    EXPECT_EQ(pvr->levelCount(), 0u); // dropped after upload
    EXPECT_EQ(pvr->tableFormatIndex(), 2u);

    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    CCTexture2D* texture = ccCreate<CCTexture2D>(
        [&](CCTexture2D* t) { return t->initWithPVRFile(dir.write("u.pvr", pvrFile(8, 4, 0x12, 128, 0))); });
    CCTexture2D::PVRImagesHavePremultipliedAlpha(false);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->pixelFormat(), kCCTexture2DPixelFormat_Automatic);
    EXPECT_EQ(texture->contentSizeInPixels(), CGSizeMake(8, 4));
    EXPECT_FLOAT_EQ(texture->maxS(), 1);
    EXPECT_TRUE(texture->hasPremultipliedAlpha());
    // The name outlived the container and draws the file's grey.
    EXPECT_TRUE(glIsTexture(texture->name()));
    glBlendFunc(GL_ONE, GL_ZERO);
    texture->drawAtPoint(CGPointMake(0, 0));
    EXPECT_EQ(pixel(3, 2), (RGBA{0x7F, 0x7F, 0x7F, 0x7F}));
}

TEST_F(TexturePVRTest, ShippedParticleTextureLoads) {
    const std::string path = std::string(ZORVIK_SOURCE_DIR) + "/Resources/test_image.pvr";
    CCTexture2D* texture = ccCreate<CCTexture2D>([&](CCTexture2D* t) { return t->initWithPVRFile(path); });
    ASSERT_NE(texture, nullptr);
    EXPECT_GT(texture->pixelsWide(), 0u);
    EXPECT_EQ(ccNextPOT(texture->pixelsWide()), texture->pixelsWide());
}

TEST_F(TexturePVRTest, RefusesBadHeadersAndShortFiles) {
    const auto good = pvrFile(4, 4, 0x12, 64);
    ASSERT_NE(load(good), nullptr);
    for (int i = 44; i < 48; ++i) {
        auto bad = good;
        bad[i] ^= 0x20;
        EXPECT_EQ(load(bad), nullptr) << "tag byte " << i;
    }
    EXPECT_EQ(load(pvrFile(96, 4, 0x12, 96 * 4 * 4)), nullptr);
    EXPECT_EQ(load(pvrFile(4, 96, 0x12, 96 * 4 * 4)), nullptr);
    EXPECT_EQ(load(pvrFile(0, 4, 0x12, 0)), nullptr);
    EXPECT_EQ(load(pvrFile(4, 4, 0x14, 32)), nullptr);
    // The header claims more image data than the file has.
    auto longClaim = good;
    put32(longClaim, 20, 65);
    EXPECT_EQ(load(longClaim), nullptr);
    auto hugeClaim = good;
    put32(hugeClaim, 20, 0xFFFFFFF0u);
    EXPECT_EQ(load(hugeClaim), nullptr);
    // A header cut short, an empty file, garbage, a missing file.
    EXPECT_EQ(load(std::vector<std::uint8_t>(good.begin(), good.begin() + 40)), nullptr);
    EXPECT_EQ(load({}), nullptr);
    EXPECT_EQ(load(std::vector<std::uint8_t>(300, 0xA5)), nullptr);
    EXPECT_EQ(CCTexturePVR::pvrTextureWithContentsOfFile(dir.file("none.pvr")), nullptr);
}

TEST_F(TexturePVRTest, LevelCutShortOfItsPixelsIsNotUploaded) {
    // Level 0 of 4 × 4 RGBA8888 needs 64 bytes; the data holds 40.
    EXPECT_EQ(load(pvrFile(4, 4, 0x12, 40)), nullptr);
}

TEST_F(TexturePVRTest, LevelsAreCutWithTheTwoBlockMinimum) {
    auto pvr = CCPtr<CCTexturePVR>::adopt(new CCTexturePVR);
    // 4 × 4 PVRTC 4-bit: 2 × 2 blocks × 8 bytes = 32 bytes per level; 50 bytes give 32 + 18.
    auto bytes = pvrFile(4, 4, 0x19, 50);
    ASSERT_TRUE(pvr->unpackPVRData(NSData::dataWithVector(bytes)));
    ASSERT_EQ(pvr->levelCount(), 2u);
    EXPECT_EQ(pvr->levelAtIndex(0)->length(), 32u);
    EXPECT_EQ(pvr->levelAtIndex(1)->length(), 18u);
    // Without PVRTC support the upload is refused.
    EXPECT_FALSE(pvr->createGLTexture());

    // 8 × 8 luminance: 64, then 16, 4 bytes (2 × 2 minimum) for the 4 × 4 and 2 × 2 levels.
    ASSERT_TRUE(pvr->unpackPVRData(NSData::dataWithVector(pvrFile(8, 8, 0x16, 64 + 16 + 4 + 4))));
    ASSERT_EQ(pvr->levelCount(), 4u);
    EXPECT_EQ(pvr->levelAtIndex(1)->length(), 16u);
    EXPECT_EQ(pvr->levelAtIndex(3)->length(), 4u);
    EXPECT_EQ(pvr->tableFormatIndex(), 4u);
}

TEST_F(TexturePVRTest, OnlyFileURLsAreRead) {
    const std::string path = dir.write("t.pvr", pvrFile(4, 4, 0x13, 32));
    EXPECT_NE(CCTexturePVR::pvrTextureWithContentsOfURL("file://" + path), nullptr);
    EXPECT_EQ(CCTexturePVR::pvrTextureWithContentsOfURL("http://localhost" + path), nullptr);
}

TEST_F(TexturePVRTest, UploadErrorsAreLoggedAndRefused) {
    // No size limit is checked before upload: a side beyond the GL limit fails there.
    const std::uint32_t wide = 2 * std::uint32_t(CCConfiguration::sharedConfiguration()->maxTextureSize());
    std::vector<std::string> lines;
    CCLogSink old = ccSetLogSink([&](const std::string& line) { lines.push_back(line); });
    CCTexturePVR* pvr = load(pvrFile(wide, 1, 0x16, wide));
    ccSetLogSink(old);
    EXPECT_EQ(pvr, nullptr);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Error uploading compressed texture level: 0 . glError: 0x0501");
    EXPECT_NE(lines[1].find("cannot load " + dir.path()), std::string::npos) << lines[1];
}

TEST_F(TexturePVRTest, RefusalsNameTheFileAndWhy) {
    const std::vector<std::uint8_t> good = pvrFile(4, 4, 0x13, 32);
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + 60), huge = pvrFile(4, 4, 0x13, 32);
    huge[4] = 0, huge[5] = 0, huge[6] = 2; // 131072 rows
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* why;
    } cases[] = {
        {{}, "truncated at byte 0"},
        {cut, "truncated at byte 60 of 84"},
        {std::vector<std::uint8_t>(80, 'x'), "not a PVR file"},
        {huge, "too large (4 x 131072)"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        CCLogSink old = ccSetLogSink([&](const std::string& line) { lines.push_back(line); });
        const std::string path = dir.write("bad.pvr", c.bytes);
        EXPECT_EQ(CCTexturePVR::pvrTextureWithContentsOfFile(path), nullptr);
        ccSetLogSink(old);
        ASSERT_EQ(lines.size(), 1u) << c.why;
        EXPECT_EQ(lines[0], "CCTexturePVR: cannot load " + path + ": " + c.why);
    }
    std::vector<std::string> lines;
    CCLogSink old = ccSetLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(CCTexturePVR::pvrTextureWithContentsOfFile(dir.file("none.pvr")), nullptr);
    ccSetLogSink(old);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "CCTexturePVR: cannot load " + dir.file("none.pvr") + ": missing");
}

} // namespace
