#include <gtest/gtest.h>

#include "CCActionInstant.h"
#include "CCFlipProtocol.h"
#include "CCIntervalActions.h"
#include "support/ActionTestSupport.h"

namespace {

struct Listener : CCObject {
    void done() { calls.push_back("done"); }
    void doneWith(CCNode* node) { calls.push_back(node ? "node" : "null"); }
    void doneWithData(CCNode*, void* data) { calls.push_back(static_cast<const char*>(data)); }
    std::vector<std::string> calls;
};

struct FlipNode : CCNode, CCFlipProtocol {
    void setFlipX(bool f) override { flipX = f; }
    void setFlipY(bool f) override { flipY = f; }
    bool flipX = false, flipY = false;
};

using Instant = ActionTest;

TEST_F(Instant, CallFuncCallsInsideRunActionThenIsRemovedInTheNextPass) {
    CCPtr<Listener> listener(ccAutorelease(new Listener));
    CCNode* node = runningNode();
    node->runAction(CCCallFunc::actionWithTarget(listener, callfunc_selector(Listener::done)));
    EXPECT_EQ(listener->calls, std::vector<std::string>{"done"});
    EXPECT_EQ(node->numberOfRunningActions(), 1u);
    tick(0.1f);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    EXPECT_EQ(listener->calls.size(), 1u);
}

TEST_F(Instant, CallFuncHoldsItsCallbackObject) {
    auto* listener = new Listener;
    CCCallFunc* call = CCCallFunc::actionWithTarget(listener, callfunc_selector(Listener::done));
    EXPECT_EQ(listener->retainCount(), 2u);
    CCPtr<CCCallFunc> copy = CCPtr<CCCallFunc>::adopt(call->copy());
    EXPECT_EQ(listener->retainCount(), 3u);
    listener->release();
    copy->startWithTarget(runningNode());
    EXPECT_EQ(listener->calls.size(), 1u);
    // No callback object: nothing is called.
    CCCallFunc::actionWithTarget(nullptr, callfunc_selector(Listener::done))->startWithTarget(runningNode());
}

TEST_F(Instant, CallbacksWithTheNodeAndData) {
    CCPtr<Listener> listener(ccAutorelease(new Listener));
    CCNode* node = runningNode();
    char data[] = "payload";
    node->runAction(CCCallFuncN::actionWithTarget(listener, callfuncN_selector(Listener::doneWith)));
    CCCallFuncND* nd = CCCallFuncND::actionWithTarget(listener, callfuncND_selector(Listener::doneWithData), data);
    node->runAction(nd);
    CCPtr<CCCallFuncND> copy = CCPtr<CCCallFuncND>::adopt(nd->copy());
    EXPECT_EQ(copy->data(), data);
    EXPECT_EQ(copy->callbackMethod(), nd->callbackMethod());
    CCNode* seen = nullptr;
    int blockCalls = 0;
    node->runAction(CCCallBlock::actionWithBlock([&] { ++blockCalls; }));
    node->runAction(CCCallBlockN::actionWithBlock([&](CCNode* n) { seen = n; }));
    EXPECT_EQ(listener->calls, (std::vector<std::string>{"node", "payload"}));
    EXPECT_EQ(blockCalls, 1);
    EXPECT_EQ(seen, node);
    EXPECT_EQ(CCCallBlock::actionWithBlock(nullptr), nullptr);
}

TEST_F(Instant, ASequenceCallsBackAfterItsMoveEnds) {
    std::vector<CGPoint> seen;
    CCNode* node = runningNode();
    node->runAction(CCSequence::actions(CCMoveTo::actionWithDuration(1, CGPointMake(10, 0)),
                                        CCCallBlockN::actionWithBlock([&](CCNode* n) { seen.push_back(n->position()); })));
    tick(0.1f);
    tick(0.5f);
    EXPECT_TRUE(seen.empty());
    tick(0.5f);
    EXPECT_EQ(seen, std::vector<CGPoint>{CGPointMake(10, 0)});
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
}

TEST_F(Instant, AStoppedSequenceNeverCallsBack) {
    int calls = 0;
    CCNode* node = runningNode();
    node->runAction(CCSequence::actions(CCDelayTime::actionWithDuration(1),
                                        CCCallBlock::actionWithBlock([&] { ++calls; })));
    tick(0.1f);
    tick(0.9f);
    node->stopAllActions();
    tick(0.5f);
    EXPECT_EQ(calls, 0);
}

TEST_F(Instant, CallbacksRunOncePerRepetition) {
    int calls = 0;
    CCNode* node = runningNode();
    node->runAction(CCRepeat::actionWithAction(
        CCSequence::actions(CCDelayTime::actionWithDuration(0.5f), CCCallBlock::actionWithBlock([&] { ++calls; })), 3));
    tick(0.1f);
    for (int i = 0; i < 6; ++i) tick(0.25f);
    EXPECT_EQ(calls, 3);
}

TEST_F(Instant, VisibilityPlacementAndFlips) {
    CCNode* node = runningNode();
    node->runAction(CCHide::action());
    EXPECT_FALSE(node->visible());
    node->runAction(CCShow::action());
    EXPECT_TRUE(node->visible());
    node->runAction(CCToggleVisibility::action());
    node->runAction(CCToggleVisibility::action());
    EXPECT_TRUE(node->visible());
    node->runAction(CCPlace::actionWithPosition(CGPointMake(3, 4)));
    EXPECT_EQ(node->position(), CGPointMake(3, 4));
    EXPECT_NE(dynamic_cast<CCHide*>(CCShow::action()->reverse()), nullptr);
    EXPECT_NE(dynamic_cast<CCShow*>(CCHide::action()->reverse()), nullptr);

    CCPtr<FlipNode> sprite = CCPtr<FlipNode>::adopt(ccNew<FlipNode>([](FlipNode* n) { return n->init(); }));
    sprite->onEnter();
    sprite->runAction(CCFlipX::actionWithFlipX(true));
    sprite->runAction(CCFlipY::actionWithFlipY(true));
    EXPECT_TRUE(sprite->flipX);
    EXPECT_TRUE(sprite->flipY);
    EXPECT_FALSE(CCFlipX::actionWithFlipX(true)->reverse()->flipX());
    EXPECT_TRUE(CCFlipY::actionWithFlipY(false)->reverse()->flipY());
    node->runAction(CCFlipX::actionWithFlipX(true)); // a node that cannot flip is left alone
    sprite->stopAllActions();
}

} // namespace
