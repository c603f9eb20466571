#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCNode.h"
#include "CCScheduler.h"
#include "CGPointExtension.h"
#include "ccMacros.h"
#include "support/HeadlessGL.h"

namespace {

std::vector<std::string>* gEvents = nullptr;

// Records drawing, lifecycle and timer calls, and the model-view matrix seen in draw.
class Recorder : public CCNode {
public:
    static Recorder* make(const std::string& name) {
        auto* r = ccCreate<Recorder>([](Recorder* n) { return n->init(); });
        r->name = name;
        return r;
    }
    void draw() override {
        gEvents->push_back(name);
        glGetFloatv(GL_MODELVIEW_MATRIX, drawMatrix);
    }
    void onEnter() override {
        CCNode::onEnter();
        gEvents->push_back(name + ".onEnter");
    }
    void onExit() override {
        gEvents->push_back(name + ".onExit");
        CCNode::onExit();
    }
    void cleanup() override {
        gEvents->push_back(name + ".cleanup");
        CCNode::cleanup();
    }
    void tick(float) { gEvents->push_back(name + ".tick"); }
    void update(float) override { gEvents->push_back(name + ".update"); }

    std::string name;
    float drawMatrix[16] = {};
};

class FakeGrid : public CCGridBase {
public:
    bool active() const override { return on; }
    void beforeDraw() override { gEvents->push_back("grid.before"); }
    void afterDraw(CCNode* target) override { gEvents->push_back("grid.after:" + static_cast<Recorder*>(target)->name); }
    bool on = true;
};

class NodeTest : public ::testing::Test {
protected:
    void SetUp() override { gEvents = &events; }
    void TearDown() override {
        CCScheduler::purgeSharedScheduler();
        gEvents = nullptr;
    }
    std::vector<std::string> names(CCNode* parent) {
        std::vector<std::string> out;
        for (CCObject* c : *parent->children()) out.push_back(static_cast<Recorder*>(c)->name);
        return out;
    }
    static void expectRect(CGRect r, float x, float y, float w, float h) {
        EXPECT_NEAR(r.origin.x, x, 1e-3);
        EXPECT_NEAR(r.origin.y, y, 1e-3);
        EXPECT_NEAR(r.size.width, w, 1e-3);
        EXPECT_NEAR(r.size.height, h, 1e-3);
    }
    CCAutoreleaseScope pool;
    std::vector<std::string> events;
};

} // namespace

TEST_F(NodeTest, ChildrenKeptInZOrderAndDrawnAroundTheParent) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    Recorder* parent = Recorder::make("parent");
    const int zs[] = {0, -1, 0, 2, -1};
    const char* labels[] = {"A", "B", "C", "D", "E"};
    for (int i = 0; i < 5; i++) parent->addChild(Recorder::make(labels[i]), zs[i]);
    EXPECT_EQ(names(parent), (std::vector<std::string>{"B", "E", "A", "C", "D"}));
    parent->visit();
    EXPECT_EQ(events, (std::vector<std::string>{"B", "E", "parent", "A", "C", "D"}));

    events.clear();
    auto* a = static_cast<Recorder*>(parent->children()->objectAtIndex(2));
    parent->reorderChild(a, 2); // after its new equal-z sibling D
    EXPECT_EQ(names(parent), (std::vector<std::string>{"B", "E", "C", "D", "A"}));
    EXPECT_EQ(a->zOrder(), 2);
    EXPECT_EQ(a->retainCount(), 2u); // the parent and the autorelease pool

    a->setVisible(false);
    parent->visit();
    EXPECT_EQ(events, (std::vector<std::string>{"B", "E", "parent", "C", "D"}));
}

TEST_F(NodeTest, VisitMultipliesEachTransformAndRestoresTheMatrix) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    Recorder* root = Recorder::make("root");
    Recorder* child = Recorder::make("child");
    root->setPosition(ccp(10, 20));
    child->setPosition(ccp(5, 0));
    child->setScale(2);
    child->setVertexZ(3);
    root->addChild(child);
    root->visit();
    EXPECT_FLOAT_EQ(root->drawMatrix[12], 10);
    EXPECT_FLOAT_EQ(child->drawMatrix[0], 2);
    EXPECT_FLOAT_EQ(child->drawMatrix[12], 15);
    EXPECT_FLOAT_EQ(child->drawMatrix[13], 20);
    EXPECT_FLOAT_EQ(child->drawMatrix[14], 3); // the 2D scale leaves z alone
    float after[16];
    HeadlessGL::modelView(after);
    EXPECT_FLOAT_EQ(after[12], 0);
    EXPECT_FLOAT_EQ(after[0], 1);

    // A moved node is picked up on the next visit (dirty bits).
    child->setPosition(ccp(0, 0));
    root->visit();
    EXPECT_FLOAT_EQ(child->drawMatrix[12], 10);
}

TEST_F(NodeTest, BoundingBoxFollowsAnchorRotationAndRelativeAnchor) {
    CCNode* n = CCNode::node();
    n->setContentSize(CGSizeMake(100, 50));
    n->setAnchorPoint(ccp(0.5f, 0.5f));
    n->setPosition(ccp(200, 100));
    expectRect(n->boundingBox(), 150, 75, 100, 50);
    n->setRotation(90);
    expectRect(n->boundingBox(), 175, 50, 50, 100);
    n->setRotation(0);
    n->setIsRelativeAnchorPoint(false);
    expectRect(n->boundingBox(), 200, 100, 100, 50);
    expectRect(n->boundingBoxInPixels(), 200, 100, 100, 50);
    EXPECT_EQ(n->anchorPointInPixels(), ccp(50, 25));
}

TEST_F(NodeTest, ConversionsBetweenNodeAndWorldSpace) {
    CCNode* root = CCNode::node();
    CCNode* child = CCNode::node();
    root->setPosition(ccp(100, 50));
    root->setScale(2);
    child->setContentSize(CGSizeMake(10, 10));
    child->setAnchorPoint(ccp(0.5f, 0.5f));
    child->setPosition(ccp(10, 0));
    child->setRotation(90);
    root->addChild(child);
    CGPoint w = child->convertToWorldSpace(ccp(5, 5)); // the anchor
    EXPECT_NEAR(w.x, 120, 1e-3);
    EXPECT_NEAR(w.y, 50, 1e-3);
    CGPoint back = child->convertToNodeSpace(w);
    EXPECT_NEAR(back.x, 5, 1e-3);
    EXPECT_NEAR(back.y, 5, 1e-3);
    CGPoint ar = child->convertToNodeSpaceAR(w);
    EXPECT_NEAR(ar.x, 0, 1e-3);
    EXPECT_NEAR(ar.y, 0, 1e-3);
    CGPoint w2 = child->convertToWorldSpaceAR(ccp(0, 1)); // one unit up, rotated clockwise, scaled
    EXPECT_NEAR(w2.x, 122, 1e-3);
    EXPECT_NEAR(w2.y, 50, 1e-3);
}

TEST_F(NodeTest, TagsAndRemoval) {
    CCNode* parent = CCNode::node();
    Recorder* a = Recorder::make("A");
    Recorder* b = Recorder::make("B");
    parent->addChild(a, 0, 7);
    parent->addChild(b, 0, 7);
    EXPECT_EQ(parent->getChildByTag(7), a);
    CCNode* stranger = CCNode::node();
    stranger->reorderChild(a, 5); // not its child: nothing
    EXPECT_EQ(a->zOrder(), 0);
    EXPECT_EQ(stranger->children(), nullptr);
    EXPECT_EQ(parent->getChildByTag(8), nullptr);
    parent->removeChildByTag(7, true);
    EXPECT_EQ(parent->getChildByTag(7), b);
    EXPECT_EQ(a->parent(), nullptr);
    parent->removeChild(a, true); // no longer a child: nothing
    parent->removeChild(nullptr, true);
    EXPECT_EQ(parent->children()->count(), 1u);
    b->removeFromParentAndCleanup(false);
    EXPECT_EQ(parent->children()->count(), 0u);
    EXPECT_NE(parent->description().find("| Tag = -1>"), std::string::npos);
}

TEST_F(NodeTest, LifecycleOrderAndPausedTimersUntilEnter) {
    Recorder* scene = Recorder::make("scene");
    Recorder* child = Recorder::make("child");
    child->schedule(ccSelector<void(float)>(&Recorder::tick, "tick"));
    child->scheduleUpdate();
    scene->addChild(child);
    CCScheduler::sharedScheduler()->tick(0.1f);
    EXPECT_TRUE(events.empty()); // registered paused: not running yet

    scene->onEnter();
    EXPECT_TRUE(child->isRunning());
    CCScheduler::sharedScheduler()->tick(0.1f);
    EXPECT_EQ(events, (std::vector<std::string>{"child.onEnter", "scene.onEnter", "child.update", "child.tick"}));

    events.clear();
    Recorder* late = Recorder::make("late");
    scene->addChild(late); // a running parent enters its new child at once
    EXPECT_EQ(events, (std::vector<std::string>{"late.onEnter"}));

    events.clear();
    EXPECT_EQ(child->retainCount(), 4u); // pool, parent, timer entry, update entry
    scene->removeChild(child, true);
    EXPECT_EQ(events, (std::vector<std::string>{"child.onExit", "child.cleanup"}));
    EXPECT_FALSE(child->isRunning());
    EXPECT_EQ(child->retainCount(), 1u); // only the autorelease pool's reference is left

    events.clear();
    scene->onExit();
    scene->cleanup();
    EXPECT_EQ(events, (std::vector<std::string>{"scene.onExit", "late.onExit", "scene.cleanup", "late.cleanup"}));
}

TEST_F(NodeTest, SettersDoNothingForUnchangedValuesAndKeepPixelsInStep) {
    CCNode* n = CCNode::node();
    n->setContentSize(CGSizeMake(40, 20));
    n->setAnchorPoint(ccp(1, 1));
    EXPECT_EQ(n->anchorPointInPixels(), ccp(40, 20));
    n->setContentSizeInPixels(CGSizeMake(80, 40));
    EXPECT_EQ(n->contentSize(), CGSizeMake(80, 40));
    EXPECT_EQ(n->anchorPointInPixels(), ccp(80, 40));
    n->setPositionInPixels(ccp(3, 4));
    EXPECT_EQ(n->position(), ccp(3, 4));
    CCCamera* cam = n->camera();
    EXPECT_EQ(cam, n->camera());
    EXPECT_FALSE(cam->dirty());
}

using NodeDeathTest = NodeTest;

TEST_F(NodeDeathTest, PreconditionFailuresStopWithTheirMessage) {
    CCNode* parent = CCNode::node();
    CCNode* child = CCNode::node();
    parent->addChild(child);
    EXPECT_DEATH(parent->addChild(nullptr), "Argument must be non-nil");
    EXPECT_DEATH(CCNode::node()->addChild(child), "child already added. It can't be added again");
    EXPECT_DEATH(parent->getChildByTag(kCCNodeTagInvalid), "Invalid tag");
    EXPECT_DEATH(parent->removeChildByTag(kCCNodeTagInvalid, true), "Invalid tag");
    EXPECT_DEATH(parent->schedule(nullptr), "Argument must be non-nil");
    EXPECT_DEATH(parent->schedule(ccSelector<void(float)>(&CCNode::update, "update"), -1), "Arguemnt must be positive");
    EXPECT_DEATH(child->addChild(parent), "A node can't be added to itself or to one of its descendants");
    EXPECT_DEATH(parent->addChild(parent), "A node can't be added to itself or to one of its descendants");
    child->setScaleX(2);
    EXPECT_DEATH((void)child->scale(), "CCNode#scale. ScaleX != ScaleY. Don't know which one to return");
}

TEST_F(NodeTest, CameraMovesTheMatrixOnlyOnceMoved) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    Recorder* n = Recorder::make("n");
    n->setContentSize(CGSizeMake(20, 20));
    n->setAnchorPoint(ccp(0.5f, 0.5f));
    n->setPosition(ccp(10, 10));
    n->camera(); // restored: leaves the matrix alone
    n->visit();
    EXPECT_FLOAT_EQ(n->drawMatrix[12], 0);
    EXPECT_FLOAT_EQ(n->drawMatrix[0], 1);

    // Looking from +x at the origin turns the scene a quarter about y.
    n->camera()->setEyeX(1, 0, 0);
    n->visit();
    EXPECT_NEAR(n->drawMatrix[0], 0, 1e-6);
    EXPECT_NEAR(n->drawMatrix[2], 1, 1e-6);
    EXPECT_NEAR(n->drawMatrix[8], -1, 1e-6);
    n->camera()->restore();
    n->visit();
    EXPECT_FLOAT_EQ(n->drawMatrix[0], 1);
}

TEST_F(NodeTest, ActiveGridWrapsTheSubtreeDrawing) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    Recorder* n = Recorder::make("n");
    n->addChild(Recorder::make("child"));
    auto* grid = new FakeGrid;
    n->setGrid(grid);
    EXPECT_EQ(grid->retainCount(), 2u);
    n->visit();
    EXPECT_EQ(events, (std::vector<std::string>{"grid.before", "n", "child", "grid.after:n"}));
    events.clear();
    grid->on = false;
    n->visit();
    EXPECT_EQ(events, (std::vector<std::string>{"n", "child"}));
    // Hidden, the node draws nothing and leaves its active grid alone.
    events.clear();
    grid->on = true;
    n->setVisible(false);
    n->visit();
    EXPECT_TRUE(events.empty());
    grid->release();
}
