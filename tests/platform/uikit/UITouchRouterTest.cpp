#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "NSSet.h"
#include "UIApplication.h"
#include "UITouch.h"
#include "UITouchRouter.h"
#include "UIView.h"

namespace {

// Says what reached it, with the point in its own coordinates.
struct Listener : UIView {
    std::vector<std::string>* log = nullptr;
    std::string name;
    static Listener* make(CGRect frame, std::vector<std::string>* log, const std::string& name) {
        auto* v = ccCreate<Listener>([&](Listener* l) { return l->initWithFrame(frame); });
        v->log = log;
        v->name = name;
        return v;
    }
    void say(const char* what, NSSet* touches) {
        CGPoint p = static_cast<UITouch*>(touches->anyObject())->locationInView(this);
        log->push_back(name + " " + what + " " + std::to_string(int(std::lround(p.x))) + "," +
                       std::to_string(int(std::lround(p.y))));
    }
    void touchesBegan(NSSet* t, UIEvent*) override { say("began", t); }
    void touchesMoved(NSSet* t, UIEvent*) override { say("moved", t); }
    void touchesEnded(NSSet* t, UIEvent*) override { say("ended", t); }
    void touchesCancelled(NSSet* t, UIEvent*) override { say("cancelled", t); }
};

// The router alone: its hit test is a plain function over two side-by-side views in one root
// view, whose coordinates stand for the window's.
class UITouchRouterTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePool::push();
        root = UIView::viewWithFrame({{0, 0}, {200, 100}});
        left = Listener::make({{0, 0}, {100, 100}}, &log, "left");
        right = Listener::make({{100, 0}, {100, 100}}, &log, "right");
        root->addSubview(left);
        root->addSubview(right);
    }
    void TearDown() override {
        router.clear();
        left = right = nullptr;
        root = nullptr;
        UIApplication::purgeSharedApplication();
        CCAutoreleasePool::pop();
    }
    UIView* under(CGPoint p) {
        if (p.y < 0 || p.y >= 100) return nullptr;
        if (p.x >= 0 && p.x < 100) return left;
        if (p.x >= 100 && p.x < 200) return right;
        return nullptr;
    }

    std::vector<std::string> log;
    CCPtr<UIView> root;
    CCPtr<Listener> left, right;
    UITouchRouter router{[this](CGPoint p) { return under(p); }};
};

TEST_F(UITouchRouterTest, LaterPhasesGoToTheViewTheFingerBeganOnInItsCoordinates) {
    router.sendTouch(1, UITouchPhaseBegan, {10, 20}, 0);
    router.sendTouch(1, UITouchPhaseBegan, {150, 20}, 0); // already down: ignored
    router.sendTouch(1, UITouchPhaseMoved, {150, 30}, 0.1); // off its view, still its view's
    router.sendTouch(1, UITouchPhaseEnded, {160, 40}, 0.2);
    router.sendTouch(1, UITouchPhaseMoved, {10, 10}, 0.3); // lifted: nobody hears it
    router.sendTouch(7, UITouchPhaseEnded, {10, 10}, 0.3); // never down
    EXPECT_EQ(log, (std::vector<std::string>{"left began 10,20", "left moved 150,30", "left ended 160,40"}));
    EXPECT_EQ(router.activeTouchCount(), 0u);
}

TEST_F(UITouchRouterTest, PointsThatAreNotFiniteAreDropped) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    router.sendTouch(1, UITouchPhaseBegan, {nan, 10}, 0);
    router.sendTouch(2, UITouchPhaseBegan, {10, 10}, 0);
    router.sendTouch(2, UITouchPhaseMoved, {10, inf}, 0.1);
    EXPECT_EQ(log, std::vector<std::string>{"left began 10,10"});
    EXPECT_EQ(router.activeTouchCount(), 1u);
}

TEST_F(UITouchRouterTest, ASingleTouchViewSwallowsAnotherFingerUntilItLifts) {
    router.sendTouch(1, UITouchPhaseBegan, {10, 10}, 0);
    router.sendTouch(2, UITouchPhaseBegan, {20, 20}, 0);
    router.sendTouch(2, UITouchPhaseMoved, {30, 30}, 0.1);
    EXPECT_EQ(router.activeTouchCount(), 2u); // the second is held, swallowed
    router.sendTouch(2, UITouchPhaseEnded, {30, 30}, 0.2);
    router.sendTouch(1, UITouchPhaseEnded, {10, 10}, 0.2);

    right->setMultipleTouchEnabled(true);
    router.sendTouch(3, UITouchPhaseBegan, {110, 10}, 0.3);
    router.sendTouch(4, UITouchPhaseBegan, {120, 10}, 0.3);
    router.sendTouch(5, UITouchPhaseBegan, {300, 10}, 0.3); // over nothing
    router.sendTouch(5, UITouchPhaseEnded, {110, 10}, 0.4);
    EXPECT_EQ(log, (std::vector<std::string>{"left began 10,10", "left ended 10,10", "right began 10,10",
                                             "right began 20,10"}));
}

TEST_F(UITouchRouterTest, CancellingTellsEachViewAndForgettingTellsNone) {
    router.sendTouch(1, UITouchPhaseBegan, {10, 10}, 0);
    router.sendTouch(2, UITouchPhaseBegan, {110, 10}, 0);
    router.cancelAllTouches(1);
    EXPECT_EQ(router.activeTouchCount(), 0u);
    EXPECT_EQ(log, (std::vector<std::string>{"left began 10,10", "right began 10,10", "left cancelled 10,10",
                                             "right cancelled 10,10"}));

    log.clear();
    Listener* inner = Listener::make({{0, 0}, {10, 10}}, &log, "inner");
    right->addSubview(inner);
    router.sendTouch(3, UITouchPhaseBegan, {10, 10}, 2);
    UITouchRouter nested{[inner](CGPoint) { return inner; }};
    nested.sendTouch(4, UITouchPhaseBegan, {100, 0}, 2);
    nested.forgetTouchesIn(right); // inner is inside right
    router.forgetTouchesIn(right); // left is not
    EXPECT_EQ(nested.activeTouchCount(), 0u);
    EXPECT_EQ(router.activeTouchCount(), 1u);
    nested.sendTouch(4, UITouchPhaseEnded, {100, 0}, 3);
    router.sendTouch(3, UITouchPhaseEnded, {10, 10}, 3);
    EXPECT_EQ(log, (std::vector<std::string>{"left began 10,10", "inner began 0,0", "left ended 10,10"}));
}

} // namespace
