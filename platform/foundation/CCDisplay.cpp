#include "CCDisplay.h"

#include <cstdlib>

bool CCDisplay::isPresent() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}
