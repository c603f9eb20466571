#pragma once
// The shared application as the receiver of a window's input: fingers go to its touch routing,
// focus to its lifecycle, closing to its termination; the window turns the device screen the
// way the status bar is oriented.
#include "CCSurfaceInput.h"

class CCApplicationInput : public CCSurfaceInput {
public:
    void touch(long finger, CCSurfaceTouchPhase phase, CGPoint viewPoint, double timestamp) override;
    void focusLost(double timestamp) override;
    void focusGained() override;
    void closeRequested() override;
    int orientation() const override;
};

// Chooses the surface back end for the process once: a window titled `title` unless `headless`
// is asked for or no display can be opened. The window's input and tilt go to the shared
// application and accelerometer, and the application's views are laid over the frames of
// either back end. Returns the chosen back end's name ("window" or "headless").
const char* ccChooseSurfaceBackend(bool headless, const char* title);
