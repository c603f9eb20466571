#include "ZorvikAppDelegate.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "CAEAGLLayer.h"
#include "CCDirectorIOS.h"
#include "CCLog.h"
#include "CAGradientLayer.h"
#include "CCTexture2D.h"
#include "CCTrace.h"
#include "EAGLView.h"
#include "MZGradientButton.h"
#include "NSBundle.h"
#include "PropertyList.h"
#include "SplashLayer.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIColor.h"
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
    viewController_ = nullptr;
    window_ = nullptr;
}

void ZorvikAppDelegate::setWindow(UIWindow* window) { window_ = window; }

std::string ZorvikAppDelegate::storeURL() {
    if (const char* env = std::getenv("ZORVIK_STORE_URL"); env && *env) return env;
    std::string path = NSBundle::mainBundle()->pathForResource("Configuration", "plist", "");
    std::string url;
    if (!path.empty()) url = PropertyList::dictionaryWithContentsOfFile(path).stringForKey("StoreURL");
    if (url.empty()) CCLog("No store page configured (StoreURL in Configuration.plist)");
    return url;
}

void ZorvikAppDelegate::applicationDidFinishLaunching(UIApplication*) {
    // The game's random source.
    srandom(static_cast<unsigned>(time(nullptr)));
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
        CCLog("The title scene cannot be built: are the resources missing from \"%s\"?",
              NSBundle::mainBundle()->resourcePath().c_str());
        UIApplication::sharedApplication()->sendWillTerminate();
        return;
    }
    director->runWithScene(mainScene());
    // The platform buttons below are added to the view controller's view: the GL view.
    viewController_ = CCPtr<UIViewController>::adopt(ccNew<UIViewController>([](UIViewController* v) { return v->init(); }));
    viewController_->setView(glView);
    // The ad banner strip goes here, centred at (310, 160) and turned a quarter.
    // The purchase button.
    button_ = makeButton(CGRect{{296, 240}, {160, 48}}, CGPoint{296, 400}, 12, 6.0f, "Buy AD-FREE Full Version!",
                         &ZorvikAppDelegate::newb, "newb");
    // The one HELP button of the launch.
    addAgain();
    // The promotion downloader starts here.
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
void ZorvikAppDelegate::applicationWillTerminate(UIApplication*) { CCDirector::sharedDirector()->end(); }
void ZorvikAppDelegate::applicationSignificantTimeChange(UIApplication*) {
    CCDirector::sharedDirector()->setNextDeltaTimeZero(true);
}
