#pragma once
// A fresh application with a hand-driven clock, a key window of the screen's size and an
// autorelease pool for each test.
#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "CCPtr.h"
#include "UIApplication.h"
#include "UIWindow.h"

class UIKitFixture : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePool::push();
        app = UIApplication::sharedApplication();
        app->setHeadless(true);
        app->setClock([this] { return now; });
        window = UIWindow::windowWithFrame({{0, 0}, {320, 480}});
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        window = nullptr;
        UIApplication::purgeSharedApplication();
        CCAutoreleasePool::pop();
    }
    // A tap: down and up at one window point.
    void tap(CGPoint p, long finger = 1) {
        app->sendTouch(finger, UITouchPhaseBegan, p, now);
        app->sendTouch(finger, UITouchPhaseEnded, p, now);
    }
    void advance(double seconds) {
        now += seconds;
        app->updateViews();
    }

    double now = 0;
    UIApplication* app = nullptr;
    CCPtr<UIWindow> window;
};
