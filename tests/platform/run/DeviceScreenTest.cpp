#include <gtest/gtest.h>
#include <memory>

#include "CCSurfaceBackend.h"
#include "UIColor.h"
#include "support/UIKitFixture.h"
#include "UIOverlay.h"
#include "support/HeadlessGL.h"

namespace {

class DeviceScreenTest : public UIKitFixture {
protected:
    void SetUp() override {
        UIKitFixture::SetUp();
        ccSurfaceBackend()->setOverlay(std::make_unique<UIOverlay>());
        ccSurfaceBackend()->setCompositesOverlay(true);
        ccSurfaceBackend()->setKeepsLastFrame(true); // these tests read every frame
    }
    void TearDown() override {
        ccSurfaceBackend()->setKeepsLastFrame(false);
        ccSurfaceBackend()->setCompositesOverlay(false);
        ccSurfaceBackend()->setOverlay(nullptr);
        UIKitFixture::TearDown();
    }
};

// Clears a bound framebuffer of the given size to blue and presents it.
const CCPixelImage& presentBlue(HeadlessGL& gl, int width, int height) {
    EXPECT_TRUE(gl.makeFramebuffer(width, height));
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES));
    return ccSurfaceBackend()->lastFrame();
}

TEST_F(DeviceScreenTest, PresentedFramesCarryTheViewsOverTheGLPicture) {
    UIView* red = UIView::viewWithFrame({{10, 20}, {30, 40}});
    red->setBackgroundColor(UIColor::redColor());
    window->addSubview(red);
    UIView* veil = UIView::viewWithFrame({{100, 300}, {50, 50}});
    veil->setBackgroundColor(UIColor::colorWithWhite(1, 0.5f));
    window->addSubview(veil);

    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    const CCPixelImage& screen = presentBlue(gl, 320, 480);
    ASSERT_EQ(screen.width, 320);
    // Row 0 is the top of the view, as the views are laid out.
    EXPECT_EQ(screen.pixel(10, 20), 0xFF0000FFu);
    EXPECT_EQ(screen.pixel(39, 59), 0xFF0000FFu);
    EXPECT_EQ(screen.pixel(40, 60), 0x0000FFFFu);
    // Half-white over blue: half white plus half blue, still opaque.
    uint32_t mixed = screen.pixel(120, 320);
    EXPECT_NEAR(double(mixed >> 24), 128, 1);
    EXPECT_NEAR(double((mixed >> 16) & 0xFF), 128, 1);
    EXPECT_EQ(mixed & 0xFF, 0xFFu);
    EXPECT_EQ(screen.pixel(0, 0), 0x0000FFFFu);

    // The views follow changes from one frame to the next.
    red->setHidden(true);
    EXPECT_EQ(presentBlue(gl, 320, 480).pixel(10, 20), 0x0000FFFFu);
}

TEST_F(DeviceScreenTest, OtherFramebuffersAndAnOverlayTurnedOffStayAsDrawn) {
    UIView* red = UIView::viewWithFrame({{0, 0}, {320, 480}});
    red->setBackgroundColor(UIColor::redColor());
    window->addSubview(red);
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    EXPECT_EQ(presentBlue(gl, 64, 32).pixel(5, 5), 0x0000FFFFu);

    ccSurfaceBackend()->setCompositesOverlay(false);
    EXPECT_EQ(presentBlue(gl, 320, 480).pixel(5, 5), 0x0000FFFFu);
    ccSurfaceBackend()->setCompositesOverlay(true);
    EXPECT_EQ(presentBlue(gl, 320, 480).pixel(5, 5), 0xFF0000FFu);
}

} // namespace
