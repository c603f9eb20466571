#pragma once
// Plain value records shared by the engine: colours, blend functions, vertices and quads.
#include <cstdint>

#include "CGGeometry.h"

using ccTime = float;

struct ccColor3B {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const ccColor3B&) const = default;
};
struct ccColor4B {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const ccColor4B&) const = default;
};
struct ccColor4F {
    float r = 0, g = 0, b = 0, a = 0;
    bool operator==(const ccColor4F&) const = default;
};

inline constexpr ccColor3B ccWHITE{255, 255, 255};
inline constexpr ccColor3B ccYELLOW{255, 255, 0};
inline constexpr ccColor3B ccBLUE{0, 0, 255};
inline constexpr ccColor3B ccGREEN{0, 255, 0};
inline constexpr ccColor3B ccRED{255, 0, 0};
inline constexpr ccColor3B ccMAGENTA{255, 0, 255};
inline constexpr ccColor3B ccBLACK{0, 0, 0};
inline constexpr ccColor3B ccORANGE{255, 127, 0};
inline constexpr ccColor3B ccGRAY{166, 166, 166};

inline ccColor3B ccc3(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {r, g, b}; }
inline ccColor4B ccc4(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) { return {r, g, b, a}; }
inline ccColor4F ccc4FFromccc4B(ccColor4B c) { return {c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f}; }

struct ccVertex2F {
    float x = 0, y = 0;
};
struct ccVertex3F {
    float x = 0, y = 0, z = 0;
};
struct ccTex2F {
    float u = 0, v = 0;
};

struct ccPointSprite {
    ccVertex2F pos;
    ccColor4F colors;
    float size = 0;
};

struct ccV2F_C4F_T2F {
    ccVertex2F vertices;
    ccColor4F colors;
    ccTex2F texCoords;
};
struct ccV2F_C4F_T2F_Quad {
    ccV2F_C4F_T2F bl, br, tl, tr;
};

struct ccV3F_C4B_T2F {
    ccVertex3F vertices;
    ccColor4B colors;
    ccTex2F texCoords;
};
// Corners in the order tl, bl, tr, br: two triangles as a strip.
struct ccV3F_C4B_T2F_Quad {
    ccV3F_C4B_T2F tl, bl, tr, br;
};

struct ccBlendFunc {
    std::uint32_t src = 0, dst = 0;
    bool operator==(const ccBlendFunc&) const = default;
};

struct ccTexParams {
    std::uint32_t minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
};

struct ccBezierConfig {
    CGPoint endPosition;
    CGPoint controlPoint_1;
    CGPoint controlPoint_2;
};

static_assert(sizeof(ccV3F_C4B_T2F) == 24);
static_assert(sizeof(ccV3F_C4B_T2F_Quad) == 96);
static_assert(sizeof(ccPointSprite) == 28);
static_assert(sizeof(ccV2F_C4F_T2F_Quad) == 128);
