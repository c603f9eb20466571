#include "PvrFile.h"

namespace restool {

namespace {

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

void put32(std::vector<std::uint8_t>& b, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

bool encodePvr(const Image& image, PvrPixelType type, std::vector<std::uint8_t>* out, std::string* error) {
    if (!isPowerOfTwo(image.width) || !isPowerOfTwo(image.height)) {
        *error = "PVR texture sides must be powers of two, got " + std::to_string(image.width) + " x " +
                 std::to_string(image.height);
        return false;
    }
    const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
    const bool wide = type == PvrPixelType::Rgba8888;
    const std::size_t dataLength = pixels * (wide ? 4 : 2);

    std::vector<std::uint8_t> b(pvr::kHeaderLength + dataLength, 0);
    put32(b, 0, pvr::kHeaderLength);
    put32(b, pvr::kHeight, static_cast<std::uint32_t>(image.height));
    put32(b, pvr::kWidth, static_cast<std::uint32_t>(image.width));
    put32(b, pvr::kMipmapCount, 0);  // only the base level
    put32(b, pvr::kFlags, static_cast<std::uint32_t>(type) | pvr::kFlagAlpha);
    put32(b, pvr::kDataLength, static_cast<std::uint32_t>(dataLength));
    if (wide) {
        // Bytes R, G, B, A in memory: the masks of a little-endian 32-bit word.
        put32(b, pvr::kBitsPerPixel, 32);
        put32(b, pvr::kRedMask, 0x000000FF);
        put32(b, pvr::kGreenMask, 0x0000FF00);
        put32(b, pvr::kBlueMask, 0x00FF0000);
        put32(b, pvr::kAlphaMask, 0xFF000000);
    } else {
        put32(b, pvr::kBitsPerPixel, 16);
        put32(b, pvr::kRedMask, 0xF000);
        put32(b, pvr::kGreenMask, 0x0F00);
        put32(b, pvr::kBlueMask, 0x00F0);
        put32(b, pvr::kAlphaMask, 0x000F);
    }
    b[pvr::kTag + 0] = 'P';
    b[pvr::kTag + 1] = 'V';
    b[pvr::kTag + 2] = 'R';
    b[pvr::kTag + 3] = '!';
    put32(b, pvr::kSurfaceCount, 1);

    std::size_t o = pvr::kHeaderLength;
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* p = &image.rgba[i * 4];
        if (wide) {
            for (int c = 0; c < 4; ++c) b[o++] = p[c];
        } else {
            // 16-bit value in little-endian order, as GL_UNSIGNED_SHORT_4_4_4_4 reads it here.
            const std::uint16_t v = static_cast<std::uint16_t>((p[0] >> 4) << 12 | (p[1] >> 4) << 8 |
                                                               (p[2] >> 4) << 4 | (p[3] >> 4));
            b[o++] = static_cast<std::uint8_t>(v & 0xFF);
            b[o++] = static_cast<std::uint8_t>(v >> 8);
        }
    }
    *out = std::move(b);
    return true;
}

}  // namespace restool
