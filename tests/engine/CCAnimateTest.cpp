#include <gtest/gtest.h>

#include "CCAnimate.h"
#include "CCAnimation.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "SpriteTestSupport.h"
#include "ccMacros.h"

namespace {

class Animate : public SpriteGLTest {
protected:
    void SetUp() override {
        SpriteGLTest::SetUp();
        if (IsSkipped()) return;
        tex = solid("strip.png", 64, 16, {5, 5, 5, 255});
        animation = CCAnimation::animationWithName("run", 0.1f);
        for (int i = 0; i < 4; i++) animation->addFrameWithTexture(tex, CGRectMake(16.0f * i, 0, 16, 16));
        sprite = CCSprite::spriteWithTexture(tex, CGRectMake(0, 0, 8, 8));
    }
    CCSpriteFrame* frame(unsigned i) const {
        return static_cast<CCSpriteFrame*>(animation->frames()->objectAtIndex(i));
    }
    CCTexture2D* tex = nullptr;
    CCAnimation* animation = nullptr;
    CCSprite* sprite = nullptr;
};

TEST_F(Animate, ShowsEachFrameForItsShareOfTheDuration) {
    CCAnimate* animate = CCAnimate::actionWithAnimation(animation, false);
    EXPECT_FLOAT_EQ(animate->duration(), 0.4f);
    animate->startWithTarget(sprite);
    animate->update(0.5f);
    EXPECT_TRUE(sprite->isFrameDisplayed(frame(2)));
    animate->update(0.74f);
    EXPECT_TRUE(sprite->isFrameDisplayed(frame(2)));
    animate->update(0.76f);
    EXPECT_TRUE(sprite->isFrameDisplayed(frame(3)));
    animate->update(1.0f);
    EXPECT_TRUE(sprite->isFrameDisplayed(frame(3)));
    animate->update(-0.2f);
    EXPECT_TRUE(sprite->isFrameDisplayed(frame(0)));
    animate->stop();
    EXPECT_TRUE(sprite->isFrameDisplayed(frame(0))); // no restoring asked

    // Without frames nothing is shown and nothing fails; the duration is the epsilon.
    CCAnimate* empty = CCAnimate::actionWithAnimation(CCAnimation::animationWithName("none"));
    EXPECT_GT(empty->duration(), 0.0f);
    empty->startWithTarget(sprite);
    empty->update(0.5f);
    EXPECT_DEATH(CCAnimate::actionWithAnimation(nullptr), "Animate: argument Animation must be non-nil");
}

TEST_F(Animate, RestoresTheOriginalFrameWhenItFinishes) {
    CCSpriteFrame* original = sprite->displayedFrame();
    CCAnimate* animate = CCAnimate::actionWithAnimation(animation);
    EXPECT_TRUE(animate->restoreOriginalFrame());
    animate->startWithTarget(sprite);
    animate->update(0.9f);
    EXPECT_TRUE(sprite->isFrameDisplayed(frame(3)));
    animate->stop();
    EXPECT_TRUE(sprite->isFrameDisplayed(original));
    EXPECT_EQ(sprite->textureRect(), CGRectMake(0, 0, 8, 8));
}

TEST_F(Animate, ReverseCopiesFramesBackwardsAndCopySharesTheAnimation) {
    CCAnimate* animate = CCAnimate::actionWithDuration(2, animation, false);
    CCAnimate* reversed = animate->reverse();
    EXPECT_FLOAT_EQ(reversed->duration(), 2);
    EXPECT_FALSE(reversed->restoreOriginalFrame());
    CCAnimation* back = reversed->animation();
    EXPECT_NE(back, animation);
    EXPECT_EQ(back->name(), "run");
    EXPECT_FLOAT_EQ(back->delay(), 0.1f);
    ASSERT_EQ(back->frames()->count(), 4u);
    auto* last = static_cast<CCSpriteFrame*>(back->frames()->objectAtIndex(0));
    EXPECT_NE(last, frame(3));
    EXPECT_EQ(last->rect(), frame(3)->rect());
    EXPECT_EQ(last->texture(), tex);

    CCPtr<CCAnimate> copy = CCPtr<CCAnimate>::adopt(animate->copy());
    EXPECT_EQ(copy->animation(), animation);
    EXPECT_FLOAT_EQ(copy->duration(), 2);
}

TEST_F(Animate, FrameRecordsInPointsAndPixels) {
    ccContentScaleFactor = 2;
    CCSpriteFrame* f = CCSpriteFrame::frameWithTexture(tex, CGRectMake(1, 2, 3, 4));
    ccContentScaleFactor = 1;
    EXPECT_EQ(f->rectInPixels(), CGRectMake(2, 4, 6, 8));
    EXPECT_EQ(f->originalSizeInPixels(), CGSizeMake(6, 8));
    CCPtr<CCSpriteFrame> copy = CCPtr<CCSpriteFrame>::adopt(f->copy());
    EXPECT_EQ(copy->texture(), tex);
    const CGRect points = copy->rect();
    copy->setRectInPixels(CGRectZero);
    EXPECT_EQ(f->rectInPixels(), CGRectMake(2, 4, 6, 8));
    EXPECT_EQ(copy->rect(), points); // the setters store their own value only
}

} // namespace
