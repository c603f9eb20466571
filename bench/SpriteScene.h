#pragma once
// The moving sprites that the sprite benchmarks draw, headless and in a window, so that their
// figures are of the same pictures: one 16 × 16 picture (a disc over a colour ramp) and where
// each sprite stands in each frame of a 480 × 320 scene.
#include <cmath>
#include <cstdint>
#include <vector>

#include "CGPointExtension.h"

constexpr int kSceneW = 480, kSceneH = 320, kSide = 16;

inline std::vector<std::uint8_t> spritePixels() {
    std::vector<std::uint8_t> rgba(kSide * kSide * 4);
    for (int y = 0; y < kSide; y++)
        for (int x = 0; x < kSide; x++) {
            std::uint8_t* p = &rgba[(y * kSide + x) * 4];
            const bool inside = (x - 7.5f) * (x - 7.5f) + (y - 7.5f) * (y - 7.5f) < 64;
            p[0] = std::uint8_t(x * 16);
            p[1] = std::uint8_t(y * 16);
            p[2] = 200;
            p[3] = inside ? 255 : 0;
        }
    return rgba;
}

// Centre of sprite i in frame f (y up): a slow circle about a point of a grid over the scene.
inline CGPoint place(int i, int frame) {
    const float angle = float(frame) * 0.05f + float(i);
    return ccp(float((i * 37) % kSceneW) + 8 * std::cos(angle), float((i * 53) % kSceneH) + 8 * std::sin(angle));
}
