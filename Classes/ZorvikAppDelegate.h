#pragma once
// The application delegate: builds the window and the GL view, configures the director, runs
// the first title scene, puts the platform buttons over the GL view, and forwards the
// application's lifecycle to the director. It also owns the help alert and the link to the
// store page of the full edition.
#include <memory>
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "UIAlertViewDelegate.h"
#include "UIApplicationDelegate.h"

class CCScene;
class HouseServer;
class MZGradientButton;
class UIViewController;
class UIWindow;

class ZorvikAppDelegate : public CCObject, public UIApplicationDelegate, public UIAlertViewDelegate {
public:
    ZorvikAppDelegate();
    ~ZorvikAppDelegate() override;

    void applicationDidFinishLaunching(UIApplication* application) override;
    void applicationWillResignActive(UIApplication* application) override;
    void applicationDidBecomeActive(UIApplication* application) override;
    void applicationDidReceiveMemoryWarning(UIApplication* application) override;
    void applicationWillTerminate(UIApplication* application) override;
    void applicationSignificantTimeChange(UIApplication* application) override;

    UIWindow* window() const { return window_; }
    void setWindow(UIWindow* window);
    UIViewController* viewController() const { return viewController_; }

    // The first title scene, made on first use and kept for the life of the process.
    CCScene* mainScene();
    // Shows the HELP button (nothing before the view controller exists).
    void addAgain();
    // Takes the HELP button away with a one-second view animation.
    void removeUIelements();
    void helpAlert(CCObject* sender = nullptr);
    void alertViewDidDismissWithButtonIndex(UIAlertView* alertView, int buttonIndex) override;
    // Opens the store page of the full edition.
    void newb(CCObject* sender = nullptr);

    MZGradientButton* purchaseButton() const { return button_; }
    MZGradientButton* helpButton() const { return helpBut_; }

    // The store page address: ZORVIK_STORE_URL, else "StoreURL" of Resources/Configuration.plist.
    static std::string storeURL();

    // A picture or font the game cannot do without did not load (the loader has said why):
    // says so once, naming the file, and ends the run after the current frame. The program
    // then exits with 1. Later calls add nothing.
    void cannotPlayWithout(const std::string& file);
    const std::string& missingResource() const { return missingResource_; }
    // The same through the running application's delegate; without this game's delegate (the
    // layers on their own) only the line is logged.
    static void gameNeeds(const std::string& file);

    // Tells the reward service, once per installation, that the application is installed:
    // a synchronous GET of "redeem.php?uuid=..&appid=..&k=.." below the reward address. Only a
    // 200 answer with a body leaves the marker file "appredeem_app_installed" in the documents
    // directory; until then every call tries again, afterwards none sends anything.
    void reportAppInstalledToAppReedem();
    // The report's key: MD5 of the device identifier followed by the application secret's
    // digits, as 32 upper-case hexadecimal digits; empty without an identifier.
    std::string hashedUUIDandAppSecret();

    // The house server, started at launch unless offline (nullptr when not running).
    HouseServer* houseServer() const { return houseServer_.get(); }

private:
    MZGradientButton* makeButton(CGRect frame, CGPoint center, float fontSize, float cornerRadius,
                                 const char* title, void (ZorvikAppDelegate::*action)(CCObject*), const char* name);

    void startHouseServer();
    void stopNetworkServices();

    std::unique_ptr<HouseServer> houseServer_;
    CCPtr<UIWindow> window_;
    CCPtr<CCScene> mainScene_;
    CCPtr<UIViewController> viewController_;
    MZGradientButton* button_ = nullptr;  // the view controller's view keeps it
    MZGradientButton* helpBut_ = nullptr; // likewise, while a title scene is up
    std::string missingResource_;
};
