#pragma once
// Engine-wide constants and the process-wide content scale factor.
#include "CCAssert.h"
#include "CCLog.h"

// Points to pixels; 1.0 unless a high-resolution screen asks for more.
extern float ccContentScaleFactor;

inline constexpr float kCCDegreesToRadians = 0.017453292f;
inline constexpr float kCCRadiansToDegrees = 57.29577951f;
inline float CC_DEGREES_TO_RADIANS(float degrees) { return degrees * kCCDegreesToRadians; }
inline float CC_RADIANS_TO_DEGREES(float radians) { return radians * kCCRadiansToDegrees; }
inline float CC_CONTENT_SCALE_FACTOR() { return ccContentScaleFactor; }

// Tag of nodes and actions that have none.
inline constexpr int kCCNodeTagInvalid = -1;

// The engine's default blend: textures carry premultiplied alpha.
inline constexpr unsigned CC_BLEND_SRC = 1;      // GL_ONE
inline constexpr unsigned CC_BLEND_DST = 0x0303; // GL_ONE_MINUS_SRC_ALPHA

#define CCAssertSingleton(instance)                                                                        \
    CCAssert((instance) == nullptr, "Attempted to allocate a second instance of a singleton.")
