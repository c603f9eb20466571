#include "ZorvikAppDelegate.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "AppConfiguration.h"
#include "CAEAGLLayer.h"
#include "CCAutoreleasePool.h"
#include "CCBackgroundWork.h"
#include "CCDirectorIOS.h"
#include "CCLog.h"
#include "CAGradientLayer.h"
#include "CCTexture2D.h"
#include "CCTrace.h"
#include "DTBannerClipView.h"
#include "DTBannerManager.h"
#include "CommonDigest.h"
#include "EAGLView.h"
#include "HouseServer.h"
#include "MZDownloader.h"
#include "MZGradientButton.h"
#include "NSData.h"
#include "NSError.h"
#include "NSHTTPURLResponse.h"
#include "NSPathUtilities.h"
#include "NSURLConnection.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "PropertyList.h"
#include "SplashLayer.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIColor.h"
#include "UIDevice.h"
#include "UIFont.h"
#include "UILabel.h"
#include "UIScreen.h"
#include "UIViewController.h"
#include "UIWindow.h"

namespace {
// The quarter turn that makes platform views read along the landscape screen.
constexpr float kQuarterTurn = 1.5707964f;
}

ZorvikAppDelegate::ZorvikAppDelegate() = default;

ZorvikAppDelegate::~ZorvikAppDelegate() {
    stopNetworkServices();
    viewController_ = nullptr;
    window_ = nullptr;
}

void ZorvikAppDelegate::setWindow(UIWindow* window) { window_ = window; }

std::string ZorvikAppDelegate::storeURL() {
    if (const char* env = std::getenv("ZORVIK_STORE_URL"); env && *env) return env;
    std::string path = NSBundle::mainBundle()->pathForResource("Configuration", "plist", "");
    std::string url, why = "missing";
    PropertyList configuration;
    if (!path.empty()) configuration = PropertyList::dictionaryWithContentsOfFile(path, &why);
    if (!configuration)
        CCLog("No store page: cannot read %s: %s", path.empty() ? "Configuration.plist" : path.c_str(), why.c_str());
    else if ((url = configuration.stringForKey("StoreURL")).empty())
        CCLog("No store page configured (StoreURL in Configuration.plist)");
    return url;
}

void ZorvikAppDelegate::cannotPlayWithout(const std::string& file) {
    if (!missingResource_.empty()) return;
    missingResource_ = file;
    CCLog("zorvik: the game cannot go on without %s (in \"%s\")", file.c_str(),
          NSBundle::mainBundle()->resourcePath().c_str());
    CCTrace::event("resource-failed", {{"file", file}});
    // Not from inside the touch or scene set-up that found it: the run ends between frames.
    NSRunLoop::mainRunLoop()->performAfterDelay(0, [] { UIApplication::sharedApplication()->sendWillTerminate(); });
}

void ZorvikAppDelegate::gameNeeds(const std::string& file) {
    if (auto* app = dynamic_cast<ZorvikAppDelegate*>(UIApplication::sharedApplication()->delegate()))
        app->cannotPlayWithout(file);
    else
        CCLog("The game cannot go on without %s", file.c_str());
}

void ZorvikAppDelegate::applicationDidFinishLaunching(UIApplication*) {
    // The game's random source.
    srandom(static_cast<unsigned>(time(nullptr)));
    // The house services answer the addresses of the configuration that name them.
    startHouseServer();
    // The window over the whole screen.
    window_ = CCPtr<UIWindow>::adopt(ccNew<UIWindow>([](UIWindow* w) { return w->initWithFrame(UIScreen::mainScreen()->bounds()); }));
    // Display-link director where the platform has one, else the timer director.
    if (!CCDirector::setDirectorType(kCCDirectorTypeDisplayLink)) CCDirector::setDirectorType(kCCDirectorTypeNSTimer);
    // Upright while the view is made, no frame-rate counter, 60 frames a second.
    auto* director = static_cast<CCDirectorIOS*>(CCDirector::sharedDirector());
    director->setDeviceOrientation(CCDeviceOrientationPortrait);
    director->setDisplayFPS(false);
    director->setAnimationInterval(1.0 / 60);
    // 16-bit colour, no depth buffer.
    EAGLView* glView = EAGLView::viewWithFrame(window_->bounds(), kEAGLColorFormatRGB565, 0, false);
    // The director draws into the view, which fills the window.
    director->setOpenGLView(glView);
    window_->addSubview(glView);
    window_->makeKeyAndVisible();
    // From here the scene is 480 x 320, origin bottom-left.
    director->setDeviceOrientation(CCDeviceOrientationLandscapeLeft);
    // Every finger on the screen reaches the touch dispatcher, not only the first.
    glView->setMultipleTouchEnabled(true);
    // Images with alpha load as 32-bit textures.
    CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
    // The title scene asks for its HELP button here, before the view controller exists:
    // that request adds nothing.
    if (!mainScene()) {
        // The title's own pictures and font have been named; anything else is said here.
        if (missingResource_.empty())
            CCLog("zorvik: the title scene cannot be built from the resources in \"%s\"",
                  NSBundle::mainBundle()->resourcePath().c_str());
        UIApplication::sharedApplication()->sendWillTerminate();
        return;
    }
    director->runWithScene(mainScene());
    // The platform buttons below are added to the view controller's view: the GL view.
    viewController_ = CCPtr<UIViewController>::adopt(ccNew<UIViewController>([](UIViewController* v) { return v->init(); }));
    viewController_->setView(glView);
    // The ad banner strip, moved to the top of the landscape screen and turned a quarter.
    DTBannerManager* ads = DTBannerManager::sharedManager();
    ads->addAdsToViewController(viewController_);
    ads->bannerClipView()->setCenter(CGPoint{310, 160});
    ads->bannerClipView()->setTransform(CGAffineTransformMakeRotation(kQuarterTurn));
    // The purchase button.
    button_ = makeButton(CGRect{{296, 240}, {160, 48}}, CGPoint{296, 400}, 12, 6.0f, "Buy AD-FREE Full Version!",
                         &ZorvikAppDelegate::newb, "newb");
    // The one HELP button of the launch.
    addAgain();
    // The promotion list is fetched in the background.
    MZDownloader::shared()->startUpdates();
    // Shown again with the buttons on it.
    window_->makeKeyAndVisible();
}

MZGradientButton* ZorvikAppDelegate::makeButton(CGRect frame, CGPoint center, float fontSize, float cornerRadius,
                                                const char* title, void (ZorvikAppDelegate::*action)(CCObject*),
                                                const char* name) {
    if (!viewController_ || !viewController_->view()) return nullptr;
    MZGradientButton* b = ccNew<MZGradientButton>([&](MZGradientButton* g) { return g->initWithFrame(frame); });
    if (!b) return nullptr;
    b->setCenter(center);
    b->titleLabel()->setFont(UIFont::fontWithName("Helvetica-Bold", fontSize));
    b->addTarget(this, ccSelector<void(CCObject*)>(action, name), UIControlEventTouchUpInside);
    b->setTransform(CGAffineTransformMakeRotation(kQuarterTurn));
    b->setMainColor(UIColor::lightGrayColor());
    b->setSecondaryColor(UIColor::darkGrayColor());
    b->setHighlightedMain(UIColor::darkGrayColor());
    b->setHighlightedSecondary(UIColor::blackColor());
    b->setCornerRad(cornerRadius, true, 0.7f);
    b->setTitle(title, UIControlStateNormal);
    viewController_->view()->addSubview(b);
    b->release(); // the view keeps it
    return b;
}

void ZorvikAppDelegate::addAgain() {
    MZGradientButton* help = makeButton(CGRect{{0, 0}, {100, 44}}, CGPoint{22, 429}, 20, 8.0f, "HELP",
                                        &ZorvikAppDelegate::helpAlert, "helpAlert");
    if (help) helpBut_ = help;
}

void ZorvikAppDelegate::removeUIelements() {
    // The reference is not kept past its removal: a second call has nothing to remove.
    MZGradientButton* help = helpBut_;
    helpBut_ = nullptr;
    if (!help) return;
    UIView::beginAnimations("", nullptr);
    UIView::setAnimationDuration(1.0);
    help->removeFromSuperview();
    UIView::commitAnimations();
}

void ZorvikAppDelegate::helpAlert(CCObject*) {
    UIAlertView* alert = ccCreate<UIAlertView>([this](UIAlertView* a) {
        return a->initWithTitle("Help",
                                "Once you begin playing, tap to jump, avoid the spinning saws so you don't lag behind "
                                "and get eaten by the dog, but collect everything else. You can tilt the device to "
                                "change the speed of your cat.",
                                this, nullptr, {"Okay", "Upgrade App"});
    });
    alert->show();
}

void ZorvikAppDelegate::alertViewDidDismissWithButtonIndex(UIAlertView*, int buttonIndex) {
    if (buttonIndex != 0) newb();
}

void ZorvikAppDelegate::newb(CCObject*) {
    std::string url = storeURL();
    if (!url.empty()) UIApplication::sharedApplication()->openURL(url);
}

CCScene* ZorvikAppDelegate::mainScene() {
    if (!mainScene_) mainScene_ = CCPtr<CCScene>::adopt(ccNew<SplashLayer>([](SplashLayer* s) { return s->init(); }));
    return mainScene_;
}

void ZorvikAppDelegate::applicationWillResignActive(UIApplication*) { CCDirector::sharedDirector()->pause(); }
void ZorvikAppDelegate::applicationDidBecomeActive(UIApplication*) { CCDirector::sharedDirector()->resume(); }
void ZorvikAppDelegate::applicationDidReceiveMemoryWarning(UIApplication*) {
    CCDirector::sharedDirector()->purgeCachedData();
}
void ZorvikAppDelegate::applicationWillTerminate(UIApplication*) {
    CCDirector::sharedDirector()->end();
    stopNetworkServices();
}

void ZorvikAppDelegate::startHouseServer() {
    if (AppConfiguration::isOffline() || houseServer_) return;
    std::string folder = NSBundle::mainBundle()->resourcePath() + "/house";
    auto server = std::make_unique<HouseServer>();
    if (!server->start(folder)) return;
    AppConfiguration::setHouseAddress(server->address());
    houseServer_ = std::move(server);
}

void ZorvikAppDelegate::stopNetworkServices() {
    // Fetches under way end first (they may be talking to the house server), then the server.
    ccCancelBackgroundWork();
    ccWaitForBackgroundWork();
    if (houseServer_) {
        AppConfiguration::setHouseAddress("");
        houseServer_->stop();
        houseServer_.reset();
    }
}

std::string ZorvikAppDelegate::hashedUUIDandAppSecret() {
    const std::string& uuid = UIDevice::currentDevice()->uniqueIdentifier();
    if (uuid.empty()) return {};
    long secret = std::strtol(AppConfiguration::stringForKey("AppSecret").c_str(), nullptr, 10);
    std::string text = uuid + std::to_string(static_cast<int>(secret));
    unsigned char digest[CC_MD5_DIGEST_LENGTH];
    if (!CC_MD5(text.data(), static_cast<CC_LONG>(text.size()), digest)) return {};
    static const char kHex[] = "0123456789ABCDEF";
    std::string key;
    for (unsigned char b : digest) {
        key += kHex[b >> 4];
        key += kHex[b & 0xF];
    }
    return key;
}

namespace {
// Query values keep only unreserved characters as they are.
std::string percentEncoded(const std::string& value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}
} // namespace

void ZorvikAppDelegate::reportAppInstalledToAppReedem() {
    CCAutoreleaseScope pool;
    auto documents = NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
    if (documents.empty()) {
        CCLog("Install report: no documents directory to keep its marker in");
        return;
    }
    std::string marker = documents[0] + "/appredeem_app_installed";
    if (ccFileExists(marker)) return;

    std::string service = AppConfiguration::stringForKey("RewardURL");
    if (service.empty()) {
        CCLog("Install report: no reward service (%s)", AppConfiguration::isOffline() ? "offline" : "not configured");
        return;
    }
    // Without an identifier there is nothing to report, and no key to prove it.
    const std::string uuid = UIDevice::currentDevice()->uniqueIdentifier();
    std::string key = hashedUUIDandAppSecret();
    if (uuid.empty() || key.empty()) {
        CCLog("Install report: no device identifier; not sent");
        CCTrace::event("install-report", {{"status", 0LL}, {"delivered", false}, {"reason", "no identifier"}});
        return;
    }
    std::string address = service + "redeem.php?uuid=" + percentEncoded(uuid) +
                          "&appid=" + percentEncoded(AppConfiguration::stringForKey("RewardAppID")) + "&k=" + key;

    NSHTTPURLResponse* response = nullptr;
    NSError* error = nullptr;
    NSData* body = nullptr;
    if (NSURL* url = NSURL::URLWithString(address))
        body = NSURLConnection::sendSynchronousRequest(NSURLRequest::requestWithURL(url), &response, &error);
    else
        CCLog("Install report: \"%s\" is not an address", address.c_str());
    long status = response ? response->statusCode() : 0;
    bool delivered = !error && status == 200 && body && body->length() > 0;
    if (delivered && !NSData::dataWithBytes(nullptr, 0)->writeToFile(marker)) {
        CCLog("Install report: delivered, but the marker %s cannot be written", marker.c_str());
    }
    if (!delivered)
        CCLog("Install report: not delivered (%s)",
              error ? error->localizedDescription().c_str() : ("status " + std::to_string(status)).c_str());
    CCTrace::event("install-report", {{"status", static_cast<long long>(status)}, {"delivered", delivered}});
}
void ZorvikAppDelegate::applicationSignificantTimeChange(UIApplication*) {
    CCDirector::sharedDirector()->setNextDeltaTimeZero(true);
}
