#include "CCSurfaceBackend.h"

#include <cstring>

#include "CCGLExtensions.h"

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

bool CCSurfaceBackend::present(const CCSurfaceFrame& frame) {
    ++presentedFrames_;
    if (keepsLastFrame_ || showsReadPixels()) {
        lastFrame_ = ccReadPixels(0, 0, frame.width, frame.height);
        // Only the device's own screen carries the views; other framebuffers stay as drawn.
        if (compositesOverlay_ && overlay_ && frame.width == overlay_->width() && frame.height == overlay_->height()) {
            overlay_->update();
            overlay_->compositeOver(lastFrame_);
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
