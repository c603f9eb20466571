#include "CCAnimate.h"

#include <vector>

#include "CCSprite.h"
#include "ccMacros.h"

namespace {
CCSprite* spriteTarget(CCNode* target) {
    auto* sprite = dynamic_cast<CCSprite*>(target);
    CCAssert(sprite != nullptr || target == nullptr, "Animate: target must be a CCSprite");
    return sprite;
}
} // namespace

CCAnimate* CCAnimate::actionWithAnimation(CCAnimation* animation) {
    return ccCreate<CCAnimate>([&](CCAnimate* a) { return a->initWithAnimation(animation); });
}

CCAnimate* CCAnimate::actionWithAnimation(CCAnimation* animation, bool restoreOriginalFrame) {
    return ccCreate<CCAnimate>([&](CCAnimate* a) { return a->initWithAnimation(animation, restoreOriginalFrame); });
}

CCAnimate* CCAnimate::actionWithDuration(ccTime duration, CCAnimation* animation, bool restoreOriginalFrame) {
    return ccCreate<CCAnimate>(
        [&](CCAnimate* a) { return a->initWithDuration(duration, animation, restoreOriginalFrame); });
}

bool CCAnimate::initWithAnimation(CCAnimation* animation) { return initWithAnimation(animation, true); }

bool CCAnimate::initWithAnimation(CCAnimation* animation, bool restoreOriginalFrame) {
    CCAssert(animation != nullptr, "Animate: argument Animation must be non-nil");
    const float duration = float(animation->frames()->count()) * animation->delay();
    return initWithDuration(duration, animation, restoreOriginalFrame);
}

bool CCAnimate::initWithDuration(ccTime duration, CCAnimation* animation, bool restoreOriginalFrame) {
    CCAssert(animation != nullptr, "Animate: argument Animation must be non-nil");
    if (!CCActionInterval::initWithDuration(duration)) return false;
    restoreOriginalFrame_ = restoreOriginalFrame;
    animation_ = animation;
    origFrame = nullptr;
    return true;
}

CCAnimate::~CCAnimate() = default;

void CCAnimate::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    CCSprite* sprite = spriteTarget(target);
    origFrame = nullptr;
    if (restoreOriginalFrame_ && sprite) origFrame = sprite->displayedFrame();
}

void CCAnimate::stop() {
    if (restoreOriginalFrame_ && origFrame) {
        if (CCSprite* sprite = spriteTarget(target_)) sprite->setDisplayFrame(origFrame.get());
    }
    CCActionInterval::stop();
}

void CCAnimate::update(ccTime t) {
    CCArray* frames = animation_->frames();
    const unsigned n = frames->count();
    // An animation without frames has nothing to show.
    if (n == 0) return;
    unsigned i = t > 0 ? static_cast<unsigned>(t * float(n)) : 0;
    if (i >= n) i = n - 1;
    CCSprite* sprite = spriteTarget(target_);
    if (!sprite) return;
    auto* frame = static_cast<CCSpriteFrame*>(frames->objectAtIndex(i));
    if (!sprite->isFrameDisplayed(frame)) sprite->setDisplayFrame(frame);
}

CCAnimate* CCAnimate::reverse() {
    CCArray* frames = animation_->frames();
    std::vector<CCSpriteFrame*> reversed;
    std::vector<CCPtr<CCSpriteFrame>> owned;
    for (unsigned i = frames->count(); i-- > 0;) {
        auto* copy = static_cast<CCSpriteFrame*>(frames->objectAtIndex(i))->copy();
        owned.push_back(CCPtr<CCSpriteFrame>::adopt(copy));
        reversed.push_back(copy);
    }
    CCAnimation* animation = CCAnimation::animationWithName(animation_->name(), animation_->delay(), reversed);
    return actionWithDuration(duration_, animation, restoreOriginalFrame_);
}

CCAnimate* CCAnimate::copy() const {
    return ccNew<CCAnimate>(
        [&](CCAnimate* a) { return a->initWithDuration(duration_, animation_.get(), restoreOriginalFrame_); });
}
