// JPEG through libjpeg-turbo. Errors and corrupt-data warnings (a truncated stream among
// them) longjmp back to the decoder, which then gives no image.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

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
    unsigned width = 0, height = 0;
    bool tooLarge = false;
};

} // namespace

bool ccLooksLikeJPEG(const std::uint8_t* bytes, std::size_t length) {
    return bytes && length >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

CGImage* ccDecodeJPEG(const std::uint8_t* bytes, std::size_t length, std::string* why) {
    auto refuse = [why](const char* reason) -> CGImage* {
        if (why) *why = reason;
        return nullptr;
    };
    if (!ccLooksLikeJPEG(bytes, length)) return refuse("not a JPEG picture");
    if (length > 0xFFFFFFFFu) return refuse("too large");
    auto state = std::make_unique<DecodeState>();
    jpeg_decompress_struct* info = &state->info;
    info->err = jpeg_std_error(&state->error.base);
    state->error.base.error_exit = failJump;
    state->error.base.emit_message = warningJump;
    state->error.base.output_message = silent;
    if (setjmp(state->error.jump)) {
        const int code = state->error.base.msg_code;
        const bool large = state->tooLarge;
        char message[JMSG_LENGTH_MAX] = "";
        state->error.base.format_message(reinterpret_cast<j_common_ptr>(info), message);
        jpeg_destroy_decompress(info);
        if (large) {
            if (why) *why = "too large (" + std::to_string(state->width) + " x " + std::to_string(state->height) +
                            ") for its " + std::to_string(length) + " bytes";
            return nullptr;
        }
        // The data ended (or met the end marker) before the picture it declares was complete.
        if (code == JWRN_JPEG_EOF || code == JERR_INPUT_EOF || code == JERR_INPUT_EMPTY || code == JWRN_HIT_MARKER) {
            if (why) *why = "truncated at byte " + std::to_string(length);
            return nullptr;
        }
        if (why) *why = std::string("corrupt (") + message + ")";
        return nullptr;
    }
    jpeg_create_decompress(info);
    // Progressive pictures keep every coefficient; what the decoder may hold is bounded by the
    // size of the input, so a short file cannot claim a huge picture and have it allocated.
    info->mem->max_memory_to_use = long(std::min<std::uint64_t>(kImageCodecMaxBytes, 256ull * length + (16u << 20)));
    jpeg_mem_src(info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(info, TRUE);
    state->width = info->image_width;
    state->height = info->image_height;
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    const bool gray = info->jpeg_color_space == JCS_GRAYSCALE;
    const unsigned outChannels = gray ? 1 : 3;
    if (info->image_width > kImageCodecMaxSide || info->image_height > kImageCodecMaxSide ||
        std::uint64_t{info->image_width} * info->image_height * outChannels > kImageCodecMaxBytes) {
        state->tooLarge = true;
        failJump(reinterpret_cast<j_common_ptr>(info));
    }
    info->out_color_space = cmyk ? JCS_CMYK : gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(info);
    const unsigned width = info->output_width, height = info->output_height;
    const unsigned inChannels = static_cast<unsigned>(info->output_components);
    if (inChannels != (cmyk ? 4u : outChannels)) failJump(reinterpret_cast<j_common_ptr>(info));
    // Rows are kept as they are decoded: the buffer grows with data actually read.
    const std::size_t rowBytes = std::size_t{width} * outChannels;
    state->pixels.reserve(std::min<std::size_t>(rowBytes * height, 64 * length + (1u << 20)));
    state->scanline.resize(std::size_t{width} * inChannels);
    while (info->output_scanline < height) {
        JSAMPROW row = state->scanline.data();
        if (jpeg_read_scanlines(info, &row, 1) != 1) failJump(reinterpret_cast<j_common_ptr>(info));
        if (!cmyk) {
            state->pixels.insert(state->pixels.end(), state->scanline.begin(), state->scanline.end());
            continue;
        }
        // Adobe writes inverted CMYK: each stored value is already 255 - ink.
        for (unsigned x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * 4;
            for (int c = 0; c < 3; ++c) state->pixels.push_back(static_cast<std::uint8_t>((p[c] * p[3] + 127) / 255));
        }
    }
    jpeg_finish_decompress(info);
    jpeg_destroy_decompress(info);
    return CGImage::imageWithBytes(width, height, 8, 8 * outChannels, rowBytes,
                                   gray ? CGColorSpace::DeviceGray : CGColorSpace::DeviceRGB, kCGImageAlphaNone,
                                   std::move(state->pixels));
}
