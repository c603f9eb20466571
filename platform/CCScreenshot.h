#pragma once
// Pictures of the device screen as a person sees it: the GL frame with the overlay of the
// application's views over it, turned upright for the status bar's orientation, as PNG files.
#include <string>

#include "CCSurfaceBackend.h"

class UIOverlay;

class CCScreenshot {
public:
    // The frame (portrait, row 0 at the top) with the overlay drawn over it; the overlay is
    // stretched when the frame is not 320 × 480 (a content scale above 1). The device screen is
    // opaque: the result has alpha 255 everywhere.
    static CCPixelImage compose(const CCPixelImage& frame, const UIOverlay& overlay);
    // The portrait picture turned to read upright in an orientation (1 to 4, as the status bar
    // has them): landscape orientations give a picture as wide as the portrait one is tall.
    static CCPixelImage upright(const CCPixelImage& portrait, int orientation);
    // Writes RGBA PNG; false with the reason in `error`.
    static bool writePNG(const CCPixelImage& image, const std::string& path, std::string* error);
};
