#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "UIButton.h"
#include "UIColor.h"
#include "UIFont.h"
#include "support/UIKitFixture.h"
#include "UILabel.h"

namespace {

struct Target : CCObject {
    int pressed = 0, down = 0;
    std::vector<bool> highlightedWhenDown;
    void press(CCObject*) { ++pressed; }
    void touchDown(CCObject* sender) {
        ++down;
        highlightedWhenDown.push_back(static_cast<UIButton*>(sender)->isHighlighted());
    }
};

class UIButtonTest : public UIKitFixture {
protected:
    void SetUp() override {
        UIKitFixture::SetUp();
        target = CCPtr<Target>::adopt(new Target);
        button = UIButton::buttonWithType(UIButtonTypeCustom);
        button->setFrame({{100, 100}, {80, 40}});
        button->addTarget(target, control_selector(Target::press), UIControlEventTouchUpInside);
        button->addTarget(target, control_selector(Target::touchDown), UIControlEventTouchDown);
        window->addSubview(button);
    }
    CCPtr<Target> target;
    UIButton* button = nullptr;
};

TEST_F(UIButtonTest, TouchUpInsideFiresOnceAndTheButtonIsHighlightedWhilePressed) {
    app->sendTouch(1, UITouchPhaseBegan, {120, 110}, 0);
    EXPECT_TRUE(button->isHighlighted());
    EXPECT_EQ(target->down, 1);
    EXPECT_EQ(target->highlightedWhenDown, std::vector<bool>{true});
    EXPECT_EQ(target->pressed, 0);
    app->sendTouch(1, UITouchPhaseMoved, {125, 115}, 0);
    app->sendTouch(1, UITouchPhaseEnded, {125, 115}, 0);
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(target->pressed, 1);
}

TEST_F(UIButtonTest, SlidingOffBeforeReleasingDoesNotFire) {
    app->sendTouch(1, UITouchPhaseBegan, {120, 110}, 0);
    app->sendTouch(1, UITouchPhaseMoved, {250, 300}, 0);
    EXPECT_FALSE(button->isHighlighted());
    app->sendTouch(1, UITouchPhaseMoved, {130, 120}, 0);
    EXPECT_TRUE(button->isHighlighted()); // back on it
    app->sendTouch(1, UITouchPhaseMoved, {250, 300}, 0);
    app->sendTouch(1, UITouchPhaseEnded, {250, 300}, 0);
    EXPECT_EQ(target->pressed, 0);
    EXPECT_FALSE(button->isHighlighted());

    // Starting off the button and sliding onto it does not press it either.
    app->sendTouch(2, UITouchPhaseBegan, {10, 10}, 0);
    app->sendTouch(2, UITouchPhaseEnded, {120, 110}, 0);
    EXPECT_EQ(target->pressed, 0);
}

TEST_F(UIButtonTest, DisabledRemovedTargetsAndCancelledTouchesSendNothing) {
    button->setEnabled(false);
    tap({120, 110});
    EXPECT_EQ(target->pressed + target->down, 0);
    button->setEnabled(true);

    app->sendTouch(1, UITouchPhaseBegan, {120, 110}, 0);
    app->cancelAllTouches(0);
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(target->pressed, 0);

    button->removeTarget(target, control_selector(Target::press), UIControlEventTouchUpInside);
    tap({120, 110});
    EXPECT_EQ(target->pressed, 0);
    EXPECT_EQ(target->down, 2);
}

TEST_F(UIButtonTest, TitlesAndColoursFallBackToTheNormalState) {
    button->setTitle("HELP", UIControlStateNormal);
    button->setTitleColor(UIColor::redColor(), UIControlStateHighlighted);
    EXPECT_EQ(button->titleForState(UIControlStateHighlighted), "HELP");
    EXPECT_EQ(button->currentTitleColor(), UIColor::whiteColor());
    button->setHighlighted(true);
    EXPECT_EQ(button->currentTitleColor(), UIColor::redColor());
    EXPECT_EQ(button->titleLabel()->text(), "HELP");
    button->titleLabel()->setFont(UIFont::fontWithName("Helvetica-Bold", 12));
    EXPECT_EQ(button->titleLabel()->font()->familyName(), "Helvetica");
    EXPECT_TRUE(button->titleLabel()->font()->isBold());
}

TEST(UIFontAndColor, BadFontsAreNilAndNamedColoursAreShared) {
    CCAutoreleaseScope pool;
    EXPECT_EQ(UIFont::fontWithName("", 12), nullptr);
    EXPECT_EQ(UIFont::fontWithName("Helvetica", 0), nullptr);
    EXPECT_EQ(UIFont::fontWithName("Helvetica", NAN), nullptr);
    EXPECT_EQ(UIFont::fontWithName("Marker Felt", 64)->familyName(), "Marker Felt");
    EXPECT_FALSE(UIFont::fontWithName("Marker Felt", 64)->isBold());
    EXPECT_EQ(UIColor::lightGrayColor(), UIColor::lightGrayColor());
    EXPECT_EQ(UIColor::colorWithRed(2, -1, 0.5f, 1)->CGColor(), (CGColorRef{1, 0, 0.5f, 1}));
}

} // namespace
