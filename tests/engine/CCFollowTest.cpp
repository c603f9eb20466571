#include <gtest/gtest.h>

#include "CCActionManager.h"
#include "CCFollow.h"
#include "CCNode.h"
#include "support/DirectorTestSupport.h"

namespace {

// The window is 480 × 320 (landscape), so its centre is (240, 160).
class FollowTest : public DirectorTest {
protected:
    void SetUp() override {
        DirectorTest::SetUp();
        world = CCNode::node();
        hero = CCNode::node();
        world->addChild(hero);
        world->onEnter();
    }
    void TearDown() override {
        world->onExit();
        DirectorTest::TearDown();
    }
    CCNode* world = nullptr;
    CCNode* hero = nullptr;
};

TEST_F(FollowTest, KeepsTheFollowedNodeCentredWithinTheWorld) {
    // Unbounded: the world moves by minus the hero's offset from the centre.
    hero->setPosition(CGPointMake(300, 200));
    world->runAction(CCFollow::actionWithTarget(hero));
    CCActionManager::sharedManager()->update(0.1f);
    EXPECT_EQ(world->position(), CGPointMake(-60, -40));

    // A 1000 × 500 world: the target stays between -520..0 in x and -180..0 in y.
    world->stopAllActions();
    CCFollow* bounded = CCFollow::actionWithTarget(hero, CGRectMake(0, 0, 1000, 500));
    EXPECT_FLOAT_EQ(bounded->leftBoundary(), -520);
    EXPECT_FLOAT_EQ(bounded->rightBoundary(), 0);
    EXPECT_FLOAT_EQ(bounded->bottomBoundary(), -180);
    EXPECT_FLOAT_EQ(bounded->topBoundary(), 0);
    world->runAction(bounded);
    hero->setPosition(CGPointMake(100, 100)); // near the world's corner: clamped
    CCActionManager::sharedManager()->update(0.1f);
    EXPECT_EQ(world->position(), CGPointMake(0, 0));
    hero->setPosition(CGPointMake(2000, 900)); // beyond the far corner
    CCActionManager::sharedManager()->update(0.1f);
    EXPECT_EQ(world->position(), CGPointMake(-520, -180));
}

TEST_F(FollowTest, AWorldSmallerThanTheScreenIsCentredAndNeverMoves) {
    CCFollow* follow = CCFollow::actionWithTarget(hero, CGRectMake(0, 0, 200, 100));
    // Both ranges collapse to their means.
    EXPECT_FLOAT_EQ(follow->leftBoundary(), 140);
    EXPECT_FLOAT_EQ(follow->rightBoundary(), 140);
    EXPECT_FLOAT_EQ(follow->topBoundary(), 110);
    EXPECT_FLOAT_EQ(follow->bottomBoundary(), 110);
    EXPECT_TRUE(follow->boundaryFullyCovered());
    world->setPosition(CGPointMake(7, 7));
    world->runAction(follow);
    CCActionManager::sharedManager()->update(0.1f);
    EXPECT_EQ(world->position(), CGPointMake(7, 7));
}

TEST_F(FollowTest, EndsWhenTheFollowedNodeLeavesAndCopiesFollowNothing) {
    CCFollow* follow = CCFollow::actionWithTarget(hero);
    follow->setTag(5);
    world->runAction(follow);
    EXPECT_FALSE(follow->isDone());

    CCFollow* copy = follow->copy();
    EXPECT_EQ(copy->tag(), 5);
    EXPECT_EQ(copy->followedNode(), nullptr);
    EXPECT_TRUE(copy->isDone());
    CCNode* other = CCNode::node();
    other->setPosition(CGPointMake(3, 4));
    copy->startWithTarget(other);
    copy->step(0.1f); // nothing to follow: the target stays put
    EXPECT_EQ(other->position(), CGPointMake(3, 4));
    copy->release();

    world->removeChild(hero, true);
    CCActionManager::sharedManager()->update(0.1f);
    EXPECT_EQ(world->numberOfRunningActions(), 0u);
}

} // namespace
