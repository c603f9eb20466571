#pragma once
// A picture in memory: RGBA8 pixels, rows from the top of the image down (row 0 is the top
// row). Frames read back from GL, the device screen and screenshots are kept in this form.
#include <cstdint>
#include <vector>

struct CCPixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    bool empty() const { return width == 0 || height == 0; }
    // The pixel at column x, row y (from the top) as 0xRRGGBBAA; 0 outside the picture.
    uint32_t pixel(int x, int y) const;
};
