#pragma once
// Tilt from the keyboard when no motion sensor is there. Holding left (or A) lowers the
// landscape screen's left side, holding right (or D) its right side: the reading's y moves one
// step at once and one more every step interval while the key is held, up to the range the
// game reads (±0.5 g). Releasing the keys, or the flat key (down arrow or S), lies the device
// flat again.
#include "CCSurfaceInput.h"

class CCKeyboardTilt {
public:
    enum Key { Left, Right, Flat };
    static constexpr double kStep = 0.1, kLimit = 0.5, kStepInterval = 0.1;

    void press(Key key, double now);
    void release(Key key, double now);
    // Lets go of every key (the window lost focus).
    void releaseAll();
    // The reading at `now` (seconds of any steady clock the presses used).
    CCTiltReading reading(double now) const;

private:
    bool left_ = false, right_ = false;
    double since_ = 0; // when the held direction started
};
