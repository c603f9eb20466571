#pragma once
// What a window back end reports to the application above it: fingers at device-view points,
// focus and closing. The layer that owns the application implements it, so the back end knows
// nothing of views.
#include "CGGeometry.h"

enum class CCSurfaceTouchPhase { Began, Moved, Ended };

// Keys the application may act on (Space taps and Escape quits in the game).
enum class CCWindowKey { Space, Escape, Other };

// A tilt in units of gravity, on the device's portrait axes.
struct CCTiltReading {
    double x = 0, y = 0, z = -1;
    bool operator==(const CCTiltReading&) const = default;
};

class CCSurfaceInput {
public:
    virtual ~CCSurfaceInput() = default;
    // A finger at a point of the device view (portrait points, origin top-left).
    virtual void touch(long finger, CCSurfaceTouchPhase phase, CGPoint viewPoint, double timestamp) = 0;
    // The window lost focus: every finger is lifted and the application resigns active.
    virtual void focusLost(double timestamp) = 0;
    virtual void focusGained() = 0;
    // The user closed the window.
    virtual void closeRequested() = 0;
    // How the device screen is turned in the window, as a status-bar orientation (1 to 4).
    virtual int orientation() const = 0;
};
