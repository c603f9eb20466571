// One update of a 1,200-particle point system in its steady state (the star stream behind
// the cat): emission, movement, vertex writes and the buffer upload.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "../tests/support/HeadlessGL.h"
#include "CCAutoreleasePool.h"
#include "CCParticleSystemPoint.h"
#include "CGPointExtension.h"

namespace {

void BM_ParticlePointUpdate(benchmark::State& state) {
    HeadlessGL gl;
    if (!gl.ok()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    CCAutoreleaseScope pool;
    srandom(1);
    const unsigned total = 1200;
    auto* stars = ccNew<CCParticleSystemPoint>([&](CCParticleSystemPoint* p) { return p->initWithTotalParticles(total); });
    stars->setDuration(kCCParticleDurationInfinity);
    stars->setEmitterMode(kCCParticleModeGravity);
    stars->setSpeed(131);
    stars->setSpeedVar(80);
    stars->setAngle(-90);
    stars->setPosVar(ccp(160, 0));
    stars->setLife(9);
    stars->setStartSize(4);
    stars->setStartSizeVar(2.2f);
    stars->setEndSize(kCCParticleStartSizeEqualToEndSize);
    stars->setEmissionRate(float(total) / 9);
    stars->setStartColor({1, 1, 1, 1});
    stars->setEndColor({1, 1, 1, 1});
    stars->setPosition(ccp(480, 160));
    // Steady state: the pool is full and particles die and are reborn every frame.
    for (int i = 0; i < 60 * 10; ++i) stars->update(1.0f / 60);
    for (auto _ : state) {
        stars->update(1.0f / 60);
        benchmark::DoNotOptimize(stars->particleCount());
    }
    glFinish();
    state.counters["particles"] = stars->particleCount();
    stars->release();
}
BENCHMARK(BM_ParticlePointUpdate)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
