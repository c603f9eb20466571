// An application on the engine run by the headless runner with a script: touches reach a
// targeted and a standard layer in order at the right scene points, an alert is answered,
// and a fade between two coloured scenes is screenshotted before, half way and after.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCColorLayer.h"
#include "CCDirectorIOS.h"
#include "CCRunner.h"
#include "CCTouchDispatcher.h"
#include "CCTrace.h"
#include "CCTransitionFade.h"
#include "CCApplicationInput.h"
#include "CCWindowSurface.h"
#include "CGImage.h"
#include "EAGLView.h"
#include "ImageCodecs.h"
#include "NSData.h"
#include "NSSet.h"
#include "UIAlertView.h"
#include "UIAlertViewDelegate.h"
#include "UIApplication.h"
#include "UIApplicationDelegate.h"
#include "UITouch.h"
#include "UIWindow.h"
#include "support/DeterministicClock.h"
#include "support/VirtualDisplay.h"

namespace {

using Log = std::vector<std::string>;

std::string point(CGPoint p) { return std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y)); }

// A full-screen colour with a targeted and a standard touch layer over it.
struct TouchLayer : CCLayer {
    static TouchLayer* make(Log* log, std::string name, bool targeted) {
        return ccCreate<TouchLayer>([&](TouchLayer* l) {
            l->log = log;
            l->name = std::move(name);
            l->targeted = targeted;
            if (!l->init()) return false;
            l->setIsTouchEnabled(true);
            return true;
        });
    }
    void registerWithTouchDispatcher() override {
        if (targeted)
            CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, 0, false);
        else
            CCLayer::registerWithTouchDispatcher();
    }
    bool ccTouchBegan(UITouch* touch, UIEvent*) override {
        log->push_back(name + " began " + point(convertTouchToNodeSpace(touch)));
        if (onTap) onTap();
        return true;
    }
    void ccTouchesBegan(NSSet* touches, UIEvent*) override {
        auto* touch = static_cast<UITouch*>(touches->anyObject());
        log->push_back(name + " touches " + point(convertTouchToNodeSpace(touch)));
    }
    Log* log = nullptr;
    std::string name;
    bool targeted = false;
    std::function<void()> onTap;
};

CCScene* colourScene(Log* log, const std::string& name, ccColor4B colour, TouchLayer** targetedOut = nullptr) {
    CCScene* scene = CCScene::node();
    scene->addChild(CCColorLayer::layerWithColor(colour));
    TouchLayer* targeted = TouchLayer::make(log, name + "-targeted", true);
    scene->addChild(targeted);
    scene->addChild(TouchLayer::make(log, name + "-standard", false));
    if (targetedOut) *targetedOut = targeted;
    return scene;
}

struct SceneApp : CCObject, UIApplicationDelegate, UIAlertViewDelegate {
    void applicationDidFinishLaunching(UIApplication*) override {
        window = UIWindow::windowWithFrame(CGRectMake(0, 0, 320, 480));
        CCDirector::setDirectorType(kCCDirectorTypeDisplayLink);
        CCDirectorIOS* director = CCDirectorIOS::sharedDirector();
        EAGLView* view = EAGLView::viewWithFrame(window->bounds(), kEAGLColorFormatRGBA8, 0, false);
        director->setOpenGLView(view);
        window->addSubview(view);
        window->makeKeyAndVisible();
        director->setDeviceOrientation(CCDeviceOrientationLandscapeLeft);
        TouchLayer* targeted = nullptr;
        director->runWithScene(colourScene(&log, "red", ccc4(255, 0, 0, 255), &targeted));
        // The first tap asks a question.
        targeted->onTap = [this, targeted] {
            targeted->onTap = nullptr;
            UIAlertView* alert = ccCreate<UIAlertView>(
                [&](UIAlertView* a) { return a->initWithTitle("Question", "Go on?", this, "No", {"Yes"}); });
            alert->show();
        };
    }
    void applicationWillTerminate(UIApplication*) override {
        CCDirector::sharedDirector()->end();
        CCDirector::purgeSharedDirector();
    }
    void alertViewDidDismissWithButtonIndex(UIAlertView*, int index) override {
        log.push_back("alert " + std::to_string(index));
    }
    void startFade() {
        CCScene* blue = colourScene(&log, "blue", ccc4(0, 0, 255, 255));
        CCDirector::sharedDirector()->replaceScene(CCTransitionFade::transitionWithDuration(1, blue));
    }

    CCPtr<UIWindow> window;
    Log log;
};

// The screenshot's pixel at (x, y) from the top-left, as 0xRRGGBBAA.
uint32_t pngPixel(const std::string& path, unsigned x, unsigned y) {
    NSData* data = NSData::dataWithContentsOfFile(path);
    if (!data) return 0xDEADBEEF;
    CGImage* image = ccDecodePNG(data->bytes(), data->length());
    if (!image || x >= image->width() || y >= image->height()) return 0xDEADBEEF;
    std::vector<uint8_t> row(image->width() * 4);
    image->readRowStraight(y, row.data());
    const uint8_t* p = &row[x * 4];
    return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

struct SceneRun {
    CCRunResult result;
    Log log;
    Log scenes; // "frame scene" of the trace's scene events
};

// Runs the scripted scene; screenshots go to <prefix>start.png, half.png, after.png.
SceneRun runScene(bool headless, const std::string& prefix) {
    CCAutoreleaseScope pool;
    DeterministicClock clock{0};
    CCRunOptions options;
    options.headless = headless;
    options.deterministic = true;
    options.frameLimit = 110;
    // The fade starts after frame 30: its first frame shows the red scene; 31 frames on it is
    // black; long after, blue.
    options.screenshots = {{31, prefix + "start.png"}, {62, prefix + "half.png"}, {105, prefix + "after.png"}};
    CCRunner runner(options);
    std::string error;
    auto script = CCRunScript::parse("10 tap 100 200\n"
                                     "15 alert \"Yes\"\n"
                                     "20 tap view 40 300\n"
                                     "45 tap 240 160   # during the fade: nobody hears it\n"
                                     "100 tap 50 60\n",
                                     "scene", &error);
    EXPECT_TRUE(script) << error;
    if (script) runner.setScript(*script);
    runner.setSceneToView([](CGPoint p) { return CCDirector::sharedDirector()->convertToUI(p); });
    auto app = CCPtr<SceneApp>::adopt(new SceneApp);
    runner.setFrameHook([&](uint64_t frame) {
        if (frame == 30) app->startFade();
    });
    SceneRun run;
    CCTrace::openSink([&](const std::string& line) {
        if (line.find("\"event\":\"scene\"") == std::string::npos) return;
        std::string frame = line.substr(9, line.find(',') - 9);
        std::string scene = line.substr(line.find("\"scene\":\"") + 9);
        run.scenes.push_back(frame + " " + scene.substr(0, scene.find('"')));
    });
    run.result = runner.run(app.get());
    CCTrace::close();
    run.log = app->log;
    app.reset();
    UIApplication::purgeSharedApplication();
    return run;
}

const Log kExpectedLog{"red-targeted began 100,200", "red-standard touches 100,200", "alert 1",
                       "red-targeted began 300,40",  "red-standard touches 300,40",  "blue-targeted began 50,60",
                       "blue-standard touches 50,60"};

TEST(ScriptedSceneTest, TouchesAlertAndFadeScreenshots) {
    std::string prefix = std::string(ZORVIK_BINARY_DIR) + "/scripted-scene-";
    SceneRun run = runScene(true, prefix);
    EXPECT_EQ(run.result.frames, 110u);
    EXPECT_EQ(run.result.failedScreenshots, 0u);
    EXPECT_EQ(run.log, kExpectedLog);
    // The fade runs from frame 31 and hands over 61 frames later.
    EXPECT_EQ(run.scenes, (Log{"1 CCScene", "31 CCTransitionFade", "92 CCScene"}));

    EXPECT_EQ(pngPixel(prefix + "start.png", 240, 160), 0xFF0000FFu);
    EXPECT_LE(pngPixel(prefix + "half.png", 240, 160), 0x000002FFu);
    EXPECT_LE(pngPixel(prefix + "half.png", 10, 300), 0x000002FFu);
    EXPECT_EQ(pngPixel(prefix + "after.png", 240, 160), 0x0000FFFFu);
}

// The window backend under Xvfb draws the same frames as headless.
TEST(ScriptedSceneTest, WindowUnderXvfbMatchesHeadless) {
    std::string xvfb = findXvfb();
    if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
    std::string headlessPrefix = std::string(ZORVIK_BINARY_DIR) + "/scripted-headless-";
    std::string windowPrefix = std::string(ZORVIK_BINARY_DIR) + "/scripted-window-";
    SceneRun headless = runScene(true, headlessPrefix);

    VirtualDisplay display;
    ASSERT_TRUE(display.start(xvfb));
    ASSERT_STREQ(ccChooseSurfaceBackend(false, "Zorvik"), "window");
    SceneRun window = runScene(false, windowPrefix);
    ccSetSurfaceBackend(ccMakeHeadlessSurfaceBackend());
    unsetenv("DISPLAY");

    EXPECT_EQ(window.log, headless.log);
    EXPECT_EQ(window.result.frames, headless.result.frames);
    for (const char* shot : {"start.png", "half.png", "after.png"}) {
        NSData* a = NSData::dataWithContentsOfFile(headlessPrefix + shot);
        NSData* b = NSData::dataWithContentsOfFile(windowPrefix + shot);
        ASSERT_TRUE(a && b) << shot;
        EXPECT_EQ(a->length(), b->length()) << shot;
        EXPECT_EQ(std::memcmp(a->bytes(), b->bytes(), std::min(a->length(), b->length())), 0) << shot;
    }
}

} // namespace
