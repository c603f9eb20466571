#pragma once
// The application delegate: builds the window and the GL view, configures the director, runs
// the first title scene, puts the platform buttons over the GL view, and forwards the
// application's lifecycle to the director. It also owns the help alert and the link to the
// store page of the full edition.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "UIAlertViewDelegate.h"
#include "UIApplicationDelegate.h"

class CCScene;
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

private:
    MZGradientButton* makeButton(CGRect frame, CGPoint center, float fontSize, float cornerRadius,
                                 const char* title, void (ZorvikAppDelegate::*action)(CCObject*), const char* name);

    CCPtr<UIWindow> window_;
    CCPtr<CCScene> mainScene_;
    CCPtr<UIViewController> viewController_;
    MZGradientButton* button_ = nullptr;  // the view controller's view keeps it
    MZGradientButton* helpBut_ = nullptr; // likewise, while a title scene is up
    std::string missingResource_;
};
