#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Image.h"

namespace restool {

// Pixel types of the version-2 PVR container (low byte of the header's flags word).
enum class PvrPixelType : std::uint32_t {
    Rgba4444 = 0x10,
    Rgba8888 = 0x12,
};

// Header field offsets of the 52-byte version-2 PVR header (little-endian 32-bit words).
namespace pvr {
constexpr std::size_t kHeaderLength = 52;
constexpr std::size_t kHeight = 4;
constexpr std::size_t kWidth = 8;
constexpr std::size_t kMipmapCount = 12;
constexpr std::size_t kFlags = 16;
constexpr std::size_t kDataLength = 20;
constexpr std::size_t kBitsPerPixel = 24;
constexpr std::size_t kRedMask = 28;
constexpr std::size_t kGreenMask = 32;
constexpr std::size_t kBlueMask = 36;
constexpr std::size_t kAlphaMask = 40;
constexpr std::size_t kTag = 44;
constexpr std::size_t kSurfaceCount = 48;
constexpr std::uint32_t kFlagAlpha = 0x8000;
}  // namespace pvr

// Encodes one uncompressed level (no mipmaps) of a power-of-two picture as a PVR file.
// The colours are stored as given (straight alpha). Returns false and sets *error when the
// picture's sides are not powers of two.
bool encodePvr(const Image& image, PvrPixelType type, std::vector<std::uint8_t>* out, std::string* error);

}  // namespace restool
