#pragma once
// A node that shows a rectangle of a texture as one quad. It draws the quad itself, or hands
// it to a CCSpriteBatchNode that draws the quads of many sprites of one texture at once.
// Colour and opacity (premultiplied for textures with premultiplied alpha), flips, trimmed
// and rotated sprite frames, named animations.
#include <map>
#include <string>

#include "CCAnimation.h"
#include "CCFlipProtocol.h"
#include "CCNode.h"
#include "CCPtr.h"
#include "CCTexture2D.h"
#include "CCRGBAProtocol.h"
#include "ccTypes.h"

class CCSpriteBatchNode;
class CCSpriteFrame;
class CCTextureAtlas;
class CGImage;

// Which parts of its parent's transform a sprite in a batch node inherits.
enum {
    CC_HONOR_PARENT_TRANSFORM_TRANSLATE = 1 << 0,
    CC_HONOR_PARENT_TRANSFORM_ROTATE = 1 << 1,
    CC_HONOR_PARENT_TRANSFORM_SCALE = 1 << 2,
    CC_HONOR_PARENT_TRANSFORM_ALL = CC_HONOR_PARENT_TRANSFORM_TRANSLATE | CC_HONOR_PARENT_TRANSFORM_ROTATE |
                                    CC_HONOR_PARENT_TRANSFORM_SCALE,
};

// Slot index of a sprite that has no place in an atlas.
inline constexpr unsigned CCSpriteIndexNotInitialized = 0xFFFFFFFF;

struct transformValues_ {
    CGPoint pos;   // position in pixels
    CGPoint scale; // x, y
    float rotation = 0;
    CGPoint ap;    // anchor point in pixels
};

class CCSprite : public CCNode, public CCRGBAProtocol, public CCFlipProtocol {
public:
    static CCSprite* node();
    static CCSprite* spriteWithTexture(CCTexture2D* texture);
    static CCSprite* spriteWithTexture(CCTexture2D* texture, CGRect rect);
    static CCSprite* spriteWithSpriteFrame(CCSpriteFrame* frame);
    static CCSprite* spriteWithSpriteFrameName(const std::string& name);
    static CCSprite* spriteWithFile(const std::string& filename);
    static CCSprite* spriteWithFile(const std::string& filename, CGRect rect);
    static CCSprite* spriteWithCGImage(CGImage* image);
    static CCSprite* spriteWithCGImage(CGImage* image, const std::string& key);
    static CCSprite* spriteWithBatchNode(CCSpriteBatchNode* batchNode, CGRect rect);
    static CCSprite* spriteWithSpriteSheet(CCSpriteBatchNode* spriteSheet, CGRect rect);

    CCSprite();
    ~CCSprite() override;
    bool init() override;
    bool initWithTexture(CCTexture2D* texture);
    // Rectangle in points.
    bool initWithTexture(CCTexture2D* texture, CGRect rect);
    bool initWithSpriteFrame(CCSpriteFrame* frame);
    bool initWithSpriteFrameName(const std::string& name);
    // False (nil) when the image does not load.
    bool initWithFile(const std::string& filename);
    bool initWithFile(const std::string& filename, CGRect rect);
    bool initWithCGImage(CGImage* image);
    bool initWithCGImage(CGImage* image, const std::string& key);
    bool initWithBatchNode(CCSpriteBatchNode* batchNode, CGRect rect);
    bool initWithBatchNodeRectInPixels(CCSpriteBatchNode* batchNode, CGRect rect);
    bool initWithSpriteSheet(CCSpriteBatchNode* spriteSheet, CGRect rect);

    // ---- rendering mode ----
    void useSelfRender();
    void useBatchNode(CCSpriteBatchNode* batchNode);
    void useSpriteSheetRender(CCSpriteBatchNode* spriteSheet) { useBatchNode(spriteSheet); }
    // Recomputes the quad from the transforms up to the batch node and sends it to the atlas.
    virtual void updateTransform();
    void draw() override;

    // ---- texture and frame ----
    CCTexture2D* texture() const { return texture_.get(); }
    virtual void setTexture(CCTexture2D* texture);
    void updateBlendFunc();
    // Points.
    void setTextureRect(CGRect rect);
    void setTextureRectInPixels(CGRect rect, bool rotated, CGSize untrimmedSize);
    void updateTextureCoords(CGRect rectInPixels);
    virtual void setDisplayFrame(CCSpriteFrame* frame);
    void setDisplayFrame(const std::string& animationName, unsigned frameIndex);
    virtual bool isFrameDisplayed(CCSpriteFrame* frame) const;
    // A new frame (autoreleased) of the current texture and rectangle.
    virtual CCSpriteFrame* displayedFrame() const;
    void addAnimation(CCAnimation* animation);
    CCAnimation* animationByName(const std::string& animationName) const;

    // ---- colour ----
    ccColor3B color() const override;
    void setColor(ccColor3B color) override;
    std::uint8_t opacity() const override { return opacity_; }
    void setOpacity(std::uint8_t opacity) override;
    void setOpacityModifyRGB(bool modify) override;
    bool doesOpacityModifyRGB() const override { return opacityModifyRGB_; }
    void updateColor();

    // ---- flips ----
    bool flipX() const { return flipX_; }
    void setFlipX(bool flipX) override;
    bool flipY() const { return flipY_; }
    void setFlipY(bool flipY) override;

    // ---- properties ----
    bool dirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }
    const ccV3F_C4B_T2F_Quad& quad() const { return quad_; }
    unsigned atlasIndex() const { return atlasIndex_; }
    void setAtlasIndex(unsigned index) { atlasIndex_ = index; }
    CGRect textureRect() const { return rect_; }
    CGRect textureRectInPixels() const { return rectInPixels_; }
    bool textureRectRotated() const { return rectRotated_; }
    CCTextureAtlas* textureAtlas() const { return textureAtlas_; }
    void setTextureAtlas(CCTextureAtlas* atlas) { textureAtlas_ = atlas; }
    CCSpriteBatchNode* batchNode() const { return batchNode_; }
    void setBatchNode(CCSpriteBatchNode* batchNode) { batchNode_ = batchNode; }
    int honorParentTransform() const { return honorParentTransform_; }
    void setHonorParentTransform(int flags) { honorParentTransform_ = flags; }
    CGPoint offsetPositionInPixels() const { return offsetPositionInPixels_; }
    ccBlendFunc blendFunc() const { return blendFunc_; }
    void setBlendFunc(ccBlendFunc blendFunc) { blendFunc_ = blendFunc; }
    bool usesBatchNode() const { return usesBatchNode_; }
    void setUsesBatchNode(bool uses) { usesBatchNode_ = uses; }

    // ---- node overrides: in batch mode they mark the quad dirty ----
    void setPosition(CGPoint position) override;
    void setPositionInPixels(CGPoint position) override;
    void setRotation(float rotation) override;
    void setScaleX(float scaleX) override;
    void setScaleY(float scaleY) override;
    void setScale(float scale) override;
    void setVertexZ(float z) override;
    void setAnchorPoint(CGPoint anchor) override;
    void setVisible(bool visible) override;
    // Not in batch mode.
    void setRelativeAnchorPoint(bool relative);
    using CCNode::addChild;
    CCNode* addChild(CCNode* child, int z, int tag) override;
    void removeChild(CCNode* child, bool cleanup) override;
    void removeAllChildrenWithCleanup(bool cleanup) override;
    void reorderChild(CCNode* child, int z) override;
    virtual void setDirtyRecursively(bool dirty);
    void getTransformValues(transformValues_* values) const;

    std::string description() const override;

protected:
    void setQuadVerticesFromRect();
    void markDirtyInBatch();

    CCTextureAtlas* textureAtlas_ = nullptr; // not retained
    unsigned atlasIndex_ = CCSpriteIndexNotInitialized;
    CCSpriteBatchNode* batchNode_ = nullptr; // not retained
    int honorParentTransform_ = CC_HONOR_PARENT_TRANSFORM_ALL;
    bool dirty_ = false;
    bool recursiveDirty_ = false;
    bool hasChildren_ = false;
    ccBlendFunc blendFunc_{};
    CCPtr<CCTexture2D> texture_;
    bool usesBatchNode_ = false;
    CGRect rect_{};
    CGRect rectInPixels_{};
    bool rectRotated_ = false;
    CGPoint offsetPositionInPixels_{};
    CGPoint unflippedOffsetPositionFromCenter_{};
    ccV3F_C4B_T2F_Quad quad_{};
    std::uint8_t opacity_ = 255;
    ccColor3B color_{};
    ccColor3B colorUnmodified_{};
    bool opacityModifyRGB_ = false;
    bool flipX_ = false, flipY_ = false;
    std::map<std::string, CCPtr<CCAnimation>> animations_;
};

// Fails unless the sprite draws from this texture: a batch draws all its sprites with its one
// texture, so a sprite joins a batch (or a batched sprite) only with the same texture.
void ccAssertSameTexture(CCSprite* sprite, CCTexture2D* texture);
