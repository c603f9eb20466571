#pragma once
// A node drawn from a texture atlas whose texture is a grid of equally sized items. The
// quads are filled by subclasses; colour and opacity go to the GL current colour.
#include <string>

#include "CCNode.h"
#include "CCPtr.h"
#include "CCRGBAProtocol.h"
#include "CCTextureAtlas.h"

class CCTexture2D;

class CCAtlasNode : public CCNode, public CCRGBAProtocol {
public:
    static CCAtlasNode* atlasWithTileFile(const std::string& tile, int tileWidth, int tileHeight, unsigned itemsToRender);
    // Sizes in points; nil when the tile file does not load.
    bool initWithTileFile(const std::string& tile, int tileWidth, int tileHeight, unsigned itemsToRender);

    // Fills the atlas's quads; the plain atlas node has nothing to fill.
    virtual void updateAtlasValues();
    void draw() override;

    ccColor3B color() const override;
    void setColor(ccColor3B color) override;
    std::uint8_t opacity() const override { return opacity_; }
    void setOpacity(std::uint8_t opacity) override;
    void setOpacityModifyRGB(bool modify) override;
    bool doesOpacityModifyRGB() const override { return opacityModifyRGB_; }

    CCTexture2D* texture() const { return textureAtlas_->texture(); }
    void setTexture(CCTexture2D* texture);
    CCTextureAtlas* textureAtlas() const { return textureAtlas_.get(); }
    void setTextureAtlas(CCTextureAtlas* atlas) { textureAtlas_ = atlas; }
    ccBlendFunc blendFunc() const { return blendFunc_; }
    void setBlendFunc(ccBlendFunc blendFunc) { blendFunc_ = blendFunc; }
    int itemsPerRow() const { return itemsPerRow_; }
    int itemsPerColumn() const { return itemsPerColumn_; }

protected:
    void updateBlendFunc();
    void updateOpacityModifyRGB();
    void calculateMaxItems();
    // Quads drawn by draw().
    virtual unsigned quadsToDraw() const { return textureAtlas_->totalQuads(); }

    CCPtr<CCTextureAtlas> textureAtlas_;
    int itemsPerRow_ = 0;
    int itemsPerColumn_ = 0;
    int itemWidth_ = 0;
    int itemHeight_ = 0;
    ccBlendFunc blendFunc_{};
    std::uint8_t opacity_ = 255;
    ccColor3B color_{255, 255, 255};
    ccColor3B colorUnmodified_{255, 255, 255};
    bool opacityModifyRGB_ = true;
};
