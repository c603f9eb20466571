#pragma once
// Points, sizes, rectangles and affine transforms: 32-bit floats, as the graphics platform has them.

struct CGPoint {
    float x = 0, y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    float width = 0, height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

// Maps (x, y) to (a·x + c·y + tx, b·x + d·y + ty).
struct CGAffineTransform {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool operator==(const CGAffineTransform&) const = default;
};

inline constexpr CGPoint CGPointZero{0, 0};
inline constexpr CGSize CGSizeZero{0, 0};
inline constexpr CGRect CGRectZero{};
inline constexpr CGAffineTransform CGAffineTransformIdentity{1, 0, 0, 1, 0, 0};

inline CGPoint CGPointMake(float x, float y) { return {x, y}; }
inline CGSize CGSizeMake(float w, float h) { return {w, h}; }
inline CGRect CGRectMake(float x, float y, float w, float h) { return {{x, y}, {w, h}}; }
inline bool CGPointEqualToPoint(CGPoint a, CGPoint b) { return a == b; }
inline bool CGSizeEqualToSize(CGSize a, CGSize b) { return a == b; }
inline bool CGRectEqualToRect(const CGRect& a, const CGRect& b) { return a == b; }

float CGRectGetMinX(const CGRect& r);
float CGRectGetMaxX(const CGRect& r);
float CGRectGetMidX(const CGRect& r);
float CGRectGetMinY(const CGRect& r);
float CGRectGetMaxY(const CGRect& r);
float CGRectGetMidY(const CGRect& r);
float CGRectGetWidth(const CGRect& r);
float CGRectGetHeight(const CGRect& r);
// Rectangles with negative sizes are taken by their normalised extent.
CGRect CGRectStandardize(const CGRect& r);
bool CGRectContainsPoint(const CGRect& r, CGPoint p);
bool CGRectIntersectsRect(const CGRect& a, const CGRect& b);
bool CGRectIsEmpty(const CGRect& r);

CGAffineTransform CGAffineTransformMake(float a, float b, float c, float d, float tx, float ty);
CGAffineTransform CGAffineTransformMakeTranslation(float tx, float ty);
CGAffineTransform CGAffineTransformMakeScale(float sx, float sy);
CGAffineTransform CGAffineTransformMakeRotation(float radians);
// Each of these applies the new step first: t' = step · t.
CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, float tx, float ty);
CGAffineTransform CGAffineTransformRotate(const CGAffineTransform& t, float radians);
CGAffineTransform CGAffineTransformScale(const CGAffineTransform& t, float sx, float sy);
// t1 then t2.
CGAffineTransform CGAffineTransformConcat(const CGAffineTransform& t1, const CGAffineTransform& t2);
// A singular transform is returned unchanged.
CGAffineTransform CGAffineTransformInvert(const CGAffineTransform& t);
bool CGAffineTransformIsIdentity(const CGAffineTransform& t);
// Computed in double.
CGPoint CGPointApplyAffineTransform(CGPoint p, const CGAffineTransform& t);
CGSize CGSizeApplyAffineTransform(CGSize s, const CGAffineTransform& t);
// The smallest axis-aligned rectangle around the four transformed corners.
CGRect CGRectApplyAffineTransform(const CGRect& r, const CGAffineTransform& t);
