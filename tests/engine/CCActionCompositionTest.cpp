#include <gtest/gtest.h>

#include "CCAction.h"
#include "support/ActionTestSupport.h"

namespace {

using Interval = ActionTest;

TEST_F(Interval, FirstStepDiscardsItsTimeAndZeroStepsRepeatTheLastTime) {
    Log log;
    CCNode* node = runningNode();
    Probe* p = Probe::make(2, &log, "p");
    p->startWithTarget(node);
    p->step(5);
    p->step(1);
    p->step(0);
    p->step(1);
    EXPECT_TRUE(p->isDone());
    EXPECT_EQ(log, (Log{"p:start", "p:0", "p:0.5", "p:0.5", "p:1"}));
    // A restart resets the time.
    p->startWithTarget(node);
    EXPECT_FALSE(p->isDone());
    p->step(3);
    EXPECT_EQ(log.back(), "p:0");
}

TEST_F(Interval, ZeroDurationRunsOverTwoFrames) {
    Log log;
    Probe* p = Probe::make(0, &log, "p");
    EXPECT_FLOAT_EQ(p->duration(), 1.1920929e-7f);
    runningNode()->runAction(p);
    tick(0.016f);
    EXPECT_EQ(log.back(), "p:0");
    tick(0.016f);
    EXPECT_EQ(log, (Log{"p:start", "p:0", "p:1", "p:stop"}));
}

TEST_F(Interval, SequenceRunsItsActionsInTurn) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(CCSequence::actions(Probe::make(1, &log, "a"), Probe::make(1, &log, "b")));
    for (int i = 0; i < 5; ++i) tick(0.5f);
    EXPECT_EQ(log, (Log{"a:start", "a:0", "a:0.5", "a:1", "a:stop", "b:start", "b:0", "b:0.5", "b:1", "a:stop", "b:stop"}));
}

// Instant actions have a duration of exactly 0.
Probe* instantProbe(Log* log, const char* name) {
    Probe* p = Probe::make(0, log, name);
    p->setDuration(0);
    return p;
}

TEST_F(Interval, SequenceWithZeroDurationFirstRunsItAtOnce) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(CCSequence::actionOne(instantProbe(&log, "a"), Probe::make(1, &log, "b")));
    tick(0.1f);
    EXPECT_EQ(log, (Log{"a:start", "a:1", "a:stop", "b:start", "b:0"}));
}

TEST_F(Interval, SequenceWithZeroDurationSecondRunsItWhenTimeReachesOne) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(CCSequence::actionOne(Probe::make(1, &log, "a"), instantProbe(&log, "b")));
    tick(0.1f);
    tick(0.5f);
    EXPECT_EQ(log, (Log{"a:start", "a:0", "a:0.5"}));
    tick(0.5f);
    EXPECT_EQ(log, (Log{"a:start", "a:0", "a:0.5", "a:1", "a:stop", "b:start", "b:1", "a:stop", "b:stop"}));
}

TEST_F(Interval, SequenceListsFoldFromTheLeft) {
    Log log;
    EXPECT_EQ(CCSequence::actions({nullptr}), nullptr);
    Probe* only = Probe::make(1, &log, "a");
    EXPECT_EQ(CCSequence::actions(only), only);
    EXPECT_EQ(CCSequence::actions(only, nullptr, Probe::make(1, &log, "x")), only);
    auto* three = dynamic_cast<CCSequence*>(
        CCSequence::actions(Probe::make(1, &log, "a"), Probe::make(2, &log, "b"), CCDelayTime::actionWithDuration(3)));
    ASSERT_NE(three, nullptr);
    EXPECT_FLOAT_EQ(three->duration(), 6);
    auto* head = dynamic_cast<CCSequence*>(three->first());
    ASSERT_NE(head, nullptr);
    EXPECT_FLOAT_EQ(head->duration(), 3);
    EXPECT_NE(dynamic_cast<CCDelayTime*>(three->second()), nullptr);
}

TEST_F(Interval, SequenceReverseAndCopy) {
    Log log;
    CCSequence* s = CCSequence::actionOne(Probe::make(1, &log, "a"), Probe::make(2, &log, "b"));
    s->setTag(4);
    CCSequence* r = s->reverse();
    EXPECT_EQ(static_cast<Probe*>(r->first())->name, "b'");
    EXPECT_EQ(static_cast<Probe*>(r->second())->name, "a'");
    CCPtr<CCSequence> c = CCPtr<CCSequence>::adopt(s->copy());
    EXPECT_EQ(c->tag(), -1);
    EXPECT_NE(c->first(), s->first()); // deep copy
    EXPECT_FLOAT_EQ(c->duration(), 3);
}

TEST_F(Interval, SpawnPadsTheShorterActionAndReversesFromThePadding) {
    Log log;
    CCSpawn* s = CCSpawn::actionOne(Probe::make(1, &log, "a"), Probe::make(3, &log, "b"));
    EXPECT_FLOAT_EQ(s->duration(), 3);
    auto* padded = dynamic_cast<CCSequence*>(s->one());
    ASSERT_NE(padded, nullptr);
    EXPECT_FLOAT_EQ(dynamic_cast<CCDelayTime*>(padded->second())->duration(), 2);
    EXPECT_NE(dynamic_cast<Probe*>(s->two()), nullptr);
    CCSpawn* r = s->reverse();
    auto* reversedOne = dynamic_cast<CCSequence*>(r->one());
    ASSERT_NE(reversedOne, nullptr);
    EXPECT_NE(dynamic_cast<CCDelayTime*>(reversedOne->first()), nullptr); // starts with the delay
    EXPECT_FLOAT_EQ(r->duration(), 3);

    runningNode()->runAction(s);
    tick(0.1f);
    tick(1.5f);
        // The padded sequence starts its children only when it is first updated.
    EXPECT_EQ(log, (Log{"b:start", "a:start", "a:0", "b:0", "a:1", "a:stop", "b:0.5"}));
    // Equal durations are not padded.
    CCSpawn* even = CCSpawn::actionOne(Probe::make(1, &log, "c"), Probe::make(1, &log, "d"));
    EXPECT_NE(dynamic_cast<Probe*>(even->one()), nullptr);
}

TEST_F(Interval, RepeatRestartsItsActionOncePerRepetition) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(CCRepeat::actionWithAction(Probe::make(1, &log, "a"), 2));
    for (int i = 0; i < 4; ++i) tick(0.5f);
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    tick(0.5f);
    // At u = 1 exactly the first repetition shows its end, not its start.
    EXPECT_EQ(log, (Log{"a:start", "a:0", "a:0.5", "a:1", "a:1", "a:stop", "a:start", "a:0.5", "a:1", "a:stop"}));
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(Interval, RepeatCatchesUpOneRepetitionPerStepAfterALongFrame) {
    Log log;
    CCNode* node = runningNode();
    auto* repeat = CCRepeat::actionWithAction(Probe::make(1, &log, "a"), 3);
    node->runAction(repeat);
    tick(0.1f);
    tick(10);
    EXPECT_EQ(repeat->total(), 1u);
    tick(0.1f);
    EXPECT_EQ(repeat->total(), 2u);
    tick(0.1f);
    EXPECT_EQ(repeat->total(), 3u);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(Interval, RepeatOfZeroTimesFinishes) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(CCRepeat::actionWithAction(Probe::make(1, &log, "a"), 0));
    for (int i = 0; i < 3; ++i) tick(0.1f);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(Interval, RepeatForeverRestartsInTheSameFrameAndItsStopLeavesTheInnerAction) {
    Log log;
    CCNode* node = runningNode();
    auto* forever = CCRepeatForever::actionWithAction(Probe::make(1, &log, "a"));
    node->runAction(forever);
    tick(0.1f);
    tick(0.5f);
    tick(0.6f);
    EXPECT_EQ(log, (Log{"a:start", "a:0", "a:0.5", "a:1", "a:start", "a:0"}));
    EXPECT_FALSE(forever->isDone());
    forever->stop();
    EXPECT_EQ(log.back(), "a:0");
    EXPECT_EQ(forever->innerAction()->target(), node);
}

TEST_F(Interval, SpeedScalesTimeAndReverseTimePlaysBackwards) {
    Log log;
    CCNode* node = runningNode();
    auto* speed = CCSpeed::actionWithAction(Probe::make(1, &log, "s"), 2);
    node->runAction(speed);
    node->runAction(CCReverseTime::actionWithAction(Probe::make(1, &log, "r")));
    tick(0.1f);
    tick(0.25f);
    speed->setSpeed(4);
    tick(0.125f);
    EXPECT_EQ(log, (Log{"s:start", "r:start", "s:0", "r:1", "s:0.5", "r:0.75", "s:1", "s:stop", "r:0.625"}));
    EXPECT_EQ(speed->reverse()->speed(), 4);
}

TEST_F(Interval, CopiesAreUnstartedAndOnlyThePlainActionCopyKeepsTheTag) {
    CCNode* node = runningNode();
    CCAction* plain = CCAction::action();
    plain->setTag(5);
    CCPtr<CCAction> plainCopy = CCPtr<CCAction>::adopt(plain->copy());
    EXPECT_EQ(plainCopy->tag(), 5);

    CCRepeat* repeat = CCRepeat::actionWithAction(CCDelayTime::actionWithDuration(1), 3);
    repeat->setTag(5);
    node->runAction(repeat);
    tick(0.1f);
    tick(0.5f);
    CCPtr<CCRepeat> copy = CCPtr<CCRepeat>::adopt(repeat->copy());
    EXPECT_EQ(copy->tag(), -1);
    EXPECT_EQ(copy->target(), nullptr);
    EXPECT_EQ(copy->elapsed(), 0);
    EXPECT_EQ(copy->times(), 3u);
    EXPECT_NE(copy->innerAction(), repeat->innerAction());
    // A copy can run on a second target.
    runningNode()->runAction(copy);
    EXPECT_EQ(repeat->description().find("Tag = 5") != std::string::npos, true);
}

using IntervalDeathTest = ActionTest;

TEST_F(IntervalDeathTest, FailsOnProgrammingErrors) {
    Log log;
    EXPECT_DEATH(CCActionInterval::actionWithDuration(1)->reverse(), "CCIntervalAction: reverse not implemented.");
    EXPECT_DEATH((new CCActionInterval)->init(), "IntervalActionInit: Init not supported. Use InitWithDuration");
    EXPECT_DEATH(CCSequence::actionOne(nullptr, Probe::make(1, &log, "a")), "Sequence: argument one must be non-nil");
    EXPECT_DEATH(CCSequence::actionOne(Probe::make(1, &log, "a"), nullptr), "Sequence: argument two must be non-nil");
    EXPECT_DEATH(CCSpawn::actionOne(nullptr, Probe::make(1, &log, "a")), "Spawn: argument one must be non-nil");
    EXPECT_DEATH(CCSpawn::actionOne(Probe::make(1, &log, "a"), nullptr), "Spawn: argument two must be non-nil");
}

} // namespace
