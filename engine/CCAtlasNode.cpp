#include "CCAtlasNode.h"

#include <GLES/gl.h>

#include <stdexcept>

#include "CCTexture2D.h"
#include "ccMacros.h"

CCAtlasNode* CCAtlasNode::atlasWithTileFile(const std::string& tile, int tileWidth, int tileHeight,
                                            unsigned itemsToRender) {
    return ccCreate<CCAtlasNode>(
        [&](CCAtlasNode* n) { return n->initWithTileFile(tile, tileWidth, tileHeight, itemsToRender); });
}

bool CCAtlasNode::initWithTileFile(const std::string& tile, int tileWidth, int tileHeight, unsigned itemsToRender) {
    if (!CCNode::init()) return false;
    const float scale = CC_CONTENT_SCALE_FACTOR();
    itemWidth_ = int(float(tileWidth) * scale);
    itemHeight_ = int(float(tileHeight) * scale);
    opacity_ = 255;
    color_ = colorUnmodified_ = ccWHITE;
    opacityModifyRGB_ = true;
    blendFunc_ = {CC_BLEND_SRC, CC_BLEND_DST};
    textureAtlas_ = CCPtr<CCTextureAtlas>::adopt(
        ccNew<CCTextureAtlas>([&](CCTextureAtlas* a) { return a->initWithFile(tile, itemsToRender); }));
    if (!textureAtlas_) return false;
    updateBlendFunc();
    updateOpacityModifyRGB();
    calculateMaxItems();
    return true;
}

void CCAtlasNode::calculateMaxItems() {
    const CGSize size = texture()->contentSizeInPixels();
    itemsPerColumn_ = itemHeight_ > 0 ? int(size.height / float(itemHeight_)) : 0;
    itemsPerRow_ = itemWidth_ > 0 ? int(size.width / float(itemWidth_)) : 0;
}

void CCAtlasNode::updateAtlasValues() {
    throw std::logic_error("CCAtlasNode:Abstract: updateAtlasValue not overriden");
}

void CCAtlasNode::draw() {
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4ub(color_.r, color_.g, color_.b, opacity_);
    const bool newBlend = blendFunc_.src != CC_BLEND_SRC || blendFunc_.dst != CC_BLEND_DST;
    if (newBlend) glBlendFunc(blendFunc_.src, blendFunc_.dst);
    textureAtlas_->drawNumberOfQuads(quadsToDraw());
    if (newBlend) glBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);
    glEnableClientState(GL_COLOR_ARRAY);
}

ccColor3B CCAtlasNode::color() const { return opacityModifyRGB_ ? colorUnmodified_ : color_; }

void CCAtlasNode::setColor(ccColor3B color) {
    color_ = colorUnmodified_ = color;
    if (opacityModifyRGB_) {
        color_.r = std::uint8_t(color.r * opacity_ / 255);
        color_.g = std::uint8_t(color.g * opacity_ / 255);
        color_.b = std::uint8_t(color.b * opacity_ / 255);
    }
}

void CCAtlasNode::setOpacity(std::uint8_t opacity) {
    opacity_ = opacity;
    if (opacityModifyRGB_) setColor(colorUnmodified_);
}

void CCAtlasNode::setOpacityModifyRGB(bool modify) {
    const ccColor3B old = color();
    opacityModifyRGB_ = modify;
    setColor(old);
}

void CCAtlasNode::updateBlendFunc() {
    CCTexture2D* t = textureAtlas_->texture();
    if (!t || !t->hasPremultipliedAlpha()) blendFunc_ = {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
}

void CCAtlasNode::updateOpacityModifyRGB() {
    CCTexture2D* t = textureAtlas_->texture();
    opacityModifyRGB_ = t && t->hasPremultipliedAlpha();
}

void CCAtlasNode::setTexture(CCTexture2D* texture) {
    textureAtlas_->setTexture(texture);
    updateBlendFunc();
    updateOpacityModifyRGB();
}
