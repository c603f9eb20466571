#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CADisplayLink.h"
#include "CCColorLayer.h"
#include "CCDirectorKinds.h"
#include "CCScene.h"
#include "CCLog.h"
#include "CCScheduler.h"
#include "CCTextureCache.h"
#include "NSRunLoop.h"
#include "NSThread.h"
#include "NSTimer.h"
#include "CCSelector.h"
#include "UIApplication.h"
#include "UIDevice.h"
#include "support/DeterministicClock.h"
#include "support/DirectorTestSupport.h"

namespace {

using Log = SceneLog;

// Calls a function from a scheduler timer (every tick).
struct TimerHook : CCObject {
    std::function<void()> fire;
    void tick(ccTime) { fire(); }
};

TEST_F(DirectorTest, DrawsTheClearColourAndTheSceneTurnedToLandscape) {
    CCScene* scene = CCScene::node();
    CCColorLayer* red = CCColorLayer::layerWithColor(ccc4(255, 0, 0, 255), 40, 20);
    red->setPosition(CGPointMake(100, 50));
    scene->addChild(red);
    director->runWithScene(scene);
    director->stopAnimation();
    drawFrame();

    EXPECT_EQ(scenePixel(120, 60), 0xFF0000FFu);
    EXPECT_EQ(scenePixel(100, 50), 0xFF0000FFu);
    EXPECT_EQ(scenePixel(139, 69), 0xFF0000FFu);
    // Just outside each edge, and far away: the clear colour.
    EXPECT_EQ(scenePixel(99, 60), 0x000000FFu);
    EXPECT_EQ(scenePixel(140, 60), 0x000000FFu);
    EXPECT_EQ(scenePixel(120, 49), 0x000000FFu);
    EXPECT_EQ(scenePixel(120, 70), 0x000000FFu);
    EXPECT_EQ(scenePixel(470, 310), 0x000000FFu);
}

TEST_F(DirectorTest, LandscapeSizesAndPointConversions) {
    EXPECT_EQ(director->winSize(), CGSizeMake(480, 320));
    EXPECT_EQ(director->winSizeInPixels(), CGSizeMake(480, 320));
    EXPECT_EQ(director->displaySizeInPixels(), CGSizeMake(320, 480));
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarOrientation(), 3);

    struct Case {
        int orientation;
        CGPoint gl;
        CGPoint ui; // convertToUI of (10.5, 20.5)
    };
    // View point (10, 20) with W = 320, H = 480.
    const Case cases[] = {
        {1, {10, 460}, {10.5f, 459}},
        {2, {310, 20}, {309, 20.5f}},
        {3, {20, 10}, {20.5f, 10.5f}},
        {4, {460, 310}, {299.5f, 469.5f}},
        {7, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        director->setDeviceOrientation(c.orientation);
        EXPECT_EQ(director->convertToGL(CGPointMake(10, 20)), c.gl) << c.orientation;
        EXPECT_EQ(director->convertToUI(CGPointMake(10.5f, 20.5f)), c.ui) << c.orientation;
    }
    director->setDeviceOrientation(1);
    EXPECT_EQ(director->winSize(), CGSizeMake(320, 480));
}

TEST_F(DirectorTest, ProjectionsSetTheDocumentedMatrices) {
    GLfloat p[16], m[16];
    director->setProjection(kCCDirectorProjection2D);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(p[0], 2.0f / 320);
    EXPECT_FLOAT_EQ(p[5], 2.0f / 480);
    EXPECT_FLOAT_EQ(p[10], -2.0f / 2048);
    EXPECT_FLOAT_EQ(p[12], -1);
    EXPECT_FLOAT_EQ(p[13], -1);
    EXPECT_FLOAT_EQ(m[0], 1);
    EXPECT_FLOAT_EQ(m[12], 0);

    director->setProjection(kCCDirectorProjection3D);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float f = 1 / std::tan(30 * static_cast<float>(M_PI) / 180), aspect = 320.0f / 480;
    EXPECT_NEAR(p[0], f / aspect, 1e-5);
    EXPECT_NEAR(p[5], f, 1e-5);
    EXPECT_NEAR(p[10], (1500 + 0.5f) / (0.5f - 1500), 1e-5);
    EXPECT_FLOAT_EQ(p[11], -1);
    EXPECT_NEAR(p[14], 2 * 1500 * 0.5f / (0.5f - 1500), 1e-5);
    const float eye = 480 / 1.1566f;
    EXPECT_FLOAT_EQ(director->getZEye(), eye);
    EXPECT_FLOAT_EQ(m[0], 1);
    EXPECT_FLOAT_EQ(m[5], 1);
    EXPECT_FLOAT_EQ(m[10], 1);
    EXPECT_NEAR(m[12], -160, 1e-4);
    EXPECT_NEAR(m[13], -240, 1e-4);
    EXPECT_NEAR(m[14], -eye, 1e-3);

    // A custom projection is stored and leaves the matrices alone.
    director->setProjection(kCCDirectorProjectionCustom);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(director->projection(), kCCDirectorProjectionCustom);
    EXPECT_FLOAT_EQ(after[14], m[14]);
}

TEST_F(DirectorTest, LayoutReshapesToTheBackingSizeAndDrawsAFrame) {
    uint64_t presented = ccSurfaceBackend()->presentedFrames();
    view->setFrame(CGRectMake(0, 0, 160, 240));
    view->layoutSubviews();
    EXPECT_EQ(view->surfaceSize(), CGSizeMake(160, 240));
    EXPECT_EQ(director->winSize(), CGSizeMake(240, 160));
    EXPECT_EQ(ccSurfaceBackend()->presentedFrames(), presented + 1);
}

TEST_F(DirectorTest, SceneSwitchesHappenAfterTheTickWithLifecycleInOrder) {
    Log log;
    LoggingScene* a = LoggingScene::make(&log, "A");
    LoggingScene* b = LoggingScene::make(&log, "B");
    director->runWithScene(a);
    director->stopAnimation();
    drawFrame();
    EXPECT_EQ(log, (Log{"A enter", "A entered"}));

    // From a timer: in the same frame, right after the tick.
    auto* hook = new TimerHook;
    hook->fire = [&] {
        director->replaceScene(b);
        CCScheduler::sharedScheduler()->unscheduleAllSelectorsForTarget(hook);
    };
    CCScheduler::sharedScheduler()->scheduleSelector(schedule_selector(TimerHook::tick), hook, 0, false);
    hook->release();
    log.clear();
    drawFrame();
    EXPECT_EQ(director->runningScene(), b);
    EXPECT_EQ(log, (Log{"A exit", "A cleanup", "B enter", "B entered"}));

    // Push then pop: the popped scene gets no cleanup.
    LoggingScene* c = LoggingScene::make(&log, "C");
    log.clear();
    director->pushScene(c);
    EXPECT_EQ(director->runningScene(), b); // between frames: the switch waits for the next one
    drawFrame();
    director->popScene();
    drawFrame();
    EXPECT_EQ(log, (Log{"B exit", "C enter", "C entered", "C exit", "B enter", "B entered"}));

    // Popping the last scene ends the director.
    log.clear();
    director->popScene();
    EXPECT_EQ(director->runningScene(), nullptr);
    EXPECT_EQ(director->sceneCount(), 0u);
    EXPECT_EQ(director->openGLView(), nullptr);
    EXPECT_EQ(log, (Log{"B exit", "B cleanup"}));
}

TEST_F(DirectorTest, DeltaTimeIsNeverNegativeAndCanBeForcedToZero) {
    DeterministicClock clock;
    director->stopAnimation();
    director->startAnimation(); // resets the last update to now
    CCClock::advance(0.05);
    director->calculateDeltaTime();
    EXPECT_NEAR(director->deltaTime(), 0.05, 1e-6);

    director->setNextDeltaTimeZero(true);
    CCClock::advance(0.1);
    director->calculateDeltaTime();
    EXPECT_EQ(director->deltaTime(), 0);
    CCClock::advance(0.02);
    director->calculateDeltaTime();
    EXPECT_NEAR(director->deltaTime(), 0.02, 1e-6);

    // A clock that moves back.
    CCClock::setSimulatedMicros(CCClock::simulatedMicros() - 3'000'000);
    director->calculateDeltaTime();
    EXPECT_EQ(director->deltaTime(), 0);

    // A failed read gives 0 and keeps the last time: the next frame measures from it.
    CCClock::advance(0.01);
    CCClock::setFailsReads(true);
    director->calculateDeltaTime();
    EXPECT_EQ(director->deltaTime(), 0);
    CCClock::setFailsReads(false);
    CCClock::advance(0.01);
    director->calculateDeltaTime();
    EXPECT_NEAR(director->deltaTime(), 0.02, 1e-6);

    // One long stall is one large step.
    CCClock::advance(2.5);
    director->calculateDeltaTime();
    EXPECT_NEAR(director->deltaTime(), 2.5, 1e-6);
    director->stopAnimation();
}

TEST_F(DirectorTest, PauseStopsTheClockButNotTheFramesAndResumeRestoresTheFirstInterval) {
    DeterministicClock clock;
    director->runWithScene(CCScene::node());
    int updates = 0;
    auto* hook = new TimerHook;
    hook->fire = [&] { ++updates; };
    CCScheduler::sharedScheduler()->scheduleSelector(schedule_selector(TimerHook::tick), hook, 0, false);
    hook->release();

    auto* timerKind = dynamic_cast<CCDirectorTimer*>(director);
    ASSERT_NE(timerKind, nullptr);
    director->pause();
    EXPECT_DOUBLE_EQ(director->animationInterval(), 0.25);
    director->pause(); // does nothing: resume still restores the interval from before the first

    EXPECT_TRUE(director->isPaused());
    uint64_t presented = ccSurfaceBackend()->presentedFrames();
    drawFrame();
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(ccSurfaceBackend()->presentedFrames(), presented + 1);

    CCClock::advance(3);
    director->resume();
    EXPECT_FALSE(director->isPaused());
    EXPECT_DOUBLE_EQ(director->animationInterval(), 1.0 / 60);
    EXPECT_EQ(director->deltaTime(), 0);
    CCClock::advance(0.016);
    drawFrame();
    EXPECT_EQ(updates, 1);
    EXPECT_NEAR(director->deltaTime(), 0.016, 1e-6);
}

TEST_F(DirectorTest, EndLetsGoOfTheScenesAndPurgesTheSharedCaches) {
    SceneLog log;
    director->runWithScene(LoggingScene::make(&log, "A"));
    director->stopAnimation();
    drawFrame();
    ASSERT_NE(CCTextureCache::sharedTextureCache()->addImage("cat_1.png"), nullptr);
    director->end();
    EXPECT_EQ(log, (SceneLog{"A enter", "A entered", "A exit", "A cleanup"}));
    EXPECT_EQ(director->runningScene(), nullptr);
    EXPECT_EQ(CCTextureCache::sharedTextureCache()->textureForKey("cat_1.png"), nullptr);
}

// ---- kinds ----

// Counts drawn frames through a scheduler timer and stops the animation after `limit`.
struct FrameCounter : CCObject {
    int frames = 0, limit = 0;
    void tick(ccTime) {
        if (++frames == limit) CCDirector::sharedDirector()->stopAnimation();
    }
};

class FastDirectorTest : public DirectorTest {
protected:
    FastDirectorTest() { directorType = kCCDirectorTypeMainLoop; }
};

TEST_F(FastDirectorTest, MainLoopDrawsFramesUntilStopped) {
    ASSERT_NE(dynamic_cast<CCDirectorFast*>(director), nullptr);
    auto* counter = new FrameCounter;
    counter->limit = 5;
    CCScheduler::sharedScheduler()->scheduleSelector(schedule_selector(FrameCounter::tick), counter, 0, false);
    uint64_t presented = ccSurfaceBackend()->presentedFrames();
    director->runWithScene(CCScene::node());
    // The loop starts from the run loop and keeps the main thread until it is stopped.
    for (int i = 0; i < 100 && counter->frames < 5; ++i) NSRunLoop::mainRunLoop()->runOnce(0.01);
    EXPECT_EQ(counter->frames, 5);
    EXPECT_FALSE(static_cast<CCDirectorFast*>(director)->isRunning());
    EXPECT_EQ(ccSurfaceBackend()->presentedFrames(), presented + 5);
    CCScheduler::sharedScheduler()->unscheduleAllSelectorsForTarget(counter);
    counter->release();
}

class ThreadedDirectorTest : public DirectorTest {
protected:
    ThreadedDirectorTest() { directorType = kCCDirectorTypeThreadMainLoop; }
};

TEST_F(ThreadedDirectorTest, BackgroundThreadHasTheMainThreadDraw) {
    ASSERT_NE(dynamic_cast<CCDirectorFastThreaded*>(director), nullptr);
    auto* counter = new FrameCounter;
    counter->limit = 3;
    CCScheduler::sharedScheduler()->scheduleSelector(schedule_selector(FrameCounter::tick), counter, 0, false);
    director->runWithScene(CCScene::node());
    for (int i = 0; i < 500 && counter->frames < 3; ++i) NSRunLoop::mainRunLoop()->runOnce(0.01);
    EXPECT_EQ(counter->frames, 3);
    // Stopped: the thread idles and asks for no more frames.
    for (int i = 0; i < 5; ++i) NSRunLoop::mainRunLoop()->runOnce(0.01);
    EXPECT_EQ(counter->frames, 3);
    EXPECT_EQ(director->runningThread(), NSThread::mainThread());
    CCScheduler::sharedScheduler()->unscheduleAllSelectorsForTarget(counter);
    counter->release();
}

TEST_F(ThreadedDirectorTest, PauseAndResumeWhileTheThreadAsksForFrames) {
    auto* counter = new FrameCounter;
    counter->limit = 1000;
    CCScheduler::sharedScheduler()->scheduleSelector(schedule_selector(FrameCounter::tick), counter, 0, false);
    director->runWithScene(CCScene::node());
    for (int i = 0; i < 40; ++i) {
        NSRunLoop::mainRunLoop()->runOnce(0.002);
        if (i % 2)
            director->resume();
        else
            director->pause();
    }
    director->resume();
    const int before = counter->frames;
    for (int i = 0; i < 500 && counter->frames < before + 3; ++i) NSRunLoop::mainRunLoop()->runOnce(0.01);
    EXPECT_GE(counter->frames, before + 3); // frames go on after the last resume
    director->stopAnimation();
    CCScheduler::sharedScheduler()->unscheduleAllSelectorsForTarget(counter);
    counter->release();
}

class DirectorKindTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePool::push();
        CCDirector::purgeSharedDirector();
    }
    void TearDown() override {
        UIDevice::currentDevice()->setSystemVersion("4.1");
        CCDirector::purgeSharedDirector();
        CCAutoreleasePool::pop();
    }
};

TEST_F(DirectorKindTest, DisplayLinkNeedsSystem31AndTheFirstKindWins) {
    UIDevice::currentDevice()->setSystemVersion("3.0");
    EXPECT_FALSE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
    EXPECT_FALSE(CCDirector::hasSharedDirector());
    EXPECT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeNSTimer));
    EXPECT_NE(dynamic_cast<CCDirectorTimer*>(CCDirector::sharedDirector()), nullptr);

    UIDevice::currentDevice()->setSystemVersion("3.1.3");
    EXPECT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
    EXPECT_NE(dynamic_cast<CCDirectorTimer*>(CCDirector::sharedDirector()), nullptr);
}

TEST_F(DirectorKindTest, DisplayLinkFiresEveryRefreshAndEveryFifteenthWhilePaused) {
    ASSERT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
    auto* director = static_cast<CCDirectorDisplayLink*>(CCDirector::sharedDirector());
    director->startAnimation();
    ASSERT_NE(director->displayLink(), nullptr);
    EXPECT_EQ(director->displayLink()->frameInterval(), 1);
    director->pause();
    EXPECT_EQ(director->displayLink()->frameInterval(), 15);
    director->resume();
    EXPECT_EQ(director->displayLink()->frameInterval(), 1);
    director->stopAnimation();
    EXPECT_EQ(director->displayLink(), nullptr);
}

TEST_F(DirectorKindTest, TimerKindRestartsItsTimerWithANewInterval) {
    auto* director = static_cast<CCDirectorTimer*>(CCDirectorTimer::sharedDirector());
    director->startAnimation();
    ASSERT_NE(director->animationTimer(), nullptr);
    director->setAnimationInterval(0.25);
    ASSERT_NE(director->animationTimer(), nullptr);
    EXPECT_DOUBLE_EQ(director->animationTimer()->timeInterval(), 0.25);
    EXPECT_DEATH(director->startAnimation(), "animationTimer must be nil. Calling startAnimation twice\\?");
    director->stopAnimation();
}

TEST_F(DirectorKindTest, FastKindsOnlyLogANewInterval) {
    std::vector<std::string> lines;
    CCLogSink previous = ccSetLogSink([&](const std::string& line) { lines.push_back(line); });
    CCDirectorFastThreaded::sharedDirector()->setAnimationInterval(0.25);
    ccSetLogSink(previous);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("FastDirector doesn't support setAnimationInterval, yet"), std::string::npos);
}

TEST_F(DirectorKindTest, PreconditionsStopTheProgram) {
    EXPECT_DEATH(CCDirector::setDirectorType(7), "Unknown director type");
    CCDirector* director = CCDirector::sharedDirector();
    EXPECT_DEATH(director->runWithScene(nullptr), "Argument must be non-nil");
    EXPECT_DEATH(director->replaceScene(nullptr), "Argument must be non-nil");
    EXPECT_DEATH(director->popScene(), "A running Scene is needed");
    EXPECT_DEATH(director->setGLDefaultValues(), "openGLView_ must be initialized");
    EXPECT_DEATH(CCDirectorIOS::sharedDirector()->setOpenGLView(nullptr), "OpenGLView must be non-nil");
    EXPECT_DEATH(new CCDirectorTimer, "Attempted to allocate a second instance of a singleton.");
}

} // namespace
