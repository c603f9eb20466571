#pragma once
// The window surface backend (SDL2, GL ES 1 contexts, vsync): each presented device screen,
// with the views laid over it, is shown turned upright and scaled in a resizable desktop
// window (F11: full screen). Its input source, on the main run loop, turns the mouse into one
// finger and touch-screen fingers into fingers of their own, maps them back to view points
// for the application's touch routing, tilts from a motion sensor or the keyboard, and tells
// the application delegate about focus and closing.
#include <functional>
#include <memory>

#include "CCSurfaceBackend.h"

// Keys the application may act on (Space taps and Escape quits in the game).
enum class CCWindowKey { Space, Escape, Other };

class CCWindowSurface : public CCSurfaceBackend {
public:
    // The window, or nullptr with a log line when no display can be opened.
    static std::unique_ptr<CCWindowSurface> open();
    ~CCWindowSurface() override;

    const char* name() const override { return "window"; }
    void* createContext(void* share) override;
    void destroyContext(void* context) override;
    bool makeCurrent(void* context) override;
    void* procAddress(const char* name) override;

    // Handles pending window events (the input source's poll); true when something happened.
    bool pollEvents();
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
    std::unique_ptr<Impl> impl_;
    std::function<bool(CCWindowKey)> keyHandler_;
};

// Chooses the surface backend for the process once: the window unless `headless` is asked for
// or no display can be opened. Returns the chosen backend's name ("window" or "headless").
const char* ccChooseSurfaceBackend(bool headless);
