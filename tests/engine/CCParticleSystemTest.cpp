#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "CCParticleSystemPoint.h"
#include "CCParticleSystemQuad.h"
#include "CCScheduler.h"
#include "CCSpriteFrame.h"
#include "CCTextureCache.h"
#include "CGPointExtension.h"
#include "UIImage.h"
#include "TextureTestSupport.h"
#include "ccMacros.h"
#include "support/TestImages.h"

namespace {

constexpr float kFrame = 1.0f / 60;

class ParticleSystemTest : public TextureGLTest {
protected:
    void TearDown() override {
        CCTextureCache::purgeSharedTextureCache();
        TextureGLTest::TearDown();
    }
    // A gravity-mode point system that emits `rate` particles per second for ever.
    static CCParticleSystemPoint* emitter(unsigned total, float rate, float life) {
        auto* p = ccCreate<CCParticleSystemPoint>(
            [&](CCParticleSystemPoint* s) { return s->initWithTotalParticles(total); });
        p->setDuration(kCCParticleDurationInfinity);
        p->setEmitterMode(kCCParticleModeGravity);
        p->setLife(life);
        p->setStartSize(4);
        p->setEndSize(kCCParticleStartSizeEqualToEndSize);
        p->setStartColor({1, 1, 1, 1});
        p->setEndColor({1, 1, 1, 1});
        p->setEmissionRate(rate);
        return p;
    }
};

TEST(ParticleRandom, IsRandomScaledToMinusOneToOne) {
    srandom(7);
    const long first = random(), second = random();
    srandom(7);
    EXPECT_EQ(CCRANDOM_MINUS1_1(), float(double(first) * std::ldexp(1.0, -30) - 1.0));
    EXPECT_EQ(CCRANDOM_MINUS1_1(), float(double(second) * std::ldexp(1.0, -30) - 1.0));
    for (int i = 0; i < 10000; ++i) {
        const float r = CCRANDOM_MINUS1_1();
        ASSERT_GE(r, -1.0f);
        ASSERT_LE(r, 1.0f);
    }
}

TEST_F(ParticleSystemTest, DefaultsAndRefusedInit) {
    CCParticleSystemPoint* p = emitter(10, 0, 1);
    EXPECT_TRUE(p->active());
    EXPECT_EQ(p->blendFunc(), (ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_EQ(p->positionType(), kCCPositionTypeFree);
    EXPECT_FALSE(p->autoRemoveOnFinish());
    EXPECT_EQ(p->totalParticles(), 10u);
    EXPECT_EQ(p->particleCount(), 0u);
    EXPECT_DEATH(p->CCParticleSystem::init(), "CCParticleSystem: Init not supported.");
    EXPECT_DEATH(p->setTotalParticles(11), "larger than the pool");
}

TEST_F(ParticleSystemTest, EmitsAtItsRateOnSteadyFrames) {
    CCParticleSystemPoint* p = emitter(1000, 100, 10);
    p->update(kFrame);
    EXPECT_EQ(p->particleCount(), 1u);
    EXPECT_NEAR(p->emitCounter(), kFrame - 0.01f, 1e-6);
    for (int i = 1; i < 60; ++i) p->update(kFrame);
    EXPECT_NEAR(double(p->particleCount()), 100, 1);
    EXPECT_EQ(p->particleIdx(), p->particleCount());
}

TEST_F(ParticleSystemTest, BurstOfHalfASecondLivesOutItsParticles) {
    // The blood burst: 100 particles at 100 / 0.592 per second for 0.5 s.
    CCParticleSystemPoint* p = emitter(100, 100 / 0.592f, 0.592f);
    p->setDuration(0.5f);
    unsigned emitted = 0, frames = 0;
    while (p->active()) {
        const unsigned before = p->particleCount();
        p->update(kFrame);
        emitted += p->particleCount() - before;
        ++frames;
    }
    // Stops in the first update past 0.5 s (30 or 31 frames of summed 1/60 s).
    EXPECT_GE(frames, 30u);
    EXPECT_LE(frames, 31u);
    EXPECT_NEAR(double(emitted), 84, 2);
    EXPECT_FLOAT_EQ(p->elapsed(), 0.5f);
    EXPECT_EQ(p->emitCounter(), 0.0f);
    unsigned peak = p->particleCount();
    for (int i = 0; i < 20; ++i) p->update(kFrame);
    EXPECT_LE(p->particleCount(), peak);
    for (int i = 0; i < 20; ++i) p->update(kFrame); // past 1.1 s
    EXPECT_EQ(p->particleCount(), 0u);
    EXPECT_FALSE(p->active());
}

TEST_F(ParticleSystemTest, EndlessAndSilentSystems) {
    CCParticleSystemPoint* endless = emitter(10, 10, 1);
    CCParticleSystemPoint* silent = emitter(10, 0, 1);
    silent->setDuration(0.1f);
    for (int i = 0; i < 600; ++i) {
        endless->update(kFrame);
        silent->update(kFrame);
    }
    EXPECT_TRUE(endless->active());
    EXPECT_GT(endless->particleCount(), 0u);
    EXPECT_TRUE(silent->active());
    EXPECT_EQ(silent->elapsed(), 0.0f);
    EXPECT_EQ(silent->particleCount(), 0u);
}

TEST_F(ParticleSystemTest, FullPoolRefillsInABurst) {
    CCParticleSystemPoint* p = emitter(5, 1000, 0.5f);
    p->update(kFrame);
    EXPECT_TRUE(p->isFull());
    EXPECT_FALSE(p->addParticle());
    p->update(kFrame);
    EXPECT_GT(p->emitCounter(), kFrame); // time keeps being banked while full
    // All five die in one update and are replaced at once in the next.
    for (int i = 0; i < 60 && p->particleCount() > 0; ++i) p->update(kFrame);
    ASSERT_EQ(p->particleCount(), 0u);
    p->update(kFrame);
    EXPECT_EQ(p->particleCount(), 5u);
}

TEST_F(ParticleSystemTest, ZeroTimeStepMovesNothing) {
    CCParticleSystemPoint* p = emitter(10, 100, 1);
    p->setSpeed(50);
    p->setStartColor({1, 0, 0, 1});
    p->setEndColor({0, 0, 1, 0});
    p->update(0.035f);
    ASSERT_EQ(p->particleCount(), 3u);
    const sCCParticle before = p->particles()[0];
    p->update(0);
    EXPECT_EQ(p->particleCount(), 3u); // 0.0 in the counter emits nothing more
    EXPECT_EQ(p->particles()[0].position, before.position);
    EXPECT_EQ(p->particles()[0].color, before.color);
    // Particles already out of time are removed even at dt 0.
    p->resetSystem();
    p->update(0);
    EXPECT_EQ(p->particleCount(), 0u);
    EXPECT_TRUE(p->active());
}

TEST_F(ParticleSystemTest, DrawnValuesAreLimitedOnce) {
    srandom(3);
    CCParticleSystemPoint* p = emitter(200, 0, 1);
    p->setStartSizeVar(6);
    p->setLifeVar(2); // draws below 0 give no life at all
    p->setStartColorVar({1, 1, 1, 1});
    while (p->addParticle()) {
    }
    unsigned noLife = 0;
    for (unsigned i = 0; i < p->particleCount(); ++i) {
        const sCCParticle& s = p->particles()[i];
        EXPECT_GE(s.timeToLive, 0);
        EXPECT_GE(s.size, 0);
        EXPECT_LE(s.size, 10);
        EXPECT_GE(s.color.r, 0.0f);
        EXPECT_LE(s.color.a, 1.0f);
        EXPECT_EQ(s.deltaSize, 0); // endSize -1 keeps the start size
        if (s.timeToLive == 0) ++noLife;
    }
    EXPECT_GT(noLife, 20u);
    // Those die in the next update, even one of no time.
    p->update(0);
    EXPECT_EQ(p->particleCount(), 200u - noLife);
}

TEST_F(ParticleSystemTest, FreeParticlesStayInTheWorldGroupedOnesFollow) {
    auto* root = CCNode::node();
    for (int type : {kCCPositionTypeFree, kCCPositionTypeGrouped}) {
        CCParticleSystemPoint* p = emitter(4, 1000, 10);
        p->setPositionType(type);
        root->addChild(p);
        p->setPosition(ccp(100, 100));
        p->update(0.0015f); // one particle, at the emitter
        ASSERT_EQ(p->particleCount(), 1u);
        p->stopSystem();
        p->setPosition(ccp(200, 100));
        p->update(0.001f);
        const ccPointSprite& v = p->vertices()[0];
        if (type == kCCPositionTypeFree) {
            EXPECT_NEAR(v.pos.x, -100, 1e-3); // still at world x 100
        } else {
            EXPECT_NEAR(v.pos.x, 0, 1e-3); // moved with the emitter
        }
        EXPECT_NEAR(v.pos.y, 0, 1e-3);
    }
}

TEST_F(ParticleSystemTest, GravityAndRadiusMovement) {
    CCParticleSystemPoint* g = emitter(1, 0, 10);
    g->setGravity(ccp(0, -10));
    g->setSpeed(20);
    g->setAngle(0);
    g->addParticle();
    g->update(1.0f);
    // dir = (20, -10) after one second, position = dir × 1 s.
    EXPECT_NEAR(g->particles()[0].position.x, 20, 1e-3);
    EXPECT_NEAR(g->particles()[0].position.y, -10, 1e-3);

    CCParticleSystemPoint* r = emitter(1, 0, 10);
    r->setEmitterMode(kCCParticleModeRadius);
    r->setStartRadius(50);
    r->setEndRadius(kCCParticleStartRadiusEqualToEndRadius);
    r->setRotatePerSecond(90);
    r->addParticle();
    r->update(1.0f);
    // 90° per second from angle 0: (−cos, −sin) × 50 at π/2.
    EXPECT_NEAR(r->particles()[0].position.x, 0, 1e-3);
    EXPECT_NEAR(r->particles()[0].position.y, -50, 1e-3);
    EXPECT_DEATH(r->speed(), "Particle Mode should be Gravity");
    EXPECT_DEATH(g->setStartRadius(3), "Particle Mode should be Radius");
}

TEST_F(ParticleSystemTest, RadialAndTangentialPartsStayWithTheParticlesThatGotThem) {
    // Emitted with only a radial part, then the system's part set to zero: the particle keeps
    // its own and still speeds up away from the emitter.
    CCParticleSystemPoint* r = emitter(2, 0, 10);
    r->setSpeed(10);
    r->setAngle(0);
    r->setRadialAccel(30);
    r->addParticle();
    r->setRadialAccel(0);
    r->update(0.5f); // first step: the particle is at the emitter, no direction yet
    r->update(0.5f);
    // Step 1: dir 10, x 5. Step 2: radial (1, 0) × 30: dir 25, x 5 + 12.5.
    EXPECT_NEAR(r->particles()[0].position.x, 17.5f, 1e-3);
    EXPECT_NEAR(r->particles()[0].position.y, 0, 1e-3);
    // A tangential part alone turns it anticlockwise about the emitter.
    CCParticleSystemPoint* t = emitter(1, 0, 10);
    t->setSpeed(10);
    t->setAngle(0);
    t->setTangentialAccel(40);
    t->addParticle();
    t->update(0.5f);
    t->update(0.5f);
    // Step 2: tangential (0, 1) × 40: dir (10, 20), position (5 + 5, 0 + 10).
    EXPECT_NEAR(t->particles()[0].position.x, 10, 1e-3);
    EXPECT_NEAR(t->particles()[0].position.y, 10, 1e-3);
}

TEST_F(ParticleSystemTest, AutoRemovalLeavesTheParentWhenTheLastParticleDies) {
    auto* parent = CCNode::node();
    CCParticleSystemPoint* p = emitter(3, 1000, 0.1f);
    p->setDuration(0.001f);
    p->setAutoRemoveOnFinish(true);
    parent->addChild(p);
    p->update(0.0035f);
    EXPECT_FALSE(p->active());
    EXPECT_EQ(p->particleCount(), 3u);
    p->retain();
    p->update(0.05f);
    EXPECT_EQ(p->parent(), parent);
    p->update(0.06f);
    EXPECT_EQ(p->parent(), nullptr);
    EXPECT_EQ(parent->children()->count(), 0u);
    p->release();
}

TEST_F(ParticleSystemTest, BlendingFollowsTheTexture) {
    CCParticleSystemPoint* p = emitter(1, 0, 1);
    p->setBlendAdditive(true);
    EXPECT_TRUE(p->blendAdditive());
    EXPECT_EQ(p->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE}));
    p->setBlendAdditive(false);
    EXPECT_EQ(p->blendFunc(), (ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
    // The PVR texture is not premultiplied: the source factor becomes GL_SRC_ALPHA.
    CCTexture2D* straight = ccCreate<CCTexture2D>([](CCTexture2D* t) {
        return t->initWithPVRFile(std::string(ZORVIK_SOURCE_DIR) + "/Resources/test_image.pvr");
    });
    ASSERT_NE(straight, nullptr);
    p->setTexture(straight);
    EXPECT_EQ(p->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    p->setBlendAdditive(false);
    EXPECT_EQ(p->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_EQ(straight->retainCount(), 2u);
}

TEST_F(ParticleSystemTest, PointSystemsLimitSizeAndSpin) {
    CCParticleSystemPoint* p = emitter(1, 0, 1);
    p->setStartSize(64);
    p->setEndSize(0);
    p->setStartSpin(0);
    EXPECT_DEATH(p->setStartSize(65), "PointParticleSystem only supports 0 <= size <= 64");
    EXPECT_DEATH(p->setEndSize(-2), "PointParticleSystem only supports 0 <= size <= 64");
    EXPECT_DEATH(p->setEndSpinVar(1), "PointParticleSystem doesn't support spinning");
}

TEST_F(ParticleSystemTest, UpdatesRunFromTheSchedulerOnceRunning) {
    CCParticleSystemPoint* p = emitter(10, 100, 10);
    CCScheduler::sharedScheduler()->tick(kFrame);
    EXPECT_EQ(p->particleCount(), 0u); // paused until it enters a running scene
    p->onEnter();
    CCScheduler::sharedScheduler()->tick(kFrame);
    EXPECT_EQ(p->particleCount(), 1u);
    p->onExit();
    p->cleanup();
}

// ---- drawing ----

CCTexture2D* whiteDot() {
    return ccCreate<CCTexture2D>([](CCTexture2D* t) {
        return t->initWithImage(UIImage::imageWithCGImage(CGImage::imageWithRGBA(8, 8, solidRGBA(8, 8, 255, 255, 255, 255))));
    });
}

class ParticleDrawingTest : public ParticleSystemTest {
protected:
    void SetUp() override {
        ParticleSystemTest::SetUp();
        if (IsSkipped()) return;
        glEnableClientState(GL_COLOR_ARRAY);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

TEST_F(ParticleDrawingTest, PointParticlesAppearWhereEmitted) {
    CCParticleSystemPoint* p = emitter(2, 1000, 10);
    p->setTexture(whiteDot());
    p->setStartSize(6);
    p->setStartColor({1, 0, 0, 1});
    p->setEndColor({1, 0, 0, 1});
    p->setPosition(ccp(8, 20));
    p->setPositionType(kCCPositionTypeGrouped);
    p->update(0.0015f);
    ASSERT_EQ(p->particleCount(), 1u);
    p->visit();
    EXPECT_EQ(pixel(8, 20), (RGBA{255, 0, 0, 255}));
    EXPECT_EQ(pixel(10, 22), (RGBA{255, 0, 0, 255}));
    EXPECT_EQ(pixel(13, 20), (RGBA{0, 0, 0, 255}));
    EXPECT_EQ(pixel(24, 8), (RGBA{0, 0, 0, 255}));
    // Drawing leaves the engine's arrays and blending as it found them.
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_POINT_SIZE_ARRAY_OES));
    EXPECT_FALSE(glIsEnabled(GL_POINT_SPRITE_OES));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ParticleDrawingTest, NothingIsDrawnBeforeTheFirstUpdate) {
    CCParticleSystemPoint* p = emitter(2, 1000, 10);
    p->setTexture(whiteDot());
    p->setPosition(ccp(16, 16));
    p->visit();
    EXPECT_EQ(pixel(16, 16), (RGBA{0, 0, 0, 255}));
}

TEST_F(ParticleDrawingTest, QuadParticlesAreSquaresOfTheirSize) {
    auto* q = ccCreate<CCParticleSystemQuad>([](CCParticleSystemQuad* s) { return s->initWithTotalParticles(2); });
    ASSERT_NE(q, nullptr);
    q->setTexture(whiteDot());
    q->setDuration(kCCParticleDurationInfinity);
    q->setLife(10);
    q->setStartSize(10);
    q->setEndSize(kCCParticleStartSizeEqualToEndSize);
    q->setStartColor({0, 1, 0, 1});
    q->setEndColor({0, 1, 0, 1});
    q->setEmissionRate(1000);
    q->setPosition(ccp(16, 16));
    q->setPositionType(kCCPositionTypeGrouped);
    q->update(0.0015f);
    ASSERT_EQ(q->particleCount(), 1u);
    const ccV2F_C4F_T2F_Quad& quad = q->quads()[0];
    EXPECT_FLOAT_EQ(quad.bl.vertices.x, -5);
    EXPECT_FLOAT_EQ(quad.tr.vertices.y, 5);
    EXPECT_FLOAT_EQ(quad.bl.texCoords.u, 1.0f / 16);
    EXPECT_FLOAT_EQ(quad.bl.texCoords.v, 1.0f / 16 + 14.0f / 16);
    EXPECT_EQ(q->indices()[3], 3);
    EXPECT_EQ(q->indices()[5], 1);
    q->visit();
    EXPECT_EQ(pixel(12, 12), (RGBA{0, 255, 0, 255}));
    EXPECT_EQ(pixel(19, 19), (RGBA{0, 255, 0, 255}));
    EXPECT_EQ(pixel(22, 16), (RGBA{0, 0, 0, 255}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ParticleDrawingTest, DisplayFrameUsesTheWholeTexture) {
    auto* q = ccCreate<CCParticleSystemQuad>([](CCParticleSystemQuad* s) { return s->initWithTotalParticles(1); });
    CCTexture2D* dot = whiteDot();
    q->setDisplayFrame(CCSpriteFrame::frameWithTexture(dot, CGRectMake(2, 2, 4, 4)));
    EXPECT_EQ(q->texture(), dot);
    EXPECT_FLOAT_EQ(q->quads()[0].br.texCoords.u, 1.0f / 16 + 14.0f / 16);
    EXPECT_DEATH(q->setDisplayFrame(CCSpriteFrame::frameWithTexture(dot, CGRectMake(0, 0, 4, 4), false, ccp(1, 0),
                                                                    CGSizeMake(4, 4))),
                 "QuadParticle only supports SpriteFrames with no offsets");
}

TEST_F(ParticleDrawingTest, RotatedQuadCornersTurnClockwise) {
    auto* q = ccCreate<CCParticleSystemQuad>([](CCParticleSystemQuad* s) { return s->initWithTotalParticles(1); });
    sCCParticle particle{};
    particle.size = 2;
    particle.rotation = 90;
    q->updateQuadWithParticle(&particle, ccp(0, 0));
    // (−1, −1) turned −90°: (−1, 1).
    EXPECT_NEAR(q->quads()[0].bl.vertices.x, -1, 1e-6);
    EXPECT_NEAR(q->quads()[0].bl.vertices.y, 1, 1e-6);
}

} // namespace
