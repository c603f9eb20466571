// JPEG through libjpeg-turbo. Errors and corrupt-data warnings (a truncated stream among
// them) longjmp back to the decoder, which then gives no image.
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

#include "CGImage.h"
#include "ImageCodecs.h"

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void failJump(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

void warningJump(j_common_ptr info, int level) {
    if (level < 0) failJump(info);
}

void silent(j_common_ptr) {}

struct DecodeState {
    jpeg_decompress_struct info;
    ErrorManager error;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> scanline;
};

} // namespace

bool ccLooksLikeJPEG(const std::uint8_t* bytes, std::size_t length) {
    return bytes && length >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

CGImage* ccDecodeJPEG(const std::uint8_t* bytes, std::size_t length) {
    if (!ccLooksLikeJPEG(bytes, length) || length > 0xFFFFFFFFu) return nullptr;
    auto state = std::make_unique<DecodeState>();
    jpeg_decompress_struct* info = &state->info;
    info->err = jpeg_std_error(&state->error.base);
    state->error.base.error_exit = failJump;
    state->error.base.emit_message = warningJump;
    state->error.base.output_message = silent;
    if (setjmp(state->error.jump)) {
        jpeg_destroy_decompress(info);
        return nullptr;
    }
    jpeg_create_decompress(info);
    jpeg_mem_src(info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(info, TRUE);
    if (info->image_width > kImageCodecMaxSide || info->image_height > kImageCodecMaxSide) failJump(
        reinterpret_cast<j_common_ptr>(info));
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    const bool gray = info->jpeg_color_space == JCS_GRAYSCALE;
    info->out_color_space = cmyk ? JCS_CMYK : gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(info);
    const unsigned width = info->output_width, height = info->output_height;
    const unsigned inChannels = static_cast<unsigned>(info->output_components);
    const unsigned outChannels = gray ? 1 : 3;
    if (inChannels != (cmyk ? 4u : outChannels)) failJump(reinterpret_cast<j_common_ptr>(info));
    state->pixels.resize(std::size_t{width} * height * outChannels);
    state->scanline.resize(std::size_t{width} * inChannels);
    while (info->output_scanline < height) {
        unsigned y = info->output_scanline;
        JSAMPROW row = state->scanline.data();
        if (jpeg_read_scanlines(info, &row, 1) != 1) failJump(reinterpret_cast<j_common_ptr>(info));
        std::uint8_t* out = state->pixels.data() + std::size_t{y} * width * outChannels;
        if (!cmyk) {
            std::copy(state->scanline.begin(), state->scanline.end(), out);
            continue;
        }
        // Adobe writes inverted CMYK: each stored value is already 255 - ink.
        for (unsigned x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * 4;
            for (int c = 0; c < 3; ++c) out[x * 3 + c] = static_cast<std::uint8_t>((p[c] * p[3] + 127) / 255);
        }
    }
    jpeg_finish_decompress(info);
    jpeg_destroy_decompress(info);
    return CGImage::imageWithBytes(width, height, 8, 8 * outChannels, std::size_t{width} * outChannels,
                                   gray ? CGColorSpace::DeviceGray : CGColorSpace::DeviceRGB, kCGImageAlphaNone,
                                   std::move(state->pixels));
}
