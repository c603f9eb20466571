#pragma once
// The MobFox banner client: it starts asking for an ad as soon as it has a delegate, which
// names its publisher identifier and hears of the ad or the failure on the main thread.
#include "AdNetworkView.h"

class MobFoxBannerView;

class MobFoxBannerViewDelegate {
public:
    virtual ~MobFoxBannerViewDelegate() = default;
    virtual std::string publisherIdForMobFoxBannerView(MobFoxBannerView* banner) = 0;
    virtual void mobfoxBannerViewDidLoadMobFoxAd(MobFoxBannerView*) {}
    virtual void mobfoxBannerViewDidFailToReceiveAdWithError(MobFoxBannerView*, NSError*) {}
};

class MobFoxBannerView : public AdNetworkView {
public:
    // The ad server: "MobFoxAdURL" of the configuration (ZORVIK_MOBFOX_AD_URL).
    static std::string serverURL();

    const char* networkName() const override { return "mobfox"; }
    MobFoxBannerViewDelegate* delegate() const { return delegate_; }
    // Not retained. A delegate given while no ad is shown or loading starts a request.
    void setDelegate(MobFoxBannerViewDelegate* delegate);

protected:
    void adDidLoad() override;
    void adDidFail(NSError* error) override;

private:
    MobFoxBannerViewDelegate* delegate_ = nullptr;
};
