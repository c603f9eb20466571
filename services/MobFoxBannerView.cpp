#include "MobFoxBannerView.h"

#include "AppConfiguration.h"
#include "UIImage.h"

std::string MobFoxBannerView::serverURL() { return AppConfiguration::stringForKey("MobFoxAdURL"); }

void MobFoxBannerView::setDelegate(MobFoxBannerViewDelegate* delegate) {
    delegate_ = delegate;
    if (delegate_ && !isLoading() && !adImage()) requestAd(serverURL(), delegate_->publisherIdForMobFoxBannerView(this));
}

void MobFoxBannerView::adDidLoad() {
    if (delegate_) delegate_->mobfoxBannerViewDidLoadMobFoxAd(this);
}

void MobFoxBannerView::adDidFail(NSError* error) {
    if (delegate_) delegate_->mobfoxBannerViewDidFailToReceiveAdWithError(this, error);
}
