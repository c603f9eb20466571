#include <gtest/gtest.h>

#include <cmath>

#include "support/UIKitFixture.h"
#include "CAGradientLayer.h"
#include "MZGradientButton.h"
#include "UIColor.h"
#include "UIOverlay.h"

namespace {

unsigned grey(uint32_t p) { return (p >> 8) & 0xFF; } // green channel; the colours are greys

struct Target : CCObject {
    int pressed = 0;
    void press(CCObject*) { ++pressed; }
};

class MZGradientButtonTest : public UIKitFixture {
protected:
    // The button as the application sets it up, unturned, at (100, 100) in the window.
    MZGradientButton* makeButton(bool shaped = true) {
        auto* b = ccCreate<MZGradientButton>([](MZGradientButton* m) { return m->initWithFrame({{100, 100}, {100, 44}}); });
        b->setMainColor(UIColor::lightGrayColor());
        b->setSecondaryColor(UIColor::darkGrayColor());
        b->setHighlightedMain(UIColor::darkGrayColor());
        b->setHighlightedSecondary(UIColor::blackColor());
        if (shaped) b->setCornerRad(8.0f, true, 0.7f);
        b->setTitle("", UIControlStateNormal);
        window->addSubview(b);
        return b;
    }
    // Face pixels near the top and bottom edges, away from the rounded corners and the title.
    uint32_t top() { return overlay.pixelAt(110, 102); }
    uint32_t bottom() { return overlay.pixelAt(110, 141); }
    void draw() { overlay.redraw(); }

    UIOverlay overlay;
};

TEST_F(MZGradientButtonTest, TheFaceRunsLightToDarkGreyAndDarkGreyToBlackWhileTouched) {
    MZGradientButton* b = makeButton();
    auto target = CCPtr<Target>::adopt(new Target);
    b->addTarget(target, control_selector(Target::press), UIControlEventTouchUpInside);
    ASSERT_EQ(b->mainGradiation()->superlayer(), b->layer());
    EXPECT_EQ(b->layer()->sublayers().front().get(), b->mainGradiation()); // beneath the title
    draw();
    EXPECT_EQ(top() >> 24, 255u);
    EXPECT_NEAR(grey(top()), 170, 12);
    EXPECT_NEAR(grey(bottom()), 85, 12);
    EXPECT_FLOAT_EQ(b->layer()->cornerRadius(), 8.0f);
    EXPECT_FLOAT_EQ(b->layer()->borderWidth(), 0.7f);
    EXPECT_EQ(overlay.pixelAt(100, 100) >> 24, 0u); // masked corner

    app->sendTouch(1, UITouchPhaseBegan, {150, 120}, 0);
    EXPECT_TRUE(b->isTouchedDown());
    draw();
    EXPECT_NEAR(grey(top()), 85, 12);
    EXPECT_LT(grey(bottom()), 12u);

    app->sendTouch(1, UITouchPhaseEnded, {150, 120}, 0);
    EXPECT_FALSE(b->isTouchedDown());
    EXPECT_EQ(target->pressed, 1); // still a working button
    draw();
    EXPECT_NEAR(grey(top()), 170, 12);
}

TEST_F(MZGradientButtonTest, LiftingOutsideOrACancelRestoresTheNormalColours) {
    MZGradientButton* b = makeButton();
    app->sendTouch(1, UITouchPhaseBegan, {150, 120}, 0);
    app->sendTouch(1, UITouchPhaseMoved, {300, 400}, 0);
    app->sendTouch(1, UITouchPhaseEnded, {300, 400}, 0);
    EXPECT_FALSE(b->isTouchedDown());
    draw();
    EXPECT_NEAR(grey(top()), 170, 12);

    app->sendTouch(2, UITouchPhaseBegan, {150, 120}, 0);
    app->cancelAllTouches(0);
    EXPECT_FALSE(b->isTouchedDown());
    draw();
    EXPECT_NEAR(grey(bottom()), 85, 12);
}

TEST_F(MZGradientButtonTest, WithoutItsShapeTheFaceStaysPlainUntilFirstTouched) {
    MZGradientButton* b = makeButton(false);
    EXPECT_TRUE(b->mainGradiation()->colors().empty());
    EXPECT_FLOAT_EQ(b->layer()->cornerRadius(), 8.5f);
    EXPECT_FLOAT_EQ(b->layer()->borderWidth(), 0.6f);
    EXPECT_TRUE(b->layer()->masksToBounds());
    draw();
    EXPECT_EQ(grey(overlay.pixelAt(150, 110)), 0u); // only the black border, no face
    EXPECT_EQ(overlay.pixelAt(150, 110) >> 24, 0u);

    app->sendTouch(1, UITouchPhaseBegan, {150, 120}, 0);
    draw();
    EXPECT_NEAR(grey(top()), 85, 12);
}

} // namespace
