#pragma once
// A GL ES 1.1 context of the headless surface backend, current on the calling thread, for
// tests that issue GL calls. makeFramebuffer() adds an offscreen colour buffer to draw into
// and read back; without one, matrix-stack calls and state queries still work.
#include <GLES/gl.h>

#include "CCGLExtensions.h"
#include "CCPtr.h"
#include "CCSurfaceBackend.h"
#include "EAGLContext.h"

class HeadlessGL {
public:
    HeadlessGL() {
        context_ = CCPtr<EAGLContext>::adopt(
            ccNew<EAGLContext>([](EAGLContext* c) { return c->initWithAPI(kEAGLRenderingAPIOpenGLES1); }));
        ok_ = context_ && EAGLContext::setCurrentContext(context_);
        if (ok_) {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
        }
    }
    ~HeadlessGL() {
        if (!ok_) return;
        if (framebuffer_) glDeleteFramebuffersOES(1, &framebuffer_);
        if (renderbuffer_) glDeleteRenderbuffersOES(1, &renderbuffer_);
        if (EAGLContext::currentContext() == context_.get()) EAGLContext::setCurrentContext(nullptr);
    }
    HeadlessGL(const HeadlessGL&) = delete;
    HeadlessGL& operator=(const HeadlessGL&) = delete;

    bool ok() const { return ok_; }
    EAGLContext* context() const { return context_; }

    // Binds a new RGBA8 framebuffer of the given size with the viewport covering it.
    bool makeFramebuffer(int width, int height) {
        if (!ok_) return false;
        glGenFramebuffersOES(1, &framebuffer_);
        glGenRenderbuffersOES(1, &renderbuffer_);
        glBindFramebufferOES(GL_FRAMEBUFFER_OES, framebuffer_);
        glBindRenderbufferOES(GL_RENDERBUFFER_OES, renderbuffer_);
        glRenderbufferStorageOES(GL_RENDERBUFFER_OES, GL_RGBA8_OES, width, height);
        glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                                     renderbuffer_);
        glViewport(0, 0, width, height);
        width_ = width;
        height_ = height;
        return glCheckFramebufferStatusOES(GL_FRAMEBUFFER_OES) == GL_FRAMEBUFFER_COMPLETE_OES;
    }
    // A framebuffer set up the way the director's frame leaves GL for nodes: an orthographic
    // projection in pixels, the vertex, colour and texture-coordinate arrays, 2D texturing and
    // the engine's premultiplied blending.
    bool makeDrawingFramebuffer(int width, int height) {
        if (!makeFramebuffer(width, height)) return false;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, static_cast<GLfloat>(width), 0, static_cast<GLfloat>(height), -1024, 1024);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        return true;
    }
    // The whole bound framebuffer, row 0 at the top.
    CCPixelImage readPixels() const { return ccReadPixels(0, 0, width_, height_); }

    // The current model-view matrix, column-major.
    static void modelView(GLfloat m[16]) { glGetFloatv(GL_MODELVIEW_MATRIX, m); }

private:
    CCPtr<EAGLContext> context_;
    GLuint framebuffer_ = 0, renderbuffer_ = 0;
    int width_ = 0, height_ = 0;
    bool ok_ = false;
};
