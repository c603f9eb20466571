#pragma once
// PNG and JPEG codecs behind the image objects. Bad or truncated input gives nullptr, never
// a crash, with a reason when one is asked for ("not a PNG or JPEG picture", "truncated at
// byte N", "too large (W x H)", "corrupt (...)"). Images larger than kImageCodecMaxSide on a
// side or kImageCodecMaxBytes decoded are refused, and so are sizes the data could not hold:
// nothing is allocated for pixels that the input cannot describe.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CGImage;

inline constexpr unsigned kImageCodecMaxSide = 16384;
inline constexpr std::size_t kImageCodecMaxBytes = 256u << 20;

// Autoreleased images, or nullptr (with why, when given, saying what is wrong).
CGImage* ccDecodePNG(const std::uint8_t* bytes, std::size_t length, std::string* why = nullptr);
CGImage* ccDecodeJPEG(const std::uint8_t* bytes, std::size_t length, std::string* why = nullptr);
// PNG or JPEG, told apart by their signature.
CGImage* ccDecodeImage(const std::uint8_t* bytes, std::size_t length, std::string* why = nullptr);
// True for data that starts like a PNG / a JPEG.
bool ccLooksLikePNG(const std::uint8_t* bytes, std::size_t length);
bool ccLooksLikeJPEG(const std::uint8_t* bytes, std::size_t length);
// 8-bit RGBA (images with alpha) or RGB; false when encoding fails.
bool ccEncodePNG(const CGImage& image, std::vector<std::uint8_t>& out);
