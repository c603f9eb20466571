#pragma once
// Reader of uncompressed and run-length TGA images (true-colour and grey).
#include <cstdint>

enum {
    TGA_OK = 0,
    TGA_ERROR_FILE_OPEN = 1,
    TGA_ERROR_READING_FILE = 2,
    TGA_ERROR_INDEXED_COLOR = 3,
    TGA_ERROR_MEMORY = 4,
    TGA_ERROR_COMPRESSED_FILE = 5,
};

struct sImageTGA {
    int status = TGA_OK;
    std::uint8_t type = 0;
    std::uint8_t pixelDepth = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    // Bottom row first; R, G, B (and A) for 24- and 32-bit images.
    std::uint8_t* imageData = nullptr;
    int flipped = 0;
};

// Always a record (nullptr only without memory for it); its status tells what happened.
sImageTGA* tgaLoad(const char* filename);
void tgaDestroy(sImageTGA* info);
