#include <gtest/gtest.h>

#include <vector>

#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCTextureAtlas.h"
#include "CGPointExtension.h"
#include "SpriteTestSupport.h"

namespace {

class Batch : public SpriteGLTest {
protected:
    void SetUp() override {
        SpriteGLTest::SetUp();
        if (IsSkipped()) return;
        tex = texture("sheet.png", 32, 32, [](unsigned x, unsigned y) {
            // Quadrants: red, green / blue, white (top row first).
            if (y < 16) return x < 16 ? RGBA{255, 0, 0, 255} : RGBA{0, 255, 0, 255};
            return x < 16 ? RGBA{0, 0, 255, 255} : RGBA{255, 255, 255, 255};
        });
        batch = CCSpriteBatchNode::batchNodeWithTexture(tex);
    }
    CCSprite* sprite(CGRect rect = CGRectMake(0, 0, 16, 16)) { return CCSprite::spriteWithTexture(tex, rect); }
    std::vector<CCSprite*> slots() const {
        std::vector<CCSprite*> out;
        for (CCObject* o : *batch->descendants()) out.push_back(static_cast<CCSprite*>(o));
        return out;
    }
    void expectIndicesMatchSlots() const {
        auto s = slots();
        for (unsigned i = 0; i < s.size(); i++) EXPECT_EQ(s[i]->atlasIndex(), i);
        EXPECT_EQ(batch->textureAtlas()->totalQuads(), s.size());
    }

    CCTexture2D* tex = nullptr;
    CCSpriteBatchNode* batch = nullptr;
};

TEST_F(Batch, SlotsFollowZOrderWhateverTheOrderOfAdding) {
    CCSprite* a = sprite();
    CCSprite* b = sprite();
    CCSprite* c = sprite();
    batch->addChild(a, 0);
    batch->addChild(c, 1);
    batch->addChild(b, -1);
    EXPECT_EQ(slots(), (std::vector<CCSprite*>{b, a, c}));
    expectIndicesMatchSlots();
    EXPECT_TRUE(a->usesBatchNode());
    EXPECT_EQ(a->textureAtlas(), batch->textureAtlas());

    batch->reorderChild(b, 2);
    EXPECT_EQ(slots(), (std::vector<CCSprite*>{a, c, b}));
    expectIndicesMatchSlots();
}

TEST_F(Batch, NestedSpritesTakeSlotsAroundTheirParentAndLeaveTogether) {
    CCSprite* first = sprite();
    batch->addChild(first, 0);
    CCSprite* parent = sprite();
    CCSprite* below = sprite();
    CCSprite* above = sprite();
    // Children added before the parent enters the batch are placed with it.
    parent->addChild(above, 1);
    batch->addChild(parent, 1);
    parent->addChild(below, -1);
    CCSprite* last = sprite();
    batch->addChild(last, 2);
    EXPECT_EQ(slots(), (std::vector<CCSprite*>{first, below, parent, above, last}));
    expectIndicesMatchSlots();

    batch->removeChild(parent, true);
    EXPECT_EQ(slots(), (std::vector<CCSprite*>{first, last}));
    expectIndicesMatchSlots();
    EXPECT_EQ(last->atlasIndex(), 1u);
    EXPECT_FALSE(parent->usesBatchNode());
    EXPECT_FALSE(below->usesBatchNode());
    EXPECT_EQ(below->atlasIndex(), CCSpriteIndexNotInitialized);

    // Renumbering in drawing order agrees with the incremental bookkeeping.
    batch->addChild(parent, -5);
    std::vector<unsigned> before;
    for (CCSprite* s : slots()) before.push_back(s->atlasIndex());
    for (CCSprite* s : slots()) s->setAtlasIndex(99);
    EXPECT_EQ(batch->rebuildIndexInOrder(batch, 0), 5u);
    std::vector<unsigned> after;
    for (CCSprite* s : slots()) after.push_back(s->atlasIndex());
    EXPECT_EQ(after, before);
}

TEST_F(Batch, SpritesMadeForTheBatchTakeTheirChildrenInOnce) {
    // Made in batch mode but not yet placed: children wait for the parent's own slot.
    CCSprite* parent = batch->createSpriteWithRect(CGRectMake(0, 0, 16, 16));
    CCSprite* below = batch->createSpriteWithRect(CGRectMake(16, 0, 16, 16));
    CCSprite* above = batch->createSpriteWithRect(CGRectMake(0, 16, 16, 16));
    parent->addChild(below, -1);
    parent->addChild(above, 1);
    EXPECT_EQ(batch->textureAtlas()->totalQuads(), 0u);
    parent->removeChild(above, true);
    parent->addChild(above, 1);
    batch->addChild(parent);
    EXPECT_EQ(slots(), (std::vector<CCSprite*>{below, parent, above}));
    expectIndicesMatchSlots();
}

TEST_F(Batch, CapacityGrowsByAThird) {
    EXPECT_EQ(batch->textureAtlas()->capacity(), 29u);
    for (int i = 0; i < 29; i++) batch->addChild(sprite());
    EXPECT_EQ(batch->textureAtlas()->capacity(), 29u);
    batch->addChild(sprite());
    EXPECT_EQ(batch->textureAtlas()->capacity(), 40u);
    for (int i = 0; i < 11; i++) batch->addChild(sprite());
    EXPECT_EQ(batch->textureAtlas()->capacity(), 54u);
    expectIndicesMatchSlots();
    const std::uint16_t* idx = batch->textureAtlas()->indices();
    EXPECT_EQ((std::vector<int>(idx + 53 * 6, idx + 54 * 6)), (std::vector<int>{212, 213, 214, 215, 214, 213}));
    // Removing never shrinks.
    batch->removeAllChildrenWithCleanup(true);
    EXPECT_EQ(batch->textureAtlas()->capacity(), 54u);
    EXPECT_EQ(batch->textureAtlas()->totalQuads(), 0u);
}

TEST_F(Batch, DirtySpritesWriteTheirTransformedQuad) {
    CCSprite* parent = sprite();
    CCSprite* child = sprite(CGRectMake(16, 0, 16, 16));
    batch->addChild(parent);
    parent->addChild(child);
    parent->setPosition(ccp(20, 10));
    parent->setRotation(30);
    parent->setScale(1.5f);
    child->setPosition(ccp(4, 24));
    child->setScaleX(0.5f);
    batch->draw();
    EXPECT_FALSE(parent->dirty());
    EXPECT_FALSE(child->dirty());

    // The quad corners match the node tree's own transform of the child's rectangle.
    CGAffineTransform t = CGAffineTransformConcat(child->nodeToParentTransform(), parent->nodeToParentTransform());
    const ccV3F_C4B_T2F_Quad& q = batch->textureAtlas()->quads()[child->atlasIndex()];
    CGPoint bl = CGPointApplyAffineTransform(CGPointZero, t);
    CGPoint tr = CGPointApplyAffineTransform(ccp(16, 16), t);
    EXPECT_NEAR(q.bl.vertices.x, bl.x, 1e-3);
    EXPECT_NEAR(q.bl.vertices.y, bl.y, 1e-3);
    EXPECT_NEAR(q.tr.vertices.x, tr.x, 1e-3);
    EXPECT_NEAR(q.tr.vertices.y, tr.y, 1e-3);

    // Ignoring the parent's rotation and scale keeps only its translation.
    child->setHonorParentTransform(CC_HONOR_PARENT_TRANSFORM_TRANSLATE);
    child->setPosition(ccp(4, 24));
    batch->draw();
    const ccV3F_C4B_T2F_Quad& q2 = batch->textureAtlas()->quads()[child->atlasIndex()];
    EXPECT_NEAR(q2.bl.vertices.x, 20 - 8 + 4 - 4, 1e-3);
    EXPECT_NEAR(q2.bl.vertices.y, 10 - 8 + 24 - 8, 1e-3);
}

TEST_F(Batch, HiddenSpritesKeepTheirSlotWithADegenerateQuad) {
    CCSprite* parent = sprite();
    CCSprite* child = sprite();
    batch->addChild(parent);
    parent->addChild(child);
    parent->setPosition(ccp(30, 30)); // marks the subtree dirty
    parent->setVisible(false);        // must still reach the child
    EXPECT_FALSE(child->visible());
    batch->draw();
    EXPECT_EQ(batch->textureAtlas()->totalQuads(), 2u);
    for (CCSprite* s : {parent, child}) {
        const ccV3F_C4B_T2F_Quad& q = batch->textureAtlas()->quads()[s->atlasIndex()];
        for (const ccV3F_C4B_T2F* v : {&q.tl, &q.bl, &q.tr, &q.br}) {
            EXPECT_EQ(v->vertices.x, 0);
            EXPECT_EQ(v->vertices.y, 0);
        }
    }
}

TEST_F(Batch, ColourGoesToTheAtlasAtOnce) {
    CCSprite* s = sprite();
    batch->addChild(s);
    s->setOpacity(100);
    EXPECT_EQ(batch->textureAtlas()->quads()[0].br.colors.a, 100);
}

TEST_F(Batch, SpritesLeavingTheBatchNeverPointAtIt) {
    CCSpriteBatchNode* b = ccNew<CCSpriteBatchNode>([&](CCSpriteBatchNode* n) { return n->initWithTexture(tex, 4); });
    CCSprite* child = sprite();
    CCSprite* grandchild = sprite();
    b->addChild(child);
    child->addChild(grandchild);
    EXPECT_TRUE(grandchild->usesBatchNode());
    b->removeAllChildrenWithCleanup(true);
    EXPECT_FALSE(grandchild->usesBatchNode());

    b->addChild(child);
    EXPECT_TRUE(grandchild->usesBatchNode());
    CCPtr<CCSprite> keep(child);
    b->release(); // the batch node goes while its sprites live on
    EXPECT_FALSE(child->usesBatchNode());
    EXPECT_FALSE(grandchild->usesBatchNode());
    EXPECT_EQ(grandchild->textureAtlas(), nullptr);
    grandchild->setOpacity(10); // would otherwise write into a destroyed atlas
}

TEST_F(Batch, WrongChildrenStopWithTheirMessages) {
    EXPECT_DEATH(batch->addChild(CCNode::node()), "CCSpriteBatchNode only supports CCSprites as children");
    CCSprite* foreign = CCSprite::spriteWithTexture(solid("other.png", 8, 8, {1, 1, 1, 255}));
    EXPECT_DEATH(batch->addChild(foreign), "CCSprite is not using the same texture id");
    EXPECT_DEATH(batch->removeChild(foreign, true), "CCSpriteBatchNode doesn't contain the sprite. Can't remove it");
    EXPECT_DEATH(batch->reorderChild(foreign, 3), "Child doesn't belong to Sprite");
    // A sprite that gathered other nodes while drawing itself cannot bring them in.
    CCSprite* parent = sprite();
    parent->addChild(CCNode::node());
    EXPECT_DEATH(batch->addChild(parent), "CCSpriteBatchNode only supports CCSprites as children");
}

// ---- atlas ----

TEST_F(Batch, AtlasQuadOperations) {
    CCTextureAtlas* atlas = CCTextureAtlas::textureAtlasWithTexture(tex, 10);
    auto quadAt = [](float x) {
        ccV3F_C4B_T2F_Quad q{};
        q.tl.vertices.x = x;
        return q;
    };
    atlas->updateQuad(quadAt(0), 0);
    atlas->updateQuad(quadAt(1), 1);
    atlas->updateQuad(quadAt(5), 5);
    EXPECT_EQ(atlas->totalQuads(), 6u);
    auto xs = [&] {
        std::vector<float> out;
        for (unsigned i = 0; i < atlas->totalQuads(); i++) out.push_back(atlas->quads()[i].tl.vertices.x);
        return out;
    };
    atlas->insertQuad(quadAt(9), 1);
    EXPECT_EQ(xs(), (std::vector<float>{0, 9, 1, 0, 0, 0, 5}));
    atlas->insertQuadFromIndex(6, 0);
    EXPECT_EQ(xs(), (std::vector<float>{5, 0, 9, 1, 0, 0, 0}));
    atlas->insertQuadFromIndex(0, 3);
    EXPECT_EQ(xs(), (std::vector<float>{0, 9, 1, 5, 0, 0, 0}));
    atlas->removeQuadAtIndex(0);
    EXPECT_EQ(xs(), (std::vector<float>{9, 1, 5, 0, 0, 0}));

    EXPECT_DEATH(atlas->updateQuad(quadAt(0), 10), "updateQuadWithTexture: Invalid index");
    EXPECT_DEATH(atlas->removeQuadAtIndex(6), "removeQuadAtIndex: Invalid index");
    EXPECT_DEATH(atlas->insertQuadFromIndex(6, 0), "insertQuadFromIndex:atIndex: Invalid index");
    // A slot beyond the quads in use would leave a gap.
    EXPECT_DEATH(atlas->insertQuad(quadAt(0), 8), "insertQuadWithTexture: Invalid index");

    EXPECT_TRUE(atlas->resizeCapacity(3));
    EXPECT_EQ(atlas->totalQuads(), 3u);
    EXPECT_EQ(xs(), (std::vector<float>{9, 1, 5}));
    EXPECT_TRUE(atlas->resizeCapacity(3));
}

// ---- pixels ----

TEST_F(Batch, DrawsAllSpritesInSlotOrderWithOneCall) {
    CCSprite* red = sprite(CGRectMake(0, 0, 16, 16));
    CCSprite* green = sprite(CGRectMake(16, 0, 16, 16));
    CCSprite* blue = sprite(CGRectMake(0, 16, 16, 16));
    red->setPosition(ccp(20, 20));
    green->setPosition(ccp(28, 20)); // overlaps red on x 20..28
    blue->setPosition(ccp(44, 44));
    batch->addChild(green, 1);
    batch->addChild(red, 0);
    batch->addChild(blue, 2);

    GLDrawCounter::reset();
    batch->visit();
    EXPECT_EQ(GLDrawCounter::drawElements(), 1);
    EXPECT_EQ(GLDrawCounter::drawArrays(), 0);
    EXPECT_TRUE(near(pixel(15, 20), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(24, 20), {0, 255, 0, 255})); // green is drawn after red
    EXPECT_TRUE(near(pixel(34, 20), {0, 255, 0, 255}));
    EXPECT_TRUE(near(pixel(44, 44), {0, 0, 255, 255}));

    clear();
    batch->reorderChild(red, 5);
    batch->visit();
    EXPECT_TRUE(near(pixel(24, 20), {255, 0, 0, 255}));

    // A hidden batch node draws nothing.
    clear();
    batch->setVisible(false);
    GLDrawCounter::reset();
    batch->visit();
    EXPECT_EQ(GLDrawCounter::drawElements(), 0);
    EXPECT_TRUE(near(pixel(24, 20), {0, 0, 0, 255}));
}

TEST_F(Batch, EmptyBatchDrawsNothing) {
    GLDrawCounter::reset();
    batch->visit();
    EXPECT_EQ(GLDrawCounter::drawElements(), 0);
}

TEST_F(Batch, MoreQuadsThanSixteenBitIndicesReachAreAllDrawn) {
    const unsigned count = CCTextureAtlas::kQuadsPerIndexRun + 10;
    CCSpriteBatchNode* big = CCSpriteBatchNode::batchNodeWithTexture(tex, count);
    for (unsigned i = 0; i < count; i++) {
        CCSprite* s = sprite(CGRectMake(0, 16, 4, 4)); // blue
        s->setPosition(ccp(2, 2));
        big->addChild(s);
    }
    // The very last quad (past the 16-bit range) lands elsewhere, in white.
    CCSprite* last = static_cast<CCSprite*>(big->descendants()->lastObject());
    last->setTextureRect(CGRectMake(16, 16, 4, 4));
    last->setPosition(ccp(50, 50));
    GLDrawCounter::reset();
    big->visit();
    EXPECT_EQ(GLDrawCounter::drawElements(), 2);
    EXPECT_TRUE(near(pixel(2, 2), {0, 0, 255, 255}));
    EXPECT_TRUE(near(pixel(50, 50), {255, 255, 255, 255}));
}

} // namespace
