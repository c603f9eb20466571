#pragma once
// The base of everything placed, drawn, scheduled or animated. A node has a 2D transform
// relative to its parent, children kept in ascending z-order, a tag, and forwards its
// scheduling to the shared scheduler. Transforms work in pixels and are cached behind
// three dirty bits.
#include <string>

#include "CCArray.h"
#include "CCCamera.h"
#include "CCGridBase.h"
#include "CCObject.h"
#include "CCPtr.h"
#include "CCSelector.h"
#include "CGGeometry.h"
#include "ccTypes.h"

class CCAction;
class UITouch;

class CCNode : public CCObject {
public:
    static CCNode* node();

    CCNode();
    ~CCNode() override;
    virtual bool init();

    // ---- properties ----
    float rotation() const { return rotation_; }
    virtual void setRotation(float degrees);
    float scaleX() const { return scaleX_; }
    virtual void setScaleX(float scale);
    float scaleY() const { return scaleY_; }
    virtual void setScaleY(float scale);
    // Fails when the two factors differ.
    float scale() const;
    virtual void setScale(float scale);
    CGPoint position() const { return position_; }
    virtual void setPosition(CGPoint position);
    CGPoint positionInPixels() const { return positionInPixels_; }
    virtual void setPositionInPixels(CGPoint position);
    bool visible() const { return visible_; }
    virtual void setVisible(bool visible) { visible_ = visible; }
    CGPoint anchorPoint() const { return anchorPoint_; }
    virtual void setAnchorPoint(CGPoint point);
    CGPoint anchorPointInPixels() const { return anchorPointInPixels_; }
    bool isRelativeAnchorPoint() const { return isRelativeAnchorPoint_; }
    virtual void setIsRelativeAnchorPoint(bool relative);
    CGSize contentSize() const { return contentSize_; }
    virtual void setContentSize(CGSize size);
    CGSize contentSizeInPixels() const { return contentSizeInPixels_; }
    virtual void setContentSizeInPixels(CGSize size);
    float vertexZ() const { return vertexZ_; }
    virtual void setVertexZ(float z) { vertexZ_ = z; }
    // Made on first use.
    CCCamera* camera();
    CCGridBase* grid() const { return grid_.get(); }
    void setGrid(CCGridBase* grid) { grid_ = grid; }
    int zOrder() const { return zOrder_; }
    CCArray* children() const { return children_.get(); }
    CCNode* parent() const { return parent_; }
    virtual void setParent(CCNode* parent) { parent_ = parent; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    void* userData() const { return userData_; }
    void setUserData(void* data) { userData_ = data; }
    bool isRunning() const { return isRunning_; }

    // ---- children ----
    virtual CCNode* addChild(CCNode* child, int z, int tag);
    virtual CCNode* addChild(CCNode* child, int z);
    virtual CCNode* addChild(CCNode* child);
    // The first child with that tag, in array order, or nullptr.
    CCNode* getChildByTag(int tag) const;
    virtual void removeFromParentAndCleanup(bool cleanup);
    // Nothing happens when the node is not a child.
    virtual void removeChild(CCNode* child, bool cleanup);
    virtual void removeChildByTag(int tag, bool cleanup);
    virtual void removeAllChildrenWithCleanup(bool cleanup);
    // Moves the child behind its new equal-z siblings; a node that is not a child is ignored.
    virtual void reorderChild(CCNode* child, int z);

    // ---- lifecycle ----
    virtual void onEnter();
    virtual void onEnterTransitionDidFinish();
    virtual void onExit();
    // Stops the node's actions and timers, then its children's.
    virtual void cleanup();

    // ---- drawing ----
    // Draws the node in its own pixel space; the base node draws nothing.
    virtual void draw();
    virtual void visit();
    // Multiplies the node's transform onto the model-view matrix.
    virtual void transform();
    void transformAncestors();

    // ---- scheduling (paused while the node is not running) ----
    void schedule(SEL_SCHEDULE selector);
    void schedule(SEL_SCHEDULE selector, ccTime interval);
    void unschedule(SEL_SCHEDULE selector);
    void unscheduleAllSelectors();
    void scheduleUpdate();
    void scheduleUpdateWithPriority(int priority);
    void unscheduleUpdate();
    void pauseSchedulerAndActions();
    void resumeSchedulerAndActions();

    // ---- actions (held by the shared action manager; paused while not running) ----
    CCAction* runAction(CCAction* action);
    void stopAction(CCAction* action);
    void stopActionByTag(int tag);
    void stopAllActions();
    CCAction* getActionByTag(int tag);
    unsigned numberOfRunningActions();

    // ---- transforms and conversions (transforms in pixels) ----
    virtual CGAffineTransform nodeToParentTransform();
    virtual CGAffineTransform parentToNodeTransform();
    CGAffineTransform nodeToWorldTransform();
    CGAffineTransform worldToNodeTransform();
    CGPoint convertToNodeSpace(CGPoint worldPoint);
    CGPoint convertToWorldSpace(CGPoint nodePoint);
    CGPoint convertToNodeSpaceAR(CGPoint worldPoint);
    CGPoint convertToWorldSpaceAR(CGPoint nodePoint);
    // Node point to view coordinates, through the director.
    CGPoint convertToWindowSpace(CGPoint nodePoint);
    CGPoint convertTouchToNodeSpace(UITouch* touch);
    CGPoint convertTouchToNodeSpaceAR(UITouch* touch);

    // In the parent's space.
    virtual CGRect boundingBox();
    virtual CGRect boundingBoxInPixels();

    std::string description() const override;

protected:
    // One visit, nothing while invisible: the matrix saved, the grid capturing while it is
    // active, this node's transform, then `contents`, then the grid's picture and the matrix back.
    void visitWith(void (CCNode::*contents)());
    // Children behind (z < 0), this node, then the rest. A leaf only draws itself, without a
    // call of its own: most nodes of a big scene are leaves.
    void drawWithChildren() {
        if (children_ && children_->count() > 0) {
            drawBetweenChildren();
        } else {
            draw();
        }
    }
    void drawBetweenChildren();
    // transform()'s less common parts, kept out of line so that its common path saves nothing
    // on the stack.
    [[gnu::noinline]] void updateTransformGL();
    [[gnu::noinline]] void transformDepthAndCamera();
    // Keeps children in ascending z-order; equal z goes after the existing ones.
    void insertChild(CCNode* child, int z);
    void detachChild(CCNode* child, bool cleanup);
    void setZOrder(int z) { zOrder_ = z; }
    void setTransformDirty() {
        isTransformDirty_ = isInverseDirty_ = isTransformGLDirty_ = true;
    }

    // What every visit reads comes first, so that a visit touches few cache lines of a node.
    bool visible_ = true;
    bool isRunning_ = false;
    bool isTransformDirty_ : 1 = true;
    bool isInverseDirty_ : 1 = true;
    bool isTransformGLDirty_ : 1 = true;
    int zOrder_ = 0;
    float vertexZ_ = 0;
    CCPtr<CCGridBase> grid_;
    CCPtr<CCCamera> camera_;
    CCPtr<CCArray> children_;
    float transformGL_[16] = {};

    float rotation_ = 0;
    float scaleX_ = 1, scaleY_ = 1;
    CGPoint position_{0, 0};
    CGPoint positionInPixels_{0, 0};
    CGPoint anchorPointInPixels_{0, 0};
    CGPoint anchorPoint_{0, 0};
    bool isRelativeAnchorPoint_ = true;
    CGSize contentSize_{0, 0};
    CGSize contentSizeInPixels_{0, 0};
    CGAffineTransform transform_{};
    CGAffineTransform inverse_{};
    CCNode* parent_ = nullptr; // not retained
    int tag_ = -1;
    void* userData_ = nullptr; // owned by the caller
};
