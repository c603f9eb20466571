#pragma once
// The shared director on a headless GL view with the frame clock simulated, for tests of the
// game's scenes: frame() advances one display refresh and draws a frame. Touches are sent to
// the touch dispatcher at scene points.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "NSSet.h"
#include "UIAccelerometer.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UITouch.h"
#include "support/DeterministicClock.h"
#include "support/DirectorTestSupport.h"

class GameTest : public DirectorTest {
protected:
    void SetUp() override {
        DirectorTest::SetUp();
        srandom(7);
        CCTouchDispatcher::sharedDispatcher()->removeAllDelegates();
        CCTouchDispatcher::sharedDispatcher()->setDispatchEvents(true);
    }
    void TearDown() override {
        for (auto& alert : std::vector(UIApplication::sharedApplication()->alerts()))
            alert->setDelegate(nullptr), alert->dismissWithClickedButtonIndex(0, false);
        DirectorTest::TearDown();
        UIAccelerometer::sharedAccelerometer()->setDelegate(nullptr);
        CCTouchDispatcher::sharedDispatcher()->removeAllDelegates();
        CCTextureCache::purgeSharedTextureCache();
    }

    // Runs the scene as the director's first scene and draws its first frame.
    void run(CCScene* scene) {
        director->runWithScene(scene);
        director->stopAnimation();
        frame();
    }
    void frame() {
        CCClock::advanceMicros(CCClock::kRefreshPeriodMicros);
        drawFrame();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }

    // A finger at a scene point (origin bottom-left): the view point of the landscape screen.
    static UITouch* touchAt(float sceneX, float sceneY) {
        return UITouch::touchInView(nullptr, CGPoint{sceneY, sceneX}, CCClock::now());
    }
    static void send(unsigned phase, std::initializer_list<UITouch*> touches) {
        NSSet* set = NSSet::set();
        for (UITouch* t : touches) set->addObject(t);
        CCTouchDispatcher::sharedDispatcher()->touches(set, UIEvent::eventWithTimestamp(CCClock::now()), phase);
    }

    DeterministicClock clock;
};
