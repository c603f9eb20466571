#include "CAEAGLLayer.h"

#include <cmath>

CAEAGLLayer* CAEAGLLayer::layer() { return ccAutorelease(new CAEAGLLayer); }

int CAEAGLLayer::pixelWidth() const { return static_cast<int>(std::lround(bounds_.size.width * contentsScale_)); }
int CAEAGLLayer::pixelHeight() const { return static_cast<int>(std::lround(bounds_.size.height * contentsScale_)); }
