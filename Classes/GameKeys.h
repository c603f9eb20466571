#pragma once
// The keyboard in a window: Space taps the middle of the screen (a jump, or the start from the
// title), Escape quits.
#include "CCWindowSurface.h"

// True when the key was used.
bool zorvikHandleKey(CCWindowKey key, double now);
