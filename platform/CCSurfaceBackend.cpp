#include "CCSurfaceBackend.h"

#include <cstring>

#include "CCGLExtensions.h"
#include "UIOverlay.h"

uint32_t CCPixelImage::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

CCPixelImage ccReadPixels(int x, int y, int width, int height) {
    CCPixelImage image;
    if (width <= 0 || height <= 0) return image;
    image.width = width;
    image.height = height;
    std::vector<uint8_t> upsideDown(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, upsideDown.data());
    image.rgba.resize(upsideDown.size());
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int r = 0; r < height; ++r)
        std::memcpy(&image.rgba[r * row], &upsideDown[(height - 1 - r) * row], row);
    return image;
}

bool CCSurfaceBackend::renderbufferStorage(unsigned internalFormat, int width, int height) {
    glRenderbufferStorageOES(GL_RENDERBUFFER_OES, internalFormat, width, height);
    return glGetError() == GL_NO_ERROR;
}

CCSurfaceBackend::CCSurfaceBackend() = default;
CCSurfaceBackend::~CCSurfaceBackend() = default;

UIOverlay& CCSurfaceBackend::overlay() {
    if (!overlay_) overlay_ = std::make_unique<UIOverlay>();
    return *overlay_;
}

bool CCSurfaceBackend::present(const CCSurfaceFrame& frame) {
    ++presentedFrames_;
    if (keepsLastFrame_ || showsReadPixels()) {
        lastFrame_ = ccReadPixels(0, 0, frame.width, frame.height);
        // Only the device's own screen carries the views; other framebuffers stay as drawn.
        if (compositesOverlay_ && frame.width == UIOverlay::kWidth && frame.height == UIOverlay::kHeight) {
            // A new overlay draws at once: the views may have been drawn elsewhere already.
            if (overlay().generation() == 0) overlay().redraw();
            else overlay().redrawIfNeeded();
            overlay().compositeOver(lastFrame_);
        }
    }
    return show(frame);
}

namespace {
CCSurfaceBackend*& chosen() {
    static CCSurfaceBackend* backend = nullptr; // lives for the whole process
    return backend;
}
} // namespace

CCSurfaceBackend* ccSurfaceBackend() {
    if (!chosen()) chosen() = ccMakeHeadlessSurfaceBackend().release();
    return chosen();
}

void ccSetSurfaceBackend(std::unique_ptr<CCSurfaceBackend> backend) {
    delete chosen();
    chosen() = backend.release();
}
