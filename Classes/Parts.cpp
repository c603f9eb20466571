#include "Parts.h"

namespace {
constexpr ccColor4F kNoVar{0, 0, 0, 0};
}

// Each preset sets its values in the same order; the order matters where a setter depends on
// an earlier value (gravity-mode setters need the mode, additive blending the texture).

bool CCParticleStar::init() { return initWithTotalParticles(1200); }

bool CCParticleStar::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    setDuration(-1);
    setEmitterMode(kCCParticleModeGravity);
    setSpeed(131);
    setSpeedVar(80);
    setAngle(-90);
    setAngleVar(0);
    // Emitted downwards in the node's space; the quarter turn makes them flow leftwards.
    setRotation(90);
    setPosVar(CGPoint{160, 0});
    setLife(9);
    setLifeVar(0);
    setStartSize(4);
    setStartSizeVar(2.2f);
    setEndSize(kCCParticleStartSizeEqualToEndSize);
    setEmissionRate(static_cast<float>(p) / life());
    setStartColor(ccColor4F{1, 1, 1, 1});
    setStartColorVar(kNoVar);
    setEndColor(ccColor4F{1, 1, 1, 1});
    setEndColorVar(kNoVar);
    return true;
}

bool MZParticleBlood::init() { return initWithTotalParticles(110); }

bool MZParticleBlood::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    setDuration(0.5f);
    setEmitterMode(kCCParticleModeGravity);
    setGravity(CGPoint{-10, -33});
    setSpeed(100);
    setSpeedVar(30);
    setAngle(160);
    setAngleVar(72);
    setLife(0.592f);
    setLifeVar(0);
    setStartSize(23);
    setStartSizeVar(2.1f);
    setEndSize(7);
    setEmissionRate(static_cast<float>(p) / life());
    setStartColor(ccColor4F{1, 0, 0, 1});
    setStartColorVar(kNoVar);
    setEndColor(ccColor4F{1, 0, 0, 1});
    setEndColorVar(kNoVar);
    setBlendAdditive(false);
    return true;
}

bool BackgroundExplosion::init() { return initWithTotalParticles(350); }

bool BackgroundExplosion::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    // Duration stays 0: the system emits in its first update only.
    setEmitterMode(kCCParticleModeGravity);
    setGravity(CGPoint{0, 0});
    setSpeed(200);
    setSpeedVar(40);
    setAngle(0);
    setAngleVar(360);
    setLife(0.2f);
    setLifeVar(1);
    setStartSize(11);
    setStartSizeVar(1);
    setEndSize(3);
    setEmissionRate(static_cast<float>(p) / life() + lifeVar());
    setStartColor(ccColor4F{0.86f, 0.56f, 0.36f, 1});
    setStartColorVar(ccColor4F{0, 0, 0, 0.5f});
    setEndColor(ccColor4F{0.74f, 0.31f, 0, 0.31f});
    setEndColorVar(kNoVar);
    setBlendAdditive(true);
    return true;
}

bool CCParticleTar::init() { return initWithTotalParticles(40); }

bool CCParticleTar::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    setDuration(1.5f);
    setEmitterMode(kCCParticleModeGravity);
    setGravity(CGPoint{0, 0});
    setRadialAccel(0);
    setRadialAccelVar(0);
    setTangentialAccel(0.47f);
    setSpeed(8);
    setSpeedVar(0);
    setAngle(0);
    setAngleVar(360);
    setPosVar(CGPoint{1, 3});
    setLife(2.084f);
    setLifeVar(0.855f);
    setStartSize(16);
    setStartSizeVar(3);
    setEndSize(10);
    setEmissionRate(static_cast<float>(p) / life());
    setStartColor(ccColor4F{0, 0, 0, 0.3f});
    setStartColorVar(kNoVar);
    setEndColor(ccColor4F{0.02f, 0.02f, 0.02f, 0});
    setEndColorVar(kNoVar);
    setBlendAdditive(false);
    return true;
}

bool CCParticleSmokeStream::init() { return initWithTotalParticles(60); }

bool CCParticleSmokeStream::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    setDuration(-1);
    setEmitterMode(kCCParticleModeGravity);
    setGravity(CGPoint{0, 0});
    setRadialAccel(0);
    setRadialAccelVar(0);
    setSpeed(178);
    setSpeedVar(30);
    setAngle(90);
    setAngleVar(0);
    setPosVar(CGPoint{7, 7});
    setLife(0);
    setLifeVar(0.5f);
    setStartSize(16);
    setStartSizeVar(4);
    setEndSize(0);
    // A life of 0 makes the rate infinite: the pool refills in every update.
    setEmissionRate(static_cast<float>(p) / life());
    setStartColor(ccColor4F{0.76f, 0.25f, 0.12f, 1});
    setStartColorVar(kNoVar);
    setEndColor(ccColor4F{0, 0, 0, 1});
    setEndColorVar(kNoVar);
    setBlendAdditive(true);
    return true;
}

bool CCParticleSmokeBlow::init() { return initWithTotalParticles(10); }

bool CCParticleSmokeBlow::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    setDuration(-1);
    setEmitterMode(kCCParticleModeGravity);
    setGravity(CGPoint{0, 0});
    setSpeed(26);
    setSpeedVar(10);
    setAngle(0);
    setAngleVar(360);
    setPosVar(CGPoint{20, 0});
    setLife(0.1f);
    setLifeVar(0.01f);
    setStartSize(60);
    setStartSizeVar(10);
    setEndSize(kCCParticleStartSizeEqualToEndSize);
    setEmissionRate(static_cast<float>(p) / life());
    setStartColor(ccColor4F{0.8f, 0.8f, 0.8f, 1});
    setStartColorVar(ccColor4F{0.02f, 0.02f, 0.02f, 0});
    setEndColor(ccColor4F{0, 0, 0, 0});
    setEndColorVar(kNoVar);
    setBlendAdditive(false);
    return true;
}

bool ParticleSparkles::init() { return initWithTotalParticles(50); }

bool ParticleSparkles::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    setDuration(-1);
    setGravity(CGPoint{0, -100});
    setSpeed(50);
    setSpeedVar(5);
    setAngle(270);
    setAngleVar(0);
    setLife(0.5f);
    setLifeVar(0.3f);
    setStartSize(34);
    setStartSizeVar(4);
    setEndSize(kCCParticleStartSizeEqualToEndSize);
    setEmissionRate(static_cast<float>(p) / life());
    setStartColor(ccColor4F{0.79f, 0.25f, 0.1f, 1});
    setStartColorVar(kNoVar);
    setEndColor(ccColor4F{0, 0, 0, 1});
    setEndColorVar(kNoVar);
    setPositionType(kCCPositionTypeGrouped);
    setBlendAdditive(true);
    return true;
}

bool CCParticleSunExpo::init() { return initWithTotalParticles(40); }

bool CCParticleSunExpo::initWithTotalParticles(unsigned p) {
    if (!CCParticleSystemPoint::initWithTotalParticles(p)) return false;
    // Set before everything else, while there is no texture yet.
    setBlendAdditive(true);
    setDuration(-1);
    setEmitterMode(kCCParticleModeGravity);
    setSpeed(40);
    setSpeedVar(5);
    setAngle(0);
    setAngleVar(360);
    setLife(1);
    setLifeVar(0.5f);
    setStartSize(44);
    setStartSizeVar(4);
    setEndSize(kCCParticleStartSizeEqualToEndSize);
    setEmissionRate(static_cast<float>(p) / life());
    setStartColor(ccColor4F{0.86f, 0.3f, 0.16f, 1});
    setStartColorVar(kNoVar);
    setEndColor(ccColor4F{0, 0, 0, 1});
    setEndColorVar(kNoVar);
    return true;
}
