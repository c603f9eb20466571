#include "CGGeometry.h"

#include <algorithm>
#include <cmath>

float CGRectGetMinX(const CGRect& r) { return CGRectStandardize(r).origin.x; }
float CGRectGetMaxX(const CGRect& r) {
    CGRect s = CGRectStandardize(r);
    return s.origin.x + s.size.width;
}
float CGRectGetMidX(const CGRect& r) {
    CGRect s = CGRectStandardize(r);
    return s.origin.x + s.size.width / 2;
}
float CGRectGetMinY(const CGRect& r) { return CGRectStandardize(r).origin.y; }
float CGRectGetMaxY(const CGRect& r) {
    CGRect s = CGRectStandardize(r);
    return s.origin.y + s.size.height;
}
float CGRectGetMidY(const CGRect& r) {
    CGRect s = CGRectStandardize(r);
    return s.origin.y + s.size.height / 2;
}
float CGRectGetWidth(const CGRect& r) { return std::fabs(r.size.width); }
float CGRectGetHeight(const CGRect& r) { return std::fabs(r.size.height); }

CGRect CGRectStandardize(const CGRect& r) {
    CGRect s = r;
    if (s.size.width < 0) {
        s.origin.x += s.size.width;
        s.size.width = -s.size.width;
    }
    if (s.size.height < 0) {
        s.origin.y += s.size.height;
        s.size.height = -s.size.height;
    }
    return s;
}

bool CGRectContainsPoint(const CGRect& r, CGPoint p) {
    CGRect s = CGRectStandardize(r);
    return p.x >= s.origin.x && p.x < s.origin.x + s.size.width && p.y >= s.origin.y &&
           p.y < s.origin.y + s.size.height;
}

bool CGRectIsEmpty(const CGRect& r) { return r.size.width == 0 || r.size.height == 0; }

bool CGRectIntersectsRect(const CGRect& a, const CGRect& b) {
    if (CGRectIsEmpty(a) || CGRectIsEmpty(b)) return false;
    return CGRectGetMinX(a) < CGRectGetMaxX(b) && CGRectGetMinX(b) < CGRectGetMaxX(a) &&
           CGRectGetMinY(a) < CGRectGetMaxY(b) && CGRectGetMinY(b) < CGRectGetMaxY(a);
}

CGAffineTransform CGAffineTransformMake(float a, float b, float c, float d, float tx, float ty) {
    return {a, b, c, d, tx, ty};
}
CGAffineTransform CGAffineTransformMakeTranslation(float tx, float ty) { return {1, 0, 0, 1, tx, ty}; }
CGAffineTransform CGAffineTransformMakeScale(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
CGAffineTransform CGAffineTransformMakeRotation(float radians) {
    float s = std::sin(radians), c = std::cos(radians);
    return {c, s, -s, c, 0, 0};
}

CGAffineTransform CGAffineTransformConcat(const CGAffineTransform& t1, const CGAffineTransform& t2) {
    return {t1.a * t2.a + t1.b * t2.c,         t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,         t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, float tx, float ty) {
    return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), t);
}
CGAffineTransform CGAffineTransformRotate(const CGAffineTransform& t, float radians) {
    return CGAffineTransformConcat(CGAffineTransformMakeRotation(radians), t);
}
CGAffineTransform CGAffineTransformScale(const CGAffineTransform& t, float sx, float sy) {
    return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}

CGAffineTransform CGAffineTransformInvert(const CGAffineTransform& t) {
    double det = double(t.a) * t.d - double(t.b) * t.c;
    if (det == 0) return t;
    double inv = 1.0 / det;
    return {float(t.d * inv),
            float(-t.b * inv),
            float(-t.c * inv),
            float(t.a * inv),
            float((double(t.c) * t.ty - double(t.d) * t.tx) * inv),
            float((double(t.b) * t.tx - double(t.a) * t.ty) * inv)};
}

bool CGAffineTransformIsIdentity(const CGAffineTransform& t) { return t == CGAffineTransformIdentity; }

CGPoint CGPointApplyAffineTransform(CGPoint p, const CGAffineTransform& t) {
    return {float(double(t.a) * p.x + double(t.c) * p.y + t.tx), float(double(t.b) * p.x + double(t.d) * p.y + t.ty)};
}

CGSize CGSizeApplyAffineTransform(CGSize s, const CGAffineTransform& t) {
    return {float(double(t.a) * s.width + double(t.c) * s.height),
            float(double(t.b) * s.width + double(t.d) * s.height)};
}

CGRect CGRectApplyAffineTransform(const CGRect& r, const CGAffineTransform& t) {
    float top = CGRectGetMinY(r), left = CGRectGetMinX(r), right = CGRectGetMaxX(r), bottom = CGRectGetMaxY(r);
    CGPoint corners[4] = {CGPointApplyAffineTransform({left, top}, t), CGPointApplyAffineTransform({right, top}, t),
                          CGPointApplyAffineTransform({left, bottom}, t),
                          CGPointApplyAffineTransform({right, bottom}, t)};
    float minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
    for (const CGPoint& c : corners) {
        minX = std::min(minX, c.x);
        maxX = std::max(maxX, c.x);
        minY = std::min(minY, c.y);
        maxY = std::max(maxY, c.y);
    }
    return {{minX, minY}, {maxX - minX, maxY - minY}};
}
