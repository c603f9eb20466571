// The manager's modes and transitions, driven through the calls the banner clients make.
#include <gtest/gtest.h>

#include "services/BannerTestSupport.h"
#include "NSError.h"
#include "NSTimer.h"
#include "UIApplication.h"
#include "UIColor.h"
#include "UIDevice.h"
#include "UITableView.h"
#include "UITableViewController.h"
#include "UITableViewControllerBannerInsets.h"
#include "support/DeterministicClock.h"

namespace {

class DTBannerManagerTest : public BannerFixture {
protected:
    NSError* error(const char* text) { return NSError::errorWithDomain(kAdErrorDomain, kAdErrorNetwork, text); }
};

TEST_F(DTBannerManagerTest, NetworksComeInTheOrderMobFoxAdMobNone) {
    DTBannerManager* m = manager();
    EXPECT_EQ(m->bannerMode(), 0);
    EXPECT_EQ(m->nextBannerNetworkAfterCurrent(), 3);
    m->setBannerMode(3);
    EXPECT_EQ(m->nextBannerNetworkAfterCurrent(), 1);
    m->setBannerMode(1);
    EXPECT_EQ(m->nextBannerNetworkAfterCurrent(), 99);
    m->setBannerMode(99);
    EXPECT_EQ(m->nextBannerNetworkAfterCurrent(), 99);
    EXPECT_TRUE(DTBannerManager::adMobSupported());
    EXPECT_TRUE(DTBannerManager::mobFoxSupported());
}

TEST_F(DTBannerManagerTest, MobFoxFailsAdMobShowsAndRefreshesThenEverythingFailsUntilTheAppIsActiveAgain) {
    DTBannerManager* m = manager();
    m->addAdsToViewController(host);
    EXPECT_TRUE(logged("wifi"));
    EXPECT_EQ(m->bannerClipView()->superview(), host->view());
    ASSERT_EQ(m->bannerMode(), 3);
    MobFoxBannerView* mobfox = m->mobfoxBannerView();
    ASSERT_NE(mobfox, nullptr);
    EXPECT_EQ(mobfox->frame(), (CGRect{{0, 0}, {320, 50}}));
    EXPECT_EQ(mobfox->delegate(), m);
    EXPECT_EQ(mobfox->backgroundColor(), UIColor::blackColor());
    EXPECT_EQ(m->adMobBannerView(), nullptr);

    m->mobfoxBannerViewDidFailToReceiveAdWithError(mobfox, error("nothing to show"));
    EXPECT_TRUE(logged("MobFox: Did fail to receive ad, Error Domain=AdNetworkErrorDomain Code=2 \"nothing to show\""));
    EXPECT_EQ(m->bannerMode(), 1);
    EXPECT_EQ(m->mobfoxBannerView(), nullptr);
    AdMobView* admob = m->adMobBannerView();
    ASSERT_NE(admob, nullptr);
    EXPECT_EQ(admob->delegate(), m);

    m->didReceiveAd(admob);
    EXPECT_TRUE(logged("AdMob: Did receive ad"));
    EXPECT_TRUE(m->adMobBannerShowing());
    EXPECT_TRUE(m->isBannerVisible());
    EXPECT_EQ(admob->superview(), m->bannerClipView());
    EXPECT_EQ(admob->frame(), (CGRect{{0, 25}, {320, 50}}));
    NSTimer* timer = m->refreshTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_DOUBLE_EQ(timer->timeInterval(), 13.0);
    EXPECT_TRUE(timer->isValid());

    // A second ad changes nothing but the log.
    log.clear();
    m->didReceiveAd(admob);
    EXPECT_EQ(log, std::vector<std::string>{"AdMob: Did receive ad"});
    EXPECT_EQ(m->refreshTimer(), timer);
    EXPECT_EQ(admob->superview(), m->bannerClipView());

    CCPtr<AdMobView> keep(admob);
    m->didFailToReceiveAd(admob);
    EXPECT_TRUE(logged("AdMob: Did fail to receive ad"));
    EXPECT_EQ(m->bannerMode(), 99);
    EXPECT_FALSE(m->isBannerVisible());
    EXPECT_EQ(m->adMobBannerView(), nullptr);
    EXPECT_EQ(admob->delegate(), nullptr);
    EXPECT_EQ(admob->superview(), nullptr);
    EXPECT_FALSE(timer->isValid());

    // Becoming active starts over with MobFox; while a network is tried, it does nothing.
    app->sendWillResignActive();
    app->sendDidBecomeActive();
    EXPECT_EQ(m->bannerMode(), 3);
    MobFoxBannerView* again = m->mobfoxBannerView();
    ASSERT_NE(again, nullptr);
    app->sendWillResignActive();
    app->sendDidBecomeActive();
    EXPECT_EQ(m->mobfoxBannerView(), again);
}

TEST_F(DTBannerManagerTest, MobFoxAdSlidesInAndRemoveAdsTakesEverythingAway) {
    DTBannerManager* m = manager();
    m->addAdsToViewController(host);
    auto recorder = CCPtr<SlideRecorder>::adopt(new SlideRecorder);
    recorder->listen();
    MobFoxBannerView* mobfox = m->mobfoxBannerView();
    m->mobfoxBannerViewDidLoadMobFoxAd(mobfox);
    EXPECT_TRUE(m->mobFoxBannerShowing());
    EXPECT_EQ(mobfox->superview(), m->bannerClipView());
    EXPECT_TRUE(m->bannerClipView()->isUserInteractionEnabled());
    m->removeAds();
    EXPECT_FALSE(m->isBannerVisible());
    EXPECT_EQ(m->mobfoxBannerView(), nullptr);
    EXPECT_TRUE(m->bannerClipView()->subviews().empty());
    EXPECT_EQ(recorder->names, (std::vector<std::string>{kBannerWillSlideIn, kBannerDidSlideIn, kBannerWillSlideOut,
                                                         kBannerDidSlideOut}));
}

TEST_F(DTBannerManagerTest, ThePlatformBannerIsSkippedWhenMissingAndCancelledAfterSevenAndAHalfSeconds) {
    DTBannerManager* m = manager();
    EXPECT_FALSE(DTBannerManager::iAdsSupported());
    m->setBannerMode(2);
    EXPECT_EQ(m->bannerMode(), 3); // on to the next network
    EXPECT_EQ(m->iAdBannerView(), nullptr);

    DTBannerManager::purgeSharedManager();
    DeterministicClock clock;
    setenv("ZORVIK_PLATFORM_AD_URL", "http://127.0.0.1:9/ad", 1);
    EXPECT_TRUE(DTBannerManager::iAdsSupported());
    m = manager();
    m->setBannerMode(2);
    ADBannerView* banner = m->iAdBannerView();
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->requiredContentSizeIdentifiers(), std::set<std::string>{ADBannerContentSizeIdentifier320x50});
    EXPECT_EQ(banner->frame(), (CGRect{{0, 0}, {320, 50}}));
    EXPECT_EQ(banner->delegate(), m);
    banner->setDelegate(nullptr); // a banner that never answers
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 7.4);
    EXPECT_EQ(m->bannerMode(), 2);
    EXPECT_FALSE(logged("iAd: request cancelled"));
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 0.2);
    EXPECT_TRUE(logged("iAd: request cancelled"));
    EXPECT_NE(m->bannerMode(), 2);
    EXPECT_EQ(m->iAdBannerView(), nullptr);
}

TEST_F(DTBannerManagerTest, ThePlatformBannersAnswersEndTheTimeOut) {
    setenv("ZORVIK_PLATFORM_AD_URL", "http://127.0.0.1:9/ad", 1);
    DTBannerManager* m = manager();
    m->setBannerMode(2);
    ADBannerView* banner = m->iAdBannerView();
    m->bannerViewDidLoadAd(banner);
    EXPECT_TRUE(logged("iAd: Did receive ad"));
    EXPECT_TRUE(m->iAdBannerShowing());
    EXPECT_EQ(banner->superview(), m->bannerClipView());
    m->bannerViewDidFailToReceiveAdWithError(banner, error("gone"));
    EXPECT_TRUE(logged("iAd: Did fail to receive ad, Error Domain=AdNetworkErrorDomain Code=2 \"gone\""));
    EXPECT_FALSE(m->iAdBannerShowing());
    EXPECT_EQ(m->bannerMode(), 3);
    // No stray cancellation later.
    DeterministicClock clock;
    NSRunLoop::mainRunLoop()->runUntilDate(CCClock::now() + 8);
    EXPECT_FALSE(logged("iAd: request cancelled"));
}

TEST_F(DTBannerManagerTest, WithoutTheInternetNoAdsAreRequested) {
    setenv("ZORVIK_REACHABILITY", "none", 1);
    DTBannerManager* m = manager();
    m->addAdsToViewController(host);
    EXPECT_TRUE(logged("no"));
    EXPECT_EQ(m->bannerMode(), 0);
    EXPECT_EQ(m->mobfoxBannerView(), nullptr);
    EXPECT_EQ(m->viewControllerWithBanner(), nullptr);
    EXPECT_TRUE(host->view()->subviews().empty());
    DTBannerManager::purgeSharedManager();

    // Other system versions do not ask.
    UIDevice::currentDevice()->setSystemVersion("4.2");
    manager()->addAdsToViewController(host);
    UIDevice::currentDevice()->setSystemVersion("4.1");
    EXPECT_EQ(manager()->bannerMode(), 3);
}

TEST_F(DTBannerManagerTest, TableViewsKeepClearOfTheBannerWhileSubscribed) {
    DTBannerManager* m = manager();
    m->addAdsToViewController(host);
    auto table = CCPtr<UITableViewController>::adopt(new UITableViewController);
    ASSERT_TRUE(table->init());
    subscribeToBannerNotifications(table);
    m->mobfoxBannerViewDidLoadMobFoxAd(m->mobfoxBannerView());
    EXPECT_EQ(table->tableView()->contentInset(), UIEdgeInsetsMake(0, 0, 50, 0));
    EXPECT_EQ(table->tableView()->scrollIndicatorInsets(), UIEdgeInsetsMake(0, 0, 50, 0));
    m->removeAds();
    EXPECT_EQ(table->tableView()->contentInset(), UIEdgeInsetsZero);
    unsubscribeFromBannerNotifications(table);
    m->setBannerMode(1);
    m->didReceiveAd(m->adMobBannerView());
    EXPECT_EQ(table->tableView()->contentInset(), UIEdgeInsetsZero);
}

} // namespace
