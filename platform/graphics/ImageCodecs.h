#pragma once
// PNG and JPEG codecs behind the image objects. Bad or truncated input gives nullptr, never
// a crash; images larger than kImageCodecMaxSide on a side are refused.
#include <cstddef>
#include <cstdint>
#include <vector>

class CGImage;

inline constexpr unsigned kImageCodecMaxSide = 16384;

// Autoreleased images, or nullptr.
CGImage* ccDecodePNG(const std::uint8_t* bytes, std::size_t length);
CGImage* ccDecodeJPEG(const std::uint8_t* bytes, std::size_t length);
// True for data that starts like a PNG / a JPEG.
bool ccLooksLikePNG(const std::uint8_t* bytes, std::size_t length);
bool ccLooksLikeJPEG(const std::uint8_t* bytes, std::size_t length);
// 8-bit RGBA (images with alpha) or RGB; false when encoding fails.
bool ccEncodePNG(const CGImage& image, std::vector<std::uint8_t>& out);
