#pragma once
// The platform's own banner view: it loads an ad from the platform's ad service once it has
// a delegate, and reports the ad or the failure to it on the main thread.
#include <set>

#include "AdNetworkView.h"

class ADBannerView;
class NSSet;

// The one content size this platform offers: 320 × 50 in portrait.
inline constexpr const char* ADBannerContentSizeIdentifier320x50 = "ADBannerContentSize320x50";

class ADBannerViewDelegate {
public:
    virtual ~ADBannerViewDelegate() = default;
    virtual void bannerViewDidLoadAd(ADBannerView*) {}
    virtual void bannerViewDidFailToReceiveAdWithError(ADBannerView*, NSError*) {}
};

class ADBannerView : public AdNetworkView {
public:
    // The service: "PlatformAdURL" of the configuration (ZORVIK_PLATFORM_AD_URL).
    static std::string serverURL();
    // Whether the platform offers banners here: its service address is configured.
    static bool isAvailable() { return !serverURL().empty(); }

    const char* networkName() const override { return "platform"; }
    ADBannerViewDelegate* delegate() const { return delegate_; }
    // Not retained. A delegate given while no ad is shown or loading starts a request.
    void setDelegate(ADBannerViewDelegate* delegate);
    const std::set<std::string>& requiredContentSizeIdentifiers() const { return sizes_; }
    void setRequiredContentSizeIdentifiers(const std::set<std::string>& identifiers) { sizes_ = identifiers; }
    bool isBannerLoaded() const { return adImage() != nullptr; }

protected:
    void adDidLoad() override;
    void adDidFail(NSError* error) override;

private:
    ADBannerViewDelegate* delegate_ = nullptr;
    std::set<std::string> sizes_;
};
