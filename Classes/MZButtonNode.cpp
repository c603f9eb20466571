#include "MZButtonNode.h"

#include "CCTouchDispatcher.h"
#include "UITouch.h"

MZButtonNode* MZButtonNode::spriteWithFile(const std::string& filename) {
    return ccCreate<MZButtonNode>([&](MZButtonNode* s) { return s->initWithFile(filename); });
}

void MZButtonNode::onEnter() {
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, 0, false);
    CCSprite::onEnter();
}

void MZButtonNode::onExit() {
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
    CCSprite::onExit();
}

bool MZButtonNode::isInHitArea(CGPoint p) const {
    CGSize size = contentSize();
    return CGRectContainsPoint(CGRect{{0, 0}, {size.width + 10, size.height + 10}}, p);
}

bool MZButtonNode::ccTouchBegan(UITouch* touch, UIEvent*) {
    if (hasBeenTouched_) return false; // another finger holds the button
    hasBeenTouched_ = true;
    if (isInHitArea(convertTouchToNodeSpace(touch))) {
        if (delegate_) delegate_->didPressDown();
        return true;
    }
    if (delegate_) delegate_->stoppedPressing();
    hasBeenTouched_ = false;
    return false;
}

void MZButtonNode::ccTouchEnded(UITouch* touch, UIEvent*) {
    if (delegate_) {
        if (isInHitArea(convertTouchToNodeSpace(touch))) delegate_->didPressButton();
        else delegate_->stoppedPressing();
    }
    hasBeenTouched_ = false;
}

void MZButtonNode::ccTouchCancelled(UITouch*, UIEvent*) {
    if (delegate_) delegate_->stoppedPressing();
    hasBeenTouched_ = false;
}
