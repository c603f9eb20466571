#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCColorLayer.h"
#include "CCTransitionFade.h"
#include "support/DeterministicClock.h"
#include "support/DirectorTestSupport.h"
#include "support/TouchTestSupport.h"

namespace {

using Log = SceneLog;
using ColourScene = LoggingScene;

class TransitionTest : public DirectorTest {
protected:
    // One frame of 1/60 s of the frame clock.
    void frame() {
        CCClock::advanceMicros(CCClock::kRefreshPeriodMicros);
        drawFrame();
    }
    DeterministicClock clock;
    Log log; // outlives the director's end in TearDown
};

TEST_F(TransitionTest, FadeGoesThroughBlackAndHandsOverWithTheFullLifecycle) {
    ColourScene* red = ColourScene::make(&log, "red", ccc4(255, 0, 0, 255));
    ColourScene* blue = ColourScene::make(&log, "blue", ccc4(0, 0, 255, 255));
    director->runWithScene(red);
    director->stopAnimation();
    frame();
    EXPECT_EQ(scenePixel(240, 160), 0xFF0000FFu);

    CCTouchDispatcher* dispatcher = CCTouchDispatcher::sharedDispatcher();
    CCTransitionFade* fade = CCTransitionFade::transitionWithDuration(1.0f, blue);
    EXPECT_FALSE(dispatcher->dispatchEvents());
    director->replaceScene(fade);
    log.clear();
    frame(); // the transition starts: first step of its actions is 0
    EXPECT_EQ(director->runningScene(), fade);
    EXPECT_EQ(log, (Log{"blue enter"}));
    EXPECT_EQ(scenePixel(240, 160), 0xFF0000FFu);
    ASSERT_NE(fade->getChildByTag(kSceneFade), nullptr);
    EXPECT_EQ(fade->getChildByTag(kSceneFade)->zOrder(), 2);

    // Half way (the actions' first step is 0): solid black, the incoming scene revealed underneath.
    for (int i = 0; i < 31; ++i) frame();
    // The fade out has just begun: within a step of black.
    EXPECT_LE(scenePixel(240, 160), 0x000002FFu);
    EXPECT_LE(scenePixel(5, 5), 0x000002FFu);
    EXPECT_TRUE(blue->visible());
    EXPECT_FALSE(red->visible());
    EXPECT_FALSE(dispatcher->dispatchEvents());

    // Until the hand-over, no touches; the running scene then becomes the incoming one.
    int frames = 0;
    while (director->runningScene() != blue && frames < 60) frame(), ++frames;
    ASSERT_EQ(director->runningScene(), blue);
    EXPECT_GE(frames, 29);
    EXPECT_TRUE(dispatcher->dispatchEvents());
    EXPECT_EQ(log, (Log{"blue enter", "red exit", "blue entered", "red cleanup"}));
    EXPECT_TRUE(red->visible()); // intact for a later showing
    EXPECT_EQ(fade->getChildByTag(kSceneFade), nullptr);
    frame();
    EXPECT_EQ(scenePixel(240, 160), 0x0000FFFFu);
}

TEST_F(TransitionTest, PushedTransitionSendsNoCleanupToTheOutgoingScene) {
    ColourScene* red = ColourScene::make(&log, "red", ccc4(255, 0, 0, 255));
    ColourScene* blue = ColourScene::make(&log, "blue", ccc4(0, 0, 255, 255));
    director->runWithScene(red);
    director->stopAnimation();
    frame();
    director->pushScene(CCTransitionFade::transitionWithDuration(0.2f, blue));
    for (int i = 0; i < 30; ++i) frame();
    ASSERT_EQ(director->runningScene(), blue);
    // The flag the transition copies at the hand-over is the one the push set.
    EXPECT_EQ(std::count(log.begin(), log.end(), "red exit"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "red cleanup"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "blue enter"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "blue entered"), 1);
}

TEST_F(TransitionTest, RefusesTheRunningSceneAndNil) {
    CCScene* scene = CCScene::node();
    director->runWithScene(scene);
    director->stopAnimation();
    frame();
    EXPECT_DEATH(CCTransitionFade::transitionWithDuration(1, scene), "Incoming scene must be different from the outgoing scene");
    EXPECT_DEATH(CCTransitionFade::transitionWithDuration(1, nullptr), "Argument scene must be non-nil");
}

} // namespace
