#include "CCSurfaceBackend.h"

#include <algorithm>

#include "CCDriverHeap.h"
#include "CCGLExtensions.h"

CCPixelImage ccReadPixels(int x, int y, int width, int height) {
    CCPixelImage image;
    ccReadPixelsInto(image, x, y, width, height);
    return image;
}

void ccReadPixelsInto(CCPixelImage& image, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) {
        image = {};
        return;
    }
    image.width = width;
    image.height = height;
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    image.rgba.resize(row * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    // GL gives the bottom row first: the rows are swapped in place.
    std::uint8_t* pixels = image.rgba.data();
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + top * row, pixels + (top + 1) * row, pixels + bottom * row);
}

bool CCSurfaceBackend::renderbufferStorage(unsigned internalFormat, int width, int height) {
    glRenderbufferStorageOES(GL_RENDERBUFFER_OES, internalFormat, width, height);
    return glGetError() == GL_NO_ERROR;
}

CCSurfaceBackend::CCSurfaceBackend() { ccKeepHeapBetweenFrames(); }
CCSurfaceBackend::~CCSurfaceBackend() = default;

bool CCSurfaceBackend::present(const CCSurfaceFrame& frame) {
    ++presentedFrames_;
    if (keepsLastFrame_ || showsReadPixels()) {
        ccReadPixelsInto(lastFrame_, 0, 0, frame.width, frame.height);
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
