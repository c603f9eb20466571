#include "CCGLXContexts.h"

#include <GL/glx.h>
#include <SDL2/SDL_syswm.h>
#include <cstring>

#include "CCGLExtensions.h"
#include "CCLog.h"

namespace {

// From GLX_ARB_create_context and GLX_EXT_create_context_es_profile.
constexpr int kContextMajor = 0x2091, kContextMinor = 0x2092, kProfileMask = 0x9126, kESProfile = 0x0004;
using CreateContextAttribs = GLXContext (*)(Display*, GLXFBConfig, GLXContext, Bool, const int*);
using SwapIntervalEXT = void (*)(Display*, GLXDrawable, int);
using SwapIntervalMESA = int (*)(unsigned);

// Context creation reports failures as X errors; they are caught and counted, not fatal.
int xErrors = 0;
int countError(Display*, XErrorEvent*) {
    ++xErrors;
    return 0;
}

} // namespace

struct CCGLXContexts::Impl {
    Display* display = nullptr;
    Window window = 0;
    GLXFBConfig config = nullptr;
    GLXContext anchor = nullptr;
    CreateContextAttribs create = nullptr;
    const char* extensions = nullptr;

    GLXContext make(GLXContext share) {
        const int attributes[] = {kContextMajor, 1, kContextMinor, 1, kProfileMask, kESProfile, None};
        XSync(display, False);
        const int before = xErrors;
        auto previous = XSetErrorHandler(countError);
        GLXContext context = create(display, config, share, True, attributes);
        XSync(display, False);
        XSetErrorHandler(previous);
        if (xErrors != before && context) {
            glXDestroyContext(display, context);
            context = nullptr;
        }
        return context;
    }
};

CCGLXContexts::CCGLXContexts(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::unique_ptr<CCGLXContexts> CCGLXContexts::open(void* display, unsigned long window) {
    auto s = std::make_unique<Impl>();
    s->display = static_cast<Display*>(display);
    s->window = window;
    const int screen = DefaultScreen(s->display);
    s->extensions = glXQueryExtensionsString(s->display, screen);
    if (!ccExtensionListHas(s->extensions, "GLX_ARB_create_context") ||
        !ccExtensionListHas(s->extensions, "GLX_EXT_create_context_es_profile")) {
        CCLog("window surface: GLX makes no GL ES contexts here");
        return nullptr;
    }
    s->create = reinterpret_cast<CreateContextAttribs>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCreateContextAttribsARB")));
    XWindowAttributes attributes;
    if (!s->create || !XGetWindowAttributes(s->display, window, &attributes)) return nullptr;

    // The configuration of the window's own visual, double-buffered.
    const VisualID visual = XVisualIDFromVisual(attributes.visual);
    const int wanted[] = {GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, GLX_DOUBLEBUFFER, True, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(s->display, screen, wanted, &count);
    for (int i = 0; i < count && !s->config; ++i) {
        int id = 0;
        if (glXGetFBConfigAttrib(s->display, configs[i], GLX_VISUAL_ID, &id) == Success && VisualID(id) == visual)
            s->config = configs[i];
    }
    if (configs) XFree(configs);
    if (!s->config) {
        CCLog("window surface: no GLX configuration for the window's visual");
        return nullptr;
    }
    s->anchor = s->make(nullptr);
    if (!s->anchor) {
        CCLog("window surface: GLX refused a GL ES 1 context");
        return nullptr;
    }
    return std::unique_ptr<CCGLXContexts>(new CCGLXContexts(std::move(s)));
}

std::unique_ptr<CCGLXContexts> CCGLXContexts::openOnSDLWindow(void* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(static_cast<SDL_Window*>(window), &info) || info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    return open(info.info.x11.display, info.info.x11.window);
}

CCGLXContexts::~CCGLXContexts() {
    // Whatever context is current stops drawing to the window that goes; EGL contexts made
    // current later on this thread need no GLX context current.
    if (glXGetCurrentContext()) glXMakeContextCurrent(impl_->display, None, None, nullptr);
    glXDestroyContext(impl_->display, impl_->anchor);
}

void* CCGLXContexts::createContext() {
    GLXContext context = impl_->make(impl_->anchor);
    if (!context) CCLog("window surface: no GL ES 1 context from GLX");
    return context;
}

void CCGLXContexts::destroyContext(void* context) {
    if (!context) return;
    if (glXGetCurrentContext() == static_cast<GLXContext>(context)) makeCurrent(nullptr);
    glXDestroyContext(impl_->display, static_cast<GLXContext>(context));
}

bool CCGLXContexts::makeCurrent(void* context) {
    if (context && glXGetCurrentContext() == static_cast<GLXContext>(context)) return true;
    if (!context && !glXGetCurrentContext()) return true;
    return glXMakeContextCurrent(impl_->display, None, None, static_cast<GLXContext>(context)) == True;
}

void* CCGLXContexts::currentContext() const { return glXGetCurrentContext(); }

bool CCGLXContexts::bindWindow() {
    GLXContext context = glXGetCurrentContext();
    if (!context) return false;
    if (glXGetCurrentDrawable() == impl_->window) return true;
    return glXMakeContextCurrent(impl_->display, impl_->window, impl_->window, context) == True;
}

void CCGLXContexts::swap() { glXSwapBuffers(impl_->display, impl_->window); }

bool CCGLXContexts::setSwapInterval(int interval) {
    if (ccExtensionListHas(impl_->extensions, "GLX_EXT_swap_control")) {
        if (auto f = reinterpret_cast<SwapIntervalEXT>(procAddress("glXSwapIntervalEXT"))) {
            f(impl_->display, impl_->window, interval);
            return true;
        }
    }
    if (ccExtensionListHas(impl_->extensions, "GLX_MESA_swap_control")) {
        if (auto f = reinterpret_cast<SwapIntervalMESA>(procAddress("glXSwapIntervalMESA")))
            return f(unsigned(interval)) == 0;
    }
    return false;
}

void* CCGLXContexts::procAddress(const char* name) const {
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

bool CCGLXContexts::makeAnchorCurrent(bool onWindow) {
    const GLXDrawable drawable = onWindow ? impl_->window : None;
    return glXMakeContextCurrent(impl_->display, drawable, drawable, impl_->anchor) == True;
}
