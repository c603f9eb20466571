#include "ADBannerView.h"

#include "AppConfiguration.h"
#include "UIImage.h"

std::string ADBannerView::serverURL() { return AppConfiguration::stringForKey("PlatformAdURL"); }

void ADBannerView::setDelegate(ADBannerViewDelegate* delegate) {
    delegate_ = delegate;
    if (delegate_ && !isLoading() && !adImage()) requestAd(serverURL(), {});
}

void ADBannerView::adDidLoad() {
    if (delegate_) delegate_->bannerViewDidLoadAd(this);
}

void ADBannerView::adDidFail(NSError* error) {
    if (delegate_) delegate_->bannerViewDidFailToReceiveAdWithError(this, error);
}
