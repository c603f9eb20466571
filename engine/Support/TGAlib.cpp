#include "TGAlib.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/stat.h>

namespace {

bool readBytes(std::FILE* file, void* to, std::size_t count) { return std::fread(to, 1, count, file) == count; }

// Reads little-endian header fields; false at the end of the file.
bool readHeader(std::FILE* file, sImageTGA* info, std::uint8_t& idLength, std::uint8_t& descriptor) {
    std::uint8_t h[18];
    if (!readBytes(file, h, sizeof h)) return false;
    idLength = h[0];
    info->type = h[2];
    info->width = std::int16_t(h[12] | h[13] << 8);
    info->height = std::int16_t(h[14] | h[15] << 8);
    info->pixelDepth = h[16];
    descriptor = h[17];
    return true;
}

void swapRedBlue(std::uint8_t* pixel, unsigned bytesPerPixel) {
    if (bytesPerPixel >= 3) {
        std::uint8_t t = pixel[0];
        pixel[0] = pixel[2];
        pixel[2] = t;
    }
}

bool readRunLength(std::FILE* file, std::uint8_t* data, std::size_t pixels, unsigned bytesPerPixel) {
    std::size_t stored = 0;
    std::uint8_t pixel[4];
    while (stored < pixels) {
        std::uint8_t header;
        if (!readBytes(file, &header, 1)) return false;
        const bool run = header & 0x80;
        std::size_t count = std::size_t(header & 0x7F) + 1;
        // A packet may not write past the image.
        if (count > pixels - stored) count = pixels - stored;
        if (run) {
            if (!readBytes(file, pixel, bytesPerPixel)) return false;
            swapRedBlue(pixel, bytesPerPixel);
            for (std::size_t i = 0; i < count; ++i, ++stored)
                std::memcpy(data + stored * bytesPerPixel, pixel, bytesPerPixel);
        } else {
            for (std::size_t i = 0; i < count; ++i, ++stored) {
                std::uint8_t* to = data + stored * bytesPerPixel;
                if (!readBytes(file, to, bytesPerPixel)) return false;
                swapRedBlue(to, bytesPerPixel);
            }
        }
    }
    return true;
}

bool flipRows(sImageTGA* info, unsigned bytesPerPixel) {
    const std::size_t rowSize = std::size_t(info->width) * bytesPerPixel;
    auto* row = static_cast<std::uint8_t*>(std::malloc(rowSize ? rowSize : 1));
    if (!row) return false;
    for (int y = 0; y < info->height / 2; ++y) {
        std::uint8_t* a = info->imageData + std::size_t(y) * rowSize;
        std::uint8_t* b = info->imageData + std::size_t(info->height - 1 - y) * rowSize;
        std::memcpy(row, a, rowSize);
        std::memcpy(a, b, rowSize);
        std::memcpy(b, row, rowSize);
    }
    std::free(row);
    return true;
}

} // namespace

sImageTGA* tgaLoad(const char* filename) {
    auto* info = new (std::nothrow) sImageTGA;
    if (!info) return nullptr;
    std::FILE* file = filename ? std::fopen(filename, "rb") : nullptr;
    if (!file) {
        info->status = TGA_ERROR_FILE_OPEN;
        return info;
    }

    std::uint8_t idLength = 0, descriptor = 0;
    if (!readHeader(file, info, idLength, descriptor)) {
        info->status = TGA_ERROR_READING_FILE;
        std::fclose(file);
        return info;
    }
    info->flipped = (descriptor & 0x20) ? 1 : 0;
    // The image ID, when present, sits between the header and the pixels.
    if (idLength && std::fseek(file, idLength, SEEK_CUR) != 0) {
        info->status = TGA_ERROR_READING_FILE;
        std::fclose(file);
        return info;
    }

    const unsigned bytesPerPixel = info->pixelDepth / 8u;
    if (info->type == 1) {
        info->status = TGA_ERROR_INDEXED_COLOR;
    } else if ((info->type != 2 && info->type != 3 && info->type != 10) || info->pixelDepth % 8 != 0 ||
               bytesPerPixel < 1 || bytesPerPixel > 4 || info->width <= 0 || info->height <= 0) {
        // Also sizes and depths that describe no readable pixels.
        info->status = TGA_ERROR_COMPRESSED_FILE;
    }
    if (info->status != TGA_OK) {
        std::fclose(file);
        return info;
    }

    // The pixels must be there before they are allocated: stored ones byte for byte, run-length
    // ones at most 128 to a packet of one header and one pixel.
    const std::size_t pixels = std::size_t(info->width) * std::size_t(info->height);
    const long start = std::ftell(file);
    struct stat stats {};
    if (start < 0 || fstat(fileno(file), &stats) != 0 || stats.st_size < start) {
        info->status = TGA_ERROR_READING_FILE;
        std::fclose(file);
        return info;
    }
    const std::uint64_t present = std::uint64_t(stats.st_size - start);
    const std::uint64_t needed = info->type == 10 ? (pixels + 127) / 128 * (1 + bytesPerPixel) : pixels * bytesPerPixel;
    if (present < needed) {
        info->status = TGA_ERROR_READING_FILE;
        std::fclose(file);
        return info;
    }
    info->imageData = static_cast<std::uint8_t*>(std::malloc(pixels * bytesPerPixel));
    if (!info->imageData) {
        info->status = TGA_ERROR_MEMORY;
        std::fclose(file);
        return info;
    }

    bool read;
    if (info->type == 10) {
        read = readRunLength(file, info->imageData, pixels, bytesPerPixel);
    } else {
        read = readBytes(file, info->imageData, pixels * bytesPerPixel);
        if (read && bytesPerPixel >= 3)
            for (std::size_t i = 0; i < pixels; ++i) swapRedBlue(info->imageData + i * bytesPerPixel, bytesPerPixel);
    }
    std::fclose(file);
    if (!read) {
        info->status = TGA_ERROR_READING_FILE;
        return info;
    }
    if (info->flipped) {
        if (flipRows(info, bytesPerPixel))
            info->flipped = 0;
        else
            info->status = TGA_ERROR_MEMORY;
    }
    return info;
}

void tgaDestroy(sImageTGA* info) {
    if (!info) return;
    std::free(info->imageData);
    delete info;
}
