#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Parts.h"
#include "support/HeadlessGL.h"
#include "CCAutoreleasePool.h"

namespace {

constexpr float kFrame = 1.0f / 60;

template <class P> CCPtr<P> make(unsigned count = 0) {
    return CCPtr<P>::adopt(ccNew<P>([&](P* p) { return count ? p->initWithTotalParticles(count) : p->init(); }));
}

class PartsTest : public ::testing::Test {
protected:
    HeadlessGL gl;
    CCAutoreleaseScope pool;
};

TEST_F(PartsTest, EveryPresetBuildsWithItsCountAndRate) {
    struct Expect {
        CCPtr<CCParticleSystemPoint> system;
        unsigned count;
        float rate;
    } presets[] = {
        {make<CCParticleStar>(), 1200, 1200 / 9.0f},      {make<MZParticleBlood>(), 110, 110 / 0.592f},
        {make<BackgroundExplosion>(), 350, 1751},         {make<CCParticleTar>(), 40, 40 / 2.084f},
        {make<CCParticleSmokeBlow>(), 10, 100},           {make<ParticleSparkles>(), 50, 100},
        {make<CCParticleSunExpo>(), 40, 40},
    };
    for (const Expect& e : presets) {
        ASSERT_NE(e.system, nullptr);
        EXPECT_EQ(e.system->totalParticles(), e.count) << e.system->className();
        EXPECT_NEAR(e.system->emissionRate(), e.rate, 0.01f) << e.system->className();
    }
    auto smoke = make<CCParticleSmokeStream>();
    EXPECT_TRUE(std::isinf(smoke->emissionRate())); // life 0: the pool refills every update
    auto stars = make<CCParticleStar>();
    EXPECT_FLOAT_EQ(stars->rotation(), 90);
    EXPECT_EQ(make<ParticleSparkles>()->positionType(), kCCPositionTypeGrouped);
}

TEST_F(PartsTest, BloodBurstEmitsForHalfASecondAndDiesOut) {
    auto blood = make<MZParticleBlood>(100);
    EXPECT_NEAR(blood->emissionRate(), 168.9f, 0.1f);
    unsigned most = 0;
    for (int i = 0; i < 30; ++i) {
        blood->update(kFrame);
        most = std::max(most, blood->particleCount());
    }
    EXPECT_NEAR(static_cast<int>(most), 84, 3);
    for (int i = 0; i < 6; ++i) blood->update(kFrame);
    EXPECT_LE(blood->particleCount(), most); // no more births after 0.5 s
    for (int i = 0; i < 36; ++i) blood->update(kFrame);
    EXPECT_EQ(blood->particleCount(), 0u); // none left after about 1.1 s
}

TEST_F(PartsTest, StarStreamFillsItsPoolAfterNineSeconds) {
    auto stars = make<CCParticleStar>();
    for (int i = 0; i < 60 * 9 + 30; ++i) stars->update(kFrame);
    EXPECT_GE(stars->particleCount(), 1190u);
    EXPECT_TRUE(stars->active()); // emits for ever
}

} // namespace
