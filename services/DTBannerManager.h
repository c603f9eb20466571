#pragma once
// Shows one ad banner at a time in a strip over the application's root view, falling back
// from one ad network to the next when a network has nothing to show: MobFox first, then
// AdMob, then none. The platform's own banner is shown only when asked for by mode.
//
// Modes: 0 none yet, 1 AdMob, 2 the platform banner, 3 MobFox, 99 no network left. After all
// networks failed, the next time the application becomes active starts again with MobFox.
#include <string>

#include "ADBannerView.h"
#include "AdMobView.h"
#include "CCPtr.h"
#include "MobFoxBannerView.h"
#include "NSTimer.h"

class DTBannerClipView;
class DTBannerManager;
class NSNotification;
class UIViewController;

enum DTBannerMode {
    DTBannerModeNone = 0,
    DTBannerModeAdMob = 1,
    DTBannerModeApple = 2,
    DTBannerModeMobFox = 3,
    DTBannerModeNoneLeft = 99,
};

class DTBannerManagerDelegate {
public:
    virtual ~DTBannerManagerDelegate() = default;
    // The strip's purchase button was pushed.
    virtual void bannerManagerDidPushPurchaseButton(DTBannerManager*) {}
};

class DTBannerManager : public CCObject,
                        public ADBannerViewDelegate,
                        public AdMobDelegate,
                        public MobFoxBannerViewDelegate {
public:
    static DTBannerManager* sharedManager();
    // Destroys the shared manager (tests); the next use makes a fresh one.
    static void purgeSharedManager();
    DTBannerManager();
    ~DTBannerManager() override;

    // Puts the strip over the controller's view and starts with the first network; on the
    // system version that checks, nothing at all when the internet cannot be reached.
    void addAdsToViewController(UIViewController* controller);

    UIViewController* viewControllerWithBanner() const { return viewControllerWithBanner_; }
    void setViewControllerWithBanner(UIViewController* controller) { viewControllerWithBanner_ = controller; }
    // Made on first use along the bottom of the host view (above a tab bar).
    DTBannerClipView* bannerClipView();
    void setBannerClipView(DTBannerClipView* view);
    ADBannerView* iAdBannerView() const { return iAdBannerView_; }
    AdMobView* adMobBannerView() const { return adMobBannerView_; }
    MobFoxBannerView* mobfoxBannerView() const { return mobfoxBannerView_; }
    NSTimer* refreshTimer() const { return refreshTimer_.get(); }
    bool iAdBannerShowing() const { return iAdBannerShowing_; }
    bool adMobBannerShowing() const { return adMobBannerShowing_; }
    bool mobFoxBannerShowing() const { return mobFoxBannerShowing_; }

    int bannerMode() const { return bannerMode_; }
    void setBannerMode(int mode);
    void setDefaultBannerMode();
    int nextBannerNetworkAfterCurrent() const;
    void removeAllBannersExceptForMode(int mode);
    void removeAds();
    bool isBannerVisible() const { return iAdBannerShowing_ || adMobBannerShowing_ || mobFoxBannerShowing_; }
    void refreshAd(NSTimer* timer);
    void cancelAppleAds(NSTimer* timer = nullptr);
    void appDidBecomeActive(NSNotification* notification);
    void purchaseButtonPushed(CCObject* sender);

    DTBannerManagerDelegate* delegate() const { return delegate_; }
    void setDelegate(DTBannerManagerDelegate* delegate) { delegate_ = delegate; }

    static bool adMobSupported() { return true; }
    static bool mobFoxSupported() { return true; }
    static bool iAdsSupported() { return ADBannerView::isAvailable(); }

    // The publisher identifiers: "AdMobPublisherID" / "MobFoxPublisherID" of the configuration.
    static std::string adMobPublisherId();
    static std::string mobFoxPublisherId();

    // AdMob
    std::string publisherIdForAd(AdMobView* adView) override;
    UIViewController* currentViewControllerForAd(AdMobView* adView) override;
    UIColor* adBackgroundColorForAd(AdMobView* adView) override;
    UIColor* primaryTextColorForAd(AdMobView* adView) override;
    UIColor* secondaryTextColorForAd(AdMobView* adView) override;
    void didReceiveAd(AdMobView* adView) override;
    void didFailToReceiveAd(AdMobView* adView) override;
    // MobFox
    std::string publisherIdForMobFoxBannerView(MobFoxBannerView* banner) override;
    void mobfoxBannerViewDidLoadMobFoxAd(MobFoxBannerView* banner) override;
    void mobfoxBannerViewDidFailToReceiveAdWithError(MobFoxBannerView* banner, NSError* error) override;
    // The platform banner
    void bannerViewDidLoadAd(ADBannerView* banner) override;
    void bannerViewDidFailToReceiveAdWithError(ADBannerView* banner, NSError* error) override;

private:
    void stopRefreshTimer();
    void stopAppleTimeout();
    void dropAdMob();
    void dropApple();
    void dropMobFox();

    CCPtr<UIViewController> viewControllerWithBanner_;
    CCPtr<DTBannerClipView> bannerClipView_;
    CCPtr<ADBannerView> iAdBannerView_;
    bool iAdBannerShowing_ = false;
    CCPtr<AdMobView> adMobBannerView_;
    CCPtr<NSTimer> refreshTimer_;
    bool adMobBannerShowing_ = false;
    CCPtr<MobFoxBannerView> mobfoxBannerView_;
    bool mobFoxBannerShowing_ = false;
    int bannerMode_ = DTBannerModeNone;
    DTBannerManagerDelegate* delegate_ = nullptr;
    CCPtr<NSTimer> appleTimeout_; // the pending cancelAppleAds
};
