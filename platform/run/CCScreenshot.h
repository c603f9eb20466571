#pragma once
// Pictures of the device screen as a person sees it: the presented frame (the GL frame with the
// application's views over it) turned upright for the status bar's orientation, as PNG files.
#include <string>

#include "CCSurfaceBackend.h"

class CCScreenshot {
public:
    // The portrait picture turned to read upright in an orientation (1 to 4, as the status bar
    // has them): landscape orientations give a picture as wide as the portrait one is tall.
    static CCPixelImage upright(const CCPixelImage& portrait, int orientation);
    // Writes RGBA PNG; false with the reason in `error`.
    static bool writePNG(const CCPixelImage& image, const std::string& path, std::string* error);
};
