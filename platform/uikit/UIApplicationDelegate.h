#pragma once
// What the application tells its delegate about its life. Every operation is optional.
class UIApplication;

class UIApplicationDelegate {
public:
    virtual ~UIApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching(UIApplication* application) { (void)application; }
    virtual void applicationWillResignActive(UIApplication* application) { (void)application; }
    virtual void applicationDidBecomeActive(UIApplication* application) { (void)application; }
    virtual void applicationDidReceiveMemoryWarning(UIApplication* application) { (void)application; }
    virtual void applicationWillTerminate(UIApplication* application) { (void)application; }
    virtual void applicationSignificantTimeChange(UIApplication* application) { (void)application; }
};
