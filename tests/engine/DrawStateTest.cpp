// Draws that skip work the previous draw already did: an atlas uploads only the quads that
// changed, self-drawing sprites bind their texture and set their array pointers only when the
// last draw left something else. Each skip is checked against the pixels it must not change.
#include <gtest/gtest.h>

#include "CCColorLayer.h"
#include "CCGLStateCache.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCTextureAtlas.h"
#include "CGPointExtension.h"
#include "SpriteTestSupport.h"

namespace {

constexpr RGBA kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kBlack{0, 0, 0, 255};

using DrawState = SpriteGLTest;

TEST_F(DrawState, AtlasUploadsOnlyTheQuadsChangedSinceItsLastDraw) {
    CCTexture2D* tex = solid("red.png", 8, 8, kRed);
    CCSpriteBatchNode* batch = CCSpriteBatchNode::batchNodeWithTexture(tex, 10);
    CCSprite* sprites[4];
    for (int i = 0; i < 4; i++) {
        sprites[i] = CCSprite::spriteWithTexture(tex);
        sprites[i]->setPosition(ccp(8 + 12 * i, 8));
        batch->addChild(sprites[i]);
    }
    constexpr long kQuad = sizeof(ccV3F_C4B_T2F_Quad);
    batch->visit();
    EXPECT_TRUE(near(pixel(8, 8), kRed));

    // Nothing moved: the buffer is left alone.
    clear();
    GLDrawCounter::reset();
    batch->visit();
    EXPECT_EQ(GLDrawCounter::bufferUploads(), 0);
    EXPECT_EQ(GLDrawCounter::drawElements(), 1);
    EXPECT_TRUE(near(pixel(44, 8), kRed));

    // One sprite moved: its quad alone goes up, and it shows where it went.
    clear();
    GLDrawCounter::reset();
    sprites[2]->setPosition(ccp(32, 40));
    batch->visit();
    EXPECT_EQ(GLDrawCounter::bufferUploads(), 1);
    EXPECT_EQ(GLDrawCounter::uploadedBytes(), kQuad);
    EXPECT_TRUE(near(pixel(32, 40), kRed));
    EXPECT_TRUE(near(pixel(32, 8), kBlack));

    // A sprite leaving shifts the later quads down: those go up, and the last slot is not drawn.
    clear();
    GLDrawCounter::reset();
    batch->removeChild(sprites[0], true);
    batch->visit();
    EXPECT_EQ(GLDrawCounter::bufferUploads(), 1);
    EXPECT_EQ(GLDrawCounter::uploadedBytes(), 3 * kQuad);
    EXPECT_TRUE(near(pixel(8, 8), kBlack));
    EXPECT_TRUE(near(pixel(20, 8), kRed));
    EXPECT_TRUE(near(pixel(32, 40), kRed));
    EXPECT_TRUE(near(pixel(44, 8), kRed));

    // Quads written directly: the changed slots, merged into one upload.
    CCTextureAtlas* atlas = batch->textureAtlas();
    ccV3F_C4B_T2F_Quad q = atlas->quads()[0];
    atlas->updateQuad(q, 0); // the same quad again is no change
    clear();
    GLDrawCounter::reset();
    atlas->drawQuads();
    EXPECT_EQ(GLDrawCounter::bufferUploads(), 0);
    for (auto* v : {&q.bl, &q.br, &q.tl, &q.tr}) v->vertices.y += 30;
    atlas->updateQuad(q, 0);
    atlas->updateQuad(atlas->quads()[2], 2);
    atlas->insertQuadFromIndex(1, 2);
    clear();
    GLDrawCounter::reset();
    atlas->drawQuads();
    EXPECT_EQ(GLDrawCounter::bufferUploads(), 1);
    EXPECT_EQ(GLDrawCounter::uploadedBytes(), 3 * kQuad);
    EXPECT_TRUE(near(pixel(20, 38), kRed));
    EXPECT_TRUE(near(pixel(20, 8), kBlack));
}

TEST_F(DrawState, SpritesOfOneTextureBindItAndSetThePointersOnce) {
    CCTexture2D* red = solid("red.png", 8, 8, kRed);
    CCTexture2D* green = solid("green.png", 8, 8, kGreen);
    CCNode* root = CCNode::node();
    for (int i = 0; i < 3; i++) {
        CCSprite* s = CCSprite::spriteWithTexture(red);
        s->setPosition(ccp(6 + 10 * i, 6));
        root->addChild(s);
    }
    CCSprite* last = CCSprite::spriteWithTexture(green);
    last->setPosition(ccp(40, 6));
    root->addChild(last);
    GLDrawCounter::reset();
    root->visit();
    EXPECT_EQ(GLDrawCounter::drawArrays(), 4);
    EXPECT_EQ(GLDrawCounter::bindTextures(), 2);
    EXPECT_EQ(GLDrawCounter::vertexPointers(), 1);
    EXPECT_TRUE(near(pixel(6, 6), kRed));
    EXPECT_TRUE(near(pixel(26, 6), kRed));
    EXPECT_TRUE(near(pixel(40, 6), kGreen));

    // A second frame finds the green texture still bound and the pointers still set.
    clear();
    GLDrawCounter::reset();
    last->visit();
    EXPECT_EQ(GLDrawCounter::bindTextures(), 0);
    EXPECT_EQ(GLDrawCounter::vertexPointers(), 0);
    EXPECT_TRUE(near(pixel(40, 6), kGreen));
}

TEST_F(DrawState, OtherDrawsBetweenSpritesLeaveThemDrawingRight) {
    CCTexture2D* red = solid("red.png", 8, 8, kRed);
    CCNode* root = CCNode::node();
    CCSprite* first = CCSprite::spriteWithTexture(red);
    first->setPosition(ccp(6, 6));
    root->addChild(first);
    // A colour layer sets pointers of its own, a batch binds and points into its buffer.
    CCColorLayer* layer = CCColorLayer::layerWithColor(ccc4(0, 0, 255, 255), 8, 8);
    layer->setPosition(ccp(20, 2));
    root->addChild(layer);
    CCSprite* second = CCSprite::spriteWithTexture(red);
    second->setPosition(ccp(40, 6));
    root->addChild(second);
    CCTexture2D* green = solid("green.png", 8, 8, kGreen);
    CCSpriteBatchNode* batch = CCSpriteBatchNode::batchNodeWithTexture(green, 2);
    CCSprite* inBatch = CCSprite::spriteWithTexture(green);
    inBatch->setPosition(ccp(6, 30));
    batch->addChild(inBatch);
    root->addChild(batch);
    CCSprite* third = CCSprite::spriteWithTexture(red);
    third->setPosition(ccp(40, 30));
    root->addChild(third);
    root->visit();
    EXPECT_TRUE(near(pixel(6, 6), kRed));
    EXPECT_TRUE(near(pixel(24, 6), kBlue));
    EXPECT_TRUE(near(pixel(40, 6), kRed));
    EXPECT_TRUE(near(pixel(6, 30), kGreen));
    EXPECT_TRUE(near(pixel(40, 30), kRed));

    // Code of the game's own that binds a texture itself says so; then the sprite binds again.
    glBindTexture(GL_TEXTURE_2D, green->name());
    ccGLStateCache()->forgetTexture();
    clear();
    third->visit();
    EXPECT_TRUE(near(pixel(40, 30), kRed));
}

TEST_F(DrawState, ADeletedTextureIsForgottenWhenItsNameComesBack) {
    CCPtr<CCTexture2D> red;
    CCPtr<CCSprite> first;
    {
        CCAutoreleaseScope inner;
        red = solid("red.png", 8, 8, kRed);
        first = CCSprite::spriteWithTexture(red);
    }
    first->setPosition(ccp(6, 6));
    first->visit();
    const unsigned name = red->name();
    first = nullptr;
    red = nullptr; // deleted: GL falls back to texture 0
    // The next texture most likely gets the same name; made and drawn, it must be itself.
    CCTexture2D* green = solid("green.png", 8, 8, kGreen);
    CCSprite* second = CCSprite::spriteWithTexture(green);
    second->setPosition(ccp(20, 6));
    second->visit();
    EXPECT_TRUE(near(pixel(20, 6), kGreen)) << (green->name() == name ? "name reused" : "new name");
}

TEST_F(DrawState, AContextMadeCurrentAgainForgetsWhatItKnew) {
    CCTexture2D* red = solid("red.png", 8, 8, kRed);
    CCSprite* s = CCSprite::spriteWithTexture(red);
    s->setPosition(ccp(6, 6));
    s->visit();
    // Another party draws in this context with its own pointers, then hands it back.
    const GLfloat elsewhere[8] = {};
    glVertexPointer(2, GL_FLOAT, 0, elsewhere);
    glBindTexture(GL_TEXTURE_2D, 0);
    ASSERT_TRUE(EAGLContext::setCurrentContext(gl.context()));
    clear();
    GLDrawCounter::reset();
    s->visit();
    EXPECT_EQ(GLDrawCounter::bindTextures(), 1);
    EXPECT_EQ(GLDrawCounter::vertexPointers(), 1);
    EXPECT_TRUE(near(pixel(6, 6), kRed));
}

} // namespace
