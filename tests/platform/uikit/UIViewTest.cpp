#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "NSSet.h"
#include "support/UIKitFixture.h"
#include "UITouch.h"
#include "UIView.h"
#include "UIViewAnimator.h"

namespace {

struct Recorder : UIView {
    std::vector<std::string>* log = nullptr;
    std::string name;
    static Recorder* make(CGRect frame, std::vector<std::string>* log, const std::string& name) {
        auto* r = ccCreate<Recorder>([&](Recorder* v) { return v->initWithFrame(frame); });
        r->log = log;
        r->name = name;
        return r;
    }
    void touchesBegan(NSSet* touches, UIEvent*) override {
        auto* t = static_cast<UITouch*>(touches->anyObject());
        CGPoint p = t->locationInView(this);
        log->push_back(name + " began " + std::to_string(int(std::lround(p.x))) + "," +
                       std::to_string(int(std::lround(p.y))));
    }
    void touchesMoved(NSSet*, UIEvent*) override { log->push_back(name + " moved"); }
    void touchesEnded(NSSet*, UIEvent*) override { log->push_back(name + " ended"); }
    void touchesCancelled(NSSet*, UIEvent*) override { log->push_back(name + " cancelled"); }
};

using UIViewHierarchy = UIKitFixture;

TEST_F(UIViewHierarchy, HitTestPrefersTheFrontmostVisibleInteractiveView) {
    std::vector<std::string> log;
    Recorder* back = Recorder::make({{0, 0}, {200, 200}}, &log, "back");
    Recorder* front = Recorder::make({{50, 50}, {100, 100}}, &log, "front");
    Recorder* child = Recorder::make({{10, 10}, {20, 20}}, &log, "child");
    window->addSubview(back);
    window->addSubview(front);
    front->addSubview(child);

    EXPECT_EQ(window->hitTest({70, 70}, nullptr), child);
    EXPECT_EQ(window->hitTest({100, 100}, nullptr), front);
    EXPECT_EQ(window->hitTest({20, 20}, nullptr), back);
    EXPECT_EQ(window->hitTest({300, 400}, nullptr), window.get());
    EXPECT_EQ(window->hitTest({-1, 10}, nullptr), nullptr);

    front->setHidden(true);
    EXPECT_EQ(window->hitTest({70, 70}, nullptr), back);
    front->setHidden(false);
    front->setUserInteractionEnabled(false);
    EXPECT_EQ(window->hitTest({70, 70}, nullptr), back);
    front->setUserInteractionEnabled(true);
    window->bringSubviewToFront(back);
    EXPECT_EQ(window->hitTest({70, 70}, nullptr), back);
}

TEST_F(UIViewHierarchy, TouchesReachTheViewUnderThemInItsOwnTurnedCoordinates) {
    std::vector<std::string> log;
    // A 100 × 40 view turned a quarter, as the game's buttons are: it covers x 30..70, y 0..100.
    Recorder* turned = Recorder::make({{0, 0}, {100, 40}}, &log, "turned");
    turned->setCenter({50, 50});
    turned->setTransform(CGAffineTransformMakeRotation(float(M_PI / 2)));
    window->addSubview(turned);

    EXPECT_EQ(window->hitTest({40, 95}, nullptr), turned);
    EXPECT_EQ(window->hitTest({80, 50}, nullptr), window.get());
    // Down the screen is along the view's own x axis; right on screen is its -y.
    app->sendTouch(7, UITouchPhaseBegan, {60, 90}, 0);
    app->sendTouch(7, UITouchPhaseMoved, {200, 300}, 0);
    app->sendTouch(7, UITouchPhaseEnded, {200, 300}, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"turned began 90,10", "turned moved", "turned ended"}));
    EXPECT_EQ(app->activeTouchCount(), 0u);
}

TEST_F(UIViewHierarchy, ASingleTouchViewIgnoresASecondFingerAndFocusLossCancels) {
    std::vector<std::string> log;
    Recorder* v = Recorder::make({{0, 0}, {320, 480}}, &log, "v");
    window->addSubview(v);
    app->sendTouch(1, UITouchPhaseBegan, {10, 10}, 0);
    app->sendTouch(2, UITouchPhaseBegan, {20, 20}, 0);
    app->sendTouch(2, UITouchPhaseEnded, {20, 20}, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"v began 10,10"}));

    v->setMultipleTouchEnabled(true);
    app->sendTouch(3, UITouchPhaseBegan, {30, 30}, 0);
    app->cancelAllTouches(0);
    app->sendTouch(1, UITouchPhaseEnded, {10, 10}, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"v began 10,10", "v began 30,30", "v cancelled", "v cancelled"}));
}

TEST_F(UIViewHierarchy, RemovedViewsAreReleasedAndCyclesAreRefused) {
    CCPtr<UIView> outer = UIView::viewWithFrame({{0, 0}, {10, 10}});
    UIView* inner = UIView::viewWithFrame({{0, 0}, {5, 5}});
    outer->addSubview(inner);
    inner->addSubview(outer); // would make a loop
    EXPECT_EQ(outer->superview(), nullptr);
    EXPECT_EQ(inner->retainCount(), 2u); // the pool and outer
    inner->removeFromSuperview();
    EXPECT_EQ(inner->retainCount(), 1u);
    EXPECT_TRUE(outer->subviews().empty());
}

using UIViewAnimation = UIKitFixture;

struct StopListener : CCObject {
    std::vector<std::string> stopped;
    void didStop(const std::string& id, bool finished, void*) { stopped.push_back(id + (finished ? " done" : "")); }
};

TEST_F(UIViewAnimation, AlphaRunsOnTheClockWhileTheModelHasTheEndValue) {
    UIView* v = UIView::viewWithFrame({{0, 0}, {10, 10}});
    window->addSubview(v);
    CCPtr<StopListener> listener = CCPtr<StopListener>::adopt(new StopListener);
    UIView::beginAnimations("Fade", nullptr);
    UIView::setAnimationDuration(2.0);
    UIView::setAnimationDelegate(listener);
    UIView::setAnimationDidStopSelector(
        ccSelector<void(const std::string&, bool, void*)>(&StopListener::didStop, "didStop"));
    v->setAlpha(0);
    v->setCenter({100, 200});
    UIView::commitAnimations();

    EXPECT_EQ(v->alpha(), 0);
    EXPECT_EQ(v->presentationAlpha(), 1);
    advance(0.5);
    EXPECT_NEAR(v->presentationAlpha(), 0.75, 1e-5);
    EXPECT_NEAR(v->presentationCenter().x, 5 + 95 * 0.25, 1e-4);
    EXPECT_TRUE(listener->stopped.empty());
    advance(1.5);
    EXPECT_EQ(v->presentationAlpha(), 0);
    EXPECT_EQ(v->presentationCenter(), (CGPoint{100, 200}));
    EXPECT_EQ(listener->stopped, std::vector<std::string>{"Fade done"});
    EXPECT_FALSE(app->viewAnimator().isAnimating());
}

TEST_F(UIViewAnimation, RemovalInsideABlockFadesAndLeavesAtTheEnd) {
    UIView* button = UIView::viewWithFrame({{0, 0}, {100, 44}});
    window->addSubview(button);
    UIView::beginAnimations("", nullptr);
    UIView::setAnimationDuration(1.0);
    button->removeFromSuperview();
    UIView::commitAnimations();

    EXPECT_EQ(button->superview(), window.get());
    EXPECT_EQ(window->hitTest({10, 10}, nullptr), window.get()); // no longer takes touches
    advance(0.25);
    EXPECT_NEAR(button->presentationAlpha(), 0.75, 1e-5);
    EXPECT_EQ(button->superview(), window.get());
    advance(0.75);
    EXPECT_EQ(button->superview(), nullptr);
    EXPECT_TRUE(window->subviews().empty());
    EXPECT_EQ(button->alpha(), 1); // re-adding shows it again
}

TEST_F(UIViewAnimation, ChangesOutsideABlockOrWithNoDurationApplyAtOnce) {
    UIView* v = UIView::viewWithFrame({{0, 0}, {10, 10}});
    window->addSubview(v);
    v->setAlpha(0.5f);
    EXPECT_EQ(v->presentationAlpha(), 0.5f);
    UIView::beginAnimations("Now", nullptr);
    UIView::setAnimationDuration(0);
    v->removeFromSuperview();
    UIView::commitAnimations();
    EXPECT_EQ(v->superview(), nullptr);
}

} // namespace
