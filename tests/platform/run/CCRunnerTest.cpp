#include <gtest/gtest.h>

#include <atomic>
#include <dlfcn.h>
#include <chrono>
#include <thread>

#include <string>
#include <vector>

#include "CADisplayLink.h"
#include "CCAutoreleasePool.h"
#include "CCBackgroundWork.h"
#include "CCRunner.h"
#include "CCTrace.h"
#include "NSSet.h"
#include "UIAccelerometer.h"
#include "UIAlertView.h"
#include "UIAlertViewDelegate.h"
#include "UIApplication.h"
#include "UIApplicationDelegate.h"
#include "UIButton.h"
#include "UIColor.h"
#include "UITouch.h"
#include "UIWindow.h"
#include "support/DeterministicClock.h"
#include "support/HeadlessGL.h"

// Frames read back from GL: glReadPixels as seen by this program, which forwards to the library.
namespace {
int readBacks = 0;
}
extern "C" GL_API void GL_APIENTRY glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                                                void* pixels) {
    static auto real = reinterpret_cast<void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*)>(
        dlsym(RTLD_NEXT, "glReadPixels"));
    ++readBacks;
    real(x, y, w, h, format, type, pixels);
}

namespace {

// A full-screen view that notes where fingers begin, in its own coordinates.
struct Pad : UIView {
    void touchesBegan(NSSet* touches, UIEvent*) override {
        auto* t = static_cast<UITouch*>(touches->anyObject());
        begins.push_back(t->locationInView(this));
    }
    std::vector<CGPoint> begins;
};

// A small application: a green screen drawn every refresh, a pad, a button and an alert.
struct App : CCObject, UIApplicationDelegate, UIAlertViewDelegate, UIAccelerometerDelegate {
    void applicationDidFinishLaunching(UIApplication*) override {
        gl.makeFramebuffer(320, 480);
        window = UIWindow::windowWithFrame({{0, 0}, {320, 480}});
        pad = new Pad;
        pad->initWithFrame({{0, 0}, {320, 480}});
        window->addSubview(pad);
        pad->release();
        UIButton* help = UIButton::buttonWithType(UIButtonTypeRoundedRect);
        help->setFrame({{200, 400}, {100, 44}});
        help->setTitle("HELP", UIControlStateNormal);
        help->addTarget(this, control_selector(App::helpPressed), UIControlEventTouchUpInside);
        window->addSubview(help);
        window->makeKeyAndVisible();
        link = CADisplayLink::displayLinkWithTarget(this, ccSelector<void()>(&App::draw, "draw"));
        link->addToRunLoop(NSRunLoop::mainRunLoop());
        UIAccelerometer::sharedAccelerometer()->setDelegate(this);
    }
    void applicationWillTerminate(UIApplication*) override {
        terminated = true;
        link->invalidate();
        UIAccelerometer::sharedAccelerometer()->setDelegate(nullptr);
    }
    void draw() {
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES);
    }
    void helpPressed(CCObject*) {
        UIAlertView* alert = ccCreate<UIAlertView>([&](UIAlertView* a) {
            return a->initWithTitle("Help", "Tap to jump.", this, nullptr, {"Okay", "Upgrade App"});
        });
        alert->show();
    }
    void alertViewDidDismissWithButtonIndex(UIAlertView*, int index) override { chosen.push_back(index); }
    void accelerometer(UIAccelerometer*, UIAcceleration* a) override { tilts.push_back(a->y()); }

    HeadlessGL gl;
    CCPtr<UIWindow> window;
    Pad* pad = nullptr;
    CCPtr<CADisplayLink> link;
    std::vector<int> chosen;
    std::vector<double> tilts;
    bool terminated = false;
};

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePool::push();
        CCTrace::openSink([this](const std::string& l) { trace.push_back(l); });
    }
    void TearDown() override {
        CCTrace::close();
        app = nullptr;
        UIApplication::purgeSharedApplication();
        CCAutoreleasePool::pop();
    }
    CCRunResult run(const std::string& text, CCRunOptions options) {
        CCRunner runner(options);
        std::string error;
        auto script = CCRunScript::parse(text, "test", &error);
        EXPECT_TRUE(script) << error;
        if (script) runner.setScript(*script);
        // The device held in landscape: scene (x, y) is view (y, x).
        runner.setSceneToView([](CGPoint p) { return CGPointMake(p.y, p.x); });
        app = CCPtr<App>::adopt(new App);
        CCRunResult result = runner.run(app.get());
        screen = runner.screen();
        return result;
    }
    int count(const std::string& needle) const {
        int n = 0;
        for (const auto& l : trace) n += l.find(needle) != std::string::npos;
        return n;
    }

    DeterministicClock clock{0};
    std::vector<std::string> trace;
    CCPtr<App> app;
    CCPixelImage screen;
};

TEST_F(RunnerTest, PlaysTapsButtonsAlertsAndTiltBeforeTheirFramesAndStopsAtTheLimit) {
    CCRunOptions options;
    options.headless = true;
    options.frameLimit = 20;
    options.seed = 7;
    CCRunResult result = run("2 tap 240 100\n"
                             "3 tap view 12 34\n"
                             "5 button \"HELP\"\n"
                             "6 tap 1 1      # the alert takes this finger\n"
                             "8 alert \"Upgrade App\"\n"
                             "9 alert 0      # none is shown any more\n"
                             "10 tilt 0 0.5 -0.8\n",
                             options);
    EXPECT_EQ(result.frames, 20u);
    EXPECT_EQ(result.reason, "frames");
    EXPECT_EQ(result.missed, 1u);
    EXPECT_TRUE(app->terminated);
    ASSERT_EQ(app->pad->begins.size(), 2u);
    EXPECT_EQ(app->pad->begins[0], CGPointMake(100, 240));
    EXPECT_EQ(app->pad->begins[1], CGPointMake(12, 34));
    EXPECT_EQ(app->chosen, (std::vector<int>{1}));
    ASSERT_FALSE(app->tilts.empty()); // every 0.1 s: once in the 10 frames after the tilt
    EXPECT_DOUBLE_EQ(app->tilts.back(), 0.5);

    EXPECT_EQ(count("\"event\":\"run-start\""), 1);
    EXPECT_EQ(count("\"seed\":7"), 1);
    EXPECT_EQ(count("{\"frame\":5,") && count("\"event\":\"alert-shown\",\"title\":\"Help\""), 1);
    EXPECT_EQ(count("{\"frame\":8,\"time\":0.116669,\"event\":\"alert-dismissed\",\"title\":\"Help\",\"button\":1}"), 1);
    EXPECT_EQ(count("\"event\":\"script-missed\",\"line\":6"), 1);
    EXPECT_EQ(count("\"event\":\"run-end\",\"frames\":20,\"reason\":\"frames\",\"missed\":1"), 1);
    EXPECT_EQ(count("{\"frame\":2,\"time\":0.016667,\"event\":\"input\",\"kind\":\"touch\""), 2); // down and up
}

TEST_F(RunnerTest, ScreenshotsShowTheViewsOverTheFrameUprightAndQuitEndsTheRun) {
    std::string path = std::string(ZORVIK_BINARY_DIR) + "/runner-shot.png";
    std::remove(path.c_str());
    UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationLandscapeRight);
    CCRunOptions options;
    options.headless = true;
    options.screenshots.emplace_back(40, path); // never reached
    CCRunResult result = run("3 screenshot " + path + "\n4 quit\n", options);
    EXPECT_EQ(result.reason, "quit");
    EXPECT_EQ(result.frames, 3u);
    EXPECT_EQ(result.failedScreenshots, 1u);
    EXPECT_EQ(count("\"event\":\"screenshot\""), 1);
    EXPECT_EQ(count("\"event\":\"screenshot-failed\""), 1);
    ASSERT_EQ(screen.width, 480);
    ASSERT_EQ(screen.height, 320);
    EXPECT_EQ(screen.pixel(10, 10), 0x00FF00FFu); // the green frame
    // The HELP button's white face (portrait x 200..300, y 400..444) lies along the right edge.
    EXPECT_EQ(screen.pixel(420, 320 - 1 - 250), 0xFFFFFFFFu);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
}

TEST_F(RunnerTest, OnlyTheFramesScreenshottedAreReadBack) {
    std::string path = std::string(ZORVIK_BINARY_DIR) + "/runner-only-shot.png";
    CCRunOptions options;
    options.headless = true;
    options.frameLimit = 30;
    options.screenshots.emplace_back(12, path);
    readBacks = 0;
    CCRunResult result = run("20 screenshot " + path + "\n", options);
    EXPECT_EQ(result.frames, 30u);
    EXPECT_EQ(result.failedScreenshots, 0u);
    EXPECT_EQ(readBacks, 2);
    EXPECT_FALSE(ccSurfaceBackend()->keepsLastFrame());
    EXPECT_EQ(screen.pixel(10, 10), 0x00FF00FFu); // the last one kept: frame 20
    std::remove(path.c_str());
}

TEST_F(RunnerTest, ACallerThatKeepsFramesGetsEveryFrameReadBack) {
    // A caller that wants every frame says so; the run leaves that setting as it was.
    ccSurfaceBackend()->setKeepsLastFrame(true);
    CCRunOptions options;
    options.headless = true;
    options.frameLimit = 5;
    readBacks = 0;
    CCRunResult all = run("", options);
    EXPECT_EQ(all.frames, 5u);
    EXPECT_EQ(readBacks, 5);
    EXPECT_TRUE(ccSurfaceBackend()->keepsLastFrame());
    ccSurfaceBackend()->setKeepsLastFrame(false);
}

TEST_F(RunnerTest, RunRestoresTheApplicationAndEndsItsWorkerThreads) {
    UIApplication* shared = UIApplication::sharedApplication();
    shared->setHeadless(false);
    shared->setDelegate(nullptr);
    CCRunOptions options;
    options.headless = true;
    options.frameLimit = 60;
    CCRunner runner(options);
    app = CCPtr<App>::adopt(new App);
    // Two pieces of work of very different lengths started a frame apart, and one still running
    // when the run ends.
    std::vector<uint64_t> started, delivered;
    std::atomic<bool> sawCancel{false}, running{false};
    bool lateDelivered = false;
    runner.setFrameHook([&](uint64_t frame) {
        if (frame == 3 || frame == 4) {
            started.push_back(frame);
            const int ms = frame == 3 ? 150 : 1;
            ccPerformInBackground<int>(
                [ms] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                    return ms;
                },
                [&](int) { delivered.push_back(runner.frame()); });
        }
        if (frame == 50) {
            ccPerformInBackground<int>(
                [&] {
                    running = true;
                    while (!ccIsBackgroundWorkCancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    sawCancel = true;
                    return 0;
                },
                [&](int) { lateDelivered = true; });
            // Frames take no time: the worker is let start before the run can end.
            for (int i = 0; i < 5000 && !running; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    CCRunResult result = runner.run(app.get());
    EXPECT_EQ(result.frames, 60u);
    ASSERT_EQ(delivered.size(), 2u);
    // The same number of frames after its start for both, whatever the worker took.
    EXPECT_EQ(delivered[0] - started[0], delivered[1] - started[1]);
    EXPECT_EQ(delivered[0] - started[0], 29u);
    EXPECT_TRUE(sawCancel);
    EXPECT_FALSE(lateDelivered);
    EXPECT_EQ(CCBackgroundWork::pendingCount(), 0u);

    EXPECT_EQ(shared->delegate(), nullptr);
    EXPECT_FALSE(shared->isHeadless());
    EXPECT_TRUE(CCClock::isDeterministic()); // as it was before the run
}
} // namespace
