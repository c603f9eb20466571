#pragma once
// Start-up shared by the example programs: the window (or a headless run) with the runner's
// switches, a director showing a 480 x 320 landscape scene, the examples' own resource folder,
// and the example's first scene. An example's main is one call:
//
//     int main(int argc, char** argv) {
//         return ExampleApp::run(argc, argv, "hello", [] {
//             CCScene* scene = CCScene::node();
//             ... add nodes ...
//             return scene;
//         });
//     }
#include <functional>

#include "CCObject.h"
#include "CCPtr.h"
#include "UIApplicationDelegate.h"

class CCScene;
class UIWindow;

class ExampleApp : public CCObject, public UIApplicationDelegate {
public:
    // Builds the first scene once the director is ready; nullptr ends the run (resources missing).
    using SceneMaker = std::function<CCScene*()>;

    // Parses the options (--help lists them), runs the example until its limit, a scripted quit,
    // Escape or the window closing, and gives the process exit status.
    static int run(int argc, char** argv, const char* name, SceneMaker makeScene);
    // Names the frames of a sprite sheet's frame list for spriteWithSpriteFrameName; false when
    // the list gives none (a sprite made from an unknown name is a failed assertion).
    static bool addSpriteFrames(const char* plist);

    explicit ExampleApp(SceneMaker makeScene);
    ~ExampleApp() override;

    void applicationDidFinishLaunching(UIApplication* application) override;
    void applicationWillResignActive(UIApplication* application) override;
    void applicationDidBecomeActive(UIApplication* application) override;
    void applicationWillTerminate(UIApplication* application) override;

private:
    SceneMaker makeScene_;
    CCPtr<UIWindow> window_;
};
