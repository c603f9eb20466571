#include <gtest/gtest.h>

#include <cmath>

#include "CCKeyboardTilt.h"
#include "CCWindowLayout.h"

namespace {

// The director's view-to-scene conversion for a 320 × 480 view, per orientation.
CGPoint sceneFromView(CGPoint v, int orientation) {
    const float W = 320, H = 480;
    switch (orientation) {
    case 1: return {v.x, H - v.y};
    case 2: return {W - v.x, v.y};
    case 3: return {v.y, v.x};
    default: return {H - v.y, W - v.x};
    }
}

TEST(CCWindowLayout, ThePointerGivesTheScenePointUnderItInEveryOrientation) {
    for (int o = 1; o <= 4; ++o) {
        CCWindowLayout l = CCWindowLayout::fit(1000, 1000, o);
        const bool landscape = o >= 3;
        const float sceneH = landscape ? 320 : 480;
        for (CGPoint scene : {CGPoint{0, 0}, CGPoint{10, 20}, CGPoint{200, 100}, CGPoint{300, 310}}) {
            // Upright picture: scene x to the right, scene y up from the picture's bottom.
            float wx = l.x + scene.x * l.scale, wy = l.y + (sceneH - scene.y) * l.scale;
            CGPoint v = l.viewPointFromWindow(wx, wy);
            CGPoint got = sceneFromView(v, o);
            EXPECT_NEAR(got.x, scene.x, 1e-3) << "orientation " << o;
            EXPECT_NEAR(got.y, scene.y, 1e-3) << "orientation " << o;
            CGPoint back = l.windowPointFromView(v);
            EXPECT_NEAR(back.x, wx, 1e-3);
            EXPECT_NEAR(back.y, wy, 1e-3);
        }
    }
}

TEST(CCWindowLayout, LandscapeIsTurnedAQuarterScaledWholeAndCentred) {
    CCWindowLayout l = CCWindowLayout::fit(1100, 700, 3);
    EXPECT_EQ(l.scale, 2); // 2.29 × fits: whole factor 2
    EXPECT_EQ(l.width, 960);
    EXPECT_EQ(l.height, 640);
    EXPECT_EQ(l.x, 70);
    EXPECT_EQ(l.y, 30);
    // The portrait's top-left corner shows at the picture's bottom-left, its top-right at the
    // picture's top-left.
    CGPoint tl = l.windowPointFromView({0, 0}), tr = l.windowPointFromView({320, 0});
    EXPECT_EQ(tl.x, 70);
    EXPECT_EQ(tl.y, 670);
    EXPECT_EQ(tr.x, 70);
    EXPECT_EQ(tr.y, 30);
    EXPECT_TRUE(l.containsWindowPoint(70, 30));
    EXPECT_FALSE(l.containsWindowPoint(69, 300));
    EXPECT_FALSE(l.containsWindowPoint(1030, 300));

    // A window smaller than the screen shrinks it instead of cutting it off.
    CCWindowLayout small = CCWindowLayout::fit(240, 320, 3);
    EXPECT_FLOAT_EQ(small.scale, 0.5f);
    EXPECT_EQ(small.y, 80);
    // Unknown orientations show the portrait as it is; empty windows do not divide by zero.
    EXPECT_EQ(CCWindowLayout::fit(320, 480, 7).orientation, 1);
    EXPECT_GT(CCWindowLayout::fit(0, 0, 3).scale, 0);
}

TEST(CCWindowLayout, DesktopScaleLeavesRoomAndNeverDropsBelowOne) {
    EXPECT_EQ(ccWindowScaleForDesktop(1920, 1080), 3);
    EXPECT_EQ(ccWindowScaleForDesktop(1440, 960), 2); // exact fit would leave no room for panels
    EXPECT_EQ(ccWindowScaleForDesktop(1024, 768), 2);
    EXPECT_EQ(ccWindowScaleForDesktop(400, 300), 1);
}

TEST(CCKeyboardTilt, StepsWhileHeldWithinTheGamesRangeAndLiesFlatOnRelease) {
    CCKeyboardTilt tilt;
    EXPECT_EQ(tilt.reading(0), (CCTiltReading{0, 0, -1}));
    tilt.press(CCKeyboardTilt::Left, 1.0);
    EXPECT_NEAR(tilt.reading(1.0).y, 0.1, 1e-9);
    EXPECT_NEAR(tilt.reading(1.1).y, 0.2, 1e-9);
    tilt.press(CCKeyboardTilt::Left, 1.15); // key repeat does not restart the steps
    EXPECT_NEAR(tilt.reading(1.25).y, 0.3, 1e-9);
    EXPECT_NEAR(tilt.reading(9.0).y, 0.5, 1e-9); // never beyond what the game reads
    EXPECT_NEAR(tilt.reading(9.0).z, -std::sqrt(0.75), 1e-9);
    tilt.release(CCKeyboardTilt::Left, 9.0);
    EXPECT_EQ(tilt.reading(9.0), (CCTiltReading{0, 0, -1}));

    tilt.press(CCKeyboardTilt::Right, 10.0);
    EXPECT_NEAR(tilt.reading(10.35).y, -0.4, 1e-9);
    tilt.press(CCKeyboardTilt::Flat, 10.4);
    EXPECT_EQ(tilt.reading(10.5), (CCTiltReading{0, 0, -1}));
    tilt.press(CCKeyboardTilt::Right, 11.0);
    tilt.releaseAll();
    EXPECT_EQ(tilt.reading(11.5), (CCTiltReading{0, 0, -1}));
}

} // namespace
