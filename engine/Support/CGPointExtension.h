#pragma once
// Point arithmetic; angles in radians.
#include "CGGeometry.h"

inline CGPoint ccp(float x, float y) { return {x, y}; }
inline CGPoint ccpNeg(CGPoint v) { return {-v.x, -v.y}; }
inline CGPoint ccpAdd(CGPoint a, CGPoint b) { return {a.x + b.x, a.y + b.y}; }
inline CGPoint ccpSub(CGPoint a, CGPoint b) { return {a.x - b.x, a.y - b.y}; }
inline CGPoint ccpMult(CGPoint v, float s) { return {v.x * s, v.y * s}; }
inline CGPoint ccpMidpoint(CGPoint a, CGPoint b) { return ccpMult(ccpAdd(a, b), 0.5f); }
inline float ccpDot(CGPoint a, CGPoint b) { return a.x * b.x + a.y * b.y; }
inline float ccpCross(CGPoint a, CGPoint b) { return a.x * b.y - a.y * b.x; }
inline CGPoint ccpPerp(CGPoint v) { return {-v.y, v.x}; }
inline CGPoint ccpRPerp(CGPoint v) { return {v.y, -v.x}; }
inline CGPoint ccpProject(CGPoint a, CGPoint b) { return ccpMult(b, ccpDot(a, b) / ccpDot(b, b)); }
inline CGPoint ccpRotate(CGPoint a, CGPoint b) { return {a.x * b.x - a.y * b.y, a.x * b.y + a.y * b.x}; }
inline CGPoint ccpUnrotate(CGPoint a, CGPoint b) { return {a.x * b.x + a.y * b.y, a.y * b.x - a.x * b.y}; }
inline float ccpLengthSQ(CGPoint v) { return ccpDot(v, v); }

float ccpLength(CGPoint v);
float ccpDistance(CGPoint a, CGPoint b);
// Divides by the length; a zero vector gives NaN coordinates.
CGPoint ccpNormalize(CGPoint v);
CGPoint ccpForAngle(float radians);
float ccpToAngle(CGPoint v);
float clampf(float value, float minInclusive, float maxInclusive);
CGPoint ccpClamp(CGPoint p, CGPoint minInclusive, CGPoint maxInclusive);
CGPoint ccpLerp(CGPoint a, CGPoint b, float t);
bool ccpFuzzyEqual(CGPoint a, CGPoint b, float variance);
CGPoint ccpCompMult(CGPoint a, CGPoint b);
float ccpAngleSigned(CGPoint a, CGPoint b);
float ccpAngle(CGPoint a, CGPoint b);
// Rotates v counter-clockwise by angle radians about pivot.
CGPoint ccpRotateByAngle(CGPoint v, CGPoint pivot, float angle);
// Lines A–B and C–D meet at A + s·(B − A) = C + t·(D − C); false for degenerate or parallel lines.
bool ccpLineIntersect(CGPoint A, CGPoint B, CGPoint C, CGPoint D, float* s, float* t);
