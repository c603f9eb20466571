#pragma once
// The window surface backend (SDL2, GL ES 1 contexts, vsync): each presented device screen,
// with the views laid over it, is shown turned upright and scaled in a resizable desktop
// window (F11: full screen). Its input source, on the main run loop, turns the mouse into one
// finger and touch-screen fingers into fingers of their own, maps them back to view points
// to whatever input receiver the application installed, tilts from a motion sensor or the
// keyboard, and reports focus and closing.
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
    void* createContext(void* share) override;
    void destroyContext(void* context) override;
    bool makeCurrent(void* context) override;
    void* procAddress(const char* name) override;

    // Handles pending window events (the input source's poll); true when something happened.
    bool pollEvents();
    // Where fingers, focus and closing go (not owned; nullptr: nowhere).
    void setInput(CCSurfaceInput* input) { input_ = input; }
    // The tilt now: a game controller's or the machine's motion sensor, else the keyboard's.
    CCTiltReading tilt() const;
    // Key presses the application may act on; the handler answers whether it used the key.
    void setKeyHandler(std::function<bool(CCWindowKey)> handler) { keyHandler_ = std::move(handler); }
    // When on, each shown picture is also read back from the window's framebuffer (tests).
    void setCapturesWindowPixels(bool captures);
    const CCPixelImage& lastWindowPixels() const;
    void windowSize(int* width, int* height) const;

protected:
    bool show(const CCSurfaceFrame& frame) override;
    bool showsReadPixels() const override { return true; }

private:
    struct Impl;
    CCWindowSurface();
    int orientation() const;
    void touch(long finger, CCSurfaceTouchPhase phase, CGPoint viewPoint, double timestamp);
    std::unique_ptr<Impl> impl_;
    std::function<bool(CCWindowKey)> keyHandler_;
    CCSurfaceInput* input_ = nullptr;
};
