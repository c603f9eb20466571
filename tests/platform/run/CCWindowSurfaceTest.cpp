#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "CCSurfaceBackend.h"
#include "CCWindowLayout.h"
#include "CCApplicationInput.h"
#include "CCWindowSurface.h"
#include "EAGLContext.h"
#include "NSSet.h"
#include "UIApplicationDelegate.h"
#include "UIColor.h"
#include "UIOverlay.h"
#include "support/UIKitFixture.h"
#include "support/HeadlessGL.h"
#include "support/VirtualDisplay.h"

namespace {

// The same picture every time: GL stripes and a scissored block, with a solid and a
// see-through view over them.
void drawScene() {
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(20, 300, 100, 60); // GL rows from the bottom
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(200, 10, 30, 200);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

// A yellow block over the left half of the viewport, drawn through the matrices: a frame
// drawn with the viewport or matrices of another (the window's) is told by it.
void drawThroughTheViewport() {
    static const GLfloat corners[] = {-1, -1, 0, -1, -1, 1, 0, 1};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glColor4f(1, 1, 0, 1);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

// Window pixels that are not the device pixel the layout puts there (black around the picture).
int windowMismatches(const CCPixelImage& shown, const CCPixelImage& device, int orientation) {
    CCWindowLayout layout = CCWindowLayout::fit(shown.width, shown.height, orientation);
    int different = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            uint32_t want = 0x000000FFu;
            if (layout.containsWindowPoint(float(x), float(y))) {
                CGPoint v = layout.viewPointFromWindow(x + 0.5f, y + 0.5f);
                want = device.pixel(int(v.x), int(v.y));
            }
            if (shown.pixel(x, y) != want && !different++)
                ADD_FAILURE() << "window " << x << "," << y << std::hex << " " << shown.pixel(x, y) << " want " << want;
        }
    return different;
}

struct Finger : UIView {
    void touchesBegan(NSSet* touches, UIEvent*) override {
        began.push_back(static_cast<UITouch*>(touches->anyObject())->locationInView(this));
    }
    void touchesEnded(NSSet*, UIEvent*) override { ++ended; }
    std::vector<CGPoint> began;
    int ended = 0;
};

struct Lifecycle : UIApplicationDelegate {
    void applicationWillResignActive(UIApplication*) override { calls.push_back("resign"); }
    void applicationDidBecomeActive(UIApplication*) override { calls.push_back("active"); }
    void applicationWillTerminate(UIApplication*) override { calls.push_back("terminate"); }
    std::vector<std::string> calls;
};

class WindowSurfaceTest : public UIKitFixture {
protected:
    void TearDown() override {
        ccSetSurfaceBackend(ccMakeHeadlessSurfaceBackend()); // closes the window first
        display.stop();
        UIKitFixture::TearDown();
    }
    // Draws the scene with a fresh context of the current backend and presents it.
    // Draws and presents a frame; `keep`: read it back, as a screenshot frame is.
    CCPixelImage present(bool keep = true) {
        HeadlessGL gl;
        EXPECT_TRUE(gl.ok());
        if (!gl.ok()) return {};
        EXPECT_TRUE(gl.makeFramebuffer(320, 480));
        drawScene();
        const bool kept = ccSurfaceBackend()->keepsLastFrame();
        ccSurfaceBackend()->setKeepsLastFrame(kept || keep);
        EXPECT_TRUE(gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES));
        ccSurfaceBackend()->setKeepsLastFrame(kept);
        return ccSurfaceBackend()->lastFrame();
    }
    // A white block and a translucent veil over the bottom, the screen turned to `orientation`,
    // on a headless backend that lays the views over its frames.
    struct Views {
        UIView* solid;
        UIView* veil;
    };
    Views showViews(UIColor* veilColour, int orientation) {
        UIView* solid = UIView::viewWithFrame({{250, 40}, {50, 70}});
        solid->setBackgroundColor(UIColor::whiteColor());
        window->addSubview(solid);
        UIView* veil = UIView::viewWithFrame({{0, 400}, {320, 40}});
        veil->setBackgroundColor(veilColour);
        window->addSubview(veil);
        app->setStatusBarOrientation(orientation);
        ccSetSurfaceBackend(ccMakeHeadlessSurfaceBackend());
        ccSurfaceBackend()->setOverlay(std::make_unique<UIOverlay>());
        ccSurfaceBackend()->setCompositesOverlay(true);
        return {solid, veil};
    }
    void expectTheSamePictureFromTheFirstFrameOn(const char* kind);
    VirtualDisplay display;
};

TEST_F(WindowSurfaceTest, WithoutADisplayOrWhenAskedTheBackendIsHeadless) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_STREQ(ccChooseSurfaceBackend(false, "Zorvik"), "headless");
    EXPECT_STREQ(ccSurfaceBackend()->name(), "headless");
    EXPECT_TRUE(app->isHeadless());
    EXPECT_STREQ(ccChooseSurfaceBackend(true, "Zorvik"), "headless");
}

TEST_F(WindowSurfaceTest, TheWindowShowsTheSamePixelsAsHeadlessAndMapsThePointerBack) {
    std::string xvfb = findXvfb();
    if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(display.start(xvfb));

    auto [solid, veil] = showViews(UIColor::colorWithRed(1, 1, 0, 0.5f), 3);
    CCPixelImage headless = present();
    ASSERT_EQ(headless.width, 320);

    ASSERT_STREQ(ccChooseSurfaceBackend(false, "Zorvik"), "window");
    EXPECT_FALSE(app->isHeadless());
    auto* surface = static_cast<CCWindowSurface*>(ccSurfaceBackend());
    surface->setCapturesWindowPixels(true);
    CCPixelImage screen = present();
    EXPECT_EQ(screen.rgba, headless.rgba);
    for (int y = 0, shownOne = 0; y < 480 && !shownOne; ++y)
        for (int x = 0; x < 320; ++x)
            if (screen.pixel(x, y) != headless.pixel(x, y)) {
                ADD_FAILURE() << "first difference at " << x << "," << y << std::hex << " " << screen.pixel(x, y)
                              << " headless " << headless.pixel(x, y);
                shownOne = 1;
                break;
            }

    // Every window pixel on the picture is the device pixel the layout puts there.
    const CCPixelImage& shown = surface->lastWindowPixels();
    ASSERT_FALSE(shown.empty());
    CCWindowLayout layout = CCWindowLayout::fit(shown.width, shown.height, 3);
    EXPECT_EQ(layout.scale, 2);
    int compared = 0, different = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            if (!layout.containsWindowPoint(float(x), float(y))) {
                different += shown.pixel(x, y) != 0x000000FFu;
                continue;
            }
            CGPoint v = layout.viewPointFromWindow(x + 0.5f, y + 0.5f);
            ++compared;
            if (shown.pixel(x, y) != headless.pixel(int(v.x), int(v.y)) && !different++)
                ADD_FAILURE() << "window " << x << "," << y << " view " << v.x << "," << v.y << std::hex << " "
                              << shown.pixel(x, y) << " device " << headless.pixel(int(v.x), int(v.y));
        }
    EXPECT_EQ(compared, 960 * 640);
    EXPECT_EQ(different, 0);

    // A click lands on the view under the pointer, at that view's point.
    Finger* target = ccCreate<Finger>([](Finger* f) { return f->initWithFrame({{0, 0}, {320, 480}}); });
    window->insertSubviewAtIndex(target, 0);
    solid->setUserInteractionEnabled(false);
    veil->setUserInteractionEnabled(false);
    CGPoint at = layout.windowPointFromView({100, 200});
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.windowID = 1;
    e.button.x = int(at.x);
    e.button.y = int(at.y);
    SDL_PushEvent(&e);
    e.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&e);
    EXPECT_TRUE(surface->pollEvents());
    ASSERT_EQ(target->began.size(), 1u);
    EXPECT_NEAR(target->began[0].x, 100, 0.5);
    EXPECT_NEAR(target->began[0].y, 200, 0.5);
    EXPECT_EQ(target->ended, 1);

    // Focus and closing reach the application delegate.
    Lifecycle delegate;
    app->setDelegate(&delegate);
    SDL_Event w{};
    w.type = SDL_WINDOWEVENT;
    w.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&w);
    w.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&w);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    surface->pollEvents();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"resign", "active", "terminate"}));
    app->setDelegate(nullptr);
}

TEST_F(WindowSurfaceTest, FramesReachTheWindowWithoutAReadBackAndTheViewsAreUploadedOnlyWhenTheyChange) {
    std::string xvfb = findXvfb();
    if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(display.start(xvfb));

    UIView* solid = showViews(UIColor::colorWithRed(0, 0, 1, 0.25f), 4).solid;
    CCPixelImage white = present();
    ASSERT_EQ(white.width, 320);
    solid->setBackgroundColor(UIColor::colorWithRed(1, 0, 1, 1));
    CCPixelImage magenta = present();
    ASSERT_NE(white.rgba, magenta.rgba);
    solid->setBackgroundColor(UIColor::whiteColor());

    ASSERT_STREQ(ccChooseSurfaceBackend(false, "Zorvik"), "window");
    auto* surface = static_cast<CCWindowSurface*>(ccSurfaceBackend());
    if (!surface->presentsOnGPU()) GTEST_SKIP() << "no EGL images in this window: frames are copied";
    surface->setCapturesWindowPixels(true);
    surface->setKeepsLastFrame(false);
    present(false);
    present(false);
    EXPECT_TRUE(surface->lastFrame().empty()) << "nothing was read back from the frame";
    EXPECT_EQ(surface->overlayUploads(), 1u) << "the views did not change";
    EXPECT_EQ(windowMismatches(surface->lastWindowPixels(), white, 4), 0);

    solid->setBackgroundColor(UIColor::colorWithRed(1, 0, 1, 1));
    present(false);
    EXPECT_EQ(surface->overlayUploads(), 2u);
    EXPECT_EQ(windowMismatches(surface->lastWindowPixels(), magenta, 4), 0);

    // A screenshot frame reads back the same screen the window shows.
    surface->setKeepsLastFrame(true);
    EXPECT_EQ(present().rgba, magenta.rgba);
    EXPECT_EQ(surface->overlayUploads(), 2u);
}

// A window whose contexts come from `kind` ("glx" or "egl") shows, frame after frame, the
// picture a headless run reads back.
void WindowSurfaceTest::expectTheSamePictureFromTheFirstFrameOn(const char* kind) {
    std::string xvfb = findXvfb();
    if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(display.start(xvfb));
    showViews(UIColor::colorWithRed(0, 1, 1, 0.5f), 3);
    CCPixelImage headless;
    {
        HeadlessGL gl;
        ASSERT_TRUE(gl.makeFramebuffer(320, 480));
        drawScene();
        drawThroughTheViewport();
        ccSurfaceBackend()->setKeepsLastFrame(true);
        ASSERT_TRUE(gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES));
        headless = ccSurfaceBackend()->lastFrame();
    }

    if (std::string(kind) == "egl") setenv("SDL_VIDEO_X11_FORCE_EGL", "1", 1);
    ASSERT_STREQ(ccChooseSurfaceBackend(false, "Zorvik"), "window");
    unsetenv("SDL_VIDEO_X11_FORCE_EGL");
    auto* surface = static_cast<CCWindowSurface*>(ccSurfaceBackend());
    EXPECT_STREQ(surface->contexts(), kind);
    surface->setCapturesWindowPixels(true);
    // One renderer for several frames, as the game has: under GLX its later frames are drawn
    // straight into the texture the window samples.
    HeadlessGL gl;
    ASSERT_TRUE(gl.makeFramebuffer(320, 480));
    for (int frame = 0; frame < 3; ++frame) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        drawScene();
        drawThroughTheViewport();
        surface->setKeepsLastFrame(frame == 2);
        ASSERT_TRUE(gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES));
        EXPECT_EQ(windowMismatches(surface->lastWindowPixels(), headless, 3), 0) << "frame " << frame;
    }
    EXPECT_EQ(surface->lastFrame().rgba, headless.rgba) << "a screenshot reads the same screen";
}

TEST_F(WindowSurfaceTest, GLXContextsShowTheSamePictureFromTheFirstFrameOn) {
    expectTheSamePictureFromTheFirstFrameOn("glx");
}

TEST_F(WindowSurfaceTest, EGLContextsShowTheSamePictureFromTheFirstFrameOn) {
    expectTheSamePictureFromTheFirstFrameOn("egl");
}

} // namespace
