#include "CCParticleSystemPoint.h"

#include <GLES/glext.h>

#include <new>

#include "CCGLStateCache.h"
#include "CCTexture2D.h"
#include "ccMacros.h"

CCParticleSystemPoint* CCParticleSystemPoint::particleWithFile(const std::string& plistFile) {
    return ccCreate<CCParticleSystemPoint>([&](CCParticleSystemPoint* p) { return p->initWithFile(plistFile); });
}

CCParticleSystemPoint::~CCParticleSystemPoint() {
    if (verticesID_) glDeleteBuffers(1, &verticesID_);
}

bool CCParticleSystemPoint::initWithTotalParticles(unsigned numberOfParticles) {
    if (!CCParticleSystem::initWithTotalParticles(numberOfParticles)) return false;
    vertices_.reset(new (std::nothrow) ccPointSprite[numberOfParticles ? numberOfParticles : 1]());
    if (!vertices_) {
        CCLog("engine: Particle system: not enough memory");
        unscheduleUpdate();
        return false;
    }
    // Written directly instead of through a virtual call per particle.
    updateParticleImp = static_cast<UpdateParticleImp>(&CCParticleSystemPoint::writeVertex);
    glGenBuffers(1, &verticesID_);
    glBindBuffer(GL_ARRAY_BUFFER, verticesID_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(sizeof(ccPointSprite) * numberOfParticles), vertices_.get(),
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void CCParticleSystemPoint::writeVertex(sCCParticle* p, CGPoint newPosition) {
    ccPointSprite& v = vertices_[particleIdx_];
    v.pos = {newPosition.x, newPosition.y};
    v.colors = p->color;
    v.size = p->size;
}

void CCParticleSystemPoint::updateQuadWithParticle(sCCParticle* particle, CGPoint newPosition) {
    writeVertex(particle, newPosition);
}

void CCParticleSystemPoint::postStep() {
    glBindBuffer(GL_ARRAY_BUFFER, verticesID_);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(sizeof(ccPointSprite) * particleCount_), vertices_.get());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void CCParticleSystemPoint::draw() {
    if (particleIdx_ == 0) return;
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    ccGLBindTexture2D(texture_ ? texture_->name() : 0);
    glEnable(GL_POINT_SPRITE_OES);
    // Texture-environment state of the context: set once, it stays.
    CCGLStateCache* cache = ccGLStateCache();
    if (!cache || cache->needsPointSpriteCoordReplace()) glTexEnvi(GL_POINT_SPRITE_OES, GL_COORD_REPLACE_OES, GL_TRUE);
    ccGLForgetArrays();

    glBindBuffer(GL_ARRAY_BUFFER, verticesID_);
    constexpr GLsizei stride = sizeof(ccPointSprite);
    glVertexPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(ccPointSprite, pos)));
    glColorPointer(4, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(ccPointSprite, colors)));
    glEnableClientState(GL_POINT_SIZE_ARRAY_OES);
    glPointSizePointerOES(GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(ccPointSprite, size)));

    const bool newBlend = blendFunc_.src != CC_BLEND_SRC || blendFunc_.dst != CC_BLEND_DST;
    if (newBlend) glBlendFunc(blendFunc_.src, blendFunc_.dst);
    glDrawArrays(GL_POINTS, 0, GLsizei(particleIdx_));
    if (newBlend) glBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);

    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDisableClientState(GL_POINT_SIZE_ARRAY_OES);
    glDisable(GL_POINT_SPRITE_OES);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

void CCParticleSystemPoint::setStartSize(float size) {
    CCAssert(size >= 0 && size <= 64, "PointParticleSystem only supports 0 <= size <= 64");
    CCParticleSystem::setStartSize(size);
}

void CCParticleSystemPoint::setEndSize(float size) {
    CCAssert(size == kCCParticleStartSizeEqualToEndSize || (size >= 0 && size <= 64),
             "PointParticleSystem only supports 0 <= size <= 64");
    CCParticleSystem::setEndSize(size);
}

void CCParticleSystemPoint::setStartSpin(float v) {
    CCAssert(v == 0, "PointParticleSystem doesn't support spinning");
    CCParticleSystem::setStartSpin(v);
}
void CCParticleSystemPoint::setStartSpinVar(float v) {
    CCAssert(v == 0, "PointParticleSystem doesn't support spinning");
    CCParticleSystem::setStartSpinVar(v);
}
void CCParticleSystemPoint::setEndSpin(float v) {
    CCAssert(v == 0, "PointParticleSystem doesn't support spinning");
    CCParticleSystem::setEndSpin(v);
}
void CCParticleSystemPoint::setEndSpinVar(float v) {
    CCAssert(v == 0, "PointParticleSystem doesn't support spinning");
    CCParticleSystem::setEndSpinVar(v);
}
