#pragma once
// A GLES 1.1 context on Mesa's surfaceless EGL platform, current on the calling thread,
// for tests that issue GL calls. No surface: matrix-stack calls and state queries work.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>

class HeadlessGL {
public:
    HeadlessGL() {
        auto getDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getDisplay) return;
        display_ = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) return;
        eglBindAPI(EGL_OPENGL_ES_API);
        const EGLint configAttribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT, EGL_NONE};
        EGLConfig config;
        EGLint count = 0;
        if (!eglChooseConfig(display_, configAttribs, &config, 1, &count) || count == 0) config = nullptr;
        const EGLint contextAttribs[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
        context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextAttribs);
        if (context_ == EGL_NO_CONTEXT) return;
        ok_ = eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
        if (ok_) {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
        }
    }
    ~HeadlessGL() {
        if (display_ == EGL_NO_DISPLAY) return;
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context_ != EGL_NO_CONTEXT) eglDestroyContext(display_, context_);
        eglTerminate(display_);
    }
    HeadlessGL(const HeadlessGL&) = delete;
    HeadlessGL& operator=(const HeadlessGL&) = delete;

    bool ok() const { return ok_; }

    // The current model-view matrix, column-major.
    static void modelView(GLfloat m[16]) { glGetFloatv(GL_MODELVIEW_MATRIX, m); }

private:
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
    bool ok_ = false;
};
