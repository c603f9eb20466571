#pragma once
// Runs the main run loop until a condition holds or a real-time limit passes.
#include <chrono>
#include <functional>

#include "NSRunLoop.h"

inline bool ccRunMainLoopUntil(const std::function<bool()>& done, double seconds = 10.0) {
    auto limit = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        NSRunLoop::mainRunLoop()->runOnce(0.01);
    }
    return true;
}
