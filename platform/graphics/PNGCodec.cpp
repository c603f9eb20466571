// PNG through libpng; errors longjmp back to the decoder instead of aborting.
#include <png.h>

#include <cstring>
#include <memory>

#include "CGImage.h"
#include "ImageCodecs.h"

namespace {

struct Reader {
    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (count > reader->length - reader->offset) png_error(png, "truncated");
    std::memcpy(out, reader->bytes + reader->offset, count);
    reader->offset += count;
}

void failQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void warnQuietly(png_structp, png_const_charp) {}

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

CGImage* ccDecodePNG(const std::uint8_t* bytes, std::size_t length) {
    if (!ccLooksLikePNG(bytes, length)) return nullptr;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, warnQuietly);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    Reader reader{bytes, length, 0};
    auto state = std::make_unique<DecodeState>();
    png_uint_32 width = 0, height = 0;
    int channels = 0;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return nullptr;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_set_user_limits(png, kImageCodecMaxSide, kImageCodecMaxSide);
    png_set_chunk_malloc_max(png, 64u << 20);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    channels = png_get_channels(png, info);
    if (channels < 1 || channels > 4 || png_get_bit_depth(png, info) != 8 ||
        png_get_rowbytes(png, info) != std::size_t{width} * channels)
        png_error(png, "unexpected layout");
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
