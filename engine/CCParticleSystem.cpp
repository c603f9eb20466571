#include "CCParticleSystem.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "CCAutoreleasePool.h"
#include "CCFileUtils.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "CGPointExtension.h"
#include "NSData.h"
#include "UIImage.h"
#include "ZipUtils.h"
#include "base64.h"
#include "ccMacros.h"

float CCRANDOM_MINUS1_1() { return static_cast<float>(double(random()) * 9.313225746154785e-10 - 1.0); }

namespace {

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

// Frees what a C helper allocated when it goes out of scope.
struct FreeOnExit {
    unsigned char* p = nullptr;
    ~FreeOnExit() { std::free(p); }
};

} // namespace

CCParticleSystem::~CCParticleSystem() = default;

bool CCParticleSystem::init() {
    CCAssert(false, "CCParticleSystem: Init not supported.");
    return false;
}

bool CCParticleSystem::initWithTotalParticles(unsigned numberOfParticles) {
    if (!CCNode::init()) return false;
    totalParticles_ = numberOfParticles;
    particles_.reset(new (std::nothrow) sCCParticle[numberOfParticles ? numberOfParticles : 1]());
    if (!particles_) {
        CCLog("Particle system: not enough memory");
        return false;
    }
    capacity_ = numberOfParticles;
    active_ = true;
    blendFunc_ = {CC_BLEND_SRC, CC_BLEND_DST};
    positionType_ = kCCPositionTypeFree;
    emitterMode_ = kCCParticleModeGravity;
    autoRemoveOnFinish_ = false;
    updateParticleImp = &CCParticleSystem::updateQuadWithParticle;
    scheduleUpdateWithPriority(1);
    return true;
}

bool CCParticleSystem::initWithFile(const std::string& plistFile) {
    const std::string path = CCFileUtils::fullPathFromRelativePath(plistFile);
    std::string why;
    PropertyList dictionary = PropertyList::dictionaryWithContentsOfFile(path, &why);
    // A missing or unreadable file is a data error, not a programming one: no system.
    if (!dictionary) {
        CCLog("Particles: cannot load %s: %s", plistFile.c_str(), why.c_str());
        return false;
    }
    return initWithDictionary(dictionary);
}

bool CCParticleSystem::initWithDictionary(const PropertyList& dict) {
    const int maxParticles = dict.intForKey("maxParticles");
    if (maxParticles < 0 || unsigned(maxParticles) > kCCParticleMaxFromFile) {
        CCLog("Particles: maxParticles out of range");
        return false;
    }
    if (!initWithTotalParticles(unsigned(maxParticles))) return false;
    // A refused configuration leaves the scheduler, which would otherwise keep it alive.
    auto refuse = [this](const char* reason) {
        CCLog("%s", reason);
        unscheduleUpdate();
        return false;
    };

    angle_ = dict.floatForKey("angle");
    angleVar_ = dict.floatForKey("angleVariance");
    duration_ = dict.floatForKey("duration");
    blendFunc_.src = std::uint32_t(dict.intForKey("blendFuncSource"));
    blendFunc_.dst = std::uint32_t(dict.intForKey("blendFuncDestination"));

    auto color = [&](const char* prefix) {
        const std::string p = prefix;
        return ccColor4F{dict.floatForKey(p + "Red"), dict.floatForKey(p + "Green"), dict.floatForKey(p + "Blue"),
                         dict.floatForKey(p + "Alpha")};
    };
    startColor_ = color("startColor");
    startColorVar_ = color("startColorVariance");
    endColor_ = color("finishColor");
    endColorVar_ = color("finishColorVariance");

    startSize_ = dict.floatForKey("startParticleSize");
    startSizeVar_ = dict.floatForKey("startParticleSizeVariance");
    endSize_ = dict.floatForKey("finishParticleSize");
    endSizeVar_ = dict.floatForKey("finishParticleSizeVariance");

    setPosition(ccp(dict.floatForKey("sourcePositionx"), dict.floatForKey("sourcePositiony")));
    posVar_ = ccp(dict.floatForKey("sourcePositionVariancex"), dict.floatForKey("sourcePositionVariancey"));

    emitterMode_ = dict.intForKey("emitterType");
    if (emitterMode_ == kCCParticleModeGravity) {
        modeA.gravity = ccp(dict.floatForKey("gravityx"), dict.floatForKey("gravityy"));
        modeA.speed = dict.floatForKey("speed");
        modeA.speedVar = dict.floatForKey("speedVariance");
        modeA.radialAccel = dict.floatForKey("radialAcceleration");
        modeA.radialAccelVar = dict.floatForKey("radialAccelVariance");
        modeA.tangentialAccel = dict.floatForKey("tangentialAcceleration");
        modeA.tangentialAccelVar = dict.floatForKey("tangentialAccelVariance");
    } else if (emitterMode_ == kCCParticleModeRadius) {
        modeB.startRadius = dict.floatForKey("maxRadius");
        modeB.startRadiusVar = dict.floatForKey("maxRadiusVariance");
        modeB.endRadius = dict.floatForKey("minRadius");
        modeB.endRadiusVar = 0;
        modeB.rotatePerSecond = dict.floatForKey("rotatePerSecond");
        modeB.rotatePerSecondVar = dict.floatForKey("rotatePerSecondVariance");
    } else {
        return refuse("Invalid emitterType in config file");
    }

    life_ = dict.floatForKey("particleLifespan");
    lifeVar_ = dict.floatForKey("particleLifespanVariance");
    emissionRate_ = float(totalParticles_) / life_;

    const std::string textureName = dict.stringForKey("textureFileName");
    CCTexture2D* texture = textureName.empty() ? nullptr : CCTextureCache::sharedTextureCache()->addImage(textureName);
    const PropertyList& imageData = dict.objectForKey("textureImageData");
    if (!texture && imageData.isString()) {
        const std::string& text = imageData.stringValue();
        FreeOnExit decoded, inflated;
        const int decodedLength = base64Decode(reinterpret_cast<const unsigned char*>(text.data()),
                                               unsigned(text.size()), &decoded.p);
        if (!decoded.p) {
            return refuse("CCParticleSystem: error decoding textureImageData");
        }
        const int inflatedLength = inflateMemory(decoded.p, unsigned(decodedLength), &inflated.p);
        if (!inflated.p) {
            return refuse("CCParticleSystem: error ungzipping textureImageData");
        }
        CCAutoreleaseScope scope;
        UIImage* image = UIImage::imageWithData(NSData::dataWithBytes(inflated.p, std::size_t(inflatedLength)));
        if (image && image->CGImage()) {
            CCTexture2D* made = CCTextureCache::sharedTextureCache()->addCGImage(image->CGImage(), textureName);
            // Unnamed data is not cached: keep the texture past this scope.
            if (made) setTexture(made);
        }
    } else if (texture) {
        setTexture(texture);
    }
    if (!texture_) {
        return refuse("CCParticleSystem: error loading the texture");
    }
    return true;
}

void CCParticleSystem::setTotalParticles(unsigned n) {
    CCAssert(n <= capacity_, "Particle system: totalParticles is larger than the pool");
    totalParticles_ = n;
}

bool CCParticleSystem::blendAdditive() const { return blendFunc_.src == GL_SRC_ALPHA && blendFunc_.dst == GL_ONE; }

void CCParticleSystem::setBlendAdditive(bool additive) {
    if (additive) {
        blendFunc_ = {GL_SRC_ALPHA, GL_ONE};
    } else if (texture_ && !texture_->hasPremultipliedAlpha()) {
        blendFunc_ = {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    } else {
        blendFunc_ = {CC_BLEND_SRC, CC_BLEND_DST};
    }
}

void CCParticleSystem::setTexture(CCTexture2D* texture) {
    texture_ = texture;
    if (texture && !texture->hasPremultipliedAlpha() && blendFunc_.src == CC_BLEND_SRC &&
        blendFunc_.dst == CC_BLEND_DST)
        blendFunc_.src = GL_SRC_ALPHA;
}

// ---- mode properties ----

void CCParticleSystem::assertGravity() const {
    CCAssert(emitterMode_ == kCCParticleModeGravity, "Particle Mode should be Gravity");
}
void CCParticleSystem::assertRadius() const {
    CCAssert(emitterMode_ == kCCParticleModeRadius, "Particle Mode should be Radius");
}

#define CC_MODE_PROPERTY(Type, getter, setter, check, field)                                                        \
    Type CCParticleSystem::getter() const {                                                                         \
        check();                                                                                                    \
        return field;                                                                                               \
    }                                                                                                               \
    void CCParticleSystem::setter(Type v) {                                                                         \
        check();                                                                                                    \
        field = v;                                                                                                  \
    }

CC_MODE_PROPERTY(CGPoint, gravity, setGravity, assertGravity, modeA.gravity)
CC_MODE_PROPERTY(float, speed, setSpeed, assertGravity, modeA.speed)
CC_MODE_PROPERTY(float, speedVar, setSpeedVar, assertGravity, modeA.speedVar)
CC_MODE_PROPERTY(float, tangentialAccel, setTangentialAccel, assertGravity, modeA.tangentialAccel)
CC_MODE_PROPERTY(float, tangentialAccelVar, setTangentialAccelVar, assertGravity, modeA.tangentialAccelVar)
CC_MODE_PROPERTY(float, radialAccel, setRadialAccel, assertGravity, modeA.radialAccel)
CC_MODE_PROPERTY(float, radialAccelVar, setRadialAccelVar, assertGravity, modeA.radialAccelVar)
CC_MODE_PROPERTY(float, startRadius, setStartRadius, assertRadius, modeB.startRadius)
CC_MODE_PROPERTY(float, startRadiusVar, setStartRadiusVar, assertRadius, modeB.startRadiusVar)
CC_MODE_PROPERTY(float, endRadius, setEndRadius, assertRadius, modeB.endRadius)
CC_MODE_PROPERTY(float, endRadiusVar, setEndRadiusVar, assertRadius, modeB.endRadiusVar)
CC_MODE_PROPERTY(float, rotatePerSecond, setRotatePerSecond, assertRadius, modeB.rotatePerSecond)
CC_MODE_PROPERTY(float, rotatePerSecondVar, setRotatePerSecondVar, assertRadius, modeB.rotatePerSecondVar)

#undef CC_MODE_PROPERTY

// ---- emission ----

CGPoint CCParticleSystem::emitterWorldPosition() {
    return ccpMult(convertToWorldSpace(CGPointZero), CC_CONTENT_SCALE_FACTOR());
}

bool CCParticleSystem::addParticle() {
    if (isFull()) return false;
    initParticle(&particles_[particleCount_]);
    ++particleCount_;
    return true;
}

void CCParticleSystem::initParticle(sCCParticle* particle) {
    const float scale = CC_CONTENT_SCALE_FACTOR();

    particle->timeToLive = std::max(0.0f, life_ + lifeVar_ * CCRANDOM_MINUS1_1());

    const float px = centerOfGravity_.x + posVar_.x * CCRANDOM_MINUS1_1();
    const float py = centerOfGravity_.y + posVar_.y * CCRANDOM_MINUS1_1();
    particle->position = ccp(px * scale, py * scale);

    ccColor4F start, end;
    start.r = clamp01(startColor_.r + startColorVar_.r * CCRANDOM_MINUS1_1());
    start.g = clamp01(startColor_.g + startColorVar_.g * CCRANDOM_MINUS1_1());
    start.b = clamp01(startColor_.b + startColorVar_.b * CCRANDOM_MINUS1_1());
    start.a = clamp01(startColor_.a + startColorVar_.a * CCRANDOM_MINUS1_1());
    end.r = clamp01(endColor_.r + endColorVar_.r * CCRANDOM_MINUS1_1());
    end.g = clamp01(endColor_.g + endColorVar_.g * CCRANDOM_MINUS1_1());
    end.b = clamp01(endColor_.b + endColorVar_.b * CCRANDOM_MINUS1_1());
    end.a = clamp01(endColor_.a + endColorVar_.a * CCRANDOM_MINUS1_1());
    const float ttl = particle->timeToLive;
    particle->color = start;
    particle->deltaColor = {(end.r - start.r) / ttl, (end.g - start.g) / ttl, (end.b - start.b) / ttl,
                            (end.a - start.a) / ttl};

    const float startSize = std::max(0.0f, startSize_ + startSizeVar_ * CCRANDOM_MINUS1_1()) * scale;
    particle->size = startSize;
    if (endSize_ == kCCParticleStartSizeEqualToEndSize) {
        particle->deltaSize = 0;
    } else {
        const float endSize = std::max(0.0f, endSize_ + endSizeVar_ * CCRANDOM_MINUS1_1()) * scale;
        particle->deltaSize = (endSize - startSize) / ttl;
    }

    const float startSpin = startSpin_ + startSpinVar_ * CCRANDOM_MINUS1_1();
    const float endSpin = endSpin_ + endSpinVar_ * CCRANDOM_MINUS1_1();
    particle->rotation = startSpin;
    particle->deltaRotation = (endSpin - startSpin) / ttl;

    if (positionType_ == kCCPositionTypeFree) particle->startPosition = emitterWorldPosition();

    const float a = CC_DEGREES_TO_RADIANS(angle_ + angleVar_ * CCRANDOM_MINUS1_1());

    if (emitterMode_ == kCCParticleModeGravity) {
        const float s = (modeA.speed + modeA.speedVar * CCRANDOM_MINUS1_1()) * scale;
        particle->A.dir = ccp(std::cos(a) * s, std::sin(a) * s);
        particle->A.radialAccel = (modeA.radialAccel + modeA.radialAccelVar * CCRANDOM_MINUS1_1()) * scale;
        particle->A.tangentialAccel =
            (modeA.tangentialAccel + modeA.tangentialAccelVar * CCRANDOM_MINUS1_1()) * scale;
    } else {
        const float startRadius = (modeB.startRadius + modeB.startRadiusVar * CCRANDOM_MINUS1_1()) * scale;
        particle->B.radius = startRadius;
        particle->B.angle = a;
        if (modeB.endRadius == kCCParticleStartRadiusEqualToEndRadius) {
            particle->B.deltaRadius = 0;
        } else {
            const float endRadius = (modeB.endRadius + modeB.endRadiusVar * CCRANDOM_MINUS1_1()) * scale;
            particle->B.deltaRadius = (endRadius - startRadius) / ttl;
        }
        particle->B.degreesPerSecond =
            CC_DEGREES_TO_RADIANS(modeB.rotatePerSecond + modeB.rotatePerSecondVar * CCRANDOM_MINUS1_1());
    }
}

void CCParticleSystem::stopSystem() {
    active_ = false;
    elapsed_ = duration_;
    emitCounter_ = 0;
}

void CCParticleSystem::resetSystem() {
    active_ = true;
    elapsed_ = 0;
    for (unsigned i = 0; i < particleCount_; ++i) particles_[i].timeToLive = 0;
}

void CCParticleSystem::update(float dt) {
    if (active_ && emissionRate_ != 0) {
        const float rate = 1.0f / emissionRate_;
        emitCounter_ += dt;
        while (particleCount_ < totalParticles_ && emitCounter_ > rate) {
            addParticle();
            emitCounter_ -= rate;
        }
        elapsed_ += dt;
        if (duration_ != kCCParticleDurationInfinity && duration_ < elapsed_) stopSystem();
    }

    particleIdx_ = 0;
    const CGPoint current = positionType_ == kCCPositionTypeFree ? emitterWorldPosition() : CGPointZero;

    while (particleIdx_ < particleCount_) {
        sCCParticle* p = &particles_[particleIdx_];
        p->timeToLive -= dt;
        if (!(p->timeToLive > 0)) {
            // The last live particle takes the dead one's slot and is updated next.
            if (particleIdx_ != particleCount_ - 1) *p = particles_[particleCount_ - 1];
            --particleCount_;
            if (particleCount_ == 0 && autoRemoveOnFinish_) {
                unscheduleUpdate();
                if (parent_) parent_->removeChild(this, true);
                return;
            }
            continue;
        }

        if (emitterMode_ == kCCParticleModeGravity) {
            CGPoint accel = modeA.gravity;
            // Without radial and tangential parts (the usual case) gravity is all there is.
            if (p->A.radialAccel != 0 || p->A.tangentialAccel != 0) {
                CGPoint radial = CGPointZero;
                if (p->position.x != 0 || p->position.y != 0) radial = ccpNormalize(p->position);
                const CGPoint tangential = ccp(-radial.y, radial.x);
                accel = ccpAdd(ccpAdd(ccpMult(radial, p->A.radialAccel), ccpMult(tangential, p->A.tangentialAccel)),
                               modeA.gravity);
            }
            p->A.dir = ccpAdd(p->A.dir, ccpMult(accel, dt));
            p->position = ccpAdd(p->position, ccpMult(p->A.dir, dt));
        } else {
            p->B.angle += p->B.degreesPerSecond * dt;
            p->B.radius += p->B.deltaRadius * dt;
            p->position = ccp(-std::cos(p->B.angle) * p->B.radius, -std::sin(p->B.angle) * p->B.radius);
        }

        p->color.r += p->deltaColor.r * dt;
        p->color.g += p->deltaColor.g * dt;
        p->color.b += p->deltaColor.b * dt;
        p->color.a += p->deltaColor.a * dt;
        p->size = std::max(0.0f, p->size + p->deltaSize * dt);
        p->rotation += p->deltaRotation * dt;

        const CGPoint newPosition =
            positionType_ == kCCPositionTypeFree ? ccpSub(p->position, ccpSub(current, p->startPosition)) : p->position;
        (this->*updateParticleImp)(p, newPosition);
        ++particleIdx_;
    }
    postStep();
}
