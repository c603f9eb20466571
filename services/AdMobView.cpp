#include "AdMobView.h"

#include "AppConfiguration.h"

#include "UIColor.h"
#include "UIImage.h"

AdMobView* AdMobView::requestAdWithDelegate(AdMobDelegate* delegate) {
    AdMobView* view = ccCreate<AdMobView>([](AdMobView* v) { return v->initWithFrame({{0, 0}, {kAdWidth, kAdHeight}}); });
    view->setDelegate(delegate);
    view->requestFreshAd();
    return view;
}

std::string AdMobView::serverURL() { return AppConfiguration::stringForKey("AdMobAdURL"); }

void AdMobView::requestFreshAd() {
    requestAd(serverURL(), delegate_ ? delegate_->publisherIdForAd(this) : std::string());
}

void AdMobView::adDidLoad() {
    if (delegate_) delegate_->didReceiveAd(this);
}

void AdMobView::adDidFail(NSError*) {
    if (delegate_) delegate_->didFailToReceiveAd(this);
}

void AdMobView::drawInContext(cairo_t* cr, CGRect bounds) {
    // The delegate's background shows where the picture is transparent.
    if (UIColor* background = delegate_ ? delegate_->adBackgroundColorForAd(this) : nullptr; background && adImage()) {
        background->fillRect(cr, {{0, 0}, bounds.size});
    }
    AdNetworkView::drawInContext(cr, bounds);
}
