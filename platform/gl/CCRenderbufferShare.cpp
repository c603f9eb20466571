#include "CCRenderbufferShare.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>
#include <GLES/glext.h>
#include <cstdint>

#include "CCGLExtensions.h"
#include "CCLog.h"

CCRenderbufferShare::~CCRenderbufferShare() {
    // Images need no context; textures went with the presenting context if close() was missed.
    for (std::size_t i = entries_.size(); i-- > 0;) {
        entries_[i].texture = 0;
        drop(i);
    }
}

bool CCRenderbufferShare::open() {
    EGLDisplay display = eglGetCurrentDisplay();
    if (display == EGL_NO_DISPLAY || eglGetCurrentContext() == EGL_NO_CONTEXT) return false;
    const char* egl = eglQueryString(display, EGL_EXTENSIONS);
    const char* gl = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!ccExtensionListHas(egl, "EGL_KHR_image_base") || !ccExtensionListHas(egl, "EGL_KHR_gl_renderbuffer_image") ||
        !ccExtensionListHas(gl, "GL_OES_EGL_image"))
        return false;
    createImage_ = reinterpret_cast<void*>(eglGetProcAddress("eglCreateImageKHR"));
    destroyImage_ = reinterpret_cast<void*>(eglGetProcAddress("eglDestroyImageKHR"));
    targetTexture_ = reinterpret_cast<void*>(eglGetProcAddress("glEGLImageTargetTexture2DOES"));
    if (!createImage_ || !destroyImage_ || !targetTexture_) return false;
    display_ = display;
    return true;
}

CCRenderbufferShare::Entry* CCRenderbufferShare::image(void* context, unsigned renderbuffer, int width, int height) {
    if (!available() || !context || !renderbuffer) return nullptr;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        if (e.context != context || e.renderbuffer != renderbuffer) continue;
        if (e.width == width && e.height == height) return &e;
        drop(i); // resized behind our back
        break;
    }
    auto create = reinterpret_cast<PFNEGLCREATEIMAGEKHRPROC>(createImage_);
    const EGLint attributes[] = {EGL_IMAGE_PRESERVED_KHR, EGL_TRUE, EGL_NONE};
    EGLImageKHR image = create(display_, static_cast<EGLContext>(context), EGL_GL_RENDERBUFFER_KHR,
                               reinterpret_cast<EGLClientBuffer>(static_cast<std::uintptr_t>(renderbuffer)), attributes);
    if (image == EGL_NO_IMAGE_KHR) {
        CCLog("window surface: no EGL image of the frame (0x%04X): copying frames instead", eglGetError());
        failed_ = true;
        return nullptr;
    }
    entries_.push_back({context, renderbuffer, width, height, image, 0});
    return &entries_.back();
}

unsigned CCRenderbufferShare::texture(Entry& e) {
    if (e.texture) return e.texture;
    if (!spareTextures_.empty()) {
        e.texture = spareTextures_.back();
        spareTextures_.pop_back();
    } else {
        glGenTextures(1, &e.texture);
    }
    glBindTexture(GL_TEXTURE_2D, e.texture);
    ccGLSetFrameSampling();
    reinterpret_cast<PFNGLEGLIMAGETARGETTEXTURE2DOESPROC>(targetTexture_)(GL_TEXTURE_2D, e.image);
    return e.texture;
}

void CCRenderbufferShare::drop(std::size_t index) {
    Entry& e = entries_[index];
    if (e.image && destroyImage_)
        reinterpret_cast<PFNEGLDESTROYIMAGEKHRPROC>(destroyImage_)(display_, e.image);
    if (e.texture) spareTextures_.push_back(e.texture);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void CCRenderbufferShare::forget(void* context, unsigned renderbuffer) {
    for (std::size_t i = entries_.size(); i-- > 0;)
        if (entries_[i].context == context && entries_[i].renderbuffer == renderbuffer) drop(i);
}

void CCRenderbufferShare::forgetContext(void* context) {
    for (std::size_t i = entries_.size(); i-- > 0;)
        if (entries_[i].context == context) drop(i);
}

void CCRenderbufferShare::close() {
    for (std::size_t i = entries_.size(); i-- > 0;) drop(i);
    if (!spareTextures_.empty()) glDeleteTextures(GLsizei(spareTextures_.size()), spareTextures_.data());
    spareTextures_.clear();
}
