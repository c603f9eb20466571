#pragma once
// The device's screen: 320 × 480 points, portrait, one pixel per point.
#include "CCObject.h"
#include "CGGeometry.h"

class UIScreen : public CCObject {
public:
    static UIScreen* mainScreen();
    CGRect bounds() const { return {{0, 0}, {320, 480}}; }
    CGRect applicationFrame() const { return bounds(); }
    float scale() const { return 1; }
};
