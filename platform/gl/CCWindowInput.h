#pragma once
// Turns window events into what the application hears: the left mouse button into one
// finger, touch-screen fingers into fingers of their own, both at device-view points through
// the window layout; Space, Escape and other keys to the key handler; the tilt keys to the
// keyboard tilt; focus loss lifts every finger and key. What only the window can do (full
// screen, closing) comes back as a request.
#include <functional>
#include <vector>

#include "CCKeyboardTilt.h"
#include "CCSurfaceInput.h"
#include "CCWindowEvent.h"

class CCWindowInput {
public:
    enum class Request { None, ToggleFullScreen, Close };
    static constexpr long kMouseFinger = 1000000;
    static constexpr long kTouchFingerBase = 2000000;

    explicit CCWindowInput(CCKeyboardTilt& tilt) : tilt_(tilt) {}

    // Where fingers, focus and closing go (not owned; nullptr: nowhere).
    void setInput(CCSurfaceInput* input) { input_ = input; }
    CCSurfaceInput* input() const { return input_; }
    // Key presses the application may act on; the handler answers whether it used the key.
    void setKeyHandler(std::function<bool(CCWindowKey)> handler) { keyHandler_ = std::move(handler); }
    // How the device screen is turned in the window (portrait without a receiver).
    int orientation() const { return input_ ? input_->orientation() : 1; }

    // Handles one event of a window of the given size in pixels.
    Request handle(const CCWindowEvent& event, int windowWidth, int windowHeight);

private:
    void touch(long finger, CCSurfaceTouchPhase phase, CGPoint viewPoint, double timestamp);
    void key(const CCWindowEvent& event);
    bool isDown(long finger) const;

    CCKeyboardTilt& tilt_;
    CCSurfaceInput* input_ = nullptr;
    std::function<bool(CCWindowKey)> keyHandler_;
    bool mouseDown_ = false;
    std::vector<long> fingersDown_; // touch fingers that began on the picture
};
