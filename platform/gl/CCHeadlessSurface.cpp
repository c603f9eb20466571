// The headless surface backend: GL ES 1 contexts on Mesa's surfaceless EGL platform. There is
// no window; the renderer draws into its own framebuffer object and presented frames are kept
// in memory for screenshots and tests.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>

#include "CCLog.h"
#include "CCSurfaceBackend.h"

namespace {

class CCHeadlessSurface : public CCSurfaceBackend {
public:
    const char* name() const override { return "headless"; }

    void* createContext(void* share) override {
        if (!initialize()) return nullptr;
        eglBindAPI(EGL_OPENGL_ES_API); // per thread
        const EGLint attribs[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
        EGLContext context =
            eglCreateContext(display_, config_, share ? static_cast<EGLContext>(share) : EGL_NO_CONTEXT, attribs);
        if (context == EGL_NO_CONTEXT) {
            CCLog("headless surface: eglCreateContext failed (0x%04X)", eglGetError());
            return nullptr;
        }
        return context;
    }

    void destroyContext(void* context) override {
        if (context && display_ != EGL_NO_DISPLAY) eglDestroyContext(display_, static_cast<EGLContext>(context));
    }

    bool makeCurrent(void* context) override {
        if (!context) {
            if (display_ == EGL_NO_DISPLAY) return true;
            return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        }
        return initialize() &&
               eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, static_cast<EGLContext>(context));
    }

    void* procAddress(const char* name) override { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

protected:
    // Nothing is shown, but the frame is handed to the driver: a context that is never flushed
    // keeps every frame's uploads alive (Mesa: some 180 KB a frame, without end).
    bool show(const CCSurfaceFrame&) override {
        glFlush();
        return true;
    }

private:
    bool initialize() {
        if (display_ != EGL_NO_DISPLAY) return true;
        if (failed_) return false;
        failed_ = true;
        auto getDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getDisplay) {
            CCLog("headless surface: no eglGetPlatformDisplayEXT");
            return false;
        }
        EGLDisplay display = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
            CCLog("headless surface: no surfaceless EGL display");
            return false;
        }
        eglBindAPI(EGL_OPENGL_ES_API);
        const EGLint configAttribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT, EGL_NONE};
        EGLint count = 0;
        if (!eglChooseConfig(display, configAttribs, &config_, 1, &count) || count == 0) config_ = nullptr;
        display_ = display;
        failed_ = false;
        return true;
    }

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLConfig config_ = nullptr;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<CCSurfaceBackend> ccMakeHeadlessSurfaceBackend() { return std::make_unique<CCHeadlessSurface>(); }
