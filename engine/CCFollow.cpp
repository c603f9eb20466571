#include "CCFollow.h"

#include <algorithm>

#include "CCDirector.h"
#include "CCNode.h"

CCFollow* CCFollow::actionWithTarget(CCNode* followedNode) {
    return ccCreate<CCFollow>([&](CCFollow* f) { return f->initWithTarget(followedNode); });
}

CCFollow* CCFollow::actionWithTarget(CCNode* followedNode, CGRect worldBoundary) {
    return ccCreate<CCFollow>([&](CCFollow* f) { return f->initWithTarget(followedNode, worldBoundary); });
}

bool CCFollow::initWithTarget(CCNode* followedNode) {
    if (!CCAction::init()) return false;
    followedNode_ = followedNode;
    boundarySet_ = false;
    boundaryFullyCovered_ = false;
    CGSize winSize = CCDirector::sharedDirector()->winSize();
    fullScreenSize_ = CGPointMake(winSize.width, winSize.height);
    halfScreenSize_ = CGPointMake(winSize.width * 0.5f, winSize.height * 0.5f);
    return true;
}

bool CCFollow::initWithTarget(CCNode* followedNode, CGRect rect) {
    if (!initWithTarget(followedNode)) return false;
    boundarySet_ = true;
    leftBoundary_ = -((rect.origin.x + rect.size.width) - fullScreenSize_.x);
    rightBoundary_ = -rect.origin.x;
    topBoundary_ = -rect.origin.y;
    bottomBoundary_ = -((rect.origin.y + rect.size.height) - fullScreenSize_.y);
    // A world narrower than the screen: keep it centred.
    if (rightBoundary_ < leftBoundary_) rightBoundary_ = leftBoundary_ = (leftBoundary_ + rightBoundary_) / 2;
    if (topBoundary_ < bottomBoundary_) topBoundary_ = bottomBoundary_ = (topBoundary_ + bottomBoundary_) / 2;
    if (topBoundary_ == bottomBoundary_ && leftBoundary_ == rightBoundary_) boundaryFullyCovered_ = true;
    return true;
}

CCFollow::~CCFollow() = default;

void CCFollow::step(ccTime) {
    // A copy follows nothing: it leaves its target alone.
    if (!followedNode_ || !target_) return;
    CGPoint followed = followedNode_->position();
    CGPoint p = CGPointMake(halfScreenSize_.x - followed.x, halfScreenSize_.y - followed.y);
    if (boundarySet_) {
        if (boundaryFullyCovered_) return;
        target_->setPosition(CGPointMake(std::min(std::max(p.x, leftBoundary_), rightBoundary_),
                                         std::min(std::max(p.y, bottomBoundary_), topBoundary_)));
    } else {
        target_->setPosition(p);
    }
}

bool CCFollow::isDone() { return !followedNode_ || !followedNode_->isRunning(); }

void CCFollow::stop() {
    target_ = nullptr;
    CCAction::stop();
}

CCFollow* CCFollow::copy() const {
    auto* copy = ccNew<CCFollow>([](CCFollow* f) { return f->CCAction::init(); });
    copy->setTag(tag_);
    return copy;
}
