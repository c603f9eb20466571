#pragma once
// A colour value as layers store it: straight (not premultiplied) RGBA floats from 0 to 1.
struct CGColorRef {
    float r = 0, g = 0, b = 0, a = 0;
    bool operator==(const CGColorRef&) const = default;
};
