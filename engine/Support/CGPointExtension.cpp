#include "CGPointExtension.h"

#include <cmath>

namespace {
constexpr float kEpsilon = 1.1920929e-7f;
}

float ccpLength(CGPoint v) { return std::sqrt(ccpLengthSQ(v)); }
float ccpDistance(CGPoint a, CGPoint b) { return ccpLength(ccpSub(a, b)); }
CGPoint ccpNormalize(CGPoint v) { return ccpMult(v, 1.0f / ccpLength(v)); }
CGPoint ccpForAngle(float radians) { return {std::cos(radians), std::sin(radians)}; }
float ccpToAngle(CGPoint v) { return std::atan2(v.y, v.x); }

float clampf(float value, float lo, float hi) {
    if (lo > hi) std::swap(lo, hi);
    return value < lo ? lo : value < hi ? value : hi;
}

CGPoint ccpClamp(CGPoint p, CGPoint lo, CGPoint hi) { return {clampf(p.x, lo.x, hi.x), clampf(p.y, lo.y, hi.y)}; }

CGPoint ccpLerp(CGPoint a, CGPoint b, float t) { return ccpAdd(ccpMult(a, 1.f - t), ccpMult(b, t)); }

bool ccpFuzzyEqual(CGPoint a, CGPoint b, float var) {
    return a.x - var <= b.x && b.x <= a.x + var && a.y - var <= b.y && b.y <= a.y + var;
}

CGPoint ccpCompMult(CGPoint a, CGPoint b) { return {a.x * b.x, a.y * b.y}; }

float ccpAngleSigned(CGPoint a, CGPoint b) {
    CGPoint a2 = ccpNormalize(a), b2 = ccpNormalize(b);
    float angle = std::atan2(a2.x * b2.y - a2.y * b2.x, ccpDot(a2, b2));
    return std::fabs(angle) < kEpsilon ? 0.f : angle;
}

float ccpAngle(CGPoint a, CGPoint b) {
    float angle = std::acos(ccpDot(ccpNormalize(a), ccpNormalize(b)));
    return std::fabs(angle) < kEpsilon ? 0.f : angle;
}

CGPoint ccpRotateByAngle(CGPoint v, CGPoint pivot, float angle) {
    CGPoint r = ccpSub(v, pivot);
    float c = std::cos(angle), s = std::sin(angle);
    return ccpAdd({r.x * c - r.y * s, r.x * s + r.y * c}, pivot);
}

bool ccpLineIntersect(CGPoint A, CGPoint B, CGPoint C, CGPoint D, float* S, float* T) {
    // A segment of zero length has no direction.
    if ((A.x == B.x && A.y == B.y) || (C.x == D.x && C.y == D.y)) return false;
    float BAx = B.x - A.x, BAy = B.y - A.y;
    float DCx = D.x - C.x, DCy = D.y - C.y;
    float ACx = A.x - C.x, ACy = A.y - C.y;
    float denom = DCy * BAx - DCx * BAy;
    if (std::fabs(BAx) < kEpsilon && std::fabs(BAy) < kEpsilon) return false;
    if (std::fabs(DCx) < kEpsilon && std::fabs(DCy) < kEpsilon) return false;
    if (std::fabs(denom) < kEpsilon) return false;
    if (S) *S = (DCx * ACy - DCy * ACx) / denom;
    if (T) *T = (BAx * ACy - BAy * ACx) / denom;
    return true;
}
