#pragma once
// A node's optional look-at camera: eye, centre and up vectors applied with gluLookAt.
// A restored (default) camera leaves the matrix alone.
#include "CCObject.h"

class CCCamera : public CCObject {
public:
    CCCamera() { restore(); }
    bool init();
    void restore();
    // Multiplies the current matrix by the look-at matrix when the camera was moved.
    void locate();

    void setEyeX(float x, float y, float z);
    void setCenterX(float x, float y, float z);
    void setUpX(float x, float y, float z);
    void eyeX(float* x, float* y, float* z) const;
    void centerX(float* x, float* y, float* z) const;
    void upX(float* x, float* y, float* z) const;

    bool dirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }

    std::string description() const override;

private:
    float eyeX_ = 0, eyeY_ = 0, eyeZ_ = 0;
    float centerX_ = 0, centerY_ = 0, centerZ_ = 0;
    float upX_ = 0, upY_ = 0, upZ_ = 0;
    bool dirty_ = false;
};
