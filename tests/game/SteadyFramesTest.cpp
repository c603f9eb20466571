// Whole frames of the launched game, headless, as the runner draws them: once the title and the
// game are running, a frame in which nothing happens in the game makes no heap allocation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "CCDirector.h"
#include "CCSurfaceBackend.h"
#include "CCTrace.h"
#include "HelloWorldScene.h"
#include "NSRunLoop.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "game/LaunchedGameTest.h"
#include "support/AllocationHooks.h"
#include "support/DeterministicClock.h"

namespace {

class SteadyFramesTest : public LaunchedGameTest {
protected:
    void beforeLaunch() override {
        app->setClock([] { return CCClock::now(); });
    }
    void SetUp() override {
        LaunchedGameTest::SetUp();
        // After the launch, which seeds from the time: the same play every run, as the runner's
        // --seed gives.
        srandom(5);
        // As the runner draws frames that are not screenshotted: nothing read back.
        keptFrames = ccSurfaceBackend()->keepsLastFrame();
        ccSurfaceBackend()->setKeepsLastFrame(false);
        CCTrace::openSink([this](const std::string& line) {
            ++events;
            bannersEnded += line.find("\"banner-end\"") != std::string::npos;
        });
    }
    void TearDown() override {
        CCTrace::close();
        ccSurfaceBackend()->setKeepsLastFrame(keptFrames);
        LaunchedGameTest::TearDown();
    }

    // One frame as the runner draws it: the views, then run-loop passes until one presents.
    void frame() {
        CCSurfaceBackend* backend = ccSurfaceBackend();
        const auto before = backend->presentedFrames();
        for (int pass = 0; pass < 8 && backend->presentedFrames() == before; ++pass) {
            app->updateViews();
            NSRunLoop::mainRunLoop()->runOnce(0.25);
        }
        ASSERT_NE(backend->presentedFrames(), before);
    }

    struct Count {
        long steadyFrames = 0;
        long steadyAllocations = 0;
    };
    // Plays n frames, counting the allocations of those with no game event. With `jumps`, a tap
    // every second makes the cat jump (the frame of the tap is not a steady one); the "OH NO!!"
    // alert is dismissed as soon as it shows, as a player would.
    Count play(int n, bool jumps = false) {
        Count count;
        for (int i = 0; i < n; ++i) {
            const long e0 = events;
            if (jumps && i % 60 == 0) {
                app->sendTouch(1, UITouchPhaseBegan, CGPoint{160, 240}, CCClock::now());
                app->sendTouch(1, UITouchPhaseEnded, CGPoint{160, 240}, CCClock::now());
            }
            const long made = ownAllocationsOf([&] { frame(); });
            if (events == e0) {
                ++count.steadyFrames;
                count.steadyAllocations += made;
            }
            if (!app->alerts().empty()) app->alerts().front()->dismissWithClickedButtonIndex(0, false);
        }
        return count;
    }

    DeterministicClock clock{0};
    long events = 0;
    long bannersEnded = 0;
    bool keptFrames = true;
};

TEST_F(SteadyFramesTest, TitleAndGameFramesWithNothingHappeningAllocateNothing) {
    if (!installAllocationHooks()) GTEST_SKIP() << "no sanitizer allocation hooks in this build";
    for (int i = 0; i < 60; ++i) frame(); // the fade-in and the first textures
    const Count title = play(120);
    EXPECT_EQ(title.steadyFrames, 120);
    EXPECT_EQ(title.steadyAllocations, 0);

    app->sendTouch(1, UITouchPhaseBegan, CGPoint{160, 240}, CCClock::now());
    app->sendTouch(1, UITouchPhaseEnded, CGPoint{160, 240}, CCClock::now());
    for (int i = 0; i < 600 && !dynamic_cast<HelloWorldScene*>(CCDirector::sharedDirector()->runningScene()); ++i)
        frame();
    ASSERT_NE(dynamic_cast<HelloWorldScene*>(CCDirector::sharedDirector()->runningScene()), nullptr);
    for (int i = 0; i < 60; ++i) frame();
    // Long enough for spawns, saw hits and a caught cat; then, jumping, for coins and banners.
    const long e0 = events;
    const Count game = play(1500);
    EXPECT_GT(events - e0, 20);
    EXPECT_GT(game.steadyFrames, 1000);
    EXPECT_EQ(game.steadyAllocations, 0);
    const Count jumping = play(1800, true);
    EXPECT_GT(bannersEnded, 0);
    EXPECT_GT(jumping.steadyFrames, 1000);
    EXPECT_EQ(jumping.steadyAllocations, 0);
}

} // namespace
