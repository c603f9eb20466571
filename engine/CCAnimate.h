#pragma once
// Shows the frames of an animation on a sprite one after the other, each for an equal share
// of the duration; optionally puts back the sprite's original frame when it ends.
#include "CCActionInterval.h"
#include "CCAnimation.h"
#include "CCPtr.h"
#include "CCSpriteFrame.h"

class CCAnimate : public CCActionInterval {
public:
    static CCAnimate* actionWithAnimation(CCAnimation* animation);
    static CCAnimate* actionWithAnimation(CCAnimation* animation, bool restoreOriginalFrame);
    static CCAnimate* actionWithDuration(ccTime duration, CCAnimation* animation, bool restoreOriginalFrame);
    // Duration = number of frames × the animation's delay.
    bool initWithAnimation(CCAnimation* animation);
    bool initWithAnimation(CCAnimation* animation, bool restoreOriginalFrame);
    bool initWithDuration(ccTime duration, CCAnimation* animation, bool restoreOriginalFrame);
    ~CCAnimate() override;

    CCAnimation* animation() const { return animation_.get(); }
    void setAnimation(CCAnimation* animation) { animation_ = animation; }
    bool restoreOriginalFrame() const { return restoreOriginalFrame_; }

    // The target must be a CCSprite.
    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(ccTime t) override;
    CCAnimate* reverse() override;
    CCAnimate* copy() const override;

private:
    using CCActionInterval::initWithDuration;
    CCPtr<CCAnimation> animation_;
    CCPtr<CCSpriteFrame> origFrame;
    bool restoreOriginalFrame_ = false;
};
