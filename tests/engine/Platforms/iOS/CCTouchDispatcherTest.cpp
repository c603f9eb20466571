#include <gtest/gtest.h>

#include <stdexcept>

#include "CCTrace.h"
#include "support/TouchTestSupport.h"

namespace {

TEST_F(TouchDispatcherTest, EveryArrivingTouchIsTracedWithWhetherItWasDispatched) {
    std::vector<std::string> lines;
    CCTrace::openSink([&](const std::string& l) { lines.push_back(l); });
    CCTrace::setFrame(3);
    CCTrace::setTime(0.05);
    dispatcher->addTargetedDelegate(delegate("a", true), 0, true);
    dispatcher->touchesBegan(setOf({touch(1, 2), touch(3, 4)}), event());
    dispatcher->setDispatchEvents(false);
    dispatcher->touchesEnded(setOf({touch(5, 6)}), event());
    CCTrace::close();
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "{\"frame\":3,\"time\":0.05,\"event\":\"touch\",\"phase\":\"began\",\"dispatched\":true,\"view\":[1,2]}",
                         "{\"frame\":3,\"time\":0.05,\"event\":\"touch\",\"phase\":\"began\",\"dispatched\":true,\"view\":[3,4]}",
                         "{\"frame\":3,\"time\":0.05,\"event\":\"touch\",\"phase\":\"ended\",\"dispatched\":false,\"view\":[5,6]}",
                     }));
    EXPECT_EQ(log, (TouchLog{"a began", "a began"}));
}

TEST_F(TouchDispatcherTest, TargetedHandlersAreAskedByPriorityUntilOneSwallows) {
    auto* a = delegate("A");
    auto* b = delegate("B");
    dispatcher->addTargetedDelegate(b, 10, true);
    dispatcher->addTargetedDelegate(a, 0, false);
    UITouch* t = touch();
    dispatcher->touchesBegan(setOf({t}), event());
    dispatcher->touchesMoved(setOf({t}), event());
    dispatcher->touchesEnded(setOf({t}), event());
    EXPECT_EQ(log, (TouchLog{"A began", "B began", "A moved", "B moved", "A ended", "B ended"}));

    // A swallowing: B never sees the touch.
    dispatcher->removeAllDelegates();
    log.clear();
    dispatcher->addTargetedDelegate(a, 0, true);
    dispatcher->addTargetedDelegate(b, 10, false);
    dispatcher->touchesBegan(setOf({t}), event());
    dispatcher->touchesEnded(setOf({t}), event());
    EXPECT_EQ(log, (TouchLog{"A began", "A ended"}));
}

TEST_F(TouchDispatcherTest, AmongEqualPrioritiesTheLaterAddedIsAskedFirst) {
    dispatcher->addTargetedDelegate(delegate("first"), 5, false);
    dispatcher->addTargetedDelegate(delegate("second"), 5, false);
    dispatcher->addTargetedDelegate(delegate("low"), -1, false);
    dispatcher->addTargetedDelegate(delegate("high"), 6, false);
    dispatcher->touchesBegan(setOf({touch()}), event());
    EXPECT_EQ(log, (TouchLog{"low began", "second began", "first began", "high began"}));
}

TEST_F(TouchDispatcherTest, OnlyClaimedTouchesGetTheirLaterPhasesUntilTheyEnd) {
    auto* picky = delegate("picky");
    UITouch* mine = touch();
    UITouch* other = touch();
    picky->onBegan = [&](UITouch* t) { return t == mine; };
    dispatcher->addTargetedDelegate(picky, 0, false);
    dispatcher->addTargetedDelegate(delegate("never", false), 1, false);

    dispatcher->touchesBegan(setOf({mine, other}), event());
    EXPECT_EQ(picky->retainCount(), 2u);
    log.clear();
    dispatcher->touchesMoved(setOf({mine, other}), event());
    dispatcher->touchesEnded(setOf({mine, other}), event());
    EXPECT_EQ(log, (TouchLog{"picky moved", "picky ended"}));
    EXPECT_EQ(dispatcher->targetedHandlers()[0]->claimedTouches()->count(), 0u);

    // An ended touch is no longer claimed; a cancelled one neither.
    log.clear();
    dispatcher->touchesMoved(setOf({mine}), event());
    dispatcher->touchesBegan(setOf({mine}), event());
    dispatcher->touchesCancelled(setOf({mine}), event());
    dispatcher->touchesCancelled(setOf({mine}), event());
    EXPECT_EQ(log, (TouchLog{"picky began", "never began", "picky cancelled"}));
}

TEST_F(TouchDispatcherTest, CallbacksADelegateLeavesOutAreNotCalledButClaimsStillEnd) {
    auto* targeted = delegate("T");
    targeted->targetedBits = ccTouchSelectorMovedBit; // began is required and always asked
    auto* standard = delegate("S");
    standard->standardBits = ccTouchSelectorBeganBit;
    dispatcher->addTargetedDelegate(targeted, 0, false);
    dispatcher->addStandardDelegate(standard, 0);
    EXPECT_EQ(dispatcher->targetedHandlers()[0]->enabledSelectors(), ccTouchSelectorBeganBit | ccTouchSelectorMovedBit);

    UITouch* t = touch();
    dispatcher->touchesBegan(setOf({t}), event());
    dispatcher->touchesMoved(setOf({t}), event());
    dispatcher->touchesEnded(setOf({t}), event());
    EXPECT_EQ(log, (TouchLog{"T began", "S touches-began:1", "T moved"}));
    EXPECT_FALSE(dispatcher->targetedHandlers()[0]->claimedTouches()->containsObject(t));
}

TEST_F(TouchDispatcherTest, StandardHandlersGetTheUnswallowedTouches) {
    auto* standard = delegate("S");
    dispatcher->addStandardDelegate(standard, 0);
    NSSet* both = setOf({touch(), touch()});

    // Only standard handlers: the event's own set.
    dispatcher->touchesBegan(both, event());
    EXPECT_EQ(standard->lastSet, both);

    // With targeted handlers: a copy without the swallowed touches; the event's set is untouched.
    auto* swallowed = static_cast<UITouch*>(both->anyObject());
    auto* swallower = delegate("W");
    swallower->onBegan = [&](UITouch* t) { return t == swallowed; };
    dispatcher->addTargetedDelegate(swallower, 0, true);
    log.clear();
    dispatcher->touchesBegan(both, event());
    EXPECT_EQ(log, (TouchLog{"W began", "W began", "S touches-began:1"}));
    EXPECT_NE(standard->lastSet, both);
    EXPECT_EQ(both->count(), 2u);

    // Every touch swallowed: standard handlers are not called.
    log.clear();
    dispatcher->touchesMoved(setOf({swallowed}), event());
    EXPECT_EQ(log, (TouchLog{"W moved"}));
}

TEST_F(TouchDispatcherTest, ADelegateRemovingItselfDuringBeganLetsLaterHandlersSeeTheEvent) {
    auto* quitter = delegate("Q");
    quitter->onBegan = [&](UITouch*) {
        dispatcher->removeDelegate(quitter);
        EXPECT_TRUE(dispatcher->locked());
        return true;
    };
    dispatcher->addTargetedDelegate(quitter, 0, false);
    dispatcher->addTargetedDelegate(delegate("after"), 1, false);
    dispatcher->addStandardDelegate(delegate("S"), 0);
    UITouch* t = touch();
    dispatcher->touchesBegan(setOf({t}), event());
    EXPECT_EQ(log, (TouchLog{"Q began", "after began", "S touches-began:1"}));
    EXPECT_EQ(quitter->retainCount(), 1u); // only the test's pool holds it now

    log.clear();
    dispatcher->touchesEnded(setOf({t}), event());
    EXPECT_EQ(log, (TouchLog{"after ended", "S touches-ended:1"}));
}

TEST_F(TouchDispatcherTest, ADelegateAddedDuringADispatchSeesOnlyLaterEvents) {
    auto* late = delegate("late");
    auto* adder = delegate("adder", false);
    adder->onBegan = [&](UITouch*) {
        if (dispatcher->targetedHandlers().size() == 1) dispatcher->addTargetedDelegate(late, 100, false);
        return false;
    };
    dispatcher->addTargetedDelegate(adder, 0, false);
    dispatcher->touchesBegan(setOf({touch()}), event());
    EXPECT_EQ(log, (TouchLog{"adder began"}));
    dispatcher->touchesBegan(setOf({touch()}), event());
    EXPECT_EQ(log, (TouchLog{"adder began", "adder began", "late began"}));
}

TEST_F(TouchDispatcherTest, RegistrationChangesDuringADispatchApplyInOrder) {
    // Remove-then-add during one dispatch keeps the new registration.
    auto* a = delegate("A");
    a->onBegan = [&](UITouch*) {
        a->onBegan = nullptr;
        dispatcher->removeDelegate(a);
        dispatcher->addTargetedDelegate(a, 3, true);
        return false;
    };
    dispatcher->addTargetedDelegate(a, 0, false);
    dispatcher->touchesBegan(setOf({touch()}), event());
    ASSERT_EQ(dispatcher->targetedHandlers().size(), 1u);
    EXPECT_EQ(dispatcher->targetedHandlers()[0]->priority(), 3);
    EXPECT_TRUE(dispatcher->targetedHandlers()[0]->swallowsTouches());

    // Add-then-remove during one dispatch leaves the delegate unregistered (and released).
    auto* b = delegate("B");
    auto* host = delegate("host", false);
    host->onBegan = [&](UITouch*) {
        dispatcher->addStandardDelegate(b, 0);
        dispatcher->removeDelegate(b);
        return false;
    };
    dispatcher->addTargetedDelegate(host, 0, false);
    dispatcher->touchesBegan(setOf({touch()}), event());
    EXPECT_TRUE(dispatcher->standardHandlers().empty());
    EXPECT_EQ(b->retainCount(), 1u);
}

TEST_F(TouchDispatcherTest, RemovingAllDelegatesDuringADispatchWinsOverQueuedAdditions) {
    auto* ender = delegate("end", false);
    auto* added = delegate("added");
    ender->onBegan = [&](UITouch*) {
        dispatcher->addStandardDelegate(added, 0);
        dispatcher->removeAllDelegates();
        return false;
    };
    dispatcher->addTargetedDelegate(ender, 0, false);
    dispatcher->addTargetedDelegate(delegate("next"), 1, false);
    dispatcher->touchesBegan(setOf({touch()}), event());
    EXPECT_EQ(log, (TouchLog{"end began", "next began"}));
    EXPECT_TRUE(dispatcher->targetedHandlers().empty());
    EXPECT_TRUE(dispatcher->standardHandlers().empty());
    EXPECT_EQ(added->retainCount(), 1u);
}

TEST_F(TouchDispatcherTest, DroppedEventsWhileDispatchingIsOff) {
    dispatcher->addTargetedDelegate(delegate("T"), 0, false);
    dispatcher->addStandardDelegate(delegate("S"), 0);
    dispatcher->setDispatchEvents(false);
    UITouch* t = touch();
    dispatcher->touchesBegan(setOf({t}), event());
    dispatcher->touchesEnded(setOf({t}), event());
    EXPECT_TRUE(log.empty());
    dispatcher->setDispatchEvents(true);
    dispatcher->touchesBegan(setOf({t}), event());
    EXPECT_EQ(log, (TouchLog{"T began", "S touches-began:1"}));
}

TEST_F(TouchDispatcherTest, ADelegateRegistersOnceForEachKind) {
    auto* d = delegate("D");
    dispatcher->addTargetedDelegate(d, 0, false);
    dispatcher->addStandardDelegate(d, 0); // the other kind is fine
    try {
        dispatcher->addTargetedDelegate(d, 5, true);
        FAIL() << "expected std::invalid_argument";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Delegate already added to touch dispatcher.");
    }
    EXPECT_THROW(dispatcher->addStandardDelegate(d, 1), std::invalid_argument);
    EXPECT_EQ(d->retainCount(), 3u); // the pool's and one per handler
    dispatcher->removeDelegate(d);
    EXPECT_EQ(d->retainCount(), 1u);
    dispatcher->removeDelegate(d); // not registered any more: nothing happens
    dispatcher->removeDelegate(nullptr);
}

TEST_F(TouchDispatcherTest, DoubleRegistrationDuringADispatchIsReportedToTheCaller) {
    auto* d = delegate("D", false);
    bool threw = false;
    d->onBegan = [&](UITouch*) {
        try {
            dispatcher->addTargetedDelegate(d, 1, false);
        } catch (const std::invalid_argument&) {
            threw = true;
        }
        return false;
    };
    dispatcher->addTargetedDelegate(d, 0, false);
    EXPECT_NO_THROW(dispatcher->touchesBegan(setOf({touch()}), event()));
    EXPECT_TRUE(threw);
    EXPECT_EQ(dispatcher->targetedHandlers().size(), 1u);
}

TEST_F(TouchDispatcherTest, ACallbackThatThrowsLeavesTheDispatcherUsable) {
    auto* thrower = delegate("X");
    auto* late = delegate("late");
    thrower->onBegan = [&](UITouch*) -> bool {
        dispatcher->addStandardDelegate(late, 0);
        throw std::runtime_error("boom");
    };
    dispatcher->addTargetedDelegate(thrower, 0, false);
    EXPECT_THROW(dispatcher->touchesBegan(setOf({touch()}), event()), std::runtime_error);
    EXPECT_FALSE(dispatcher->locked());
    EXPECT_EQ(dispatcher->standardHandlers().size(), 1u);
}

TEST_F(TouchDispatcherTest, AnEventDispatchedFromInsideACallbackDefersChangesToTheOuterEnd) {
    auto* outer = delegate("outer", false);
    auto* victim = delegate("victim", false);
    bool nested = false;
    outer->onBegan = [&](UITouch*) {
        if (!nested) {
            nested = true;
            dispatcher->removeDelegate(victim);
            dispatcher->touchesBegan(setOf({touch()}), event());
            EXPECT_TRUE(dispatcher->locked());
            EXPECT_EQ(dispatcher->targetedHandlers().size(), 2u);
        }
        return false;
    };
    dispatcher->addTargetedDelegate(outer, 0, false);
    dispatcher->addTargetedDelegate(victim, 1, false);
    dispatcher->touchesBegan(setOf({touch()}), event());
    EXPECT_EQ(log, (TouchLog{"outer began", "outer began", "victim began", "victim began"}));
    EXPECT_EQ(dispatcher->targetedHandlers().size(), 1u);
}

TEST_F(TouchDispatcherTest, HandlersRetainTheirDelegate) {
    auto* d = delegate("D");
    {
        CCAutoreleaseScope inner;
        CCTargetedTouchHandler* targeted = CCTargetedTouchHandler::handlerWithDelegate(d, 7, true);
        CCStandardTouchHandler* standard = CCStandardTouchHandler::handlerWithDelegate(d, 2);
        EXPECT_EQ(d->retainCount(), 3u);
        EXPECT_EQ(targeted->delegate(), static_cast<CCObject*>(d));
        EXPECT_EQ(targeted->priority(), 7);
        EXPECT_TRUE(targeted->swallowsTouches());
        EXPECT_EQ(targeted->claimedTouches()->count(), 0u);
        EXPECT_EQ(standard->enabledSelectors(), ccTouchSelectorAllBits);
    }
    EXPECT_EQ(d->retainCount(), 1u);
}

using TouchDispatcherDeathTest = TouchDispatcherTest;

TEST_F(TouchDispatcherDeathTest, PreconditionFailures) {
    EXPECT_DEATH(CCTargetedTouchHandler::handlerWithDelegate(nullptr, 0, false), "Touch delegate may not be nil");
    EXPECT_DEATH(CCStandardTouchHandler::handlerWithDelegate(nullptr, 0), "Touch delegate may not be nil");
    EXPECT_DEATH(dispatcher->setPriority(1, delegate("D")),
                 "Set priority no implemented yet. Don't forget to report this bug!");
    EXPECT_DEATH(dispatcher->touches(setOf({touch()}), event(), 4), "Invalid idx value");
    EXPECT_DEATH(new CCTouchDispatcher, "Attempted to allocate a second instance of a singleton.");
}

} // namespace
