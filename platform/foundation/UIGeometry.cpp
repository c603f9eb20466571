#include "UIGeometry.h"

#include <cstdlib>
#include <sstream>

namespace {
// Up to `count` numbers in order of appearance; the rest stay 0.
template <unsigned N> void readNumbers(const std::string& text, float (&out)[N]) {
    for (float& v : out) v = 0;
    const char* p = text.c_str();
    unsigned found = 0;
    while (*p && found < N) {
        const char c = *p;
        if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
            char* end = nullptr;
            const double value = std::strtod(p, &end);
            if (end == p) {
                p++;
                continue;
            }
            out[found++] = static_cast<float>(value);
            p = end;
        } else {
            p++;
        }
    }
}

std::string number(float v) {
    std::ostringstream s;
    s << v;
    return s.str();
}
} // namespace

CGPoint CGPointFromString(const std::string& text) {
    float v[2];
    readNumbers(text, v);
    return {v[0], v[1]};
}

CGSize CGSizeFromString(const std::string& text) {
    float v[2];
    readNumbers(text, v);
    return {v[0], v[1]};
}

CGRect CGRectFromString(const std::string& text) {
    float v[4];
    readNumbers(text, v);
    return CGRectMake(v[0], v[1], v[2], v[3]);
}

std::string NSStringFromCGPoint(CGPoint p) { return std::string("{").append(number(p.x)) + ", " + number(p.y) + "}"; }
std::string NSStringFromCGSize(CGSize s) { return std::string("{").append(number(s.width)) + ", " + number(s.height) + "}"; }
std::string NSStringFromCGRect(const CGRect& r) {
    return std::string("{").append(NSStringFromCGPoint(r.origin)) + ", " + NSStringFromCGSize(r.size) + "}";
}
