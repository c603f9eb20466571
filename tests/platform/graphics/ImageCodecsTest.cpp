#include <gtest/gtest.h>

#include <zlib.h>

#include "CCAutoreleasePool.h"
#include "CGImage.h"
#include "ImageCodecs.h"
#include "NSData.h"
#include "UIImage.h"
#include "support/AllocationHooks.h"
#include "support/TestFiles.h"
#include "support/TestImages.h"

namespace {

std::array<std::uint8_t, 4> gradient(unsigned x, unsigned y) {
    return {std::uint8_t(x * 16), std::uint8_t(y * 32), std::uint8_t(200), std::uint8_t(x < 4 ? 255 : 128)};
}

} // namespace

TEST(ImageCodecs, PNGRoundTripKeepsPixelsAndLayout) {
    CCAutoreleaseScope scope;
    auto rgba = makeRGBA(8, 5, gradient);
    auto png = encodePNG(8, 5, rgba);
    ASSERT_FALSE(png.empty());
    UIImage* image = UIImage::imageWithData(NSData::dataWithVector(png));
    ASSERT_NE(image, nullptr);
    CGImage* bitmap = image->CGImage();
    EXPECT_EQ(bitmap->width(), 8u);
    EXPECT_EQ(bitmap->height(), 5u);
    EXPECT_EQ(bitmap->bitsPerComponent(), 8u);
    EXPECT_EQ(bitmap->alphaInfo(), kCGImageAlphaLast);
    EXPECT_EQ(bitmap->colorSpace(), CGColorSpace::DeviceRGB);
    EXPECT_EQ(bitmap->data(), rgba);
    EXPECT_EQ(image->size().width, 8);

    // Without alpha the decoded image has none either.
    UIImage* opaque = UIImage::imageWithData(NSData::dataWithVector(encodePNG(8, 5, rgba, false)));
    ASSERT_NE(opaque, nullptr);
    EXPECT_EQ(opaque->CGImage()->alphaInfo(), kCGImageAlphaNone);
    EXPECT_EQ(opaque->CGImage()->bitsPerPixel(), 24u);
}

TEST(ImageCodecs, JPEGDecodesToOpaqueRGB) {
    CCAutoreleaseScope scope;
    auto rgba = solidRGBA(16, 8, 200, 40, 90, 255);
    UIImage* image = UIImage::imageWithData(NSData::dataWithVector(encodeJPEG(16, 8, rgba)));
    ASSERT_NE(image, nullptr);
    CGImage* bitmap = image->CGImage();
    EXPECT_EQ(bitmap->width(), 16u);
    EXPECT_EQ(bitmap->alphaInfo(), kCGImageAlphaNone);
    EXPECT_EQ(bitmap->bitsPerComponent(), 8u);
    std::vector<std::uint8_t> row(16 * 4);
    bitmap->readRowStraight(3, row.data());
    EXPECT_NEAR(row[0], 200, 4);
    EXPECT_NEAR(row[1], 40, 4);
    EXPECT_NEAR(row[2], 90, 4);
    EXPECT_EQ(row[3], 255);
}

TEST(ImageCodecs, TruncatedOrGarbageDataGivesNoImage) {
    CCAutoreleaseScope scope;
    auto rgba = makeRGBA(32, 32, gradient);
    auto png = encodePNG(32, 32, rgba);
    auto jpeg = encodeJPEG(32, 32, rgba);
    for (std::size_t cut : {std::size_t{0}, std::size_t{4}, std::size_t{8}, std::size_t{30}, png.size() / 2,
                            png.size() - 13}) {
        std::vector<std::uint8_t> part(png.begin(), png.begin() + long(cut));
        EXPECT_EQ(UIImage::imageWithData(NSData::dataWithVector(part)), nullptr) << "png cut at " << cut;
    }
    for (std::size_t cut : {std::size_t{3}, std::size_t{20}, jpeg.size() / 2, jpeg.size() - 4}) {
        std::vector<std::uint8_t> part(jpeg.begin(), jpeg.begin() + long(cut));
        EXPECT_EQ(UIImage::imageWithData(NSData::dataWithVector(part)), nullptr) << "jpeg cut at " << cut;
    }
    // A valid signature followed by noise, and noise in the middle of the data.
    std::vector<std::uint8_t> noisy = png;
    for (std::size_t i = 16; i < noisy.size(); i += 7) noisy[i] ^= 0x5A;
    EXPECT_EQ(UIImage::imageWithData(NSData::dataWithVector(noisy)), nullptr);
    std::vector<std::uint8_t> garbage(300, 0xFF);
    garbage[1] = 0xD8;
    EXPECT_EQ(UIImage::imageWithData(NSData::dataWithVector(garbage)), nullptr);
    EXPECT_EQ(UIImage::imageWithData(nullptr), nullptr);
}

TEST(ImageCodecs, FilesAndEncoding) {
    CCAutoreleaseScope scope;
    TempDir dir;
    std::string path = dir.write("a.png", encodePNG(3, 2, solidRGBA(3, 2, 1, 2, 3, 4)));
    UIImage* image = UIImage::imageWithContentsOfFile(path);
    ASSERT_NE(image, nullptr);
    NSData* again = UIImagePNGRepresentation(image);
    ASSERT_NE(again, nullptr);
    UIImage* decoded = UIImage::imageWithData(again);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->CGImage()->data(), image->CGImage()->data());
    EXPECT_EQ(UIImage::imageWithContentsOfFile(dir.file("missing.png")), nullptr);
    EXPECT_EQ(UIImage::imageWithContentsOfFile(dir.path()), nullptr);
}

TEST(CGImage, RefusesInconsistentLayouts) {
    CCAutoreleaseScope scope;
    EXPECT_EQ(CGImage::imageWithRGBA(4, 4, std::vector<std::uint8_t>(63)), nullptr);
    EXPECT_EQ(CGImage::imageWithRGBA(0, 4, {}), nullptr);
    EXPECT_EQ(CGImage::imageWithBytes(2, 2, 8, 24, 6, CGColorSpace::DeviceRGB, kCGImageAlphaLast,
                                      std::vector<std::uint8_t>(12)),
              nullptr);
    EXPECT_EQ(CGImage::imageWithBytes(2, 2, 8, 8, 2, CGColorSpace::None, kCGImageAlphaNone, std::vector<std::uint8_t>(4)),
              nullptr);
    // A 5-bit RGB image with the top bit skipped.
    CGImage* rgb555 = CGImage::imageWithBytes(1, 1, 5, 16, 2, CGColorSpace::DeviceRGB, kCGImageAlphaNoneSkipFirst,
                                              {0x1F, 0x7C});
    ASSERT_NE(rgb555, nullptr);
    std::uint8_t px[4];
    rgb555->readRowStraight(0, px);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(px[2], 255);
}

namespace {

void putBE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

void addChunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& body) {
    putBE32(png, std::uint32_t(body.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    putBE32(png, std::uint32_t(crc32(0, typed.data(), unsigned(typed.size()))));
}

// A PNG header claiming a big RGBA picture, with a few deflated zero bytes as its data.
std::vector<std::uint8_t> claimedPNG(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBE32(header, width);
    putBE32(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    addChunk(png, "IHDR", header);
    std::vector<std::uint8_t> zeros(100, 0), packed(200);
    uLongf packedLength = packed.size();
    compress(packed.data(), &packedLength, zeros.data(), zeros.size());
    packed.resize(packedLength);
    addChunk(png, "IDAT", packed);
    addChunk(png, "IEND", {});
    return png;
}

// A picture with a chunk of the given type after its header that claims `length` bytes but
// holds only a few.
std::vector<std::uint8_t> withClaimingChunk(const char* type, std::uint32_t length) {
    const auto png = encodePNG(4, 2, makeRGBA(4, 2, gradient));
    constexpr std::size_t afterHeader = 8 + 12 + 13;
    std::vector<std::uint8_t> out(png.begin(), png.begin() + afterHeader);
    putBE32(out, length);
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), {1, 2, 3, 4, 5, 6});
    return out;
}

} // namespace

TEST(ImageCodecs, PaletteTransparencyIsKeptAndNotesAreSkipped) {
    CCAutoreleaseScope scope;
    // 2 x 1, 8-bit indices into red (half transparent) and blue, with a gamma and a text note.
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBE32(header, 2);
    putBE32(header, 1);
    header.insert(header.end(), {8, 3, 0, 0, 0});
    addChunk(png, "IHDR", header);
    std::vector<std::uint8_t> gamma;
    putBE32(gamma, 100000);
    addChunk(png, "gAMA", gamma);
    addChunk(png, "tEXt", {'T', 'i', 't', 'l', 'e', 0, 'c', 'a', 't'});
    addChunk(png, "PLTE", {255, 0, 0, 0, 0, 255});
    addChunk(png, "tRNS", {128});
    const std::vector<std::uint8_t> rows = {0, 0, 1};
    std::vector<std::uint8_t> packed(64);
    uLongf packedLength = packed.size();
    compress(packed.data(), &packedLength, rows.data(), rows.size());
    packed.resize(packedLength);
    addChunk(png, "IDAT", packed);
    addChunk(png, "IEND", {});

    std::string why;
    CGImage* image = ccDecodeImage(png.data(), png.size(), &why);
    ASSERT_NE(image, nullptr) << why;
    std::vector<std::uint8_t> rgba(8);
    image->readRowStraight(0, rgba.data());
    EXPECT_EQ(rgba, (std::vector<std::uint8_t>{255, 0, 0, 128, 0, 0, 255, 255}));
}

TEST(ImageCodecs, RefusalsSayWhyBeforeAllocatingWhatTheDataCannotHold) {
    CCAutoreleaseScope scope;
    std::string why;
    // 16384 x 16384 RGBA is a gigabyte; 140 bytes cannot describe it.
    const auto huge = claimedPNG(16384, 16384);
    EXPECT_EQ(ccDecodeImage(huge.data(), huge.size(), &why), nullptr);
    EXPECT_EQ(why.rfind("too large (16384 x 16384)", 0), 0u) << why;
    const auto wide = claimedPNG(kImageCodecMaxSide + 1, 1);
    EXPECT_EQ(ccDecodeImage(wide.data(), wide.size(), &why), nullptr);
    EXPECT_EQ(why.rfind("too large", 0), 0u) << why;

    auto png = encodePNG(32, 32, makeRGBA(32, 32, gradient));
    png.resize(png.size() / 2);
    EXPECT_EQ(ccDecodeImage(png.data(), png.size(), &why), nullptr);
    EXPECT_EQ(why, "truncated at byte " + std::to_string(png.size()));

    // Chunks the decoder has no use for are skipped, not read into memory of the size they claim.
    installAllocationHooks(); // without them (a build with no sanitizer) nothing is measured
    for (const char* type : {"sPLT", "iCCP", "zTXt", "iTXt", "tEXt", "eXIf", "ruSt"}) {
        const auto claiming = withClaimingChunk(type, 0x73737373);
        CGImage* image = nullptr;
        const std::size_t largest = largestAllocationOf([&] { image = ccDecodeImage(claiming.data(), claiming.size(), &why); });
        EXPECT_EQ(image, nullptr) << type;
        EXPECT_EQ(why, "truncated at byte " + std::to_string(claiming.size())) << type;
        EXPECT_LT(largest, 1u << 20) << type;
    }

    // A JPEG whose frame header claims 8000 x 8000 stops at the end of its few bytes.
    auto jpeg = encodeJPEG(16, 16, makeRGBA(16, 16, gradient));
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 8000 >> 8, jpeg[i + 6] = 8000 & 0xFF, jpeg[i + 7] = 8000 >> 8, jpeg[i + 8] = 8000 & 0xFF;
            break;
        }
    EXPECT_EQ(ccDecodeImage(jpeg.data(), jpeg.size(), &why), nullptr);
    EXPECT_EQ(why, "truncated at byte " + std::to_string(jpeg.size()));

    const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(ccDecodeImage(text.data(), text.size(), &why), nullptr);
    EXPECT_EQ(why, "not a PNG or JPEG picture");
    EXPECT_EQ(ccDecodeImage(nullptr, 0, &why), nullptr);
    EXPECT_EQ(why, "empty");
    TempDir dir;
    EXPECT_EQ(ccImageWithContentsOfFile(dir.file("absent.png"), &why), nullptr);
    EXPECT_EQ(why, "missing");
}
