#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "UIAlertView.h"
#include "UIAlertViewDelegate.h"
#include "UIButton.h"
#include "support/UIKitFixture.h"

namespace {

struct Listener : UIAlertViewDelegate {
    std::vector<std::string> heard;
    void alertView(UIAlertView* a, int index) override { heard.push_back(a->title() + " clicked " + std::to_string(index)); }
    void alertViewDidDismissWithButtonIndex(UIAlertView* a, int index) override {
        heard.push_back(a->title() + " dismissed " + std::to_string(index));
    }
};

struct Counter : CCObject {
    int pressed = 0;
    void press(CCObject*) { ++pressed; }
};

UIAlertView* makeAlert(const std::string& title, UIAlertViewDelegate* delegate, const char* cancel,
                       std::vector<std::string> others) {
    return ccCreate<UIAlertView>([&](UIAlertView* a) { return a->initWithTitle(title, "Message", delegate, cancel, others); });
}

CGPoint middle(CGRect r) { return {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2}; }

using UIAlertViewTest = UIKitFixture;

TEST_F(UIAlertViewTest, ButtonsAreNumberedCancelFirst) {
    UIAlertView* help = makeAlert("Help", nullptr, nullptr, {"Okay", "Upgrade App"});
    EXPECT_EQ(help->numberOfButtons(), 2);
    EXPECT_EQ(help->cancelButtonIndex(), -1);
    EXPECT_EQ(help->buttonTitleAtIndex(1), "Upgrade App");
    EXPECT_EQ(help->buttonTitleAtIndex(2), "");
    UIAlertView* promo = makeAlert("Promo", nullptr, "Cancel", {"Get it"});
    EXPECT_EQ(promo->cancelButtonIndex(), 0);
    EXPECT_EQ(promo->buttonTitleAtIndex(0), "Cancel");
    EXPECT_EQ(promo->addButtonWithTitle("Later"), 2);
}

TEST_F(UIAlertViewTest, APressedButtonReachesTheDelegateAndTheAlertIsReleased) {
    Listener listener;
    std::vector<std::string> traced;
    app->setTraceHook([&](const std::string& e, const std::string& d, int i) {
        traced.push_back(e + " " + d + " " + std::to_string(i));
    });
    UIAlertView* alert = makeAlert("Help", &listener, nullptr, {"Okay", "Upgrade App"});
    CCPtr<UIAlertView> watch(alert);
    alert->show();
    CCAutoreleasePool::drain(); // the application keeps it while it is shown
    EXPECT_EQ(watch->retainCount(), 3u);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_FALSE(alert->pressButtonWithTitle("Nope"));
    EXPECT_TRUE(alert->pressButtonWithTitle("Upgrade App"));
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"Help clicked 1", "Help dismissed 1"}));
    EXPECT_EQ(traced, (std::vector<std::string>{"alert-shown Help -1", "alert-dismissed Help 1"}));
    EXPECT_EQ(app->visibleAlertView(), nullptr);
    EXPECT_EQ(watch->retainCount(), 1u);
    EXPECT_FALSE(alert->pressButtonAtIndex(0)); // no longer shown
}

TEST_F(UIAlertViewTest, ShownInLandscapeItIsUprightAndATapOnAButtonAnswersIt) {
    app->setStatusBarOrientation(3, false);
    Listener listener;
    UIAlertView* alert = makeAlert("OH NO!!", &listener, "Try again", {});
    alert->show();
    CGAffineTransform t = alert->transform();
    EXPECT_NEAR(t.b, 1, 1e-6); // a quarter turn, like the game's other views
    CGRect f = alert->buttonFrameInWindow(0);
    EXPECT_GT(f.size.height, f.size.width); // turned: the wide button stands up on the portrait screen
    tap(middle(f));
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"OH NO!! clicked 0", "OH NO!! dismissed 0"}));
}

TEST_F(UIAlertViewTest, WhileShownItSwallowsEveryOtherTouch) {
    CCPtr<Counter> counter = CCPtr<Counter>::adopt(new Counter);
    UIButton* below = UIButton::buttonWithType(UIButtonTypeCustom);
    below->setFrame({{0, 0}, {320, 480}});
    below->addTarget(counter, control_selector(Counter::press), UIControlEventTouchUpInside);
    window->addSubview(below);

    // A finger already on the button is cancelled when the alert appears.
    app->sendTouch(1, UITouchPhaseBegan, {5, 5}, 0);
    Listener listener;
    UIAlertView* alert = makeAlert("Help", &listener, nullptr, {"Okay"});
    alert->show();
    EXPECT_FALSE(below->isHighlighted());
    app->sendTouch(1, UITouchPhaseEnded, {5, 5}, 0);
    tap({5, 5});
    tap(middle(alert->frame()));
    EXPECT_EQ(counter->pressed, 0);
    EXPECT_TRUE(listener.heard.empty());

    alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"Help dismissed 0"}));
    tap({5, 5});
    EXPECT_EQ(counter->pressed, 1);
}

TEST_F(UIAlertViewTest, AlertsWaitTheirTurn) {
    Listener listener;
    UIAlertView* first = makeAlert("First", &listener, "Cancel", {});
    UIAlertView* second = makeAlert("Second", &listener, "Cancel", {});
    first->show();
    second->show();
    second->show(); // once only
    EXPECT_EQ(app->alerts().size(), 2u);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(second->pressButtonAtIndex(0));
    tap(middle(first->buttonFrameInWindow(0)));
    EXPECT_TRUE(second->isVisible());
    tap(middle(second->buttonFrameInWindow(0)));
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"First clicked 0", "First dismissed 0", "Second clicked 0",
                                                        "Second dismissed 0"}));
}

} // namespace
