#pragma once
// The game's particle effects: fixed configurations of the point particle system. The game
// uses the star stream behind the cat and the blood burst of a saw hit; the others are kept as
// ready presets.
#include "CCParticleSystemPoint.h"
#include "CCTexture2D.h"

#define ZORVIK_PARTICLE_PRESET(Name)                                  \
    class Name : public CCParticleSystemPoint {                       \
    public:                                                           \
        bool init() override;                                         \
        bool initWithTotalParticles(unsigned numberOfParticles) override; \
    }

// White stars streaming leftwards over the whole height; 1200 particles, for ever.
ZORVIK_PARTICLE_PRESET(CCParticleStar);
// A half-second red burst; 110 particles.
ZORVIK_PARTICLE_PRESET(MZParticleBlood);
// One orange burst in every direction; 350 particles.
ZORVIK_PARTICLE_PRESET(BackgroundExplosion);
// Dark, slowly spreading blots for 1.5 s; 40 particles.
ZORVIK_PARTICLE_PRESET(CCParticleTar);
// A rising column of smoke; 60 particles.
ZORVIK_PARTICLE_PRESET(CCParticleSmokeStream);
// Short puffs of grey smoke; 10 particles.
ZORVIK_PARTICLE_PRESET(CCParticleSmokeBlow);
// Falling sparks that move with the emitter; 50 particles.
ZORVIK_PARTICLE_PRESET(ParticleSparkles);
// A glowing ball; 40 particles.
ZORVIK_PARTICLE_PRESET(CCParticleSunExpo);

#undef ZORVIK_PARTICLE_PRESET
