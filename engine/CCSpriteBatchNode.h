#pragma once
// A node that draws every sprite beneath it (children and their children) from one texture
// atlas in one call. Each descendant owns one atlas slot; slots are kept in drawing order:
// depth first, children with negative z before their parent, the others after it.
#include <string>

#include "CCArray.h"
#include "CCNode.h"
#include "CCPtr.h"
#include "CCTextureAtlas.h"
#include "ccTypes.h"

class CCSprite;
class CCTexture2D;

inline constexpr unsigned kDefaultSpriteBatchCapacity = 29;

class CCSpriteBatchNode : public CCNode {
public:
    static CCSpriteBatchNode* batchNodeWithFile(const std::string& file);
    static CCSpriteBatchNode* batchNodeWithFile(const std::string& file, unsigned capacity);
    static CCSpriteBatchNode* batchNodeWithTexture(CCTexture2D* texture);
    static CCSpriteBatchNode* batchNodeWithTexture(CCTexture2D* texture, unsigned capacity);
    static CCSpriteBatchNode* spriteSheetWithFile(const std::string& file) { return batchNodeWithFile(file); }
    static CCSpriteBatchNode* spriteSheetWithFile(const std::string& file, unsigned capacity) {
        return batchNodeWithFile(file, capacity);
    }
    static CCSpriteBatchNode* spriteSheetWithTexture(CCTexture2D* texture) { return batchNodeWithTexture(texture); }
    static CCSpriteBatchNode* spriteSheetWithTexture(CCTexture2D* texture, unsigned capacity) {
        return batchNodeWithTexture(texture, capacity);
    }
    // The texture comes from the texture cache; a file that does not load leaves the atlas
    // without texture.
    bool initWithFile(const std::string& file, unsigned capacity);
    bool initWithTexture(CCTexture2D* texture, unsigned capacity);
    ~CCSpriteBatchNode() override;

    // An autoreleased sprite of the atlas texture, in batch mode, not yet added.
    CCSprite* createSpriteWithRect(CGRect rect);
    void initSprite(CCSprite* sprite, CGRect rect);

    // ---- tree ----
    using CCNode::addChild;
    CCNode* addChild(CCNode* child, int z, int tag) override;
    void removeChild(CCNode* child, bool cleanup) override;
    void removeChildAtIndex(unsigned index, bool cleanup);
    void removeAllChildrenWithCleanup(bool cleanup) override;
    void reorderChild(CCNode* child, int z) override;

    // ---- atlas bookkeeping ----
    // Slot for a sprite already inserted among its parent's children.
    unsigned atlasIndexForChild(CCSprite* sprite, int z);
    void insertChild(CCSprite* sprite, unsigned index);
    void removeSpriteFromAtlas(CCSprite* sprite);
    unsigned highestAtlasIndexInChild(CCSprite* sprite);
    unsigned lowestAtlasIndexInChild(CCSprite* sprite);
    // Renumbers a subtree in drawing order from the index; gives the index after it.
    unsigned rebuildIndexInOrder(CCNode* parent, unsigned index);
    void increaseAtlasCapacity();

    // ---- drawing ----
    void visit() override;
    void draw() override;

    CCTexture2D* texture() const { return textureAtlas_->texture(); }
    void setTexture(CCTexture2D* texture);
    CCTextureAtlas* textureAtlas() const { return textureAtlas_.get(); }
    void setTextureAtlas(CCTextureAtlas* atlas) { textureAtlas_ = atlas; }
    ccBlendFunc blendFunc() const { return blendFunc_; }
    void setBlendFunc(ccBlendFunc blendFunc) { blendFunc_ = blendFunc; }
    void updateBlendFunc();
    // Of CCSprite, in slot order.
    CCArray* descendants() const { return descendants_.get(); }

    std::string description() const override;

protected:
    CCPtr<CCTextureAtlas> textureAtlas_;
    ccBlendFunc blendFunc_{};
    CCPtr<CCArray> descendants_;
};
