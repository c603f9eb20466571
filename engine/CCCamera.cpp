#include "CCCamera.h"

#include <cstdio>

#include "glu.h"

bool CCCamera::init() {
    restore();
    return true;
}

void CCCamera::restore() {
    eyeX_ = eyeY_ = 0;
    eyeZ_ = 1.1920929e-7f;
    centerX_ = centerY_ = centerZ_ = 0;
    upX_ = 0;
    upY_ = 1;
    upZ_ = 0;
    dirty_ = false;
}

void CCCamera::locate() {
    if (!dirty_) return;
    gluLookAt(eyeX_, eyeY_, eyeZ_, centerX_, centerY_, centerZ_, upX_, upY_, upZ_);
}

void CCCamera::setEyeX(float x, float y, float z) {
    eyeX_ = x;
    eyeY_ = y;
    eyeZ_ = z;
    dirty_ = true;
}

void CCCamera::setCenterX(float x, float y, float z) {
    centerX_ = x;
    centerY_ = y;
    centerZ_ = z;
    dirty_ = true;
}

void CCCamera::setUpX(float x, float y, float z) {
    upX_ = x;
    upY_ = y;
    upZ_ = z;
    dirty_ = true;
}

void CCCamera::eyeX(float* x, float* y, float* z) const {
    *x = eyeX_;
    *y = eyeY_;
    *z = eyeZ_;
}

void CCCamera::centerX(float* x, float* y, float* z) const {
    *x = centerX_;
    *y = centerY_;
    *z = centerZ_;
}

void CCCamera::upX(float* x, float* y, float* z) const {
    *x = upX_;
    *y = upY_;
    *z = upZ_;
}

std::string CCCamera::description() const {
    char text[96];
    std::snprintf(text, sizeof text, "<%s = %s | center = (%.2f,%.2f,%.2f)>", className().c_str(),
                  ccAddressString(this).c_str(), centerX_, centerY_, centerZ_);
    return text;
}
