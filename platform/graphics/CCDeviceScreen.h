#pragma once
// The handheld's screen: 320 × 480 points in portrait, one pixel per point. The views, the
// picture of them laid over the frames and the window that shows the screen all take its size
// from here.
struct CCDeviceScreen {
    static constexpr int kWidth = 320, kHeight = 480;
};
