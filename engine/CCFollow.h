#pragma once
// Keeps its target positioned so that a followed node stays at the centre of the window,
// optionally within a world boundary. Unbounded: done when the followed node leaves the stage.
#include "CCAction.h"

class CCFollow : public CCAction {
public:
    static CCFollow* actionWithTarget(CCNode* followedNode);
    static CCFollow* actionWithTarget(CCNode* followedNode, CGRect worldBoundary);
    bool initWithTarget(CCNode* followedNode);
    bool initWithTarget(CCNode* followedNode, CGRect worldBoundary);
    ~CCFollow() override;

    bool boundarySet() const { return boundarySet_; }
    void setBoundarySet(bool set) { boundarySet_ = set; }
    bool boundaryFullyCovered() const { return boundaryFullyCovered_; }
    CCNode* followedNode() const { return followedNode_; }
    float leftBoundary() const { return leftBoundary_; }
    float rightBoundary() const { return rightBoundary_; }
    float topBoundary() const { return topBoundary_; }
    float bottomBoundary() const { return bottomBoundary_; }

    void step(ccTime dt) override;
    bool isDone() override;
    void stop() override;
    // Same class and tag, following no node.
    CCFollow* copy() const override;

private:
    CCPtr<CCNode> followedNode_;
    bool boundarySet_ = false;
    bool boundaryFullyCovered_ = false;
    CGPoint halfScreenSize_{0, 0};
    CGPoint fullScreenSize_{0, 0};
    float leftBoundary_ = 0, rightBoundary_ = 0, topBoundary_ = 0, bottomBoundary_ = 0;
};
