#include "TransformUtils.h"

void CGAffineToGL(const CGAffineTransform* t, float* m) {
    for (int i = 0; i < 16; ++i) m[i] = 0;
    m[0] = t->a;
    m[1] = t->b;
    m[4] = t->c;
    m[5] = t->d;
    m[12] = t->tx;
    m[13] = t->ty;
    m[10] = 1;
    m[15] = 1;
}

void GLToCGAffine(const float* m, CGAffineTransform* t) { *t = {m[0], m[1], m[4], m[5], m[12], m[13]}; }
