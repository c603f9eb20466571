#include "CCNode.h"

#include <GLES/gl.h>

#include "CCActionManager.h"
#include "CCDirector.h"
#include "CCEnginePlatform.h"
#include "CCScheduler.h"
#include "CGPointExtension.h"
#include "TransformUtils.h"
#include "ccMacros.h"

CCNode* CCNode::node() {
    return ccCreate<CCNode>([](CCNode* n) { return n->init(); });
}

CCNode::CCNode() = default;

CCNode::~CCNode() {
    // Children may outlive their parent when someone else holds them.
    if (children_) {
        for (CCObject* child : *children_) static_cast<CCNode*>(child)->setParent(nullptr);
    }
}

bool CCNode::init() {
    // The field initialisers hold the defaults; init may be called on a fresh node only.
    return true;
}

// ---- properties ----

void CCNode::setRotation(float degrees) {
    rotation_ = degrees;
    setTransformDirty();
}

void CCNode::setScaleX(float scale) {
    scaleX_ = scale;
    setTransformDirty();
}

void CCNode::setScaleY(float scale) {
    scaleY_ = scale;
    setTransformDirty();
}

float CCNode::scale() const {
    CCAssert(scaleX_ == scaleY_, "CCNode#scale. ScaleX != ScaleY. Don't know which one to return");
    return scaleX_;
}

void CCNode::setScale(float scale) {
    scaleX_ = scaleY_ = scale;
    setTransformDirty();
}

void CCNode::setPosition(CGPoint position) {
    position_ = position;
    const float factor = CC_CONTENT_SCALE_FACTOR();
    positionInPixels_ = factor == 1.0f ? position_ : ccpMult(position, factor);
    setTransformDirty();
}

void CCNode::setPositionInPixels(CGPoint position) {
    positionInPixels_ = position;
    const float factor = CC_CONTENT_SCALE_FACTOR();
    position_ = factor == 1.0f ? position : ccpMult(position, 1.0f / factor);
    setTransformDirty();
}

void CCNode::setIsRelativeAnchorPoint(bool relative) {
    isRelativeAnchorPoint_ = relative;
    setTransformDirty();
}

void CCNode::setAnchorPoint(CGPoint point) {
    if (point == anchorPoint_) return;
    anchorPoint_ = point;
    anchorPointInPixels_ = ccp(contentSizeInPixels_.width * point.x, contentSizeInPixels_.height * point.y);
    setTransformDirty();
}

void CCNode::setContentSize(CGSize size) {
    if (size == contentSize_) return;
    contentSize_ = size;
    const float factor = CC_CONTENT_SCALE_FACTOR();
    contentSizeInPixels_ = factor == 1.0f ? size : CGSize{size.width * factor, size.height * factor};
    anchorPointInPixels_ =
        ccp(contentSizeInPixels_.width * anchorPoint_.x, contentSizeInPixels_.height * anchorPoint_.y);
    setTransformDirty();
}

void CCNode::setContentSizeInPixels(CGSize size) {
    if (size == contentSizeInPixels_) return;
    contentSizeInPixels_ = size;
    const float factor = CC_CONTENT_SCALE_FACTOR();
    contentSize_ = factor == 1.0f ? size : CGSize{size.width / factor, size.height / factor};
    anchorPointInPixels_ =
        ccp(contentSizeInPixels_.width * anchorPoint_.x, contentSizeInPixels_.height * anchorPoint_.y);
    setTransformDirty();
}

CCCamera* CCNode::camera() {
    if (!camera_) camera_ = CCPtr<CCCamera>::adopt(ccNew<CCCamera>([](CCCamera* c) { return c->init(); }));
    return camera_.get();
}

// ---- children ----

CCNode* CCNode::addChild(CCNode* child, int z, int tag) {
    CCAssert(child != nullptr, "Argument must be non-nil");
    CCAssert(child->parent_ == nullptr, "child already added. It can't be added again");
    // A node inside its own subtree would make visit and cleanup recurse forever.
    for (CCNode* ancestor = this; ancestor; ancestor = ancestor->parent_)
        CCAssert(ancestor != child, "A node can't be added to itself or to one of its descendants");
    if (!children_) children_ = CCPtr<CCArray>::adopt(ccNew<CCArray>([](CCArray* a) { return a->initWithCapacity(4); }));
    insertChild(child, z);
    child->tag_ = tag;
    child->setParent(this);
    if (isRunning_) child->onEnter();
    return this;
}

CCNode* CCNode::addChild(CCNode* child, int z) {
    CCAssert(child != nullptr, "Argument must be non-nil");
    return addChild(child, z, child->tag_);
}

CCNode* CCNode::addChild(CCNode* child) {
    CCAssert(child != nullptr, "Argument must be non-nil");
    return addChild(child, child->zOrder_, child->tag_);
}

void CCNode::insertChild(CCNode* child, int z) {
    ccArray* data = children_->data;
    unsigned index = data->num;
    for (unsigned i = 0; i < data->num; i++) {
        if (static_cast<CCNode*>(data->arr[i])->zOrder_ > z) {
            index = i;
            break;
        }
    }
    children_->insertObject(child, index);
    child->setZOrder(z);
}

void CCNode::reorderChild(CCNode* child, int z) {
    CCAssert(child != nullptr, "Child must be non-nil");
    // Someone else's child would end up in two children arrays.
    if (child->parent_ != this) return;
    CCPtr<CCNode> keep(child);
    children_->removeObject(child);
    insertChild(child, z);
}

CCNode* CCNode::getChildByTag(int tag) const {
    CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
    if (!children_) return nullptr;
    for (CCObject* object : *children_) {
        auto* child = static_cast<CCNode*>(object);
        if (child->tag_ == tag) return child;
    }
    return nullptr;
}

void CCNode::removeFromParentAndCleanup(bool cleanup) {
    if (parent_) parent_->removeChild(this, cleanup);
}

void CCNode::removeChild(CCNode* child, bool cleanup) {
    if (!child || !children_ || !children_->containsObject(child)) return;
    detachChild(child, cleanup);
}

void CCNode::removeChildByTag(int tag, bool cleanup) {
    CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
    if (CCNode* child = getChildByTag(tag)) removeChild(child, cleanup);
}

void CCNode::removeAllChildrenWithCleanup(bool cleanup) {
    if (!children_) return;
    // Children stay in the array (retained) until it is emptied below.
    for (unsigned i = 0; i < children_->count(); i++) {
        auto* child = static_cast<CCNode*>(children_->objectAtIndex(i));
        if (isRunning_) child->onExit();
        if (cleanup) child->cleanup();
        child->setParent(nullptr);
    }
    children_->removeAllObjects();
}

void CCNode::detachChild(CCNode* child, bool cleanup) {
    if (isRunning_) child->onExit();
    if (cleanup) child->cleanup();
    child->setParent(nullptr);
    children_->removeObject(child);
}

// ---- lifecycle ----

void CCNode::onEnter() {
    if (children_) {
        for (unsigned i = 0; i < children_->count(); i++)
            static_cast<CCNode*>(children_->objectAtIndex(i))->onEnter();
    }
    resumeSchedulerAndActions();
    isRunning_ = true;
}

void CCNode::onEnterTransitionDidFinish() {
    if (children_) {
        for (unsigned i = 0; i < children_->count(); i++)
            static_cast<CCNode*>(children_->objectAtIndex(i))->onEnterTransitionDidFinish();
    }
}

void CCNode::onExit() {
    pauseSchedulerAndActions();
    isRunning_ = false;
    if (children_) {
        for (unsigned i = 0; i < children_->count(); i++)
            static_cast<CCNode*>(children_->objectAtIndex(i))->onExit();
    }
}

void CCNode::cleanup() {
    stopAllActions();
    unscheduleAllSelectors();
    if (children_) {
        for (unsigned i = 0; i < children_->count(); i++)
            static_cast<CCNode*>(children_->objectAtIndex(i))->cleanup();
    }
}

// ---- scheduling ----

void CCNode::schedule(SEL_SCHEDULE selector) { schedule(selector, 0); }

void CCNode::schedule(SEL_SCHEDULE selector, ccTime interval) {
    CCAssert(bool(selector), "Argument must be non-nil");
    CCAssert(interval >= 0, "Arguemnt must be positive");
    CCScheduler::sharedScheduler()->scheduleSelector(selector, this, interval, !isRunning_);
}

void CCNode::unschedule(SEL_SCHEDULE selector) {
    if (!selector) return;
    CCScheduler::sharedScheduler()->unscheduleSelector(selector, this);
}

void CCNode::unscheduleAllSelectors() { CCScheduler::sharedScheduler()->unscheduleAllSelectorsForTarget(this); }

void CCNode::scheduleUpdate() { scheduleUpdateWithPriority(0); }

void CCNode::scheduleUpdateWithPriority(int priority) {
    CCScheduler::sharedScheduler()->scheduleUpdateForTarget(this, priority, !isRunning_);
}

void CCNode::unscheduleUpdate() { CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(this); }

void CCNode::pauseSchedulerAndActions() {
    CCScheduler::sharedScheduler()->pauseTarget(this);
    CCActionManager::sharedManager()->pauseTarget(this);
}

void CCNode::resumeSchedulerAndActions() {
    CCScheduler::sharedScheduler()->resumeTarget(this);
    CCActionManager::sharedManager()->resumeTarget(this);
}

// ---- actions ----

CCAction* CCNode::runAction(CCAction* action) {
    CCAssert(action != nullptr, "Argument must be non-nil");
    CCActionManager::sharedManager()->addAction(action, this, !isRunning_);
    return action;
}

void CCNode::stopAction(CCAction* action) { CCActionManager::sharedManager()->removeAction(action); }

void CCNode::stopActionByTag(int tag) {
    CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
    CCActionManager::sharedManager()->removeActionByTag(tag, this);
}

void CCNode::stopAllActions() { CCActionManager::sharedManager()->removeAllActionsFromTarget(this); }

CCAction* CCNode::getActionByTag(int tag) {
    CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
    return CCActionManager::sharedManager()->getActionByTag(tag, this);
}

unsigned CCNode::numberOfRunningActions() {
    return CCActionManager::sharedManager()->numberOfRunningActionsInTarget(this);
}

// ---- drawing ----

void CCNode::draw() {}

void CCNode::visit() {
    if (grid_ && grid_->active()) {
        visitWith(&CCNode::drawWithChildren);
        return;
    }
    // The common case of visitWith, without the grid and the indirect call.
    if (!visible_) return;
    glPushMatrix();
    transform();
    drawWithChildren();
    glPopMatrix();
}

void CCNode::visitWith(void (CCNode::*contents)()) {
    if (!visible_) return;
    glPushMatrix();
    const bool gridActive = grid_ && grid_->active();
    if (gridActive) {
        grid_->beforeDraw();
        transformAncestors();
    }
    transform();
    (this->*contents)();
    if (gridActive) grid_->afterDraw(this);
    glPopMatrix();
}

void CCNode::drawBetweenChildren() {
    ccArray* data = children_->data;
    unsigned i = 0;
    // The count is read at every step: a child's visit may change the array.
    for (; i < data->num; i++) {
        auto* child = static_cast<CCNode*>(data->arr[i]);
        if (child->zOrder_ >= 0) break;
        child->visit();
    }
    draw();
    for (; i < data->num; i++) static_cast<CCNode*>(data->arr[i])->visit();
}

void CCNode::transform() {
    // The common case, a clean node without depth or camera, is one matrix multiplication.
    if (isTransformGLDirty_) updateTransformGL();
    glMultMatrixf(transformGL_);
    if (vertexZ_ != 0 || camera_) transformDepthAndCamera();
}

void CCNode::updateTransformGL() {
    CGAffineTransform t = nodeToParentTransform();
    CGAffineToGL(&t, transformGL_);
    isTransformGLDirty_ = false;
}

void CCNode::transformDepthAndCamera() {
    if (vertexZ_ != 0) glTranslatef(0, 0, vertexZ_);
    if (camera_ && !(grid_ && grid_->active())) {
        const bool translate = anchorPointInPixels_.x != 0 || anchorPointInPixels_.y != 0;
        if (translate) glTranslatef(anchorPointInPixels_.x, anchorPointInPixels_.y, 0);
        camera_->locate();
        if (translate) glTranslatef(-anchorPointInPixels_.x, -anchorPointInPixels_.y, 0);
    }
}

void CCNode::transformAncestors() {
    if (parent_) {
        parent_->transformAncestors();
        parent_->transform();
    }
}

// ---- transforms ----

CGAffineTransform CCNode::nodeToParentTransform() {
    if (isTransformDirty_) {
        CGAffineTransform t = CGAffineTransformIdentity;
        const bool hasAnchor = anchorPointInPixels_.x != 0 || anchorPointInPixels_.y != 0;
        if (!isRelativeAnchorPoint_ && hasAnchor)
            t = CGAffineTransformTranslate(t, anchorPointInPixels_.x, anchorPointInPixels_.y);
        if (positionInPixels_.x != 0 || positionInPixels_.y != 0)
            t = CGAffineTransformTranslate(t, positionInPixels_.x, positionInPixels_.y);
        if (rotation_ != 0) t = CGAffineTransformRotate(t, -CC_DEGREES_TO_RADIANS(rotation_));
        if (scaleX_ != 1 || scaleY_ != 1) t = CGAffineTransformScale(t, scaleX_, scaleY_);
        if (hasAnchor) t = CGAffineTransformTranslate(t, -anchorPointInPixels_.x, -anchorPointInPixels_.y);
        transform_ = t;
        isTransformDirty_ = false;
    }
    return transform_;
}

CGAffineTransform CCNode::parentToNodeTransform() {
    if (isInverseDirty_) {
        inverse_ = CGAffineTransformInvert(nodeToParentTransform());
        isInverseDirty_ = false;
    }
    return inverse_;
}

CGAffineTransform CCNode::nodeToWorldTransform() {
    CGAffineTransform t = nodeToParentTransform();
    for (CCNode* p = parent_; p; p = p->parent_) t = CGAffineTransformConcat(t, p->nodeToParentTransform());
    return t;
}

CGAffineTransform CCNode::worldToNodeTransform() { return CGAffineTransformInvert(nodeToWorldTransform()); }

CGPoint CCNode::convertToNodeSpace(CGPoint worldPoint) {
    return CGPointApplyAffineTransform(worldPoint, worldToNodeTransform());
}

CGPoint CCNode::convertToWorldSpace(CGPoint nodePoint) {
    CGPoint p = CGPointApplyAffineTransform(nodePoint, nodeToWorldTransform());
    return ccpMult(p, 1.0f / CC_CONTENT_SCALE_FACTOR());
}

CGPoint CCNode::convertToNodeSpaceAR(CGPoint worldPoint) {
    return ccpSub(convertToNodeSpace(worldPoint), anchorPointInPixels_);
}

CGPoint CCNode::convertToWorldSpaceAR(CGPoint nodePoint) {
    return convertToWorldSpace(ccpAdd(nodePoint, anchorPointInPixels_));
}

CGPoint CCNode::convertToWindowSpace(CGPoint nodePoint) {
    return CCDirector::sharedDirector()->convertToUI(convertToWorldSpace(nodePoint));
}

CGPoint CCNode::convertTouchToNodeSpace(UITouch* touch) {
    CGPoint point = CCDirector::sharedDirector()->convertToGL(CCEnginePlatform::touchLocationInView(touch));
    return convertToNodeSpace(point);
}

CGPoint CCNode::convertTouchToNodeSpaceAR(UITouch* touch) {
    CGPoint point = CCDirector::sharedDirector()->convertToGL(CCEnginePlatform::touchLocationInView(touch));
    return convertToNodeSpaceAR(point);
}

CGRect CCNode::boundingBoxInPixels() {
    CGRect rect = CGRectMake(0, 0, contentSizeInPixels_.width, contentSizeInPixels_.height);
    return CGRectApplyAffineTransform(rect, nodeToParentTransform());
}

CGRect CCNode::boundingBox() {
    CGRect r = boundingBoxInPixels();
    const float factor = CC_CONTENT_SCALE_FACTOR();
    return CGRectMake(r.origin.x / factor, r.origin.y / factor, r.size.width / factor, r.size.height / factor);
}

std::string CCNode::description() const {
    return "<" + className() + " = " + ccAddressString(this) + " | Tag = " + std::to_string(tag_) + ">";
}
