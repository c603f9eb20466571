#pragma once
// A layer that fills its rectangle with one colour and opacity.
#include <cstdint>

#include <GLES/gl.h>

#include "CCLayer.h"
#include "CCRGBAProtocol.h"
#include "ccTypes.h"

class CCColorLayer : public CCLayer, public CCRGBAProtocol {
public:
    static CCColorLayer* node();
    static CCColorLayer* layerWithColor(ccColor4B color, float width, float height);
    // As large as the window (in pixels).
    static CCColorLayer* layerWithColor(ccColor4B color);
    bool init() override;
    bool initWithColor(ccColor4B color, float width, float height);
    bool initWithColor(ccColor4B color);

    ccColor3B color() const override { return color_; }
    void setColor(ccColor3B color) override;
    std::uint8_t opacity() const override { return opacity_; }
    void setOpacity(std::uint8_t opacity) override;
    ccBlendFunc blendFunc() const { return blendFunc_; }
    void setBlendFunc(ccBlendFunc blendFunc) { blendFunc_ = blendFunc; }

    // Also moves the far corners of the filled square (in pixels).
    void setContentSize(CGSize size) override;
    void changeWidth(float width);
    void changeHeight(float height);
    void changeWidth(float width, float height);

    void draw() override;

    const GLfloat* squareVertices() const { return squareVertices_; }
    const GLubyte* squareColors() const { return squareColors_; }

protected:
    // Writes (r, g, b, opacity) into each of the four vertex colours.
    void updateColor();

    std::uint8_t opacity_ = 0;
    ccColor3B color_;
    // (0, 0), (w, 0), (0, h), (w, h) in pixels: a triangle strip.
    GLfloat squareVertices_[4 * 2] = {};
    GLubyte squareColors_[4 * 4] = {};
    ccBlendFunc blendFunc_;
};
