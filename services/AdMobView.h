#pragma once
// The AdMob banner client: made and started by one class operation, it asks its delegate for
// the publisher identifier and colours, fetches an ad and tells the delegate on the main
// thread; requestFreshAd fetches the next one while the current picture stays.
#include "AdNetworkView.h"

class AdMobView;
class UIColor;
class UIViewController;

class AdMobDelegate {
public:
    virtual ~AdMobDelegate() = default;
    virtual std::string publisherIdForAd(AdMobView* adView) = 0;
    virtual UIViewController* currentViewControllerForAd(AdMobView* adView) = 0;
    virtual UIColor* adBackgroundColorForAd(AdMobView*) { return nullptr; }
    virtual UIColor* primaryTextColorForAd(AdMobView*) { return nullptr; }
    virtual UIColor* secondaryTextColorForAd(AdMobView*) { return nullptr; }
    virtual void didReceiveAd(AdMobView*) {}
    virtual void didFailToReceiveAd(AdMobView*) {}
};

class AdMobView : public AdNetworkView {
public:
    // A 320 × 50 banner that has started its first request; autoreleased.
    static AdMobView* requestAdWithDelegate(AdMobDelegate* delegate);
    // The ad server: "AdMobAdURL" of the configuration (ZORVIK_ADMOB_AD_URL).
    static std::string serverURL();

    const char* networkName() const override { return "admob"; }
    AdMobDelegate* delegate() const { return delegate_; }
    // Not retained; nullptr stops every later callback.
    void setDelegate(AdMobDelegate* delegate) { delegate_ = delegate; }
    void requestFreshAd();

protected:
    void adDidLoad() override;
    void adDidFail(NSError* error) override;
    void drawInContext(cairo_t* cr, CGRect bounds) override;

private:
    AdMobDelegate* delegate_ = nullptr;
};
