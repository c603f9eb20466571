#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "CCDirectorIOS.h"
#include "CCDirectorKinds.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "GameKeys.h"
#include "MZGradientButton.h"
#include "SplashLayer.h"
#include "UIAccelerometer.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIDevice.h"
#include "UIViewController.h"
#include "UIWindow.h"
#include "ZorvikAppDelegate.h"
#include "game/LaunchedGameTest.h"
#include "support/DeterministicClock.h"

namespace {

// The whole launch, with the director it made.
class LaunchTest : public LaunchedGameTest {
protected:
    void SetUp() override {
        LaunchedGameTest::SetUp();
        director = static_cast<CCDirectorIOS*>(CCDirector::sharedDirector());
    }
    void beforeLaunch() override { UIDevice::currentDevice()->setSystemVersion(systemVersion()); }
    virtual std::string systemVersion() const { return "4.1"; }
    void TearDown() override {
        UIDevice::currentDevice()->setSystemVersion("4.1");
        LaunchedGameTest::TearDown();
    }
    // The platform buttons over the GL view with that title.
    int buttons(const std::string& title) const {
        int n = 0;
        for (auto& v : delegate->viewController()->view()->subviews())
            if (auto* b = dynamic_cast<MZGradientButton*>(v.get()); b && b->titleForState(UIControlStateNormal) == title) ++n;
        return n;
    }

    DeterministicClock clock;
    CCDirectorIOS* director = nullptr;
};

TEST_F(LaunchTest, RunsTheTitleInLandscapeWithOneHelpButton) {
    EXPECT_NE(dynamic_cast<CCDirectorDisplayLink*>(director), nullptr);
    EXPECT_EQ(director->deviceOrientation(), CCDeviceOrientationLandscapeLeft);
    EXPECT_DOUBLE_EQ(director->animationInterval(), 1.0 / 60);
    EXPECT_EQ(director->winSize().width, 480);
    EXPECT_EQ(CCTexture2D::defaultAlphaPixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
    EXPECT_EQ(delegate->mainScene(), delegate->mainScene()); // made once
    // The title scene's own request came before the view controller existed.
    EXPECT_EQ(buttons("HELP"), 1);
    EXPECT_EQ(buttons("Buy AD-FREE Full Version!"), 1);
    EXPECT_EQ(delegate->helpButton()->center().x, 22);
    EXPECT_EQ(delegate->purchaseButton()->center().y, 400);

    // Leaving the title takes the HELP button away; a second request has nothing to remove.
    delegate->removeUIelements();
    delegate->removeUIelements();
    EXPECT_EQ(delegate->helpButton(), nullptr);
    EXPECT_EQ(buttons("Buy AD-FREE Full Version!"), 1);
}

// A system without a display link.
class OldSystemLaunchTest : public LaunchTest {
    std::string systemVersion() const override { return "3.0"; }
};

TEST_F(OldSystemLaunchTest, FallsBackToTheTimerDirectorAtTheSameInterval) {
    auto* timer = dynamic_cast<CCDirectorTimer*>(director);
    ASSERT_NE(timer, nullptr);
    EXPECT_DOUBLE_EQ(timer->animationInterval(), 1.0 / 60);
    EXPECT_NE(timer->animationTimer(), nullptr); // the title is animating
}

TEST_F(LaunchTest, HelpAlertOffersTheFullEdition) {
    delegate->helpAlert();
    UIAlertView* alert = app->visibleAlertView();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Help");
    EXPECT_EQ(alert->numberOfButtons(), 2);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Okay");
    alert->pressButtonAtIndex(0);
    EXPECT_TRUE(app->openedURLs().empty());
    delegate->helpAlert();
    app->visibleAlertView()->pressButtonWithTitle("Upgrade App");
    ASSERT_EQ(app->openedURLs().size(), 1u);
    EXPECT_EQ(app->openedURLs()[0], ZorvikAppDelegate::storeURL());
    EXPECT_NE(ZorvikAppDelegate::storeURL().find("https://"), std::string::npos);
}

TEST_F(LaunchTest, SpaceTapsTheMiddleOfTheScreenAndEscapeQuits) {
    auto* title = static_cast<SplashLayer*>(delegate->mainScene());
    director->drawScene();
    EXPECT_FALSE(zorvikHandleKey(CCWindowKey::Other, 0));
    EXPECT_TRUE(zorvikHandleKey(CCWindowKey::Space, 0));
    EXPECT_TRUE(title->isClearing()); // the touch reached the title through the GL view
    EXPECT_FALSE(app->isTerminating());
    EXPECT_TRUE(zorvikHandleKey(CCWindowKey::Escape, 0));
    EXPECT_TRUE(app->isTerminating());
}

TEST_F(LaunchTest, LifecycleReachesTheDirector) {
    delegate->applicationWillResignActive(app);
    EXPECT_TRUE(director->isPaused());
    delegate->applicationDidBecomeActive(app);
    EXPECT_FALSE(director->isPaused());
    EXPECT_DOUBLE_EQ(director->animationInterval(), 1.0 / 60);
    delegate->applicationSignificantTimeChange(app);
    EXPECT_TRUE(director->nextDeltaTimeZero());
    EXPECT_NE(CCTextureCache::sharedTextureCache()->textureForKey("Default2.png"), nullptr);
    delegate->applicationDidReceiveMemoryWarning(app);
    EXPECT_EQ(CCTextureCache::sharedTextureCache()->textureForKey("Default2.png"), nullptr);
}

} // namespace
