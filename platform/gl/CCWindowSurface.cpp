#include "CCWindowSurface.h"

#include <EGL/egl.h>
#include <GLES/gl.h>
#include <SDL2/SDL.h>
#include <cstring>
#include <optional>

#include "CCClock.h"
#include "CCDisplay.h"
#include "CCFrameTextures.h"
#include "CCGLExtensions.h"
#include "CCGLStateScope.h"
#include "CCGLXContexts.h"
#include "CCLog.h"
#include "CCRenderbufferShare.h"
#include "CCWindowEvent.h"
#include "CCWindowInput.h"
#include "CCWindowLayout.h"
#include "CCWindowPresenter.h"
#include "CCWindowTilt.h"
#include "NSRunLoop.h"

namespace {

CCWindowEvent::Key keyOf(SDL_Keycode key) {
    using Key = CCWindowEvent::Key;
    switch (key) {
    case SDLK_LEFT:
    case SDLK_a: return Key::TiltLeft;
    case SDLK_RIGHT:
    case SDLK_d: return Key::TiltRight;
    case SDLK_DOWN:
    case SDLK_s: return Key::Flat;
    case SDLK_F11: return Key::FullScreen;
    case SDLK_SPACE: return Key::Space;
    case SDLK_ESCAPE: return Key::Escape;
    default: return Key::Other;
    }
}

// The translator's event for an SDL event; nullopt for events it does not take.
std::optional<CCWindowEvent> windowEvent(const SDL_Event& e, double now) {
    using Type = CCWindowEvent::Type;
    CCWindowEvent w;
    w.timestamp = now;
    switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.which == SDL_TOUCH_MOUSEID) return std::nullopt; // fingers come as finger events
        w.type = e.type == SDL_MOUSEBUTTONDOWN ? Type::MouseDown : Type::MouseUp;
        w.x = float(e.button.x);
        w.y = float(e.button.y);
        w.primaryButton = e.button.button == SDL_BUTTON_LEFT;
        return w;
    case SDL_MOUSEMOTION:
        if (e.motion.which == SDL_TOUCH_MOUSEID) return std::nullopt;
        w.type = Type::MouseMove;
        w.x = float(e.motion.x);
        w.y = float(e.motion.y);
        return w;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
        w.type = e.type == SDL_FINGERDOWN ? Type::FingerDown : e.type == SDL_FINGERUP ? Type::FingerUp : Type::FingerMove;
        w.x = e.tfinger.x;
        w.y = e.tfinger.y;
        w.finger = static_cast<long>(e.tfinger.fingerId);
        return w;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        w.type = e.type == SDL_KEYDOWN ? Type::KeyDown : Type::KeyUp;
        w.key = keyOf(e.key.keysym.sym);
        w.repeat = e.key.repeat != 0;
        return w;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) w.type = Type::FocusLost;
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) w.type = Type::FocusGained;
        else return std::nullopt;
        return w;
    case SDL_QUIT: w.type = Type::Close; return w;
    default: return std::nullopt;
    }
}

} // namespace

struct CCWindowSurface::Impl : NSRunLoopInputSource {
    CCWindowSurface* owner = nullptr;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr; // the presenting context
    SDL_GameController* controller = nullptr;
    SDL_Sensor* sensor = nullptr;
    CCWindowTilt tilt;
    CCWindowInput input{tilt.keyboard()};
    CCWindowPresenter presenter;
    CCRenderbufferShare share;
    // Under X11, contexts through GLX: frames reach the window through shared memory, and the
    // renderer's own context draws the window's picture (a second context would cost two
    // switches a frame). nullptr: SDL's contexts (EGL).
    std::unique_ptr<CCGLXContexts> glx;
    CCFrameTextures frames; // with GLX: the textures the renderers draw their frames into
    bool copiesOnGPU = true; // with GLX: the frame copied on the GPU, not read back
    // Under EGL with surfaceless contexts, contexts are made current directly: the renderer's
    // without the window (it draws into framebuffer objects only), so switching to it costs
    // no work on the window's buffers; only the presenting context is bound to the window.
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    bool direct = false;
    bool captures = false;
    CCPixelImage windowPixels;

    bool poll() override { return owner->pollEvents(); }

    void openController(int index) {
        if (controller || !SDL_IsGameController(index)) return;
        SDL_GameController* c = SDL_GameControllerOpen(index);
        if (!c) return;
        if (SDL_GameControllerHasSensor(c, SDL_SENSOR_ACCEL) &&
            SDL_GameControllerSetSensorEnabled(c, SDL_SENSOR_ACCEL, SDL_TRUE) == 0) {
            controller = c;
            CCLog("Tilt from the game controller \"%s\"", SDL_GameControllerName(c));
        } else {
            SDL_GameControllerClose(c);
        }
    }

    void openSensor() {
        for (int i = 0; i < SDL_NumSensors() && !sensor; ++i)
            if (SDL_SensorGetDeviceType(i) == SDL_SENSOR_ACCEL) sensor = SDL_SensorOpen(i);
    }
};

CCWindowSurface::CCWindowSurface() : impl_(std::make_unique<Impl>()) { impl_->owner = this; }

std::unique_ptr<CCWindowSurface> CCWindowSurface::open(const std::string& title) {
    // Without a display SDL would fall back to an invisible off-screen window.
    if (!CCDisplay::isPresent()) {
        CCLog("No display: running headless");
        return nullptr;
    }
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        CCLog("Could not open the display (%s): running headless", SDL_GetError());
        return nullptr;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || !std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy")) {
        CCLog("No display: running headless");
        SDL_Quit();
        return nullptr;
    }
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_SENSOR); // optional

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Rect usable{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &usable);
    const int scale = ccWindowScaleForDesktop(usable.w, usable.h);

    std::unique_ptr<CCWindowSurface> surface(new CCWindowSurface);
    Impl& s = *surface->impl_;
    if (!std::strcmp(driver, "x11") && !SDL_GetHintBoolean(SDL_HINT_VIDEO_X11_FORCE_EGL, SDL_FALSE) &&
        surface->openGLX(title, scale))
        return surface;
    s.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                CCWindowLayout::kDeviceHeight * scale, CCWindowLayout::kDeviceWidth * scale,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (s.window) {
        SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
        s.context = SDL_GL_CreateContext(s.window);
    }
    if (!s.window || !s.context) {
        CCLog("Could not open a GL ES 1 window (%s): running headless", SDL_GetError());
        return nullptr; // the destructor closes what was opened
    }
    SDL_GL_MakeCurrent(s.window, s.context);
    if (SDL_GL_SetSwapInterval(1) != 0) CCLog("No vsync in this window: %s", SDL_GetError());
    s.presenter.setUp();
    if (eglGetCurrentContext() == static_cast<EGLContext>(s.context)) {
        s.display = eglGetCurrentDisplay();
        s.surface = eglGetCurrentSurface(EGL_DRAW);
        const char* extensions = eglQueryString(s.display, EGL_EXTENSIONS);
        s.direct = s.surface != EGL_NO_SURFACE && extensions && std::strstr(extensions, "EGL_KHR_surfaceless_context");
    }
    if (!s.share.open()) CCLog("window surface: no EGL images of renderbuffers: frames are copied through memory");
    SDL_GL_MakeCurrent(s.window, nullptr);

    surface->finishOpening();
    return surface;
}

bool CCWindowSurface::openGLX(const std::string& title, int scale) {
    Impl& s = *impl_;
    // SDL makes no GL of its own for this window (it would choose EGL for GL ES 1).
    s.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                CCWindowLayout::kDeviceHeight * scale, CCWindowLayout::kDeviceWidth * scale,
                                SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (s.window) s.glx = CCGLXContexts::openOnSDLWindow(s.window);
    if (!s.glx) {
        if (s.window) SDL_DestroyWindow(s.window);
        s.window = nullptr;
        return false;
    }
    if (!setVsync(true)) CCLog("No vsync in this window: GLX offers no swap control");
    finishOpening();
    return true;
}

void CCWindowSurface::finishOpening() {
    Impl& s = *impl_;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) s.openController(i);
    if (!s.controller) s.openSensor();
    setCompositesOverlay(true); // lastFrame() is the screen with the views on it
    NSRunLoop::mainRunLoop()->addInputSource(&s);
}

CCWindowSurface::~CCWindowSurface() {
    Impl& s = *impl_;
    NSRunLoop::mainRunLoop()->removeInputSource(&s);
    if (s.glx) {
        // The presenter's textures are shared: freed with the anchor current.
        void* previous = s.glx->currentContext();
        if (s.glx->makeAnchorCurrent()) {
            s.presenter.tearDown();
            s.glx->makeCurrent(previous);
        }
        s.glx.reset();
    }
    if (s.context) {
        if (s.direct) SDL_GL_MakeCurrent(s.window, nullptr); // SDL learns the truth again
        SDL_GL_MakeCurrent(s.window, s.context);
        s.presenter.tearDown();
        s.share.close();
        SDL_GL_MakeCurrent(s.window, nullptr);
        SDL_GL_DeleteContext(s.context);
    }
    if (s.controller) SDL_GameControllerClose(s.controller);
    if (s.sensor) SDL_SensorClose(s.sensor);
    if (s.window) SDL_DestroyWindow(s.window);
    SDL_Quit();
}

void* CCWindowSurface::createContext(void* share) {
    Impl& s = *impl_;
    if (s.glx) return s.glx->createContext(); // every context shares with the others
    void* previous = s.direct ? eglGetCurrentContext() : SDL_GL_GetCurrentContext();
    // SDL shares with the context it believes current; contexts made current directly are
    // not known to it, so it is told afresh.
    if (s.direct) SDL_GL_MakeCurrent(s.window, nullptr);
    if (share) SDL_GL_MakeCurrent(s.window, share);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, share ? 1 : 0);
    SDL_GLContext context = SDL_GL_CreateContext(s.window);
    if (!context) CCLog("window surface: no GL ES 1 context (%s)", SDL_GetError());
    // Making a context does not change which one is current.
    makeCurrent(previous);
    return context;
}

void CCWindowSurface::destroyContext(void* context) {
    if (!context) return;
    Impl& s = *impl_;
    if (s.glx) {
        if (s.frames.has(context)) {
            void* previous = currentContext();
            if (s.glx->makeCurrent(context)) s.frames.forgetContext(context);
            s.glx->makeCurrent(previous == context ? nullptr : previous);
        }
        return s.glx->destroyContext(context);
    }
    s.share.forgetContext(context);
    if (s.direct) {
        if (eglGetCurrentContext() == static_cast<EGLContext>(context)) makeCurrent(nullptr);
        eglDestroyContext(s.display, static_cast<EGLContext>(context));
    } else {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
    }
}

bool CCWindowSurface::makeCurrent(void* context) {
    Impl& s = *impl_;
    if (s.glx) return s.glx->makeCurrent(context);
    if (!s.direct) return SDL_GL_MakeCurrent(s.window, static_cast<SDL_GLContext>(context)) == 0;
    return eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE,
                          context ? static_cast<EGLContext>(context) : EGL_NO_CONTEXT) == EGL_TRUE;
}

bool CCWindowSurface::makePresenterCurrent() {
    Impl& s = *impl_;
    if (!s.direct) return SDL_GL_MakeCurrent(s.window, s.context) == 0;
    return eglMakeCurrent(s.display, s.surface, s.surface, static_cast<EGLContext>(s.context)) == EGL_TRUE;
}

bool CCWindowSurface::renderbufferStorage(unsigned internalFormat, int width, int height) {
    // An image of the renderbuffer's old storage would keep showing it.
    GLint renderbuffer = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING_OES, &renderbuffer);
    impl_->share.forget(currentContext(), static_cast<unsigned>(renderbuffer));
    if (impl_->glx) impl_->frames.forget(currentContext(), static_cast<unsigned>(renderbuffer));
    return CCSurfaceBackend::renderbufferStorage(internalFormat, width, height);
}

void* CCWindowSurface::procAddress(const char* name) {
    return impl_->glx ? impl_->glx->procAddress(name) : SDL_GL_GetProcAddress(name);
}

void CCWindowSurface::setInput(CCSurfaceInput* input) { impl_->input.setInput(input); }

void CCWindowSurface::setKeyHandler(std::function<bool(CCWindowKey)> handler) {
    impl_->input.setKeyHandler(std::move(handler));
}

CCTiltReading CCWindowSurface::tilt() const {
    const Impl& s = *impl_;
    std::optional<CCMotionSample> controller, sensor;
    float d[3] = {0, 0, 0};
    if (s.controller && SDL_GameControllerGetSensorData(s.controller, SDL_SENSOR_ACCEL, d, 3) == 0)
        controller = CCMotionSample{d[0], d[1], d[2]};
    if (!controller && s.sensor && SDL_SensorGetData(s.sensor, d, 3) == 0) sensor = CCMotionSample{d[0], d[1], d[2]};
    return s.tilt.reading(CCClock::now(), controller, sensor);
}

void CCWindowSurface::windowSize(int* width, int* height) const { SDL_GetWindowSize(impl_->window, width, height); }

void CCWindowSurface::setCapturesWindowPixels(bool captures) { impl_->captures = captures; }
const CCPixelImage& CCWindowSurface::lastWindowPixels() const { return impl_->windowPixels; }
bool CCWindowSurface::presentsOnGPU() const { return impl_->glx ? impl_->copiesOnGPU : impl_->share.available(); }
bool CCWindowSurface::setVsync(bool on) {
    if (impl_->glx) {
        // Swap control takes the window's drawable (or a context bound to it).
        void* previous = currentContext();
        const bool anchored = !previous && impl_->glx->makeAnchorCurrent(true);
        const bool done = impl_->glx->setSwapInterval(on ? 1 : 0);
        if (anchored) impl_->glx->makeCurrent(nullptr);
        return done;
    }
    void* previous = currentContext();
    if (!makePresenterCurrent()) return false;
    const bool done = impl_->direct ? eglSwapInterval(impl_->display, on ? 1 : 0) == EGL_TRUE
                                    : SDL_GL_SetSwapInterval(on ? 1 : 0) == 0;
    makeCurrent(previous);
    return done;
}

void CCWindowSurface::setPresentsOnGPU(bool on) {
    impl_->copiesOnGPU = on;
    impl_->share.setEnabled(on);
}
uint64_t CCWindowSurface::overlayUploads() const { return impl_->presenter.overlayUploads(); }

void* CCWindowSurface::currentContext() const {
    if (impl_->glx) return impl_->glx->currentContext();
    return impl_->direct ? static_cast<void*>(eglGetCurrentContext()) : SDL_GL_GetCurrentContext();
}

bool CCWindowSurface::show(const CCSurfaceFrame& frame) {
    Impl& s = *impl_;
    if (s.glx) return showInRenderer(frame);
    void* renderer = currentContext();
    CCRenderbufferShare::Entry* shared = s.share.image(renderer, frame.colorRenderbuffer, frame.width, frame.height);
    if (shared) glFlush(); // the frame's drawing goes ahead of the presenter's sampling
    if (!makePresenterCurrent()) return false;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(s.window, &w, &h);

    CCWindowPresenter::Frame shown;
    if (shared) {
        shown.texture = s.share.texture(*shared);
        shown.overlaid = updateOverlay(frame);
    } else {
        shown = s.presenter.uploadFrame(lastFrame()); // read back with the views on it
        shown.overlaid = false;
    }
    s.presenter.draw(w, h, s.input.orientation(), shown);
    if (s.captures) s.windowPixels = ccReadPixels(0, 0, w, h);
    if (s.direct) eglSwapBuffers(s.display, s.surface);
    else SDL_GL_SwapWindow(s.window);
    makeCurrent(renderer);
    return true;
}

bool CCWindowSurface::updateOverlay(const CCSurfaceFrame& frame) {
    // Only the device's own screen carries the views.
    CCFrameOverlay* views = overlay();
    const bool deviceSized = views && frame.width == views->width() && frame.height == views->height();
    if (deviceSized) views->update();
    impl_->presenter.updateOverlay(deviceSized ? views : nullptr);
    return deviceSized;
}

bool CCWindowSurface::showInRenderer(const CCSurfaceFrame& frame) {
    Impl& s = *impl_;
    // The renderer's state, as its next frame expects it; saved before the context first meets
    // the window, which sets its viewport to the window's size.
    CCGLStateScope engineState;
    if (!s.glx->bindWindow()) return false;
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(s.window, &w, &h);
    CCWindowPresenter::Frame shown;
    if (s.copiesOnGPU) {
        if (unsigned texture = s.frames.texture(s.glx->currentContext(), frame))
            shown = CCWindowPresenter::Frame{texture, 1, 1, true, true};
        else
            shown = s.presenter.copyFrame(frame.width, frame.height);
        shown.overlaid = updateOverlay(frame);
    } else {
        shown = s.presenter.uploadFrame(lastFrame()); // read back with the views on it
        shown.overlaid = false;
    }
    glBindFramebufferOES(GL_FRAMEBUFFER_OES, 0);
    s.presenter.setUp();
    s.presenter.draw(w, h, s.input.orientation(), shown);
    if (s.captures) ccReadPixelsInto(s.windowPixels, 0, 0, w, h);
    s.glx->swap();
    return true;
}

bool CCWindowSurface::pollEvents() {
    Impl& s = *impl_;
    bool handled = false;
    SDL_Event e;
    // One look at the window system a poll: taking events with SDL_PollEvent would ask the X
    // server again before each one, and once more to find the queue empty.
    SDL_PumpEvents();
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        handled = true;
        if (e.type == SDL_CONTROLLERDEVICEADDED) {
            s.openController(e.cdevice.which);
            continue;
        }
        if (e.type == SDL_CONTROLLERDEVICEREMOVED) {
            if (s.controller && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(s.controller)) == e.cdevice.which) {
                SDL_GameControllerClose(s.controller);
                s.controller = nullptr;
            }
            continue;
        }
        std::optional<CCWindowEvent> event = windowEvent(e, CCClock::now());
        if (!event) continue;
        int w = 0, h = 0;
        SDL_GetWindowSize(s.window, &w, &h);
        switch (s.input.handle(*event, w, h)) {
        case CCWindowInput::Request::ToggleFullScreen: {
            const bool full = SDL_GetWindowFlags(s.window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
            SDL_SetWindowFullscreen(s.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
            break;
        }
        case CCWindowInput::Request::Close: NSRunLoop::mainRunLoop()->stop(); break;
        case CCWindowInput::Request::None: break;
        }
    }
    return handled;
}

const char* CCWindowSurface::contexts() const { return impl_->glx ? "glx" : "egl"; }
