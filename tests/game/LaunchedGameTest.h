#pragma once
// The whole application launched on the headless backend, ended and torn down after the test.
// A fixture prepares what the launch depends on in beforeLaunch().
#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "CCDirector.h"
#include "CCPtr.h"
#include "UIApplication.h"
#include "ZorvikAppDelegate.h"

class LaunchedGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePool::push();
        CCDirector::purgeSharedDirector();
        app = UIApplication::sharedApplication();
        app->setHeadless(true);
        beforeLaunch();
        app->setDelegate(delegate);
        delegate->applicationDidFinishLaunching(app);
    }
    void TearDown() override {
        delegate->applicationWillTerminate(app);
        app->setDelegate(nullptr);
        delegate = nullptr;
        CCDirector::purgeSharedDirector();
        UIApplication::purgeSharedApplication();
        CCAutoreleasePool::pop();
    }
    virtual void beforeLaunch() {}

    CCPtr<ZorvikAppDelegate> delegate = CCPtr<ZorvikAppDelegate>::adopt(new ZorvikAppDelegate);
    UIApplication* app = nullptr;
};
