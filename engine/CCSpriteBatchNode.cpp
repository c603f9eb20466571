#include "CCSpriteBatchNode.h"

#include <GLES/gl.h>

#include <cstdio>

#include "CCSprite.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "ccMacros.h"

CCSpriteBatchNode* CCSpriteBatchNode::batchNodeWithFile(const std::string& file) {
    return batchNodeWithFile(file, kDefaultSpriteBatchCapacity);
}

CCSpriteBatchNode* CCSpriteBatchNode::batchNodeWithFile(const std::string& file, unsigned capacity) {
    return ccCreate<CCSpriteBatchNode>([&](CCSpriteBatchNode* b) { return b->initWithFile(file, capacity); });
}

CCSpriteBatchNode* CCSpriteBatchNode::batchNodeWithTexture(CCTexture2D* texture) {
    return batchNodeWithTexture(texture, kDefaultSpriteBatchCapacity);
}

CCSpriteBatchNode* CCSpriteBatchNode::batchNodeWithTexture(CCTexture2D* texture, unsigned capacity) {
    return ccCreate<CCSpriteBatchNode>([&](CCSpriteBatchNode* b) { return b->initWithTexture(texture, capacity); });
}

bool CCSpriteBatchNode::initWithFile(const std::string& file, unsigned capacity) {
    return initWithTexture(CCTextureCache::sharedTextureCache()->addImage(file), capacity);
}

bool CCSpriteBatchNode::initWithTexture(CCTexture2D* texture, unsigned capacity) {
    if (!CCNode::init()) return false;
    blendFunc_ = {CC_BLEND_SRC, CC_BLEND_DST};
    textureAtlas_ = CCPtr<CCTextureAtlas>::adopt(
        ccNew<CCTextureAtlas>([&](CCTextureAtlas* a) { return a->initWithTexture(texture, capacity); }));
    if (!textureAtlas_) return false;
    updateBlendFunc();
    auto makeArray = [&] {
        return CCPtr<CCArray>::adopt(ccNew<CCArray>([&](CCArray* a) { return a->initWithCapacity(capacity); }));
    };
    children_ = makeArray();
    descendants_ = makeArray();
    return true;
}

CCSpriteBatchNode::~CCSpriteBatchNode() {
    // Sprites that outlive the batch node must not keep pointing at its atlas.
    if (descendants_) {
        for (CCObject* object : *descendants_) {
            auto* sprite = static_cast<CCSprite*>(object);
            if (sprite->batchNode() == this) sprite->useSelfRender();
        }
    }
}

CCSprite* CCSpriteBatchNode::createSpriteWithRect(CGRect rect) {
    CCSprite* sprite = ccCreate<CCSprite>([&](CCSprite* s) { return s->initWithTexture(texture(), rect); });
    if (sprite) sprite->useBatchNode(this);
    return sprite;
}

void CCSpriteBatchNode::initSprite(CCSprite* sprite, CGRect rect) {
    if (!sprite) return;
    sprite->initWithTexture(texture(), rect);
    sprite->useBatchNode(this);
}

// ---- tree ----

CCNode* CCSpriteBatchNode::addChild(CCNode* child, int z, int tag) {
    CCAssert(child != nullptr, "Argument must be non-nil");
    auto* sprite = dynamic_cast<CCSprite*>(child);
    CCAssert(sprite != nullptr, "CCSpriteBatchNode only supports CCSprites as children");
    ccAssertSameTexture(sprite, texture());
    CCNode::addChild(child, z, tag);
    insertChild(sprite, atlasIndexForChild(sprite, z));
    return this;
}

void CCSpriteBatchNode::removeChild(CCNode* child, bool cleanup) {
    if (!child) return;
    CCAssert(children_->containsObject(child), "CCSpriteBatchNode doesn't contain the sprite. Can't remove it");
    removeSpriteFromAtlas(static_cast<CCSprite*>(child));
    CCNode::removeChild(child, cleanup);
}

void CCSpriteBatchNode::removeChildAtIndex(unsigned index, bool cleanup) {
    removeChild(static_cast<CCNode*>(children_->objectAtIndex(index)), cleanup);
}

void CCSpriteBatchNode::removeAllChildrenWithCleanup(bool cleanup) {
    // Every descendant, not only the direct children, leaves batch mode: none may keep a
    // pointer to this atlas.
    for (CCObject* object : *descendants_) static_cast<CCSprite*>(object)->useSelfRender();
    CCNode::removeAllChildrenWithCleanup(cleanup);
    descendants_->removeAllObjects();
    textureAtlas_->removeAllQuads();
}

void CCSpriteBatchNode::reorderChild(CCNode* child, int z) {
    CCAssert(child != nullptr, "Child must be non-nil");
    CCAssert(children_->containsObject(child), "Child doesn't belong to Sprite");
    if (z == child->zOrder()) return;
    CCPtr<CCNode> keep(child);
    removeChild(child, false);
    addChild(child, z, child->tag());
}

// ---- atlas bookkeeping ----

unsigned CCSpriteBatchNode::highestAtlasIndexInChild(CCSprite* sprite) {
    CCArray* children = sprite->children();
    if (!children || children->count() == 0) return sprite->atlasIndex();
    return highestAtlasIndexInChild(static_cast<CCSprite*>(children->lastObject()));
}

unsigned CCSpriteBatchNode::lowestAtlasIndexInChild(CCSprite* sprite) {
    CCArray* children = sprite->children();
    if (!children || children->count() == 0) return sprite->atlasIndex();
    return lowestAtlasIndexInChild(static_cast<CCSprite*>(children->objectAtIndex(0)));
}

unsigned CCSpriteBatchNode::atlasIndexForChild(CCSprite* sprite, int z) {
    CCArray* siblings = sprite->parent()->children();
    const unsigned childIndex = siblings->indexOfObject(sprite);
    const bool ignoreParent = sprite->parent() == this;
    CCSprite* previous = childIndex > 0 ? static_cast<CCSprite*>(siblings->objectAtIndex(childIndex - 1)) : nullptr;

    if (ignoreParent) {
        if (childIndex == 0) return 0;
        return highestAtlasIndexInChild(previous) + 1;
    }
    auto* parent = static_cast<CCSprite*>(sprite->parent());
    if (childIndex == 0) return z < 0 ? parent->atlasIndex() : parent->atlasIndex() + 1;
    if ((previous->zOrder() < 0 && z < 0) || (previous->zOrder() >= 0 && z >= 0))
        return highestAtlasIndexInChild(previous) + 1;
    return parent->atlasIndex() + 1;
}

void CCSpriteBatchNode::insertChild(CCSprite* sprite, unsigned index) {
    sprite->useBatchNode(this);
    sprite->setAtlasIndex(index);
    sprite->setDirty(true);

    if (textureAtlas_->totalQuads() == textureAtlas_->capacity()) increaseAtlasCapacity();
    textureAtlas_->insertQuad(sprite->quad(), index);

    CCAssert(index <= descendants_->count(), "Invalid index. Out of bounds");
    descendants_->insertObject(sprite, index);
    for (unsigned i = index + 1; i < descendants_->count(); i++) {
        auto* later = static_cast<CCSprite*>(descendants_->objectAtIndex(i));
        later->setAtlasIndex(later->atlasIndex() + 1);
    }

    if (CCArray* children = sprite->children()) {
        for (CCObject* object : *children) {
            // Children gathered while the sprite drew itself are checked as direct ones are.
            auto* child = dynamic_cast<CCSprite*>(object);
            CCAssert(child != nullptr, "CCSpriteBatchNode only supports CCSprites as children");
            ccAssertSameTexture(child, texture());
            insertChild(child, atlasIndexForChild(child, child->zOrder()));
        }
    }
}

void CCSpriteBatchNode::removeSpriteFromAtlas(CCSprite* sprite) {
    textureAtlas_->removeQuadAtIndex(sprite->atlasIndex());
    sprite->useSelfRender();

    const unsigned index = descendants_->indexOfObject(sprite);
    if (index != CC_INVALID_INDEX) {
        CCPtr<CCSprite> keep(sprite);
        descendants_->removeObjectAtIndex(index);
        for (unsigned i = index; i < descendants_->count(); i++) {
            auto* later = static_cast<CCSprite*>(descendants_->objectAtIndex(i));
            later->setAtlasIndex(later->atlasIndex() - 1);
        }
    }

    if (CCArray* children = sprite->children()) {
        for (CCObject* object : *children) removeSpriteFromAtlas(static_cast<CCSprite*>(object));
    }
}

unsigned CCSpriteBatchNode::rebuildIndexInOrder(CCNode* parent, unsigned index) {
    CCArray* children = parent->children();
    if (children) {
        for (CCObject* object : *children) {
            auto* child = static_cast<CCNode*>(object);
            if (child->zOrder() < 0) index = rebuildIndexInOrder(child, index);
        }
    }
    // The batch node itself takes no slot; below it every node is a sprite.
    if (parent != this) {
        static_cast<CCSprite*>(parent)->setAtlasIndex(index);
        index++;
    }
    if (children) {
        for (CCObject* object : *children) {
            auto* child = static_cast<CCNode*>(object);
            if (child->zOrder() >= 0) index = rebuildIndexInOrder(child, index);
        }
    }
    return index;
}

void CCSpriteBatchNode::increaseAtlasCapacity() {
    const unsigned quantity = (textureAtlas_->capacity() + 1) * 4 / 3;
    if (!textureAtlas_->resizeCapacity(quantity)) {
        CCAssert(false, "XXX: SpriteSheet#increaseAtlasCapacity SHALL handle this assert");
    }
}

// ---- drawing ----

// The sprites are drawn by the batch's own draw, not visited one by one.
void CCSpriteBatchNode::visit() { visitWith(&CCNode::draw); }

void CCSpriteBatchNode::draw() {
    if (textureAtlas_->totalQuads() == 0) return;
    for (CCObject* object : *descendants_) {
        auto* sprite = static_cast<CCSprite*>(object);
        if (sprite->dirty()) sprite->updateTransform();
    }
    const bool newBlend = blendFunc_.src != CC_BLEND_SRC || blendFunc_.dst != CC_BLEND_DST;
    if (newBlend) glBlendFunc(blendFunc_.src, blendFunc_.dst);
    textureAtlas_->drawQuads();
    if (newBlend) glBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);
}

void CCSpriteBatchNode::setTexture(CCTexture2D* texture) {
    textureAtlas_->setTexture(texture);
    updateBlendFunc();
}

void CCSpriteBatchNode::updateBlendFunc() {
    CCTexture2D* t = textureAtlas_->texture();
    if (!t || !t->hasPremultipliedAlpha()) blendFunc_ = {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
}

std::string CCSpriteBatchNode::description() const {
    char text[32];
    std::snprintf(text, sizeof text, " | Tag = %i>", tag_);
    return std::string("<").append(className()) + " = " + ccAddressString(this) + text;
}
