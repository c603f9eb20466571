#include "CCColorLayer.h"

#include "CCGLStateCache.h"
#include "ccMacros.h"

CCColorLayer* CCColorLayer::node() {
    return ccCreate<CCColorLayer>([](CCColorLayer* layer) { return layer->init(); });
}

CCColorLayer* CCColorLayer::layerWithColor(ccColor4B color, float width, float height) {
    return ccCreate<CCColorLayer>([&](CCColorLayer* layer) { return layer->initWithColor(color, width, height); });
}

CCColorLayer* CCColorLayer::layerWithColor(ccColor4B color) {
    return ccCreate<CCColorLayer>([&](CCColorLayer* layer) { return layer->initWithColor(color); });
}

// A plain layer of this class is a transparent black one of the window's size.
bool CCColorLayer::init() { return initWithColor(ccc4(0, 0, 0, 0)); }

bool CCColorLayer::initWithColor(ccColor4B color, float width, float height) {
    if (!CCLayer::init()) return false;
    blendFunc_ = {CC_BLEND_SRC, CC_BLEND_DST};
    color_ = ccc3(color.r, color.g, color.b);
    opacity_ = color.a;
    for (GLfloat& v : squareVertices_) v = 0;
    updateColor();
    setContentSize(CGSizeMake(width, height));
    return true;
}

bool CCColorLayer::initWithColor(ccColor4B color) {
    CGSize size = ccLayerWinSizeInPixels();
    return initWithColor(color, size.width, size.height);
}

void CCColorLayer::setColor(ccColor3B color) {
    color_ = color;
    updateColor();
}

void CCColorLayer::setOpacity(std::uint8_t opacity) {
    opacity_ = opacity;
    updateColor();
}

void CCColorLayer::updateColor() {
    for (int i = 0; i < 4; i++) {
        squareColors_[i * 4 + 0] = color_.r;
        squareColors_[i * 4 + 1] = color_.g;
        squareColors_[i * 4 + 2] = color_.b;
        squareColors_[i * 4 + 3] = opacity_;
    }
}

void CCColorLayer::setContentSize(CGSize size) {
    const float factor = CC_CONTENT_SCALE_FACTOR();
    squareVertices_[2] = size.width * factor;
    squareVertices_[5] = size.height * factor;
    squareVertices_[6] = size.width * factor;
    squareVertices_[7] = size.height * factor;
    CCLayer::setContentSize(size);
}

void CCColorLayer::changeWidth(float width) { setContentSize(CGSizeMake(width, contentSize_.height)); }

void CCColorLayer::changeHeight(float height) { setContentSize(CGSizeMake(contentSize_.width, height)); }

void CCColorLayer::changeWidth(float width, float height) { setContentSize(CGSizeMake(width, height)); }

void CCColorLayer::draw() {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);

    ccGLForgetArrays();
    glVertexPointer(2, GL_FLOAT, 0, squareVertices_);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, squareColors_);

    // The default blend expects premultiplied colours; this colour is not, so a translucent
    // layer blends by its alpha for this draw.
    bool newBlend = false;
    if (blendFunc_.src != CC_BLEND_SRC || blendFunc_.dst != CC_BLEND_DST) {
        newBlend = true;
        glBlendFunc(blendFunc_.src, blendFunc_.dst);
    } else if (opacity_ != 255) {
        newBlend = true;
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

    if (newBlend) glBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);

    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
}
