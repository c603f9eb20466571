#include "CCSprite.h"

#include <GLES/gl.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "CCGLStateCache.h"
#include "CCSpriteBatchNode.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureAtlas.h"
#include "CCTextureCache.h"
#include "CGImage.h"
#include "CGPointExtension.h"
#include "ccMacros.h"

namespace {
template <class Init> CCSprite* makeSprite(Init init) {
    return ccCreate<CCSprite>([&](CCSprite* s) { return init(s); });
}
CGRect scaled(CGRect r, float factor) {
    return CGRectMake(r.origin.x * factor, r.origin.y * factor, r.size.width * factor, r.size.height * factor);
}
} // namespace

// ---- creation ----

CCSprite* CCSprite::node() {
    return makeSprite([](CCSprite* s) { return s->init(); });
}
CCSprite* CCSprite::spriteWithTexture(CCTexture2D* texture) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture); });
}
CCSprite* CCSprite::spriteWithTexture(CCTexture2D* texture, CGRect rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithTexture(texture, rect); });
}
CCSprite* CCSprite::spriteWithSpriteFrame(CCSpriteFrame* frame) {
    return makeSprite([&](CCSprite* s) { return s->initWithSpriteFrame(frame); });
}
CCSprite* CCSprite::spriteWithSpriteFrameName(const std::string& name) {
    return makeSprite([&](CCSprite* s) { return s->initWithSpriteFrameName(name); });
}
CCSprite* CCSprite::spriteWithFile(const std::string& filename) {
    return makeSprite([&](CCSprite* s) { return s->initWithFile(filename); });
}
CCSprite* CCSprite::spriteWithFile(const std::string& filename, CGRect rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithFile(filename, rect); });
}
CCSprite* CCSprite::spriteWithCGImage(CGImage* image) {
    return makeSprite([&](CCSprite* s) { return s->initWithCGImage(image); });
}
CCSprite* CCSprite::spriteWithCGImage(CGImage* image, const std::string& key) {
    return makeSprite([&](CCSprite* s) { return s->initWithCGImage(image, key); });
}
CCSprite* CCSprite::spriteWithBatchNode(CCSpriteBatchNode* batchNode, CGRect rect) {
    return makeSprite([&](CCSprite* s) { return s->initWithBatchNode(batchNode, rect); });
}
CCSprite* CCSprite::spriteWithSpriteSheet(CCSpriteBatchNode* spriteSheet, CGRect rect) {
    return spriteWithBatchNode(spriteSheet, rect);
}

CCSprite::CCSprite() = default;
CCSprite::~CCSprite() = default;

bool CCSprite::init() {
    if (!CCNode::init()) return false;
    dirty_ = recursiveDirty_ = false;
    useSelfRender();
    opacityModifyRGB_ = true;
    opacity_ = 255;
    color_ = colorUnmodified_ = ccWHITE;
    blendFunc_ = {CC_BLEND_SRC, CC_BLEND_DST};
    // No texture: straight-alpha blending until a premultiplied texture arrives.
    setTexture(nullptr);
    quad_ = {};
    flipX_ = flipY_ = false;
    animations_.clear();
    setAnchorPoint(ccp(0.5f, 0.5f));
    offsetPositionInPixels_ = CGPointZero;
    honorParentTransform_ = CC_HONOR_PARENT_TRANSFORM_ALL;
    hasChildren_ = false;
    const ccColor4B white{255, 255, 255, 255};
    quad_.bl.colors = quad_.br.colors = quad_.tl.colors = quad_.tr.colors = white;
    setTextureRectInPixels(CGRectZero, false, CGSizeZero);
    return true;
}

bool CCSprite::initWithTexture(CCTexture2D* texture, CGRect rect) {
    CCAssert(texture != nullptr, "Invalid texture for sprite");
    if (!init()) return false;
    setTexture(texture);
    setTextureRect(rect);
    return true;
}

bool CCSprite::initWithTexture(CCTexture2D* texture) {
    CCAssert(texture != nullptr, "Invalid texture for sprite");
    CGSize size = texture->contentSize();
    return initWithTexture(texture, CGRectMake(0, 0, size.width, size.height));
}

bool CCSprite::initWithFile(const std::string& filename) {
    CCAssert(!filename.empty(), "Invalid filename for sprite");
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(filename);
    if (!texture) return false;
    CGSize size = texture->contentSize();
    return initWithTexture(texture, CGRectMake(0, 0, size.width, size.height));
}

bool CCSprite::initWithFile(const std::string& filename, CGRect rect) {
    CCAssert(!filename.empty(), "Invalid filename for sprite");
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(filename);
    if (!texture) return false;
    return initWithTexture(texture, rect);
}

bool CCSprite::initWithSpriteFrame(CCSpriteFrame* frame) {
    CCAssert(frame != nullptr, "Invalid spriteFrame for sprite");
    if (!initWithTexture(frame->texture(), frame->rect())) return false;
    setDisplayFrame(frame);
    return true;
}

bool CCSprite::initWithSpriteFrameName(const std::string& name) {
    CCAssert(!name.empty(), "Invalid spriteFrameName for sprite");
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name);
    return initWithSpriteFrame(frame);
}

bool CCSprite::initWithCGImage(CGImage* image) {
    CCAssert(image != nullptr, "Invalid CGImageRef for sprite");
    return initWithCGImage(image, ccAddressString(image));
}

bool CCSprite::initWithCGImage(CGImage* image, const std::string& key) {
    CCAssert(image != nullptr, "Invalid CGImageRef for sprite");
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addCGImage(image, key);
    if (!texture) return false;
    CGSize size = texture->contentSize();
    return initWithTexture(texture, CGRectMake(0, 0, size.width, size.height));
}

bool CCSprite::initWithBatchNode(CCSpriteBatchNode* batchNode, CGRect rect) {
    if (!initWithTexture(batchNode->texture(), rect)) return false;
    useBatchNode(batchNode);
    return true;
}

bool CCSprite::initWithBatchNodeRectInPixels(CCSpriteBatchNode* batchNode, CGRect rect) {
    if (!initWithTexture(batchNode->texture())) return false;
    setTextureRectInPixels(rect, false, rect.size);
    useBatchNode(batchNode);
    return true;
}

bool CCSprite::initWithSpriteSheet(CCSpriteBatchNode* spriteSheet, CGRect rect) {
    return initWithBatchNode(spriteSheet, rect);
}

// ---- rendering mode ----

void CCSprite::setQuadVerticesFromRect() {
    const float x1 = offsetPositionInPixels_.x, y1 = offsetPositionInPixels_.y;
    const float x2 = x1 + rectInPixels_.size.width, y2 = y1 + rectInPixels_.size.height;
    quad_.bl.vertices = {x1, y1, 0};
    quad_.br.vertices = {x2, y1, 0};
    quad_.tl.vertices = {x1, y2, 0};
    quad_.tr.vertices = {x2, y2, 0};
}

void CCSprite::useSelfRender() {
    atlasIndex_ = CCSpriteIndexNotInitialized;
    usesBatchNode_ = false;
    textureAtlas_ = nullptr;
    batchNode_ = nullptr;
    dirty_ = recursiveDirty_ = false;
    setQuadVerticesFromRect();
}

void CCSprite::useBatchNode(CCSpriteBatchNode* batchNode) {
    usesBatchNode_ = true;
    textureAtlas_ = batchNode->textureAtlas();
    batchNode_ = batchNode;
}

// ---- texture rectangle ----

void CCSprite::setTextureRect(CGRect rect) {
    CGRect pixels = scaled(rect, CC_CONTENT_SCALE_FACTOR());
    setTextureRectInPixels(pixels, false, pixels.size);
}

void CCSprite::setTextureRectInPixels(CGRect rect, bool rotated, CGSize untrimmedSize) {
    rectInPixels_ = rect;
    rect_ = scaled(rect, 1.0f / CC_CONTENT_SCALE_FACTOR());
    rectRotated_ = rotated;
    setContentSizeInPixels(untrimmedSize);
    updateTextureCoords(rectInPixels_);

    CGPoint offset = unflippedOffsetPositionFromCenter_;
    if (flipX_) offset.x = -offset.x;
    if (flipY_) offset.y = -offset.y;
    offsetPositionInPixels_.x = offset.x + (contentSizeInPixels_.width - rectInPixels_.size.width) / 2;
    offsetPositionInPixels_.y = offset.y + (contentSizeInPixels_.height - rectInPixels_.size.height) / 2;

    if (usesBatchNode_)
        dirty_ = true; // the batch node recomputes the quad before drawing
    else
        setQuadVerticesFromRect();
}

void CCSprite::updateTextureCoords(CGRect rect) {
    CCTexture2D* texture = usesBatchNode_ ? (textureAtlas_ ? textureAtlas_->texture() : nullptr) : texture_.get();
    if (!texture) return;
    // Half a texel inside the rectangle on every side, so that linear filtering never picks up
    // the neighbouring image in the texture.
    const float atlasWidth = float(texture->pixelsWide());
    const float atlasHeight = float(texture->pixelsHigh());
    float left, right, top, bottom;
    if (rectRotated_) {
        left = (2 * rect.origin.x + 1) / (2 * atlasWidth);
        right = left + (rect.size.height * 2 - 2) / (2 * atlasWidth);
        top = (2 * rect.origin.y + 1) / (2 * atlasHeight);
        bottom = top + (rect.size.width * 2 - 2) / (2 * atlasHeight);
        if (flipX_) std::swap(top, bottom);
        if (flipY_) std::swap(left, right);
        quad_.bl.texCoords = {left, top};
        quad_.br.texCoords = {left, bottom};
        quad_.tl.texCoords = {right, top};
        quad_.tr.texCoords = {right, bottom};
    } else {
        left = (2 * rect.origin.x + 1) / (2 * atlasWidth);
        right = left + (rect.size.width * 2 - 2) / (2 * atlasWidth);
        top = (2 * rect.origin.y + 1) / (2 * atlasHeight);
        bottom = top + (rect.size.height * 2 - 2) / (2 * atlasHeight);
        if (flipX_) std::swap(left, right);
        if (flipY_) std::swap(top, bottom);
        quad_.bl.texCoords = {left, bottom};
        quad_.br.texCoords = {right, bottom};
        quad_.tl.texCoords = {left, top};
        quad_.tr.texCoords = {right, top};
    }
}

// ---- batch transform ----

void CCSprite::updateTransform() {
    CCAssert(usesBatchNode_, "updateTransform is only valid when CCSprite is being renderd using an CCSpriteBatchNode");
    CGAffineTransform matrix;

    if (!visible_) {
        quad_.br.vertices = quad_.tl.vertices = quad_.tr.vertices = quad_.bl.vertices = {0, 0, 0};
    } else {
        if (!parent_ || parent_ == batchNode_) {
            const float radians = -CC_DEGREES_TO_RADIANS(rotation_);
            const float c = std::cos(radians), s = std::sin(radians);
            matrix = CGAffineTransformMake(c * scaleX_, s * scaleX_, -s * scaleY_, c * scaleY_, positionInPixels_.x,
                                           positionInPixels_.y);
            matrix = CGAffineTransformTranslate(matrix, -anchorPointInPixels_.x, -anchorPointInPixels_.y);
        } else {
            matrix = CGAffineTransformIdentity;
            int prevHonor = CC_HONOR_PARENT_TRANSFORM_ALL;
            for (CCNode* p = this; p && p != batchNode_; p = p->parent()) {
                // Inside a batch node every ancestor below it is a sprite.
                auto* sprite = static_cast<CCSprite*>(p);
                transformValues_ tv;
                sprite->getTransformValues(&tv);
                CGAffineTransform step = CGAffineTransformIdentity;
                if (prevHonor & CC_HONOR_PARENT_TRANSFORM_TRANSLATE)
                    step = CGAffineTransformTranslate(step, tv.pos.x, tv.pos.y);
                if (prevHonor & CC_HONOR_PARENT_TRANSFORM_ROTATE)
                    step = CGAffineTransformRotate(step, -CC_DEGREES_TO_RADIANS(tv.rotation));
                if (prevHonor & CC_HONOR_PARENT_TRANSFORM_SCALE)
                    step = CGAffineTransformScale(step, tv.scale.x, tv.scale.y);
                step = CGAffineTransformTranslate(step, -tv.ap.x, -tv.ap.y);
                matrix = CGAffineTransformConcat(matrix, step);
                prevHonor = sprite->honorParentTransform_;
            }
        }

        const float x1 = offsetPositionInPixels_.x, y1 = offsetPositionInPixels_.y;
        const float x2 = x1 + rectInPixels_.size.width, y2 = y1 + rectInPixels_.size.height;
        const float a = matrix.a, b = matrix.b, c = matrix.c, d = matrix.d, tx = matrix.tx, ty = matrix.ty;
        quad_.bl.vertices = {a * x1 + c * y1 + tx, b * x1 + d * y1 + ty, vertexZ_};
        quad_.br.vertices = {a * x2 + c * y1 + tx, b * x2 + d * y1 + ty, vertexZ_};
        quad_.tl.vertices = {a * x1 + c * y2 + tx, b * x1 + d * y2 + ty, vertexZ_};
        quad_.tr.vertices = {a * x2 + c * y2 + tx, b * x2 + d * y2 + ty, vertexZ_};
    }

    textureAtlas_->updateQuad(quad_, atlasIndex_);
    dirty_ = recursiveDirty_ = false;
}

void CCSprite::getTransformValues(transformValues_* tv) const {
    tv->pos = positionInPixels_;
    tv->scale = {scaleX_, scaleY_};
    tv->rotation = rotation_;
    tv->ap = anchorPointInPixels_;
}

// ---- self drawing ----

namespace {
// Vertex, colour and texture-coordinate pointers into one quad in client memory.
void setArrayPointers(const void* quad) {
    constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
    const auto* base = static_cast<const char*>(quad);
    glVertexPointer(3, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, vertices));
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, base + offsetof(ccV3F_C4B_T2F, colors));
    glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, texCoords));
}
} // namespace

void CCSprite::draw() {
    CCAssert(!usesBatchNode_, "If CCSprite is being rendered by CCSpriteBatchNode, CCSprite#draw SHOULD NOT be called");
    const bool newBlend = blendFunc_.src != CC_BLEND_SRC || blendFunc_.dst != CC_BLEND_DST;
    if (newBlend) glBlendFunc(blendFunc_.src, blendFunc_.dst);

    const unsigned name = texture_ ? texture_->name() : 0;
    if (CCGLStateCache* cache = ccGLStateCache()) {
        // The quad goes to the context's scratch quad, so that one sprite after another finds
        // the texture and the array pointers as it needs them.
        static_assert(sizeof(quad_) <= CCGLStateCache::kScratchBytes);
        cache->bindTexture2D(name);
        void* scratch = cache->scratch();
        std::memcpy(scratch, &quad_, sizeof quad_);
        if (cache->needsArrays(scratch)) setArrayPointers(scratch);
    } else {
        glBindTexture(GL_TEXTURE_2D, name);
        setArrayPointers(&quad_);
    }
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

    if (newBlend) glBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);
}

// ---- children ----

CCNode* CCSprite::addChild(CCNode* child, int z, int tag) {
    CCAssert(child != nullptr, "Argument must be non-nil");
    if (usesBatchNode_) {
        auto* sprite = dynamic_cast<CCSprite*>(child);
        CCAssert(sprite != nullptr, "CCSprite only supports CCSprites as children when using CCSpriteBatchNode");
        ccAssertSameTexture(sprite, textureAtlas_->texture());
        CCNode::addChild(child, z, tag);
        // A sprite without a slot yet brings its children in when it enters the batch.
        if (atlasIndex_ != CCSpriteIndexNotInitialized) {
            unsigned index = batchNode_->atlasIndexForChild(sprite, z);
            batchNode_->insertChild(sprite, index);
        }
    } else {
        CCNode::addChild(child, z, tag);
    }
    hasChildren_ = true;
    return this;
}

void CCSprite::removeChild(CCNode* child, bool cleanup) {
    // Only our own children leave the atlas.
    if (!child || !children_ || !children_->containsObject(child)) return;
    if (usesBatchNode_ && atlasIndex_ != CCSpriteIndexNotInitialized)
        batchNode_->removeSpriteFromAtlas(static_cast<CCSprite*>(child));
    CCNode::removeChild(child, cleanup);
    hasChildren_ = children_ && children_->count() > 0;
}

void CCSprite::removeAllChildrenWithCleanup(bool cleanup) {
    if (usesBatchNode_ && atlasIndex_ != CCSpriteIndexNotInitialized && children_) {
        for (CCObject* child : *children_) batchNode_->removeSpriteFromAtlas(static_cast<CCSprite*>(child));
    }
    CCNode::removeAllChildrenWithCleanup(cleanup);
    hasChildren_ = false;
}

void CCSprite::reorderChild(CCNode* child, int z) {
    CCAssert(child != nullptr, "Child must be non-nil");
    CCAssert(children_ && children_->containsObject(child), "Child doesn't belong to Sprite");
    if (z == child->zOrder()) return;
    if (usesBatchNode_) {
        CCPtr<CCNode> keep(child);
        removeChild(child, false);
        addChild(child, z, child->tag());
    } else {
        CCNode::reorderChild(child, z);
    }
}

// ---- dirty marking ----

void CCSprite::markDirtyInBatch() {
    if (usesBatchNode_ && !recursiveDirty_) {
        dirty_ = recursiveDirty_ = true;
        if (hasChildren_) setDirtyRecursively(true);
    }
}

void CCSprite::setDirtyRecursively(bool dirty) {
    dirty_ = recursiveDirty_ = dirty;
    if (hasChildren_ && children_) {
        // A self-rendering sprite may hold other nodes, which have no quad to mark.
        for (CCObject* child : *children_)
            if (auto* sprite = dynamic_cast<CCSprite*>(child)) sprite->setDirtyRecursively(true);
    }
}

void CCSprite::setPosition(CGPoint position) {
    CCNode::setPosition(position);
    markDirtyInBatch();
}
void CCSprite::setPositionInPixels(CGPoint position) {
    CCNode::setPositionInPixels(position);
    markDirtyInBatch();
}
void CCSprite::setRotation(float rotation) {
    CCNode::setRotation(rotation);
    markDirtyInBatch();
}
void CCSprite::setScaleX(float scaleX) {
    CCNode::setScaleX(scaleX);
    markDirtyInBatch();
}
void CCSprite::setScaleY(float scaleY) {
    CCNode::setScaleY(scaleY);
    markDirtyInBatch();
}
void CCSprite::setScale(float scale) {
    CCNode::setScale(scale);
    markDirtyInBatch();
}
void CCSprite::setVertexZ(float z) {
    CCNode::setVertexZ(z);
    markDirtyInBatch();
}
void CCSprite::setAnchorPoint(CGPoint anchor) {
    CCNode::setAnchorPoint(anchor);
    markDirtyInBatch();
}

void CCSprite::setVisible(bool visible) {
    if (visible == visible_) return;
    CCNode::setVisible(visible);
    if (!usesBatchNode_) return;
    if (!recursiveDirty_) dirty_ = recursiveDirty_ = true;
    // The batch node draws every descendant by its own flag: hiding a sprite must reach its
    // children even when the subtree was already marked dirty this frame.
    if (children_) {
        for (CCObject* child : *children_) static_cast<CCNode*>(child)->setVisible(visible);
    }
}

void CCSprite::setRelativeAnchorPoint(bool relative) {
    CCAssert(!usesBatchNode_, "relativeTransformAnchor is invalid in CCSprite");
    setIsRelativeAnchorPoint(relative);
}

// ---- texture and blending ----

void CCSprite::setTexture(CCTexture2D* texture) {
    CCAssert(!usesBatchNode_, "CCSprite: setTexture doesn't work when the sprite is rendered using a CCSpriteBatchNode");
    texture_ = texture;
    updateBlendFunc();
}

void CCSprite::updateBlendFunc() {
    CCAssert(!usesBatchNode_,
             "CCSprite: updateBlendFunc doesn't work when the sprite is rendered using a CCSpriteBatchNode");
    if (!texture_ || !texture_->hasPremultipliedAlpha()) {
        blendFunc_ = {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
        setOpacityModifyRGB(false);
    } else {
        blendFunc_ = {CC_BLEND_SRC, CC_BLEND_DST};
        setOpacityModifyRGB(true);
    }
}

// ---- frames and animations ----

void CCSprite::setDisplayFrame(CCSpriteFrame* frame) {
    unflippedOffsetPositionFromCenter_ = frame->offsetInPixels();
    CCTexture2D* newTexture = frame->texture();
    const unsigned newName = newTexture ? newTexture->name() : 0, ownName = texture_ ? texture_->name() : 0;
    if (newName != ownName) setTexture(newTexture);
    rectRotated_ = frame->rotated();
    setTextureRectInPixels(frame->rectInPixels(), frame->rotated(), frame->originalSizeInPixels());
}

bool CCSprite::isFrameDisplayed(CCSpriteFrame* frame) const {
    CGRect r = frame->rect();
    CCTexture2D* t = frame->texture();
    const unsigned frameName = t ? t->name() : 0, ownName = texture_ ? texture_->name() : 0;
    return r == rect_ && frameName == ownName;
}

CCSpriteFrame* CCSprite::displayedFrame() const { return CCSpriteFrame::frameWithTexture(texture_.get(), rect_); }

void CCSprite::addAnimation(CCAnimation* animation) { animations_[animation->name()] = animation; }

CCAnimation* CCSprite::animationByName(const std::string& animationName) const {
    CCAssert(!animationName.empty(), "animationName parameter must be non nil");
    auto it = animations_.find(animationName);
    return it == animations_.end() ? nullptr : it->second.get();
}

void CCSprite::setDisplayFrame(const std::string& animationName, unsigned frameIndex) {
    CCAnimation* animation = animationByName(animationName);
    CCSpriteFrame* frame = nullptr;
    if (animation && frameIndex < animation->frames()->count())
        frame = static_cast<CCSpriteFrame*>(animation->frames()->objectAtIndex(frameIndex));
    CCAssert(frame != nullptr, "CCSprite#setDisplayFrame. Invalid frame");
    setDisplayFrame(frame);
}

// ---- colour ----

ccColor3B CCSprite::color() const { return opacityModifyRGB_ ? colorUnmodified_ : color_; }

void CCSprite::setColor(ccColor3B color) {
    color_ = colorUnmodified_ = color;
    if (opacityModifyRGB_) {
        color_.r = std::uint8_t(color.r * opacity_ / 255);
        color_.g = std::uint8_t(color.g * opacity_ / 255);
        color_.b = std::uint8_t(color.b * opacity_ / 255);
    }
    updateColor();
}

void CCSprite::setOpacity(std::uint8_t opacity) {
    opacity_ = opacity;
    if (opacityModifyRGB_) setColor(colorUnmodified_);
    updateColor();
}

void CCSprite::setOpacityModifyRGB(bool modify) {
    ccColor3B old = color();
    opacityModifyRGB_ = modify;
    setColor(old);
}

void CCSprite::updateColor() {
    const ccColor4B c{color_.r, color_.g, color_.b, opacity_};
    quad_.bl.colors = quad_.br.colors = quad_.tl.colors = quad_.tr.colors = c;
    if (usesBatchNode_) {
        if (atlasIndex_ != CCSpriteIndexNotInitialized)
            textureAtlas_->updateQuad(quad_, atlasIndex_);
        else
            dirty_ = recursiveDirty_ = true; // no slot yet: written when it gets one
    }
}

// ---- flips ----

// A flip keeps the untrimmed size: a trimmed frame mirrors its offset about the centre
// instead of shrinking the sprite to the trimmed rectangle.
void CCSprite::setFlipX(bool flipX) {
    if (flipX_ == flipX) return;
    flipX_ = flipX;
    setTextureRectInPixels(rectInPixels_, rectRotated_, contentSizeInPixels_);
}

void CCSprite::setFlipY(bool flipY) {
    if (flipY_ == flipY) return;
    flipY_ = flipY;
    setTextureRectInPixels(rectInPixels_, rectRotated_, contentSizeInPixels_);
}

std::string CCSprite::description() const {
    char text[160];
    std::snprintf(text, sizeof text, " | Rect = (%.2f,%.2f,%.2f,%.2f) | tag = %i | atlasIndex = %i>", rect_.origin.x,
                  rect_.origin.y, rect_.size.width, rect_.size.height, tag_, int(atlasIndex_));
    return std::string("<").append(className()) + " = " + ccAddressString(this) + text;
}

void ccAssertSameTexture(CCSprite* sprite, CCTexture2D* texture) {
    CCAssert(sprite->texture() && texture && sprite->texture()->name() == texture->name(),
             "CCSprite is not using the same texture id");
}
