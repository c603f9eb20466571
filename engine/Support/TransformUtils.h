#pragma once
// Affine transforms to and from the column-major 4 × 4 GL matrix.
#include "CGGeometry.h"

void CGAffineToGL(const CGAffineTransform* t, float* m);
void GLToCGAffine(const float* m, CGAffineTransform* t);
