#include "DTBannerManager.h"

#include "AppConfiguration.h"
#include "CCLog.h"
#include "CCTrace.h"
#include "DTBannerClipView.h"
#include "NSError.h"
#include "NSNotificationCenter.h"
#include "Reachability.h"
#include "UIApplication.h"
#include "UIButton.h"
#include "UIColor.h"
#include "UIDevice.h"
#include "UIScreen.h"
#include "UITabBarController.h"
#include "UIViewController.h"

namespace {
DTBannerManager* shared = nullptr;

constexpr double kAdMobRefreshSeconds = 13.0;
constexpr double kAppleTimeoutSeconds = 7.5;
constexpr float kStripHeight = 75;
constexpr float kBannerWidth = 320, kBannerHeight = 50;

void traceOut(const char* network) { CCTrace::event("banner-out", {{"network", network}}); }
} // namespace

DTBannerManager* DTBannerManager::sharedManager() {
    if (!shared) shared = new DTBannerManager;
    return shared;
}

void DTBannerManager::purgeSharedManager() {
    if (!shared) return;
    DTBannerManager* m = shared;
    shared = nullptr;
    // Timers hold the manager: let them go first.
    m->stopRefreshTimer();
    m->stopAppleTimeout();
    m->release();
}

DTBannerManager::DTBannerManager() {
    NSNotificationCenter::defaultCenter()->addObserver(
        this, notification_selector(DTBannerManager::appDidBecomeActive), UIApplicationDidBecomeActiveNotification, nullptr);
}

DTBannerManager::~DTBannerManager() {
    NSNotificationCenter::defaultCenter()->removeObserver(this);
    stopRefreshTimer();
    stopAppleTimeout();
    if (adMobBannerView_) adMobBannerView_->setDelegate(nullptr);
    if (mobfoxBannerView_) mobfoxBannerView_->setDelegate(nullptr);
    if (iAdBannerView_) iAdBannerView_->setDelegate(nullptr);
    if (bannerClipView_) bannerClipView_->purchaseButton()->removeTarget(this, nullptr, UIControlEventAllEvents);
}

std::string DTBannerManager::adMobPublisherId() {
    return AppConfiguration::stringForKey("AdMobPublisherID");
}

std::string DTBannerManager::mobFoxPublisherId() {
    return AppConfiguration::stringForKey("MobFoxPublisherID");
}

void DTBannerManager::addAdsToViewController(UIViewController* controller) {
    // Only this system version checks the network before asking for ads.
    if (UIDevice::currentDevice()->systemVersion() == "4.1") {
        Reachability* reachability = Reachability::reachabilityForInternetConnection();
        if (reachability) {
            reachability->startNotifier();
            NetworkStatus status = reachability->currentReachabilityStatus();
            if (status == NotReachable) {
                CCLog("no");
                reachability->stopNotifier();
                return;
            }
            CCLog(status == ReachableViaWiFi ? "wifi" : "cell");
            reachability->stopNotifier();
        }
    }
    viewControllerWithBanner_ = controller;
    if (controller && controller->view()) controller->view()->addSubview(bannerClipView());
    setDefaultBannerMode();
}

DTBannerClipView* DTBannerManager::bannerClipView() {
    if (!bannerClipView_) {
        UIView* host = viewControllerWithBanner_ ? viewControllerWithBanner_->view() : nullptr;
        const float h = host ? host->bounds().size.height : UIScreen::mainScreen()->bounds().size.height;
        float y = h - kStripHeight;
        if (dynamic_cast<UITabBarController*>(viewControllerWithBanner_.get())) y -= UITabBarController::kTabBarHeight;
        bannerClipView_ = CCPtr<DTBannerClipView>::adopt(ccNew<DTBannerClipView>(
            [&](DTBannerClipView* v) { return v->initWithFrame({{0, y}, {kBannerWidth, kStripHeight}}); }));
        bannerClipView_->purchaseButton()->addTarget(this, control_selector(DTBannerManager::purchaseButtonPushed),
                                                     UIControlEventTouchUpInside);
    }
    return bannerClipView_;
}

void DTBannerManager::setBannerClipView(DTBannerClipView* view) { bannerClipView_ = view; }

int DTBannerManager::nextBannerNetworkAfterCurrent() const {
    switch (bannerMode_) {
    case DTBannerModeNone: return DTBannerModeMobFox;
    case DTBannerModeMobFox: return DTBannerModeAdMob;
    // After the platform banner, the other networks in their order.
    case DTBannerModeApple: return DTBannerModeMobFox;
    default: return DTBannerModeNoneLeft;
    }
}

void DTBannerManager::setDefaultBannerMode() {
    setBannerMode(DTBannerModeNone);
    setBannerMode(nextBannerNetworkAfterCurrent());
}

void DTBannerManager::setBannerMode(int mode) {
    if (mode == bannerMode_) return;
    bannerMode_ = mode;
    CCTrace::event("banner-mode", {{"mode", static_cast<long long>(mode)}});
    switch (mode) {
    case DTBannerModeApple: {
        if (!iAdsSupported()) {
            setBannerMode(nextBannerNetworkAfterCurrent());
            return;
        }
        dropApple();
        ADBannerView* banner = ccCreate<ADBannerView>(
            [](ADBannerView* b) { return b->initWithFrame({{0, 0}, {kBannerWidth, kBannerHeight}}); });
        iAdBannerView_ = banner;
        banner->setRequiredContentSizeIdentifiers({ADBannerContentSizeIdentifier320x50});
        banner->setDelegate(this);
        appleTimeout_ = NSTimer::scheduledTimerWithTimeInterval(
            kAppleTimeoutSeconds, this, ::ccSelector<void(NSTimer*)>(&DTBannerManager::cancelAppleAds, "cancelAppleAds"),
            nullptr, false);
        break;
    }
    case DTBannerModeMobFox: {
        dropMobFox();
        MobFoxBannerView* banner = ccCreate<MobFoxBannerView>(
            [](MobFoxBannerView* b) { return b->initWithFrame({{0, 0}, {kBannerWidth, kBannerHeight}}); });
        mobfoxBannerView_ = banner;
        banner->setBackgroundColor(UIColor::blackColor());
        banner->setDelegate(this);
        break;
    }
    case DTBannerModeAdMob:
        dropAdMob();
        adMobBannerView_ = AdMobView::requestAdWithDelegate(this);
        break;
    default: break;
    }
    removeAllBannersExceptForMode(mode);
}

void DTBannerManager::stopRefreshTimer() {
    if (refreshTimer_) refreshTimer_->invalidate();
    refreshTimer_ = nullptr;
}

void DTBannerManager::stopAppleTimeout() {
    if (appleTimeout_) appleTimeout_->invalidate();
    appleTimeout_ = nullptr;
}

// Each drop takes the banner out of the strip, stops its callbacks and lets it go.
void DTBannerManager::dropAdMob() {
    if (adMobBannerShowing_) traceOut("admob");
    if (adMobBannerView_) {
        adMobBannerView_->removeFromSuperview();
        adMobBannerView_->setDelegate(nullptr);
        adMobBannerView_ = nullptr;
    }
    stopRefreshTimer();
    adMobBannerShowing_ = false;
}

void DTBannerManager::dropApple() {
    if (iAdBannerShowing_) traceOut("platform");
    if (iAdBannerView_) {
        iAdBannerView_->removeFromSuperview();
        iAdBannerView_->setDelegate(nullptr);
        iAdBannerView_ = nullptr;
    }
    stopAppleTimeout();
    iAdBannerShowing_ = false;
}

void DTBannerManager::dropMobFox() {
    if (mobFoxBannerShowing_) traceOut("mobfox");
    if (mobfoxBannerView_) {
        mobfoxBannerView_->removeFromSuperview();
        mobfoxBannerView_->setDelegate(nullptr);
        mobfoxBannerView_ = nullptr;
    }
    mobFoxBannerShowing_ = false;
}

void DTBannerManager::removeAllBannersExceptForMode(int mode) {
    if (mode != DTBannerModeAdMob) dropAdMob();
    if (mode != DTBannerModeApple) dropApple();
    if (mode != DTBannerModeMobFox) dropMobFox();
    if (mode == DTBannerModeNone) bannerClipView()->setPurchaseButtonVisible(false, true);
}

void DTBannerManager::removeAds() {
    dropAdMob();
    dropApple();
    dropMobFox();
    if (bannerClipView_) bannerClipView_->slideOutSubviews();
}

void DTBannerManager::refreshAd(NSTimer*) {
    if (adMobBannerView_) adMobBannerView_->requestFreshAd();
}

void DTBannerManager::cancelAppleAds(NSTimer*) {
    appleTimeout_ = nullptr;
    CCLog("iAd: request cancelled");
    setBannerMode(nextBannerNetworkAfterCurrent());
}

void DTBannerManager::appDidBecomeActive(NSNotification*) {
    if (bannerMode_ == DTBannerModeNoneLeft) setDefaultBannerMode();
}

void DTBannerManager::purchaseButtonPushed(CCObject*) {
    if (delegate_) delegate_->bannerManagerDidPushPurchaseButton(this);
}

// AdMob

std::string DTBannerManager::publisherIdForAd(AdMobView*) { return adMobPublisherId(); }
UIViewController* DTBannerManager::currentViewControllerForAd(AdMobView*) { return viewControllerWithBanner_; }
UIColor* DTBannerManager::adBackgroundColorForAd(AdMobView*) {
    static CCPtr<UIColor> color = UIColor::colorWithRed(0.208f, 0.435f, 0.659f, 1.0f);
    return color;
}
UIColor* DTBannerManager::primaryTextColorForAd(AdMobView*) { return UIColor::whiteColor(); }
UIColor* DTBannerManager::secondaryTextColorForAd(AdMobView*) { return UIColor::whiteColor(); }

void DTBannerManager::didReceiveAd(AdMobView* adView) {
    CCLog("AdMob: Did receive ad");
    if (adMobBannerShowing_) return;
    adMobBannerShowing_ = true;
    bannerClipView()->slideInSubview(adView);
    CCTrace::event("banner-in", {{"network", "admob"}});
    stopRefreshTimer();
    refreshTimer_ = NSTimer::scheduledTimerWithTimeInterval(
        kAdMobRefreshSeconds, this, ::ccSelector<void(NSTimer*)>(&DTBannerManager::refreshAd, "refreshAd:"), nullptr,
        true);
}

void DTBannerManager::didFailToReceiveAd(AdMobView*) {
    CCLog("AdMob: Did fail to receive ad");
    dropAdMob();
    setBannerMode(nextBannerNetworkAfterCurrent());
}

// MobFox

std::string DTBannerManager::publisherIdForMobFoxBannerView(MobFoxBannerView*) { return mobFoxPublisherId(); }

void DTBannerManager::mobfoxBannerViewDidLoadMobFoxAd(MobFoxBannerView* banner) {
    mobFoxBannerShowing_ = true;
    bannerClipView()->slideInSubview(banner);
    CCTrace::event("banner-in", {{"network", "mobfox"}});
}

void DTBannerManager::mobfoxBannerViewDidFailToReceiveAdWithError(MobFoxBannerView*, NSError* error) {
    CCLog("MobFox: Did fail to receive ad, %s", error ? error->description().c_str() : "(null)");
    if (mobFoxBannerShowing_) traceOut("mobfox");
    mobFoxBannerShowing_ = false;
    bannerClipView()->slideOutSubviews();
    setBannerMode(nextBannerNetworkAfterCurrent());
}

// The platform banner

void DTBannerManager::bannerViewDidLoadAd(ADBannerView* banner) {
    stopAppleTimeout();
    CCLog("iAd: Did receive ad");
    if (iAdBannerShowing_) return;
    iAdBannerShowing_ = true;
    bannerClipView()->slideInSubview(banner);
    CCTrace::event("banner-in", {{"network", "platform"}});
}

void DTBannerManager::bannerViewDidFailToReceiveAdWithError(ADBannerView* banner, NSError* error) {
    stopAppleTimeout();
    CCLog("iAd: Did fail to receive ad, %s", error ? error->description().c_str() : "(null)");
    if (iAdBannerShowing_) traceOut("platform");
    iAdBannerShowing_ = false;
    bannerClipView()->slideOutSubview(banner);
    setBannerMode(nextBannerNetworkAfterCurrent());
}
