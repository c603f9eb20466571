#include "CCKeyboardTilt.h"

#include <algorithm>
#include <cmath>

void CCKeyboardTilt::press(Key key, double now) {
    if (key == Flat) {
        releaseAll();
        return;
    }
    bool& held = key == Left ? left_ : right_;
    if (held) return; // key repeat
    held = true;
    since_ = now; // the newest key sets the direction and starts from one step
}

void CCKeyboardTilt::release(Key key, double now) {
    if (key == Flat) return;
    (key == Left ? left_ : right_) = false;
    since_ = now; // the other key, if still held, starts over from one step
}

void CCKeyboardTilt::releaseAll() { left_ = right_ = false; }

CCTiltReading CCKeyboardTilt::reading(double now) const {
    if (!left_ && !right_) return {};
    double steps = 1 + std::floor(std::max(0.0, now - since_) / kStepInterval + 1e-9);
    double tilt = std::min(kLimit, steps * kStep);
    // Lowering the left side (the portrait's top) turns gravity towards the device's +y.
    double y = left_ && right_ ? 0 : left_ ? tilt : -tilt;
    double z = -std::sqrt(1 - y * y);
    return {0, y, z};
}
