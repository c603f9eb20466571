#pragma once
// Touch delegates that record what they receive, and a fixture that leaves the shared touch
// dispatcher empty and dispatching around each test.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCObject.h"
#include "CCTouchDelegateProtocol.h"
#include "CCTouchDispatcher.h"
#include "NSSet.h"
#include "UITouch.h"

using TouchLog = std::vector<std::string>;

// Logs "<name> began" … for targeted callbacks and "<name> touches-began:<count>" … for standard ones.
struct RecordingTouchDelegate : CCObject, CCTargetedTouchDelegate, CCStandardTouchDelegate {
    RecordingTouchDelegate(TouchLog* log, std::string name, bool claims = true)
        : log(log), name(std::move(name)), claims(claims) {}

    bool ccTouchBegan(UITouch* touch, UIEvent*) override {
        log->push_back(name + " began");
        if (onBegan) return onBegan(touch);
        return claims;
    }
    void ccTouchMoved(UITouch*, UIEvent*) override { log->push_back(name + " moved"); }
    void ccTouchEnded(UITouch*, UIEvent*) override { log->push_back(name + " ended"); }
    void ccTouchCancelled(UITouch*, UIEvent*) override { log->push_back(name + " cancelled"); }
    void ccTouchesBegan(NSSet* touches, UIEvent*) override { plural("began", touches); }
    void ccTouchesMoved(NSSet* touches, UIEvent*) override { plural("moved", touches); }
    void ccTouchesEnded(NSSet* touches, UIEvent*) override { plural("ended", touches); }
    void ccTouchesCancelled(NSSet* touches, UIEvent*) override { plural("cancelled", touches); }
    int targetedTouchCallbacks() const override { return targetedBits; }
    int standardTouchCallbacks() const override { return standardBits; }

    void plural(const char* phase, NSSet* touches) {
        lastSet = touches;
        log->push_back(name + " touches-" + phase + ":" + std::to_string(touches->count()));
        if (onTouches) onTouches(touches);
    }

    TouchLog* log;
    std::string name;
    bool claims;
    int targetedBits = ccTouchSelectorAllBits;
    int standardBits = ccTouchSelectorAllBits;
    std::function<bool(UITouch*)> onBegan;
    std::function<void(NSSet*)> onTouches;
    NSSet* lastSet = nullptr;
};

class TouchDispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        dispatcher = CCTouchDispatcher::sharedDispatcher();
        dispatcher->removeAllDelegates();
        dispatcher->setDispatchEvents(true);
    }
    void TearDown() override {
        dispatcher->removeAllDelegates();
        dispatcher->setDispatchEvents(true);
    }

    // A delegate owned by the test's pool (the dispatcher's handlers retain their own reference).
    RecordingTouchDelegate* delegate(const std::string& name, bool claims = true) {
        return ccAutorelease(new RecordingTouchDelegate(&log, name, claims));
    }
    static NSSet* setOf(std::initializer_list<UITouch*> touches) {
        NSSet* s = NSSet::set();
        for (UITouch* t : touches) s->addObject(t);
        return s;
    }
    static UITouch* touch(float x = 10, float y = 20) { return UITouch::touchInView(nullptr, CGPoint{x, y}, 0); }
    static UIEvent* event() { return UIEvent::eventWithTimestamp(0); }

    CCAutoreleaseScope pool;
    CCTouchDispatcher* dispatcher = nullptr;
    TouchLog log;
};
