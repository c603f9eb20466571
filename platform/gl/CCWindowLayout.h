#pragma once
// Where the portrait device screen sits in a desktop window: turned to read upright
// in the status bar's orientation (1 to 4), scaled by a whole factor when it fits at least
// once (smaller windows shrink it), and centred. The same mapping places the picture and
// brings pointer positions back to the view's portrait points (origin top-left).
#include "CCDeviceScreen.h"
#include "CGGeometry.h"

struct CCWindowLayout {
    static constexpr int kDeviceWidth = CCDeviceScreen::kWidth, kDeviceHeight = CCDeviceScreen::kHeight;

    int orientation = 3;
    float scale = 1;
    // The upright picture's top-left corner and size in window pixels.
    float x = 0, y = 0;
    float width = 0, height = 0;

    // The layout for a window of the given size; unknown orientations count as portrait.
    static CCWindowLayout fit(int windowWidth, int windowHeight, int orientation);

    // A window position (pixels, origin top-left) as a point of the device view.
    CGPoint viewPointFromWindow(float wx, float wy) const;
    // The reverse: where a view point shows in the window.
    CGPoint windowPointFromView(CGPoint view) const;
    // Whether a window position falls on the picture.
    bool containsWindowPoint(float wx, float wy) const;
};

// The largest whole scale at which the landscape screen fits in a desktop area (at least 1).
int ccWindowScaleForDesktop(int desktopWidth, int desktopHeight);
