#pragma once
// The timing of one selector timer: time accumulated against an interval. A new clock is not
// due on its first tick unless its interval is 0; any excess over the interval is dropped.
#include "ccTypes.h"

struct CCTimerClock {
    // Seconds accumulated since the last call; -1 before the first tick.
    ccTime elapsed = -1;
    ccTime interval = 0;

    // Adds dt (the first tick only starts the count); true when the call is due, with
    // `elapsed` as its argument. The caller then calls reset().
    bool advance(ccTime dt) {
        if (elapsed == -1) {
            elapsed = 0;
        } else {
            elapsed += dt;
        }
        return elapsed >= interval;
    }
    void reset() { elapsed = 0; }
};
