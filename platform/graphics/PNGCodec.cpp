// PNG through libpng; errors longjmp back to the decoder instead of aborting.
#include <png.h>

#include <cstring>
#include <memory>
#include <string>

#include "CGImage.h"
#include "ImageCodecs.h"

namespace {

struct Reader {
    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t offset;
};

// The most a deflate stream expands: an honest picture is never larger than this many times
// its file, before the expansion of palettes and small samples.
constexpr std::uint64_t kInflateRatio = 1040;

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (count > reader->length - reader->offset) png_error(png, "truncated");
    std::memcpy(out, reader->bytes + reader->offset, count);
    reader->offset += count;
}

// The message is kept for the caller (when there is a place for it) and decoding stops.
void failQuietly(png_structp png, png_const_charp message) {
    auto* why = static_cast<std::string*>(png_get_error_ptr(png));
    const bool limit = why && why->find("exceeds user limit") != std::string::npos;
    if (why && !limit && message != why->c_str()) *why = message ? message : "corrupt";
    png_longjmp(png, 1);
}
// A side past the limit is a warning followed by a plain "Invalid IHDR data" error: the
// warning is the better reason, so it is kept in place of any earlier message.
void warnQuietly(png_structp png, png_const_charp message) {
    auto* why = static_cast<std::string*>(png_get_error_ptr(png));
    if (why && message && std::strstr(message, "exceeds user limit")) *why = message;
}

struct DecodeState {
    std::vector<std::uint8_t> pixels;
    std::vector<png_bytep> rows;
};

void writeToVector(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}
void flushNothing(png_structp) {}

} // namespace

bool ccLooksLikePNG(const std::uint8_t* bytes, std::size_t length) {
    return bytes && length >= 8 && png_sig_cmp(const_cast<png_bytep>(bytes), 0, 8) == 0;
}

CGImage* ccDecodePNG(const std::uint8_t* bytes, std::size_t length, std::string* why) {
    std::string error;
    auto refuse = [&](std::string reason) -> CGImage* {
        if (why) *why = std::move(reason);
        return nullptr;
    };
    if (!ccLooksLikePNG(bytes, length)) return refuse(length < 8 ? "truncated at byte " + std::to_string(length)
                                                                 : "not a PNG picture");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, failQuietly, warnQuietly);
    if (!png) return refuse("out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return refuse("out of memory");
    }
    Reader reader{bytes, length, 0};
    auto state = std::make_unique<DecodeState>();
    png_uint_32 width = 0, height = 0;
    int channels = 0;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (error == "truncated") return refuse("truncated at byte " + std::to_string(length));
        if (error.rfind("too large", 0) == 0) return refuse(error);
        if (error.find("exceeds user limit") != std::string::npos) return refuse("too large (" + error + ")");
        return refuse("corrupt (" + error + ")");
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_set_user_limits(png, kImageCodecMaxSide, kImageCodecMaxSide);
    png_set_chunk_malloc_max(png, 64u << 20);
    // Only the pixels are wanted: every ancillary chunk but tRNS is skipped as it is read. libpng
    // would otherwise allocate what a text, profile or palette chunk claims before reading it.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    // The stored rows (one filter byte each) must fit in what the rest of the file can inflate to.
    const std::uint64_t stored = std::uint64_t{height} * (png_get_rowbytes(png, info) + 1);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    // The message is built before png_error, whose long jump would skip a temporary's destructor.
    if (stored > kInflateRatio * (length - reader.offset) + (interlaced ? 7u * height + 64 : 64)) {
        error = "too large (" + std::to_string(width) + " x " + std::to_string(height) + ") for its " +
                std::to_string(length) + " bytes";
        png_error(png, error.c_str());
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    channels = png_get_channels(png, info);
    if (channels < 1 || channels > 4 || png_get_bit_depth(png, info) != 8 ||
        png_get_rowbytes(png, info) != std::size_t{width} * channels)
        png_error(png, "unexpected layout");
    if (std::uint64_t{width} * height * channels > kImageCodecMaxBytes) {
        error = "too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        png_error(png, error.c_str());
    }
    state->pixels.resize(std::size_t{width} * height * channels);
    state->rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) state->rows[y] = state->pixels.data() + std::size_t{y} * width * channels;
    png_read_image(png, state->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    const bool alpha = channels == 2 || channels == 4;
    const CGColorSpace space = channels <= 2 ? CGColorSpace::DeviceGray : CGColorSpace::DeviceRGB;
    return CGImage::imageWithBytes(width, height, 8, 8 * channels, std::size_t{width} * channels, space,
                                   alpha ? kCGImageAlphaLast : kCGImageAlphaNone, std::move(state->pixels));
}

CGImage* ccDecodeImage(const std::uint8_t* bytes, std::size_t length, std::string* why) {
    if (ccLooksLikePNG(bytes, length)) return ccDecodePNG(bytes, length, why);
    if (ccLooksLikeJPEG(bytes, length)) return ccDecodeJPEG(bytes, length, why);
    if (why) *why = length == 0 ? "empty" : "not a PNG or JPEG picture";
    return nullptr;
}

bool ccEncodePNG(const CGImage& image, std::vector<std::uint8_t>& out) {
    out.clear();
    const CGImageAlphaInfo info = image.alphaInfo();
    const bool alpha = info != kCGImageAlphaNone && info != kCGImageAlphaNoneSkipFirst &&
                       info != kCGImageAlphaNoneSkipLast;
    const unsigned channels = alpha ? 4 : 3;
    const unsigned width = image.width(), height = image.height();
    auto state = std::make_unique<DecodeState>();
    state->pixels.resize(std::size_t{width} * height * channels);
    std::vector<std::uint8_t> rgba(std::size_t{width} * 4);
    for (unsigned y = 0; y < height; ++y) {
        image.readRowStraight(y, rgba.data());
        std::uint8_t* row = state->pixels.data() + std::size_t{y} * width * channels;
        for (unsigned x = 0; x < width; ++x)
            for (unsigned c = 0; c < channels; ++c) row[x * channels + c] = rgba[x * 4 + c];
    }
    state->rows.resize(height);
    for (unsigned y = 0; y < height; ++y) state->rows[y] = state->pixels.data() + std::size_t{y} * width * channels;

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, warnQuietly);
    if (!png) return false;
    png_infop pngInfo = png_create_info_struct(png);
    if (!pngInfo) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &pngInfo);
        out.clear();
        return false;
    }
    png_set_write_fn(png, &out, writeToVector, flushNothing);
    png_set_IHDR(png, pngInfo, width, height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, pngInfo);
    png_write_image(png, state->rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &pngInfo);
    return true;
}
