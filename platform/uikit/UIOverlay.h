#pragma once
// The portrait picture of the application's views at the device screen's size (the key window,
// then the alert on screen over its backdrop), drawn with Cairo into premultiplied ARGB pixels that the
// surface backends composite over the GL frame. It is drawn again only when a view changed.
#include <cstdint>

#include "CCDeviceScreen.h"
#include "CCFrameOverlay.h"

typedef struct _cairo_surface cairo_surface_t;

class UIOverlay : public CCFrameOverlay {
public:
    static constexpr int kWidth = CCDeviceScreen::kWidth, kHeight = CCDeviceScreen::kHeight;
    UIOverlay();
    ~UIOverlay() override;
    UIOverlay(const UIOverlay&) = delete;
    UIOverlay& operator=(const UIOverlay&) = delete;

    // Draws the views again when the application says something changed; true when it did.
    bool redrawIfNeeded();
    // Draws unconditionally.
    void redraw();
    // How many times the views were drawn (each redraw adds one).
    unsigned long generation() const override { return generation_; }
    int width() const override { return kWidth; }
    int height() const override { return kHeight; }
    // A new overlay draws at once (another may have taken the views' change already); later
    // calls draw only after a change.
    bool update() override;
    // False when the last drawing left every pixel transparent (nothing to composite).
    bool hasContent() const override { return hasContent_; }

    // Rows top to bottom, 32-bit native-endian premultiplied ARGB per pixel.
    const unsigned char* data() const;
    int stride() const;
    // 0xAARRGGBB, premultiplied; 0 outside the picture.
    uint32_t pixelAt(int x, int y) const;
    const unsigned char* premultipliedARGB32(int* stride) const override {
        *stride = this->stride();
        return data();
    }
    // The same pixels as straight RGBA bytes, rows top to bottom (for textures and blending).
    void copyRGBA(unsigned char* out) const override;
    void copyPremultipliedRGBA(unsigned char* out) const override;
    // Lays the picture over a device-sized frame (straight RGBA, row 0 at the top), the way
    // the screen shows it. Frames of another size are left alone.
    void compositeOver(CCPixelImage& frame) const override;

private:
    cairo_surface_t* surface_ = nullptr;
    unsigned long generation_ = 0;
    bool hasContent_ = false;
};
