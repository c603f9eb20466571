#include <gtest/gtest.h>

#include "CCActionEase.h"
#include "CCIntervalActions.h"
#include "CCRGBAProtocol.h"
#include "support/ActionTestSupport.h"

namespace {

struct ColorNode : CCNode, CCRGBAProtocol {
    static ColorNode* make() {
        auto* n = ccCreate<ColorNode>([](ColorNode* c) { return c->init(); });
        n->onEnter();
        return n;
    }
    ccColor3B color() const override { return color_; }
    void setColor(ccColor3B c) override { color_ = c; }
    std::uint8_t opacity() const override { return opacity_; }
    void setOpacity(std::uint8_t o) override { opacity_ = o; }
    ccColor3B color_ = ccWHITE;
    std::uint8_t opacity_ = 255;
};

using IntervalActions = ActionTest;

// Starts the action on the node and updates it at the given times.
void runAt(CCActionInterval* action, CCNode* node, std::initializer_list<float> times) {
    action->startWithTarget(node);
    for (float t : times) action->update(t);
}

TEST_F(IntervalActions, MoveToStartsInPlaceAndEndsExactlyOnTheDestination) {
    CCNode* node = runningNode();
    node->runAction(CCMoveTo::actionWithDuration(1, CGPointMake(100, 50)));
    tick(0.1f);
    EXPECT_EQ(node->position(), CGPointMake(0, 0));
    tick(0.3f);
    tick(0.3f);
    tick(0.3f);
    EXPECT_NE(node->position(), CGPointMake(100, 50));
    tick(0.3f);
    EXPECT_EQ(node->position(), CGPointMake(100, 50));
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(IntervalActions, MoveByKeepsItsOffsetAndReverses) {
    CCNode* node = runningNode();
    node->setPosition(CGPointMake(10, 10));
    CCMoveBy* move = CCMoveBy::actionWithDuration(1, CGPointMake(20, -10));
    runAt(move, node, {0.5f});
    EXPECT_EQ(node->position(), CGPointMake(20, 5));
    runAt(move->reverse(), node, {1});
    EXPECT_EQ(node->position(), CGPointMake(0, 15));
}

TEST_F(IntervalActions, JumpsRiseToTheirHeightAndLand) {
    CCNode* node = runningNode();
    node->setPosition(CGPointMake(10, 20));
    CCJumpTo* jump = CCJumpTo::actionWithDuration(1, CGPointMake(110, 20), 30, 1);
    runAt(jump, node, {0.5f});
    EXPECT_EQ(node->position(), CGPointMake(60, 50));
    jump->update(1);
    EXPECT_EQ(node->position(), CGPointMake(110, 20));

    node->setPosition(CGPointMake(0, 0));
    runAt(CCJumpTo::actionWithDuration(1, CGPointMake(100, 0), 30, 2), node, {0.5f});
    EXPECT_EQ(node->position(), CGPointMake(50, 0)); // on the base line between the jumps
    // A second start of a jump-to converts its destination again.
    node->setPosition(CGPointMake(10, 0));
    jump->startWithTarget(node);
    jump->update(1);
    EXPECT_EQ(node->position(), CGPointMake(100, 0)); // offset (100, 0) became (90, 0)
}

TEST_F(IntervalActions, BezierCurvesPassTheirEndPoints) {
    CCNode* node = runningNode();
    node->setPosition(CGPointMake(10, 10));
    ccBezierConfig config{CGPointMake(100, 0), CGPointMake(0, 50), CGPointMake(100, 50)};
    CCBezierBy* by = CCBezierBy::actionWithDuration(1, config);
    runAt(by, node, {0.5f});
    EXPECT_EQ(node->position(), CGPointMake(60, 47.5f));
    by->update(1);
    EXPECT_EQ(node->position(), CGPointMake(110, 10));
    runAt(by->reverse(), node, {1});
    EXPECT_EQ(node->position(), CGPointMake(10, 10));

    CCBezierTo* to = CCBezierTo::actionWithDuration(1, config);
    runAt(to, node, {1});
    EXPECT_EQ(node->position(), CGPointMake(100, 0));
}

TEST_F(IntervalActions, ScaleToAndScaleBy) {
    CCNode* node = runningNode();
    node->setScaleX(1.5f);
    node->setScaleY(1.5f);
    CCScaleBy* by = CCScaleBy::actionWithDuration(1, 2);
    runAt(by, node, {1});
    EXPECT_FLOAT_EQ(node->scaleX(), 3);
    EXPECT_FLOAT_EQ(node->scaleY(), 3);
    runAt(by->reverse(), node, {1});
    EXPECT_FLOAT_EQ(node->scaleX(), 1.5f);
    runAt(CCScaleTo::actionWithDuration(1, 2, 4), node, {0.5f});
    EXPECT_FLOAT_EQ(node->scaleX(), 1.75f);
    EXPECT_FLOAT_EQ(node->scaleY(), 2.75f);
}

TEST_F(IntervalActions, RotateToTakesTheShorterWay) {
    CCNode* node = runningNode();
    node->setRotation(350);
    runAt(CCRotateTo::actionWithDuration(1, 10), node, {1});
    EXPECT_FLOAT_EQ(node->rotation(), 370);
    node->setRotation(-350);
    runAt(CCRotateTo::actionWithDuration(1, 10), node, {0.5f, 1});
    EXPECT_FLOAT_EQ(node->rotation(), -350);
    node->setRotation(730);
    CCRotateTo* to = CCRotateTo::actionWithDuration(1, 0);
    runAt(to, node, {0});
    EXPECT_FLOAT_EQ(node->rotation(), 10);
    to->update(1);
    EXPECT_FLOAT_EQ(node->rotation(), 0);
    // Rotate-by is not reduced.
    node->setRotation(730);
    CCRotateBy* by = CCRotateBy::actionWithDuration(1, 90);
    runAt(by, node, {1});
    EXPECT_FLOAT_EQ(node->rotation(), 820);
    runAt(by->reverse(), node, {1});
    EXPECT_FLOAT_EQ(node->rotation(), 730);
}

TEST_F(IntervalActions, FadesAndTints) {
    ColorNode* node = ColorNode::make();
    runAt(CCFadeOut::actionWithDuration(1), node, {1});
    EXPECT_EQ(node->opacity(), 0);
    runAt(CCFadeIn::actionWithDuration(1), node, {1});
    EXPECT_EQ(node->opacity(), 255);
    node->setOpacity(200);
    runAt(CCFadeTo::actionWithDuration(1, 100), node, {0.5f});
    EXPECT_EQ(node->opacity(), 150);
    EXPECT_NE(dynamic_cast<CCFadeOut*>(CCFadeIn::actionWithDuration(1)->reverse()), nullptr);

    node->setColor(ccc3(200, 100, 0));
    runAt(CCTintTo::actionWithDuration(1, 100, 200, 50), node, {0.5f});
    EXPECT_EQ(node->color(), ccc3(150, 150, 25));
    CCTintBy* by = CCTintBy::actionWithDuration(1, -100, 50, 255);
    runAt(by, node, {1});
    EXPECT_EQ(node->color(), ccc3(50, 200, 24)); // 25 + 255 = 280 keeps its low 8 bits
    runAt(by->reverse(), node, {1});
    EXPECT_EQ(node->color(), ccc3(150, 150, 0)); // 24 - 255 is negative: 0

    // Without a colour interface the fades leave the node alone.
    CCNode* plain = runningNode();
    runAt(CCFadeTo::actionWithDuration(1, 0), plain, {1});
}

TEST_F(IntervalActions, ChannelsTruncateAndKeepTheLowBits) {
    EXPECT_EQ(ccActionChannel(255.9f), 255);
    EXPECT_EQ(ccActionChannel(256.0f), 0);
    EXPECT_EQ(ccActionChannel(300.5f), 44);
    EXPECT_EQ(ccActionChannel(-3.0f), 0);
    EXPECT_EQ(ccActionChannel(0.99f), 0);
}

TEST_F(IntervalActions, AFadeDrivenPastOneByAnOvershootingEaseWraps) {
    ColorNode* node = ColorNode::make();
    // Back-out passes 1.0143 at t = 0.9, so a fade-in asks for opacity 258.65.
    CCEaseBackOut* ease = CCEaseBackOut::actionWithAction(CCFadeIn::actionWithDuration(1));
    runAt(ease, node, {0.9f});
    EXPECT_EQ(node->opacity(), 2);
    ease->update(1);
    EXPECT_EQ(node->opacity(), 255);
}

TEST_F(IntervalActions, BlinkHidesThenShowsEachSlice) {
    CCNode* node = runningNode();
    CCBlink* blink = CCBlink::actionWithDuration(1, 2);
    blink->startWithTarget(node);
    for (float t : {0.1f, 0.25f}) {
        blink->update(t);
        EXPECT_FALSE(node->visible()) << t;
    }
    for (float t : {0.3f, 0.45f, 0.8f}) {
        blink->update(t);
        EXPECT_TRUE(node->visible()) << t;
    }
    blink->update(0.6f);
    EXPECT_FALSE(node->visible());
    blink->update(1);
    EXPECT_FALSE(node->visible());
}

TEST_F(IntervalActions, CopiesCarryTheConstructionParameters) {
    CCNode* node = runningNode();
    node->setPosition(CGPointMake(10, 0));
    CCJumpTo* jump = CCJumpTo::actionWithDuration(2, CGPointMake(110, 0), 5, 3);
    jump->setTag(3);
    jump->startWithTarget(node);
    // The copy takes the offset stored by the start.
    CCPtr<CCJumpTo> copy = CCPtr<CCJumpTo>::adopt(jump->copy());
    EXPECT_EQ(copy->tag(), -1);
    EXPECT_FLOAT_EQ(copy->duration(), 2);
    node->setPosition(CGPointMake(0, 0));
    runAt(copy, node, {1});
    EXPECT_EQ(node->position(), CGPointMake(100, 0));

    CCPtr<CCMoveTo> move = CCPtr<CCMoveTo>::adopt(CCMoveTo::actionWithDuration(1, CGPointMake(7, 8))->copy());
    runAt(move, node, {1});
    EXPECT_EQ(node->position(), CGPointMake(7, 8));
}

using IntervalActionsDeathTest = ActionTest;

TEST_F(IntervalActionsDeathTest, AbsoluteActionsHaveNoReverse) {
    EXPECT_DEATH(CCMoveTo::actionWithDuration(1, CGPointMake(1, 1))->reverse(),
                 "CCIntervalAction: reverse not implemented.");
    EXPECT_DEATH(CCScaleTo::actionWithDuration(1, 2)->reverse(), "CCIntervalAction: reverse not implemented.");
    EXPECT_DEATH(CCRotateTo::actionWithDuration(1, 2)->reverse(), "CCIntervalAction: reverse not implemented.");
    EXPECT_DEATH(CCFadeTo::actionWithDuration(1, 2)->reverse(), "CCIntervalAction: reverse not implemented.");
    EXPECT_DEATH(CCTintTo::actionWithDuration(1, 2, 3, 4)->reverse(), "CCIntervalAction: reverse not implemented.");
}

} // namespace
