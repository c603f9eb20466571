#pragma once
// An RGBA8 offscreen framebuffer (OES framebuffer object) on the headless GL context, set up
// for drawing in pixels: viewport and orthographic projection of its size, identity
// model-view, blending on with the engine's default function. Pixels read back bottom-up.
#include <EGL/egl.h>
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <array>
#include <cstdint>

#include "support/HeadlessGL.h"

class HeadlessFramebuffer {
public:
    HeadlessFramebuffer(int width, int height) : width_(width), height_(height) {
        if (!gl_.ok()) return;
        gen_ = reinterpret_cast<PFNGLGENFRAMEBUFFERSOESPROC>(eglGetProcAddress("glGenFramebuffersOES"));
        bind_ = reinterpret_cast<PFNGLBINDFRAMEBUFFEROESPROC>(eglGetProcAddress("glBindFramebufferOES"));
        del_ = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSOESPROC>(eglGetProcAddress("glDeleteFramebuffersOES"));
        genRb_ = reinterpret_cast<PFNGLGENRENDERBUFFERSOESPROC>(eglGetProcAddress("glGenRenderbuffersOES"));
        bindRb_ = reinterpret_cast<PFNGLBINDRENDERBUFFEROESPROC>(eglGetProcAddress("glBindRenderbufferOES"));
        delRb_ = reinterpret_cast<PFNGLDELETERENDERBUFFERSOESPROC>(eglGetProcAddress("glDeleteRenderbuffersOES"));
        auto storage =
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEOESPROC>(eglGetProcAddress("glRenderbufferStorageOES"));
        auto attach = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFEROESPROC>(
            eglGetProcAddress("glFramebufferRenderbufferOES"));
        auto status = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSOESPROC>(
            eglGetProcAddress("glCheckFramebufferStatusOES"));
        if (!gen_ || !bind_ || !del_ || !genRb_ || !bindRb_ || !delRb_ || !storage || !attach || !status) return;
        gen_(1, &framebuffer_);
        bind_(GL_FRAMEBUFFER_OES, framebuffer_);
        genRb_(1, &renderbuffer_);
        bindRb_(GL_RENDERBUFFER_OES, renderbuffer_);
        storage(GL_RENDERBUFFER_OES, GL_RGBA8_OES, width, height);
        attach(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES, renderbuffer_);
        ok_ = status(GL_FRAMEBUFFER_OES) == GL_FRAMEBUFFER_COMPLETE_OES;
        if (!ok_) return;
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, static_cast<GLfloat>(width), 0, static_cast<GLfloat>(height), -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    ~HeadlessFramebuffer() {
        if (framebuffer_) del_(1, &framebuffer_);
        if (renderbuffer_) delRb_(1, &renderbuffer_);
    }
    HeadlessFramebuffer(const HeadlessFramebuffer&) = delete;
    HeadlessFramebuffer& operator=(const HeadlessFramebuffer&) = delete;

    bool ok() const { return ok_; }
    void clear(float r, float g, float b, float a) {
        glClearColor(r, g, b, a);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // RGBA of the pixel at (x, y), counted from the bottom-left.
    std::array<std::uint8_t, 4> pixel(int x, int y) const {
        std::array<std::uint8_t, 4> rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    HeadlessGL gl_;
    int width_, height_;
    bool ok_ = false;
    GLuint framebuffer_ = 0, renderbuffer_ = 0;
    PFNGLGENFRAMEBUFFERSOESPROC gen_ = nullptr;
    PFNGLBINDFRAMEBUFFEROESPROC bind_ = nullptr;
    PFNGLDELETEFRAMEBUFFERSOESPROC del_ = nullptr;
    PFNGLGENRENDERBUFFERSOESPROC genRb_ = nullptr;
    PFNGLBINDRENDERBUFFEROESPROC bindRb_ = nullptr;
    PFNGLDELETERENDERBUFFERSOESPROC delRb_ = nullptr;
};
