#include <gtest/gtest.h>

#include <stdexcept>

#include "support/ActionTestSupport.h"

namespace {

using Manager = ActionTest;

TEST_F(Manager, StepsAnActionFromZeroToExactlyOneThenRemovesIt) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(Probe::make(1.0f, &log, "a"));
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    tick(0.3f); // the first step discards its dt
    for (int i = 0; i < 4; ++i) tick(0.25f);
    EXPECT_EQ(log, (Log{"a:start", "a:0", "a:0.25", "a:0.5", "a:0.75", "a:1", "a:stop"}));
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    tick(0.25f);
    EXPECT_EQ(log.size(), 7u);
}

TEST_F(Manager, HoldsTargetsWhileTheyHaveActions) {
    CCNode* node = new CCNode;
    node->init();
    node->runAction(CCDelayTime::actionWithDuration(0.1f));
    EXPECT_EQ(node->retainCount(), 2u);
    node->stopAllActions();
    EXPECT_EQ(node->retainCount(), 1u);
    node->release();
}

TEST_F(Manager, ActionsOfANodeOffStageWaitForItsOnEnter) {
    Log log;
    CCPtr<CCNode> node = CCNode::node();
    node->runAction(Probe::make(1.0f, &log, "a"));
    tick(0.5f);
    EXPECT_EQ(log, Log{"a:start"});
    node->onEnter();
    tick(0.5f);
    tick(0.5f);
    EXPECT_EQ(log, (Log{"a:start", "a:0", "a:0.5"}));
    node->onExit();
    tick(0.5f);
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(Manager, PausedFlagIsIgnoredForATargetThatAlreadyHasActions) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(CCDelayTime::actionWithDuration(5));
    CCActionManager::sharedManager()->addAction(Probe::make(1, &log, "b"), node, true);
    tick(0.1f);
    EXPECT_EQ(log, (Log{"b:start", "b:0"}));
    // And pausing a target without actions is not remembered.
    CCNode* other = CCNode::node();
    CCActionManager::sharedManager()->pauseTarget(other);
    CCActionManager::sharedManager()->addAction(Probe::make(1, &log, "c"), other, false);
    tick(0.1f);
    EXPECT_EQ(log.back(), "c:0");
}

TEST_F(Manager, StopAllActionsDuringAStepKeepsTheStepperAliveAndSkipsTheRest) {
    Log log;
    bool destroyed = false;
    CCNode* node = runningNode();
    {
        CCAutoreleaseScope inner; // so that only the manager holds the actions
        Probe* first = Probe::make(1, &log, "a");
        first->destroyed = &destroyed;
        first->onUpdate = [&](float) {
            node->stopAllActions();
            EXPECT_FALSE(destroyed);
            EXPECT_EQ(node->numberOfRunningActions(), 0u);
            log.push_back("a:after");
        };
        node->runAction(first);
        node->runAction(Probe::make(1, &log, "b"));
    }
    tick(0.1f);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(log, (Log{"a:start", "b:start", "a:0", "a:after"})); // no stop, b not stepped
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    EXPECT_EQ(node->retainCount(), 1u); // the element is gone
    // The target can receive actions again.
    node->runAction(Probe::make(1, &log, "c"));
    tick(0.1f);
    EXPECT_EQ(log.back(), "c:0");
}

TEST_F(Manager, RemovingAnEarlierActionDuringAStepNeitherSkipsNorRepeats) {
    Log log;
    CCNode* node = runningNode();
    Probe* a = Probe::make(1, &log, "a");
    Probe* b = Probe::make(1, &log, "b");
    Probe* c = Probe::make(1, &log, "c");
    node->runAction(a);
    node->runAction(b);
    node->runAction(c);
    bool once = true;
    b->onUpdate = [&](float) {
        if (std::exchange(once, false)) node->stopAction(a);
    };
    log.clear();
    tick(0.1f);
    EXPECT_EQ(log, (Log{"a:0", "b:0", "c:0"}));
    log.clear();
    tick(0.5f);
    EXPECT_EQ(log, (Log{"b:0.5", "c:0.5"}));
}

TEST_F(Manager, RemovingTheSteppingActionItselfAndFinishingActionsDuringThePass) {
    Log log;
    CCNode* node = runningNode();
    Probe* a = Probe::make(0.5f, &log, "a");
    a->onUpdate = [&](float t) {
        if (t > 0) node->stopAction(a); // removal during its own step: stop is not called
    };
    node->runAction(a);
    node->runAction(Probe::make(0.5f, &log, "b"));
    tick(0.1f);
    tick(0.5f);
    EXPECT_EQ(log, (Log{"a:start", "b:start", "a:0", "b:0", "a:1", "b:1", "b:stop"}));
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(Manager, ActionsAddedDuringAPassAreSteppedInThatPass) {
    Log log;
    CCNode* first = runningNode();
    CCNode* later = runningNode();
    Probe* spawner = Probe::make(1, &log, "s");
    spawner->onUpdate = [&](float) {
        if (log.size() < 4) {
            first->runAction(Probe::make(1, &log, "own"));
            later->runAction(Probe::make(1, &log, "later"));
        }
    };
    first->runAction(spawner);
    tick(0.1f);
    EXPECT_EQ(log, (Log{"s:start", "s:0", "own:start", "later:start", "own:0", "later:0"}));
}

TEST_F(Manager, TagLookupsAndRemovals) {
    CCNode* node = runningNode();
    CCNode* other = runningNode();
    auto tagged = [](int tag) {
        CCAction* a = CCDelayTime::actionWithDuration(1);
        a->setTag(tag);
        return a;
    };
    CCAction* a1 = node->runAction(tagged(7));
    CCAction* a2 = node->runAction(tagged(7));
    EXPECT_EQ(node->getActionByTag(7), a1);
    EXPECT_EQ(node->getActionByTag(8), nullptr);
    EXPECT_EQ(other->getActionByTag(7), nullptr);
    node->stopActionByTag(7);
    EXPECT_EQ(node->getActionByTag(7), a2);
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    // Only actions whose original target is the target are removed by tag.
    CCActionManager::sharedManager()->removeActionByTag(7, other);
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    node->stopActionByTag(9);
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
}

TEST_F(Manager, ManyTargetsAreKeptApartAndVisitedInInsertionOrder) {
    Log log;
    std::vector<CCNode*> nodes;
    for (int i = 0; i < 300; ++i) {
        nodes.push_back(runningNode());
        nodes.back()->runAction(Probe::make(1, &log, std::to_string(i)));
        if (i % 3 == 0) nodes.back()->runAction(CCDelayTime::actionWithDuration(1));
    }
    log.clear();
    tick(0.1f);
    ASSERT_EQ(log.size(), 300u);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(log[i], std::to_string(i) + ":0");
        EXPECT_EQ(nodes[i]->numberOfRunningActions(), i % 3 == 0 ? 2u : 1u);
    }
}

TEST_F(Manager, CleanupRemovesTheNodesActions) {
    CCNode* parent = runningNode();
    CCNode* child = CCNode::node();
    parent->addChild(child);
    child->runAction(CCDelayTime::actionWithDuration(1));
    parent->removeChild(child, true);
    EXPECT_EQ(child->numberOfRunningActions(), 0u);
}

TEST_F(Manager, PurgeMakesAFreshManagerThatStillRuns) {
    Log log;
    CCNode* node = runningNode();
    node->runAction(CCDelayTime::actionWithDuration(1));
    CCActionManager* old = CCActionManager::sharedManager();
    CCActionManager::purgeSharedManager();
    EXPECT_EQ(node->retainCount(), 1u); // the purge let go of the target
    node->runAction(Probe::make(1, &log, "a"));
    EXPECT_NE(CCActionManager::sharedManager(), nullptr);
    (void)old;
    tick(0.1f);
    EXPECT_EQ(log, (Log{"a:start", "a:0"}));
}

using ManagerDeathTest = ActionTest;

TEST_F(ManagerDeathTest, FailsOnProgrammingErrors) {
    CCNode* node = runningNode();
    CCAction* action = node->runAction(CCDelayTime::actionWithDuration(1));
    EXPECT_DEATH(node->runAction(action), "runAction: Action already running");
    EXPECT_DEATH(node->getActionByTag(-1), "Invalid tag");
    EXPECT_DEATH(node->stopActionByTag(-1), "Invalid tag");
    EXPECT_DEATH(CCActionManager::sharedManager()->removeActionByTag(3, nullptr), "Target should be ! nil");
    EXPECT_DEATH(CCActionManager::sharedManager()->addAction(nullptr, node, false),
                 "Argument action must be non-nil");
    EXPECT_DEATH(node->runAction(nullptr), "Argument must be non-nil");
    EXPECT_DEATH(new CCActionManager, "Attempted to allocate a second instance of a singleton.");
}

TEST_F(Manager, AnActionThatThrowsLeavesItsTargetRemovable) {
    Log log;
    CCPtr<CCNode> node = CCNode::node();
    node->onEnter();
    const unsigned base = node->retainCount();
    Probe* thrower = Probe::make(1.0f, &log, "a");
    thrower->onUpdate = [&](float t) {
        if (t > 0) {
            node->stopAllActions(); // removed during its own step, then the step fails
            throw std::runtime_error("step failed");
        }
    };
    node->runAction(thrower);
    tick(0.1f); // the first step
    EXPECT_THROW(tick(0.25f), std::runtime_error);
    EXPECT_EQ(node->retainCount(), base); // the manager let go of the node
    // Later actions of the node run and end as usual.
    node->runAction(Probe::make(0.5f, &log, "b"));
    EXPECT_EQ(node->retainCount(), base + 1);
    tick(0.1f);
    tick(0.5f);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    EXPECT_EQ(node->retainCount(), base);
}

} // namespace
