#pragma once
// The device's screen (CCDeviceScreen): portrait, one pixel per point.
#include "CCDeviceScreen.h"
#include "CCObject.h"
#include "CGGeometry.h"

class UIScreen : public CCObject {
public:
    static UIScreen* mainScreen();
    CGRect bounds() const { return {{0, 0}, {CCDeviceScreen::kWidth, CCDeviceScreen::kHeight}}; }
    CGRect applicationFrame() const { return bounds(); }
    float scale() const { return 1; }
};
