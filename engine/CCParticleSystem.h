#pragma once
// A node that emits short-lived particles from a point and moves, recolours and resizes them
// every frame from a fixed pool. Drawing subclasses write one vertex (or quad) per live
// particle and upload them once per frame.
#include <memory>
#include <string>

#include "CCNode.h"
#include "CCPtr.h"
#include "CCTexture2D.h"
#include "PropertyList.h"
#include "ccTypes.h"


enum {
    kCCParticleModeGravity = 0,
    kCCParticleModeRadius = 1,
};
enum {
    // Particles stay where they were born in the world when the emitter moves.
    kCCPositionTypeFree = 0,
    // Particles move with the emitter.
    kCCPositionTypeGrouped = 1,
};
inline constexpr float kCCParticleDurationInfinity = -1;
inline constexpr float kCCParticleStartSizeEqualToEndSize = -1;
inline constexpr float kCCParticleStartRadiusEqualToEndRadius = -1;
// Largest pool a particle file may ask for.
inline constexpr unsigned kCCParticleMaxFromFile = 1u << 20;

struct sCCParticleGravity {
    CGPoint dir;
    float radialAccel;
    float tangentialAccel;
};
struct sCCParticleRadius {
    float angle;
    float degreesPerSecond; // radians per second
    float radius;
    float deltaRadius;
};

// One pool slot; positions and sizes in pixels.
struct sCCParticle {
    CGPoint position;
    CGPoint startPosition;
    ccColor4F color;
    ccColor4F deltaColor;
    float size;
    float deltaSize;
    float rotation;
    float deltaRotation;
    float timeToLive;
    sCCParticleGravity A;
    sCCParticleRadius B;
};

// A uniform value from -1 to 1 drawn from random().
float CCRANDOM_MINUS1_1();

class CCParticleSystem : public CCNode {
public:
    ~CCParticleSystem() override;

    // Refused: a pool size is needed.
    bool init() override;
    virtual bool initWithTotalParticles(unsigned numberOfParticles);
    // A particle property list, resolved in the resources; false when it cannot be read or
    // describes no usable system (the reason is logged).
    bool initWithFile(const std::string& plistFile);
    bool initWithDictionary(const PropertyList& dictionary);

    // ---- emitter properties ----
    bool active() const { return active_; }
    unsigned particleCount() const { return particleCount_; }
    float duration() const { return duration_; }
    void setDuration(float d) { duration_ = d; }
    float elapsed() const { return elapsed_; }
    CGPoint centerOfGravity() const { return centerOfGravity_; }
    void setCenterOfGravity(CGPoint p) { centerOfGravity_ = p; }
    CGPoint posVar() const { return posVar_; }
    void setPosVar(CGPoint p) { posVar_ = p; }
    float life() const { return life_; }
    void setLife(float v) { life_ = v; }
    float lifeVar() const { return lifeVar_; }
    void setLifeVar(float v) { lifeVar_ = v; }
    float angle() const { return angle_; }
    void setAngle(float v) { angle_ = v; }
    float angleVar() const { return angleVar_; }
    void setAngleVar(float v) { angleVar_ = v; }
    float startSize() const { return startSize_; }
    virtual void setStartSize(float v) { startSize_ = v; }
    float startSizeVar() const { return startSizeVar_; }
    void setStartSizeVar(float v) { startSizeVar_ = v; }
    float endSize() const { return endSize_; }
    virtual void setEndSize(float v) { endSize_ = v; }
    float endSizeVar() const { return endSizeVar_; }
    void setEndSizeVar(float v) { endSizeVar_ = v; }
    ccColor4F startColor() const { return startColor_; }
    void setStartColor(ccColor4F c) { startColor_ = c; }
    ccColor4F startColorVar() const { return startColorVar_; }
    void setStartColorVar(ccColor4F c) { startColorVar_ = c; }
    ccColor4F endColor() const { return endColor_; }
    void setEndColor(ccColor4F c) { endColor_ = c; }
    ccColor4F endColorVar() const { return endColorVar_; }
    void setEndColorVar(ccColor4F c) { endColorVar_ = c; }
    float startSpin() const { return startSpin_; }
    virtual void setStartSpin(float v) { startSpin_ = v; }
    float startSpinVar() const { return startSpinVar_; }
    virtual void setStartSpinVar(float v) { startSpinVar_ = v; }
    float endSpin() const { return endSpin_; }
    virtual void setEndSpin(float v) { endSpin_ = v; }
    float endSpinVar() const { return endSpinVar_; }
    virtual void setEndSpinVar(float v) { endSpinVar_ = v; }
    float emissionRate() const { return emissionRate_; }
    void setEmissionRate(float v) { emissionRate_ = v; }
    float emitCounter() const { return emitCounter_; }
    unsigned totalParticles() const { return totalParticles_; }
    // Changes only the limit, never beyond the pool made at initialisation.
    void setTotalParticles(unsigned n);
    int emitterMode() const { return emitterMode_; }
    void setEmitterMode(int mode) { emitterMode_ = mode; }
    int positionType() const { return positionType_; }
    void setPositionType(int type) { positionType_ = type; }
    bool autoRemoveOnFinish() const { return autoRemoveOnFinish_; }
    void setAutoRemoveOnFinish(bool v) { autoRemoveOnFinish_ = v; }
    ccBlendFunc blendFunc() const { return blendFunc_; }
    void setBlendFunc(ccBlendFunc f) { blendFunc_ = f; }
    bool blendAdditive() const;
    void setBlendAdditive(bool additive);

    // ---- gravity mode only ----
    CGPoint gravity() const;
    void setGravity(CGPoint g);
    float speed() const;
    void setSpeed(float v);
    float speedVar() const;
    void setSpeedVar(float v);
    float tangentialAccel() const;
    void setTangentialAccel(float v);
    float tangentialAccelVar() const;
    void setTangentialAccelVar(float v);
    float radialAccel() const;
    void setRadialAccel(float v);
    float radialAccelVar() const;
    void setRadialAccelVar(float v);

    // ---- radius mode only ----
    float startRadius() const;
    void setStartRadius(float v);
    float startRadiusVar() const;
    void setStartRadiusVar(float v);
    float endRadius() const;
    void setEndRadius(float v);
    float endRadiusVar() const;
    void setEndRadiusVar(float v);
    float rotatePerSecond() const;
    void setRotatePerSecond(float v);
    float rotatePerSecondVar() const;
    void setRotatePerSecondVar(float v);

    CCTexture2D* texture() const { return texture_; }
    virtual void setTexture(CCTexture2D* texture);

    // ---- emission ----
    bool addParticle();
    void initParticle(sCCParticle* particle);
    bool isFull() const { return particleCount_ == totalParticles_; }
    void stopSystem();
    void resetSystem();
    void update(float dt) override;
    // The pool; live particles are packed at the front.
    const sCCParticle* particles() const { return particles_.get(); }
    sCCParticle* particles() { return particles_.get(); }
    // After an update, the number of vertices written.
    unsigned particleIdx() const { return particleIdx_; }

    // Hooks of the drawing subclasses.
    virtual void postStep() {}
    virtual void updateQuadWithParticle(sCCParticle* particle, CGPoint newPosition) {
        (void)particle;
        (void)newPosition;
    }

protected:
    using UpdateParticleImp = void (CCParticleSystem::*)(sCCParticle*, CGPoint);
    // The emitter's world position in pixels.
    CGPoint emitterWorldPosition();
    void assertGravity() const;
    void assertRadius() const;

    bool active_ = false;
    float duration_ = 0;
    float elapsed_ = 0;
    CGPoint centerOfGravity_;
    CGPoint posVar_;
    float angle_ = 0, angleVar_ = 0;
    int emitterMode_ = kCCParticleModeGravity;
    struct {
        CGPoint gravity;
        float speed = 0, speedVar = 0;
        float tangentialAccel = 0, tangentialAccelVar = 0;
        float radialAccel = 0, radialAccelVar = 0;
    } modeA;
    struct {
        float startRadius = 0, startRadiusVar = 0;
        float endRadius = 0, endRadiusVar = 0;
        float rotatePerSecond = 0, rotatePerSecondVar = 0;
    } modeB;
    float startSize_ = 0, startSizeVar_ = 0, endSize_ = 0, endSizeVar_ = 0;
    float life_ = 0, lifeVar_ = 0;
    ccColor4F startColor_, startColorVar_, endColor_, endColorVar_;
    float startSpin_ = 0, startSpinVar_ = 0, endSpin_ = 0, endSpinVar_ = 0;
    std::unique_ptr<sCCParticle[]> particles_;
    unsigned capacity_ = 0;
    unsigned totalParticles_ = 0;
    unsigned particleCount_ = 0;
    float emissionRate_ = 0;
    float emitCounter_ = 0;
    CCPtr<CCTexture2D> texture_;
    ccBlendFunc blendFunc_{1, 0x0303};
    int positionType_ = kCCPositionTypeFree;
    bool autoRemoveOnFinish_ = false;
    unsigned particleIdx_ = 0;
    // Writes one particle's vertices: the subclass's writer, set by its init (the base's
    // updateQuadWithParticle until then) and called for every live particle at each step.
    UpdateParticleImp updateParticleImp = nullptr;
};
