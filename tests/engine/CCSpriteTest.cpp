#include <gtest/gtest.h>

#include "CCAnimation.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCSpriteFrame.h"
#include "CCTextureCache.h"
#include "CGPointExtension.h"
#include "SpriteTestSupport.h"
#include "ccMacros.h"

namespace {

void expectTex(const ccTex2F& t, float u, float v) {
    EXPECT_FLOAT_EQ(t.u, u);
    EXPECT_FLOAT_EQ(t.v, v);
}
RGBA quadColor(const CCSprite* s) {
    const ccColor4B c = s->quad().tl.colors;
    return {c.r, c.g, c.b, c.a};
}

using Sprite = SpriteGLTest;

TEST_F(Sprite, WholeImageGetsHalfTexelInsetCoordinates) {
    CCSprite* s = CCSprite::spriteWithTexture(solid("a.png", 100, 30, {255, 0, 0, 255}));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->textureRect(), CGRectMake(0, 0, 100, 30));
    EXPECT_EQ(s->contentSize(), CGSizeMake(100, 30));
    expectTex(s->quad().tl.texCoords, 0.5f / 128, 0.5f / 32);
    expectTex(s->quad().br.texCoords, 99.5f / 128, 29.5f / 32);
    expectTex(s->quad().bl.texCoords, 0.5f / 128, 29.5f / 32);
    expectTex(s->quad().tr.texCoords, 99.5f / 128, 0.5f / 32);
    // Self-rendered quad in the node's own space.
    EXPECT_FLOAT_EQ(s->quad().tr.vertices.x, 100);
    EXPECT_FLOAT_EQ(s->quad().tr.vertices.y, 30);
}

TEST_F(Sprite, RotatedFrameRunsItsHeightAlongU) {
    CCTexture2D* t = solid("b.png", 256, 256, {0, 0, 255, 255});
    CCSpriteFrame* frame =
        CCSpriteFrame::frameWithTexture(t, CGRectMake(10, 10, 20, 40), true, CGPointZero, CGSizeMake(20, 40));
    CCSprite* s = CCSprite::spriteWithSpriteFrame(frame);
    EXPECT_TRUE(s->textureRectRotated());
    EXPECT_EQ(s->contentSize(), CGSizeMake(20, 40));
    expectTex(s->quad().bl.texCoords, 10.5f / 256, 10.5f / 256);
    expectTex(s->quad().br.texCoords, 10.5f / 256, 29.5f / 256);
    expectTex(s->quad().tl.texCoords, 49.5f / 256, 10.5f / 256);
    expectTex(s->quad().tr.texCoords, 49.5f / 256, 29.5f / 256);
}

TEST_F(Sprite, ContentScaleFactorTwoDoublesThePixelRectangle) {
    CCSprite* s = CCSprite::spriteWithTexture(solid("c.png", 128, 64, {1, 2, 3, 255}));
    ccContentScaleFactor = 2;
    s->setTextureRect(CGRectMake(0, 0, 50, 15));
    ccContentScaleFactor = 1;
    EXPECT_EQ(s->textureRectInPixels(), CGRectMake(0, 0, 100, 30));
    EXPECT_EQ(s->contentSize(), CGSizeMake(50, 15));
}

TEST_F(Sprite, FlipSwapsCoordinatesAndMirrorsTrimmedOffset) {
    CCTexture2D* t = solid("d.png", 64, 64, {9, 9, 9, 255});
    // A 20 × 20 trim of a 40 × 40 picture, 4 pixels right of centre.
    CCSpriteFrame* frame =
        CCSpriteFrame::frameWithTexture(t, CGRectMake(0, 0, 20, 20), false, CGPointMake(4, 0), CGSizeMake(40, 40));
    CCSprite* s = CCSprite::spriteWithSpriteFrame(frame);
    EXPECT_EQ(s->offsetPositionInPixels(), CGPointMake(14, 10));
    const float left = s->quad().bl.texCoords.u, right = s->quad().br.texCoords.u;

    s->setFlipX(true);
    EXPECT_FLOAT_EQ(s->quad().bl.texCoords.u, right);
    EXPECT_FLOAT_EQ(s->quad().br.texCoords.u, left);
    // Mirrored about the centre, and the sprite keeps its untrimmed size.
    EXPECT_EQ(s->offsetPositionInPixels(), CGPointMake(6, 10));
    EXPECT_EQ(s->contentSize(), CGSizeMake(40, 40));
    EXPECT_FLOAT_EQ(s->quad().bl.vertices.x, 6);

    s->setFlipX(true);
    EXPECT_FLOAT_EQ(s->quad().bl.texCoords.u, right);
    s->setFlipY(true);
    EXPECT_GT(s->quad().tl.texCoords.v, s->quad().bl.texCoords.v);
}

TEST_F(Sprite, OpacityAndColourArePremultipliedOnlyForPremultipliedTextures) {
    CCSprite* premultiplied = CCSprite::spriteWithTexture(solid("e.png", 8, 8, {255, 255, 255, 255}));
    ASSERT_TRUE(premultiplied->texture()->hasPremultipliedAlpha());
    EXPECT_EQ(premultiplied->blendFunc(), (ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
    premultiplied->setOpacity(128);
    EXPECT_EQ(quadColor(premultiplied), (RGBA{128, 128, 128, 128}));
    premultiplied->setColor(ccc3(200, 100, 50));
    EXPECT_EQ(quadColor(premultiplied), (RGBA{100, 50, 25, 128}));
    EXPECT_EQ(premultiplied->color(), ccc3(200, 100, 50));
    // Turning premultiplication off keeps the colour the user set.
    premultiplied->setOpacityModifyRGB(false);
    EXPECT_EQ(quadColor(premultiplied), (RGBA{200, 100, 50, 128}));

    CCSprite* plain = CCSprite::node();
    EXPECT_EQ(plain->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    plain->setOpacity(128);
    EXPECT_EQ(quadColor(plain), (RGBA{255, 255, 255, 128}));
}

TEST_F(Sprite, FramesAndNamedAnimations) {
    CCTexture2D* t = solid("f.png", 64, 64, {9, 9, 9, 255});
    CCSprite* s = CCSprite::spriteWithTexture(t, CGRectMake(0, 0, 16, 16));
    CCSpriteFrame* shown = s->displayedFrame();
    EXPECT_TRUE(s->isFrameDisplayed(shown));
    CCSpriteFrame* other = CCSpriteFrame::frameWithTexture(t, CGRectMake(16, 0, 16, 16));
    EXPECT_FALSE(s->isFrameDisplayed(other));

    CCAnimation* walk = CCAnimation::animationWithName("walk", 0.1f, {shown, other});
    s->addAnimation(walk);
    EXPECT_EQ(s->animationByName("walk"), walk);
    EXPECT_EQ(s->animationByName("run"), nullptr);
    s->setDisplayFrame("walk", 1);
    EXPECT_TRUE(s->isFrameDisplayed(other));
    EXPECT_DEATH(s->setDisplayFrame("walk", 2), "CCSprite#setDisplayFrame. Invalid frame");
}

TEST_F(Sprite, ArgumentAndModeErrorsStopWithTheirMessages) {
    EXPECT_DEATH(CCSprite::spriteWithTexture(nullptr), "Invalid texture for sprite");
    EXPECT_DEATH(CCSprite::spriteWithSpriteFrame(nullptr), "Invalid spriteFrame for sprite");
    EXPECT_DEATH(CCSprite::spriteWithFile(""), "Invalid filename for sprite");
    EXPECT_DEATH(CCSprite::spriteWithCGImage(nullptr), "Invalid CGImageRef for sprite");
    EXPECT_EQ(CCSprite::spriteWithFile(dir.file("missing.png")), nullptr);
    // Images are cached under their address, or under the key given.
    CGImage* image = CGImage::imageWithRGBA(4, 2, solidRGBA(4, 2, 1, 2, 3, 255));
    CCSprite* fromImage = CCSprite::spriteWithCGImage(image);
    EXPECT_EQ(fromImage->contentSize(), CGSizeMake(4, 2));
    EXPECT_EQ(CCTextureCache::sharedTextureCache()->addCGImage(image, ccAddressString(image)), fromImage->texture());
    EXPECT_EQ(CCSprite::spriteWithCGImage(image, "key")->texture(),
              CCTextureCache::sharedTextureCache()->addCGImage(image, "key"));
    CCTextureCache::sharedTextureCache()->removeAllTextures();

    CCTexture2D* t = solid("g.png", 16, 16, {1, 1, 1, 255});
    CCSpriteBatchNode* batch = CCSpriteBatchNode::batchNodeWithTexture(t);
    CCSprite* inBatch = CCSprite::spriteWithBatchNode(batch, CGRectMake(0, 0, 4, 4));
    EXPECT_DEATH(inBatch->setTexture(t), "setTexture doesn't work when the sprite is rendered using a CCSpriteBatchNode");
    EXPECT_DEATH(inBatch->draw(), "CCSprite#draw SHOULD NOT be called");
    EXPECT_DEATH(inBatch->setRelativeAnchorPoint(false), "relativeTransformAnchor is invalid in CCSprite");
    EXPECT_DEATH(CCSprite::spriteWithTexture(t)->updateTransform(), "updateTransform is only valid");
    EXPECT_DEATH(inBatch->addChild(CCNode::node()), "CCSprite only supports CCSprites as children");
    CCSprite* foreign = CCSprite::spriteWithTexture(solid("h.png", 16, 16, {1, 1, 1, 255}));
    EXPECT_DEATH(inBatch->addChild(foreign), "CCSprite is not using the same texture id");
    EXPECT_DEATH(inBatch->reorderChild(foreign, 1), "Child doesn't belong to Sprite");
}

// ---- pixels ----

TEST_F(Sprite, DrawsAtItsPositionWithItsColours) {
    std::string png = pngFile("red.png", 16, 8, [](unsigned, unsigned) { return RGBA{255, 0, 0, 255}; });
    CCSprite* s = CCSprite::spriteWithFile(png);
    ASSERT_NE(s, nullptr);
    s->setPosition(ccp(20, 30)); // centre: covers x 12..28, y 26..34
    s->visit();
    EXPECT_TRUE(near(pixel(20, 30), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(13, 27), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(27, 33), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(11, 30), {0, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(29, 30), {0, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(20, 35), {0, 0, 0, 255}));
    CCTextureCache::sharedTextureCache()->removeAllTextures();
}

TEST_F(Sprite, OpacityTintFlipAndRotationChangeThePixels) {
    // Left half red, right half green; 16 × 8.
    CCTexture2D* t = texture("lr.png", 16, 8, [](unsigned x, unsigned) {
        return x < 8 ? RGBA{255, 0, 0, 255} : RGBA{0, 255, 0, 255};
    });
    CCSprite* s = CCSprite::spriteWithTexture(t);
    s->setPosition(ccp(32, 32));

    s->setOpacity(128);
    s->visit();
    EXPECT_TRUE(near(pixel(28, 32), {128, 0, 0, 255}));
    clear();

    s->setOpacity(255);
    s->setColor(ccc3(255, 0, 255)); // red stays red, green goes black
    s->visit();
    EXPECT_TRUE(near(pixel(28, 32), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(36, 32), {0, 0, 0, 255}));
    clear();

    s->setColor(ccWHITE);
    s->setFlipX(true);
    s->visit();
    EXPECT_TRUE(near(pixel(28, 32), {0, 255, 0, 255}));
    EXPECT_TRUE(near(pixel(36, 32), {255, 0, 0, 255}));
    clear();

    // A quarter turn clockwise: the left (red) half ends up on top.
    s->setFlipX(false);
    s->setRotation(90);
    s->visit();
    EXPECT_TRUE(near(pixel(32, 36), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(32, 28), {0, 255, 0, 255}));
    EXPECT_TRUE(near(pixel(38, 32), {0, 0, 0, 255}));
}

TEST_F(Sprite, WithoutTextureDrawsWithTextureZeroAndStraightAlpha) {
    CCSprite* s = CCSprite::node();
    s->setTextureRect(CGRectMake(0, 0, 10, 10));
    s->setColor(ccc3(0, 0, 255));
    GLDrawCounter::reset();
    s->draw();
    EXPECT_EQ(GLDrawCounter::drawArrays(), 1);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_ONE); // restored after drawing
}

TEST_F(Sprite, DirtyMarkingPassesOverChildrenThatAreNotSprites) {
    CCSprite* s = CCSprite::node();
    CCSprite* inner = CCSprite::node();
    s->addChild(CCNode::node());
    s->addChild(inner);
    s->setDirtyRecursively(true);
    EXPECT_TRUE(s->dirty());
    EXPECT_TRUE(inner->dirty());
}

} // namespace
