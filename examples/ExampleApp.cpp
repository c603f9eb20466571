#include "ExampleApp.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "CCApplicationInput.h"
#include "CCAutoreleasePool.h"
#include "CCDirectorIOS.h"
#include "CCLog.h"
#include "CCRunOptions.h"
#include "CCRunner.h"
#include "CCScene.h"
#include "CCSpriteFrameCache.h"
#include "CCSurfaceBackend.h"
#include "CCTexture2D.h"
#include "CCWindowSurface.h"
#include "EAGLView.h"
#include "NSBundle.h"
#include "UIApplication.h"
#include "UIScreen.h"
#include "UIWindow.h"

ExampleApp::ExampleApp(SceneMaker makeScene) : makeScene_(std::move(makeScene)) {}

ExampleApp::~ExampleApp() = default;

void ExampleApp::applicationDidFinishLaunching(UIApplication*) {
    window_ = CCPtr<UIWindow>::adopt(ccNew<UIWindow>([](UIWindow* w) { return w->initWithFrame(UIScreen::mainScreen()->bounds()); }));
    if (!CCDirector::setDirectorType(kCCDirectorTypeDisplayLink)) CCDirector::setDirectorType(kCCDirectorTypeNSTimer);
    CCDirectorIOS* director = CCDirectorIOS::sharedDirector();
    director->setAnimationInterval(1.0 / 60);
    EAGLView* view = EAGLView::viewWithFrame(window_->bounds(), kEAGLColorFormatRGBA8, 0, false);
    view->setMultipleTouchEnabled(true);
    director->setOpenGLView(view);
    window_->addSubview(view);
    window_->makeKeyAndVisible();
    // From here on the scene is 480 x 320 points, origin bottom-left.
    director->setDeviceOrientation(CCDeviceOrientationLandscapeLeft);
    CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);

    CCScene* scene = makeScene_ ? makeScene_() : nullptr;
    if (!scene) {
        CCLog("The example's scene cannot be built: are its resources missing from \"%s\"?",
              NSBundle::mainBundle()->resourcePath().c_str());
        UIApplication::sharedApplication()->sendWillTerminate();
        return;
    }
    director->runWithScene(scene);
}

void ExampleApp::applicationWillResignActive(UIApplication*) { CCDirector::sharedDirector()->pause(); }
void ExampleApp::applicationDidBecomeActive(UIApplication*) { CCDirector::sharedDirector()->resume(); }
void ExampleApp::applicationWillTerminate(UIApplication*) { CCDirector::sharedDirector()->end(); }

bool ExampleApp::addSpriteFrames(const char* plist) {
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    const unsigned before = cache->count();
    cache->addSpriteFramesWithFile(plist);
    return cache->count() > before;
}

int ExampleApp::run(int argc, char** argv, const char* name, SceneMaker makeScene) {
    CCAutoreleaseScope pool;
    CCRunOptions options;
    std::string error;
    if (!CCRunOptions::parse(argc - 1, argv + 1, options, &error)) {
        std::fprintf(stderr, "%s: %s\n%s", name, error.c_str(), CCRunOptions::usage());
        return 2;
    }
    if (options.help) {
        std::printf("usage: %s [options]\n%s", name, CCRunOptions::usage());
        return 0;
    }
    // The examples' pictures, fonts and property lists, unless ZORVIK_RESOURCES names others.
    const char* resources = std::getenv("ZORVIK_RESOURCES");
    if (!resources || !*resources) NSBundle::mainBundle()->setResourcePath(ZORVIK_EXAMPLE_RESOURCES);

    if (std::string(ccChooseSurfaceBackend(options.headless, name)) == "headless") options.headless = true;
    CCRunner runner(options);
    if (!runner.prepare(&error)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        return 1;
    }
    runner.setSceneToView([](CGPoint p) { return CCDirector::sharedDirector()->convertToUI(p); });
    if (!options.headless) {
        auto* window = static_cast<CCWindowSurface*>(ccSurfaceBackend());
        window->setKeyHandler([](CCWindowKey key) {
            if (key != CCWindowKey::Escape) return false;
            UIApplication::sharedApplication()->sendWillTerminate();
            return true;
        });
    }

    auto* app = new ExampleApp(std::move(makeScene));
    CCRunResult result = runner.run(app);
    UIApplication::sharedApplication()->setDelegate(nullptr);
    app->release();
    if (result.reason == "terminated" && result.frames == 0) return 1;
    return result.failedScreenshots ? 1 : 0;
}
