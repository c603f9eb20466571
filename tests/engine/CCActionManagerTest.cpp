#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

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

// ---- elements kept in a pool: slots reused and the pool grown while a pass walks it ----

TEST_F(Manager, RemovingAllActionsOfOtherTargetsDuringThePassAndReusingTheirSlots) {
    Log log;
    CCNode* c = runningNode();
    CCNode* a = runningNode();
    CCNode* b = runningNode();
    CCNode* d = runningNode();
    CCNode* e = runningNode();
    c->runAction(Probe::make(1, &log, "c"));
    Probe* first = Probe::make(1, &log, "a");
    a->runAction(first);
    b->runAction(Probe::make(1, &log, "b"));
    b->runAction(Probe::make(1, &log, "b2"));
    d->runAction(Probe::make(1, &log, "d"));
    bool once = true;
    first->onUpdate = [&](float) {
        if (!std::exchange(once, false)) return;
        b->stopAllActions(); // later in the order: gone before its turn
        c->stopAllActions(); // earlier: already stepped
        e->runAction(Probe::make(1, &log, "e")); // most likely in a slot just freed; comes last
    };
    log.clear();
    tick(0.1f);
    EXPECT_EQ(log, (Log{"c:0", "a:0", "e:start", "d:0", "e:0"}));
    EXPECT_EQ(b->numberOfRunningActions(), 0u);
    EXPECT_EQ(c->numberOfRunningActions(), 0u);
    EXPECT_EQ(b->retainCount(), 1u);
    EXPECT_EQ(c->retainCount(), 1u);
    log.clear();
    tick(0.5f);
    EXPECT_EQ(log, (Log{"a:0.5", "d:0.5", "e:0.5"}));
}

// Its destructor runs a hook: what a node does when the manager lets go of it.
class DyingNode : public CCNode {
public:
    ~DyingNode() override {
        if (onDestroy) onDestroy();
    }
    std::function<void()> onDestroy;
};

TEST_F(Manager, AnElementMadeInTheSlotOfOneDeletedAfterItsPassIsNotTakenForIt) {
    Log log;
    CCNode* other = runningNode();
    auto* node = new DyingNode;
    node->init();
    node->onEnter();
    Probe* only = Probe::make(1, &log, "a");
    only->onUpdate = [node](float) { node->stopAllActions(); };
    node->runAction(only);
    node->release(); // the manager's reference is the last one
    node->onDestroy = [&] {
        // other's element takes the slot node's has just given back; emptying it deletes it at once.
        other->runAction(Probe::make(1, &log, "o"));
        other->stopAllActions();
    };
    tick(0.1f);
    EXPECT_EQ(log, (Log{"a:start", "a:0", "o:start"}));
    EXPECT_EQ(other->retainCount(), 1u);
    EXPECT_EQ(CCActionManager::sharedManager()->numberOfRunningActionsInTarget(other), 0u);
}

TEST_F(Manager, ANodeLetGoAfterItsPassMayDropTheNextNode) {
    Log log;
    auto* node = new DyingNode;
    node->init();
    node->onEnter();
    CCNode* next = runningNode();
    CCNode* last = runningNode();
    Probe* only = Probe::make(1, &log, "a");
    only->onUpdate = [node](float) { node->stopAllActions(); };
    node->runAction(only);
    next->runAction(Probe::make(1, &log, "n"));
    last->runAction(Probe::make(1, &log, "l"));
    node->release(); // the manager's reference is the last one
    // Letting go of node, once its pass is over, drops next, the element the pass goes to next.
    node->onDestroy = [&] { next->stopAllActions(); };
    log.clear();
    tick(0.1f);
    EXPECT_EQ(log, (Log{"a:0", "l:0"}));
    EXPECT_EQ(next->retainCount(), 1u);

    // Removing every action walks the elements too: letting go of one may drop the next.
    auto* dying = new DyingNode;
    dying->init();
    dying->onEnter();
    last->stopAllActions();
    dying->runAction(Probe::make(1, &log, "d"));
    last->runAction(Probe::make(1, &log, "l"));
    dying->release();
    dying->onDestroy = [&] { last->stopAllActions(); };
    CCActionManager::sharedManager()->removeAllActions();
    EXPECT_EQ(last->retainCount(), 1u);
    EXPECT_EQ(last->numberOfRunningActions(), 0u);
}

TEST_F(Manager, ElementsAddedDuringThePassMoveNothingThePassHolds) {
    std::vector<int> order;
    std::vector<CCNode*> added;
    CCNode* node = runningNode();
    CCNode* after = runningNode();
    Probe* spawner = Probe::make(1, nullptr, "");
    spawner->onUpdate = [&](float) {
        if (!added.empty()) return;
        for (int i = 0; i < 2000; i++) {
            added.push_back(runningNode());
            Probe* p = Probe::make(1, nullptr, "");
            p->onUpdate = [&order, i](float) { order.push_back(i); };
            added.back()->runAction(p);
        }
        // And the running target's own array grows past its room while it is walked.
        for (int i = 0; i < 9; i++) {
            Probe* p = Probe::make(1, nullptr, "");
            p->onUpdate = [&order](float) { order.push_back(-1); };
            node->runAction(p);
        }
    };
    node->runAction(spawner);
    Probe* last = Probe::make(1, nullptr, "");
    last->onUpdate = [&order](float) { order.push_back(-2); };
    after->runAction(last);
    tick(0.1f);
    ASSERT_EQ(order.size(), 9u + 1 + 2000);
    // Its own new actions, the target after it, then the new targets in the order they came.
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 10), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1, -1, -1, -2}));
    for (int i = 0; i < 2000; i++) ASSERT_EQ(order[10 + i], i);
    EXPECT_EQ(node->numberOfRunningActions(), 10u);
    for (CCNode* n : added) EXPECT_EQ(n->numberOfRunningActions(), 1u);
    order.clear();
    tick(0.1f);
    EXPECT_EQ(order.size(), 9u + 1 + 2000);
}

// Its stop can reach back into the manager before the pass removes it.
class StopHook : public Probe {
public:
    static StopHook* make(float duration, Log* log, std::string name) {
        auto* p = ccCreate<StopHook>([&](StopHook* a) { return a->initWithDuration(duration); });
        p->log = log;
        p->name = std::move(name);
        return p;
    }
    void stop() override {
        Probe::stop();
        if (onStop) onStop();
    }
    std::function<void()> onStop;
};

TEST_F(Manager, AFinishedActionWhoseStopRearrangesItsTargetIsRemovedAlone) {
    Log log;
    CCNode* node = runningNode();
    CCNode* other = runningNode();
    Probe* x = Probe::make(5, &log, "x");
    StopHook* f = StopHook::make(0.1f, &log, "f");
    StopHook* g = StopHook::make(0.1f, &log, "g");
    f->onStop = [&] {
        node->stopAction(x);                          // an earlier one: the array shifts
        node->runAction(Probe::make(5, &log, "new")); // a later one
    };
    g->onStop = [&] { other->stopAllActions(); }; // its own target's element, while walked
    node->runAction(x);
    node->runAction(f);
    node->runAction(Probe::make(5, &log, "y"));
    other->runAction(g);
    other->runAction(Probe::make(5, &log, "z"));
    tick(0.1f);
    log.clear();
    tick(0.1f);
    EXPECT_EQ(log, (Log{"x:0.02", "f:1", "f:stop", "new:start", "y:0.02", "new:0", "g:1", "g:stop"}));
    EXPECT_EQ(node->numberOfRunningActions(), 2u); // y and new
    EXPECT_EQ(other->numberOfRunningActions(), 0u);
    EXPECT_EQ(other->retainCount(), 1u);
    log.clear();
    tick(0.5f);
    EXPECT_EQ(log, (Log{"y:0.12", "new:0.1"}));
}

} // namespace
