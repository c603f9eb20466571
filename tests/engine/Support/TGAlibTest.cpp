#include <gtest/gtest.h>

#include <vector>

#include "TGAlib.h"
#include "support/TestFiles.h"

namespace {

std::vector<std::uint8_t> tgaHeader(std::uint8_t type, std::int16_t width, std::int16_t height, std::uint8_t depth,
                                    std::uint8_t descriptor = 0, std::uint8_t idLength = 0) {
    std::vector<std::uint8_t> h(18, 0);
    h[0] = idLength;
    h[2] = type;
    h[12] = std::uint8_t(width);
    h[13] = std::uint8_t(width >> 8);
    h[14] = std::uint8_t(height);
    h[15] = std::uint8_t(height >> 8);
    h[16] = depth;
    h[17] = descriptor;
    return h;
}

struct TGA {
    explicit TGA(const std::string& path) : info(tgaLoad(path.c_str())) {}
    ~TGA() { tgaDestroy(info); }
    std::vector<std::uint8_t> pixels(std::size_t n) const { return {info->imageData, info->imageData + n}; }
    sImageTGA* info;
};

TEST(TGALoad, ReadsTrueColourRowsAsRGBBottomFirst) {
    TempDir dir;
    // 2 × 2, 24-bit, stored BGR, top row first (descriptor 0x20).
    auto file = tgaHeader(2, 2, 2, 24, 0x20);
    const std::vector<std::uint8_t> bgr = {3, 2, 1, 6, 5, 4, /* row 2 */ 9, 8, 7, 12, 11, 10};
    file.insert(file.end(), bgr.begin(), bgr.end());
    TGA tga(dir.write("a.tga", file));
    ASSERT_NE(tga.info, nullptr);
    EXPECT_EQ(tga.info->status, TGA_OK);
    EXPECT_EQ(tga.info->width, 2);
    EXPECT_EQ(tga.info->flipped, 0);
    EXPECT_EQ(tga.pixels(12), (std::vector<std::uint8_t>{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
}

TEST(TGALoad, RunLengthPacketsAndTheImageIDField) {
    TempDir dir;
    // 4 × 1 grey with an ID of 3 bytes: a run of 3 × 0x40, then one literal 0x80.
    auto file = tgaHeader(10, 4, 1, 8, 0, 3);
    const std::vector<std::uint8_t> rest = {'I', 'D', '!', 0x82, 0x40, 0x00, 0x80};
    file.insert(file.end(), rest.begin(), rest.end());
    TGA tga(dir.write("rle.tga", file));
    ASSERT_EQ(tga.info->status, TGA_OK);
    EXPECT_EQ(tga.pixels(4), (std::vector<std::uint8_t>{0x40, 0x40, 0x40, 0x80}));

    // A run longer than the image stops at its end.
    auto over = tgaHeader(10, 2, 1, 32);
    const std::vector<std::uint8_t> run = {0xFF, 1, 2, 3, 4};
    over.insert(over.end(), run.begin(), run.end());
    TGA clipped(dir.write("over.tga", over));
    ASSERT_EQ(clipped.info->status, TGA_OK);
    EXPECT_EQ(clipped.pixels(8), (std::vector<std::uint8_t>{3, 2, 1, 4, 3, 2, 1, 4}));
}

TEST(TGALoad, BadFilesReportTheirStatus) {
    TempDir dir;
    auto status = [&](const std::vector<std::uint8_t>& bytes) {
        TGA tga(dir.write("bad.tga", bytes));
        return tga.info->status;
    };
    EXPECT_EQ(TGA(dir.file("missing.tga")).info->status, TGA_ERROR_FILE_OPEN);
    EXPECT_EQ(status({0, 0, 2}), TGA_ERROR_READING_FILE);
    EXPECT_EQ(status(tgaHeader(1, 2, 2, 8)), TGA_ERROR_INDEXED_COLOR);
    EXPECT_EQ(status(tgaHeader(9, 2, 2, 8)), TGA_ERROR_COMPRESSED_FILE);
    EXPECT_EQ(status(tgaHeader(2, -2, 2, 24)), TGA_ERROR_COMPRESSED_FILE);
    EXPECT_EQ(status(tgaHeader(2, 2, 0, 24)), TGA_ERROR_COMPRESSED_FILE);
    EXPECT_EQ(status(tgaHeader(2, 2, 2, 0)), TGA_ERROR_COMPRESSED_FILE);
    EXPECT_EQ(status(tgaHeader(2, 2, 2, 12)), TGA_ERROR_COMPRESSED_FILE);
    EXPECT_EQ(status(tgaHeader(2, 2, 2, 64)), TGA_ERROR_COMPRESSED_FILE);
    // Pixels or run-length packets cut short.
    auto shortRaw = tgaHeader(2, 100, 100, 32);
    shortRaw.resize(shortRaw.size() + 50, 7);
    EXPECT_EQ(status(shortRaw), TGA_ERROR_READING_FILE);
    auto shortRle = tgaHeader(10, 8, 8, 24);
    shortRle.insert(shortRle.end(), {0x85, 1, 2});
    EXPECT_EQ(status(shortRle), TGA_ERROR_READING_FILE);
    // A header alone claiming 32767 x 32767 pixels (4 GiB) is refused before anything is allocated.
    EXPECT_EQ(status(tgaHeader(2, 32767, 32767, 32)), TGA_ERROR_READING_FILE);
    auto hugeRle = tgaHeader(10, 32767, 32767, 32);
    hugeRle.insert(hugeRle.end(), {0xFF, 1, 2, 3, 4});
    EXPECT_EQ(status(hugeRle), TGA_ERROR_READING_FILE);
    auto shortId = tgaHeader(2, 1, 1, 8, 0, 200);
    EXPECT_EQ(status(shortId), TGA_ERROR_READING_FILE);
    sImageTGA* none = tgaLoad(nullptr);
    EXPECT_EQ(none->status, TGA_ERROR_FILE_OPEN);
    tgaDestroy(none);
}

} // namespace
