#pragma once
// The window surface backend (SDL2; GL ES 1 contexts through GLX under X11, else over EGL;
// vsync): each presented device screen, with the views laid over it, is shown turned upright
// and scaled in a resizable desktop window (F11: full screen). It owns the SDL window and
// devices and wires three parts that know nothing of SDL: the input translator
// (CCWindowInput), the tilt source (CCWindowTilt) and the presenter (CCWindowPresenter).
// Frames stay on the GPU: under GLX the renderer draws its frames into a texture
// (CCFrameTextures) and its own context draws the window's picture; under EGL the presenting
// context samples the renderer's colour renderbuffer through an EGL image. Pixels are read
// back only when a screenshot or a test asks for them (or where neither way is open).
// SDL_VIDEO_X11_FORCE_EGL=1 keeps X11 windows on EGL.
#include <functional>
#include <memory>
#include <string>

#include "CCSurfaceBackend.h"
#include "CCSurfaceInput.h"

class CCWindowSurface : public CCSurfaceBackend {
public:
    // The window with its title, or nullptr with a log line when no display can be opened.
    static std::unique_ptr<CCWindowSurface> open(const std::string& title);
    ~CCWindowSurface() override;

    const char* name() const override { return "window"; }
    // "glx" or "egl": how the window's contexts are made.
    const char* contexts() const;
    void* createContext(void* share) override;
    void destroyContext(void* context) override;
    bool makeCurrent(void* context) override;
    bool renderbufferStorage(unsigned internalFormat, int width, int height) override;
    void* procAddress(const char* name) override;

    // Handles pending window events (the input source's poll); true when something happened.
    bool pollEvents();
    // Where fingers, focus and closing go (not owned; nullptr: nowhere).
    void setInput(CCSurfaceInput* input);
    // The tilt now: a game controller's or the machine's motion sensor, else the keyboard's.
    CCTiltReading tilt() const;
    // Key presses the application may act on; the handler answers whether it used the key.
    void setKeyHandler(std::function<bool(CCWindowKey)> handler);
    // When on, each shown picture is also read back from the window's framebuffer (tests).
    void setCapturesWindowPixels(bool captures);
    const CCPixelImage& lastWindowPixels() const;
    void windowSize(int* width, int* height) const;
    // Whether frames reach the window without a read-back.
    bool presentsOnGPU() const;
    // Whether swaps wait for the display's refresh (on from the start); false if refused.
    bool setVsync(bool on);
    // Off: frames are read back and uploaded, as where they cannot stay on the GPU (benchmarks).
    void setPresentsOnGPU(bool on);
    // How many times the overlay's picture went to the GPU (once per change).
    uint64_t overlayUploads() const;

protected:
    bool show(const CCSurfaceFrame& frame) override;
    bool showsReadPixels() const override { return !presentsOnGPU(); }

private:
    struct Impl;
    CCWindowSurface();
    bool openGLX(const std::string& title, int scale);
    void finishOpening();
    bool showInRenderer(const CCSurfaceFrame& frame);
    // Brings the presenter's overlay up to date for `frame`; whether the views go over it.
    bool updateOverlay(const CCSurfaceFrame& frame);
    bool makePresenterCurrent();
    void* currentContext() const;
    std::unique_ptr<Impl> impl_;
};
