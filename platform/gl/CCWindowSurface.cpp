#include "CCWindowSurface.h"

#include <GLES/gl.h>
#include <algorithm>
#include <SDL2/SDL.h>
#include <cstdlib>
#include <cstring>

#include "CCClock.h"
#include "CCDisplay.h"
#include "CCGLExtensions.h"
#include "CCKeyboardTilt.h"
#include "CCLog.h"
#include "CCWindowLayout.h"
#include "NSRunLoop.h"

namespace {
// The device screen goes into a power-of-two texture; the picture uses its top-left part.
constexpr int kTextureSize = 512;
constexpr long kMouseFinger = 1000000;
constexpr long kTouchFingerBase = 2000000;
} // namespace

struct CCWindowSurface::Impl : NSRunLoopInputSource {
    CCWindowSurface* owner = nullptr;
    SDL_Window* window = nullptr;
    SDL_GLContext presenter = nullptr;
    GLuint texture = 0;
    SDL_GameController* controller = nullptr;
    SDL_Sensor* sensor = nullptr;
    CCKeyboardTilt tilt;
    bool mouseDown = false;
    bool captures = false;
    CCPixelImage windowPixels;

    bool poll() override { return owner->pollEvents(); }

    CCWindowLayout inputLayout() const {
        int w = 0, h = 0;
        SDL_GetWindowSize(window, &w, &h);
        return CCWindowLayout::fit(w, h, owner->orientation());
    }

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

    CCTiltReading reading() const {
        float d[3] = {0, 0, 0};
        // Sensors report the push against gravity in m/s²; the device reports gravity in g.
        if (controller && SDL_GameControllerGetSensorData(controller, SDL_SENSOR_ACCEL, d, 3) == 0) {
            // A controller held like the landscape device: its right is the portrait's top.
            return {-d[1] / SDL_STANDARD_GRAVITY, d[0] / SDL_STANDARD_GRAVITY, -d[2] / SDL_STANDARD_GRAVITY};
        }
        if (sensor && SDL_SensorGetData(sensor, d, 3) == 0)
            return {-d[0] / SDL_STANDARD_GRAVITY, -d[1] / SDL_STANDARD_GRAVITY, -d[2] / SDL_STANDARD_GRAVITY};
        return tilt.reading(CCClock::now());
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
    s.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                CCWindowLayout::kDeviceHeight * scale, CCWindowLayout::kDeviceWidth * scale,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (s.window) {
        SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
        s.presenter = SDL_GL_CreateContext(s.window);
    }
    if (!s.window || !s.presenter) {
        CCLog("Could not open a GL ES 1 window (%s): running headless", SDL_GetError());
        return nullptr; // the destructor closes what was opened
    }
    SDL_GL_MakeCurrent(s.window, s.presenter);
    if (SDL_GL_SetSwapInterval(1) != 0) CCLog("No vsync in this window: %s", SDL_GetError());
    glGenTextures(1, &s.texture);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSize, kTextureSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    SDL_GL_MakeCurrent(s.window, nullptr);

    for (int i = 0; i < SDL_NumJoysticks(); ++i) s.openController(i);
    if (!s.controller) s.openSensor();
    surface->setCompositesOverlay(true);
    NSRunLoop::mainRunLoop()->addInputSource(&s);
    return surface;
}

CCWindowSurface::~CCWindowSurface() {
    Impl& s = *impl_;
    NSRunLoop::mainRunLoop()->removeInputSource(&s);
    if (s.presenter) {
        SDL_GL_MakeCurrent(s.window, s.presenter);
        if (s.texture) glDeleteTextures(1, &s.texture);
        SDL_GL_MakeCurrent(s.window, nullptr);
        SDL_GL_DeleteContext(s.presenter);
    }
    if (s.controller) SDL_GameControllerClose(s.controller);
    if (s.sensor) SDL_SensorClose(s.sensor);
    if (s.window) SDL_DestroyWindow(s.window);
    SDL_Quit();
}

void* CCWindowSurface::createContext(void* share) {
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    if (share) SDL_GL_MakeCurrent(impl_->window, share);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, share ? 1 : 0);
    SDL_GLContext context = SDL_GL_CreateContext(impl_->window);
    if (!context) CCLog("window surface: no GL ES 1 context (%s)", SDL_GetError());
    // Making a context does not change which one is current.
    SDL_GL_MakeCurrent(impl_->window, previous);
    return context;
}

void CCWindowSurface::destroyContext(void* context) {
    if (context) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

bool CCWindowSurface::makeCurrent(void* context) {
    return SDL_GL_MakeCurrent(impl_->window, static_cast<SDL_GLContext>(context)) == 0;
}

void* CCWindowSurface::procAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

CCTiltReading CCWindowSurface::tilt() const { return impl_->reading(); }

int CCWindowSurface::orientation() const { return input_ ? input_->orientation() : 1; }

void CCWindowSurface::windowSize(int* width, int* height) const { SDL_GetWindowSize(impl_->window, width, height); }

void CCWindowSurface::setCapturesWindowPixels(bool captures) { impl_->captures = captures; }
const CCPixelImage& CCWindowSurface::lastWindowPixels() const { return impl_->windowPixels; }

bool CCWindowSurface::show(const CCSurfaceFrame&) {
    Impl& s = *impl_;
    const CCPixelImage& screen = lastFrame();
    SDL_GLContext renderer = SDL_GL_GetCurrentContext();
    if (SDL_GL_MakeCurrent(s.window, s.presenter) != 0) return false;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(s.window, &w, &h);
    CCWindowLayout layout = CCWindowLayout::fit(w, h, orientation());

    glBindFramebufferOES(GL_FRAMEBUFFER_OES, 0);
    glViewport(0, 0, w, h);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const int sw = std::min(screen.width, kTextureSize), sh = std::min(screen.height, kTextureSize);
    if (sw > 0 && sh > 0) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, float(w), float(h), 0, -1, 1); // window pixels, origin top-left
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glBindTexture(GL_TEXTURE_2D, s.texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (int row = 0; row < sh; ++row)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, row, sw, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                            &screen.rgba[static_cast<std::size_t>(row) * screen.width * 4]);
        // The view's corners where the layout puts them; the texture's row 0 is the top.
        const float vw = CCWindowLayout::kDeviceWidth, vh = CCWindowLayout::kDeviceHeight;
        const CGPoint corners[4] = {{0, 0}, {vw, 0}, {0, vh}, {vw, vh}};
        GLfloat vertices[8], coords[8];
        for (int i = 0; i < 4; ++i) {
            CGPoint p = layout.windowPointFromView(corners[i]);
            vertices[2 * i] = p.x;
            vertices[2 * i + 1] = p.y;
            coords[2 * i] = corners[i].x / vw * float(sw) / kTextureSize;
            coords[2 * i + 1] = corners[i].y / vh * float(sh) / kTextureSize;
        }
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, 0, vertices);
        glTexCoordPointer(2, GL_FLOAT, 0, coords);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisable(GL_TEXTURE_2D);
    }
    if (s.captures) s.windowPixels = ccReadPixels(0, 0, w, h);
    SDL_GL_SwapWindow(s.window);
    SDL_GL_MakeCurrent(s.window, renderer);
    return true;
}

void CCWindowSurface::touch(long finger, CCSurfaceTouchPhase phase, CGPoint viewPoint, double timestamp) {
    if (input_) input_->touch(finger, phase, viewPoint, timestamp);
}

bool CCWindowSurface::pollEvents() {
    Impl& s = *impl_;
    bool handled = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        handled = true;
        const double now = CCClock::now();
        switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEMOTION: {
            if (e.button.which == SDL_TOUCH_MOUSEID) break; // fingers come as finger events
            CCWindowLayout l = s.inputLayout();
            float x = e.type == SDL_MOUSEMOTION ? float(e.motion.x) : float(e.button.x);
            float y = e.type == SDL_MOUSEMOTION ? float(e.motion.y) : float(e.button.y);
            if (e.type == SDL_MOUSEBUTTONDOWN) {
                if (e.button.button != SDL_BUTTON_LEFT || s.mouseDown || !l.containsWindowPoint(x, y)) break;
                s.mouseDown = true;
                touch(kMouseFinger, CCSurfaceTouchPhase::Began, l.viewPointFromWindow(x, y), now);
            } else if (e.type == SDL_MOUSEBUTTONUP) {
                if (e.button.button != SDL_BUTTON_LEFT || !s.mouseDown) break;
                s.mouseDown = false;
                touch(kMouseFinger, CCSurfaceTouchPhase::Ended, l.viewPointFromWindow(x, y), now);
            } else if (s.mouseDown) {
                touch(kMouseFinger, CCSurfaceTouchPhase::Moved, l.viewPointFromWindow(x, y), now);
            }
            break;
        }
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP: {
            CCWindowLayout l = s.inputLayout();
            int w = 0, h = 0;
            SDL_GetWindowSize(s.window, &w, &h);
            float x = e.tfinger.x * float(w), y = e.tfinger.y * float(h);
            long finger = kTouchFingerBase + static_cast<long>(e.tfinger.fingerId);
            CCSurfaceTouchPhase phase = e.type == SDL_FINGERDOWN   ? CCSurfaceTouchPhase::Began
                                        : e.type == SDL_FINGERUP ? CCSurfaceTouchPhase::Ended
                                                                 : CCSurfaceTouchPhase::Moved;
            if (phase == CCSurfaceTouchPhase::Began && !l.containsWindowPoint(x, y)) break;
            touch(finger, phase, l.viewPointFromWindow(x, y), now);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const bool down = e.type == SDL_KEYDOWN;
            switch (e.key.keysym.sym) {
            case SDLK_LEFT:
            case SDLK_a: down ? s.tilt.press(CCKeyboardTilt::Left, now) : s.tilt.release(CCKeyboardTilt::Left, now); break;
            case SDLK_RIGHT:
            case SDLK_d: down ? s.tilt.press(CCKeyboardTilt::Right, now) : s.tilt.release(CCKeyboardTilt::Right, now); break;
            case SDLK_DOWN:
            case SDLK_s:
                if (down) s.tilt.press(CCKeyboardTilt::Flat, now);
                break;
            case SDLK_F11:
                if (down && !e.key.repeat) {
                    bool full = SDL_GetWindowFlags(s.window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
                    SDL_SetWindowFullscreen(s.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
                }
                break;
            case SDLK_SPACE:
                if (down && !e.key.repeat && keyHandler_) keyHandler_(CCWindowKey::Space);
                break;
            case SDLK_ESCAPE:
                if (down && !e.key.repeat && keyHandler_) keyHandler_(CCWindowKey::Escape);
                break;
            default:
                if (down && !e.key.repeat && keyHandler_) keyHandler_(CCWindowKey::Other);
                break;
            }
            break;
        }
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                s.tilt.releaseAll();
                s.mouseDown = false;
                if (input_) input_->focusLost(now);
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                if (input_) input_->focusGained();
            }
            break;
        case SDL_CONTROLLERDEVICEADDED: s.openController(e.cdevice.which); break;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (s.controller && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(s.controller)) == e.cdevice.which) {
                SDL_GameControllerClose(s.controller);
                s.controller = nullptr;
            }
            break;
        case SDL_QUIT:
            if (input_) input_->closeRequested();
            NSRunLoop::mainRunLoop()->stop();
            break;
        default: break;
        }
    }
    return handled;
}
