#include "CCParticleSystemQuad.h"

#include <cmath>
#include <new>

#include "CCGLStateCache.h"
#include "CCSpriteFrame.h"
#include "CCTexture2D.h"
#include "ccMacros.h"

CCParticleSystemQuad* CCParticleSystemQuad::particleWithFile(const std::string& plistFile) {
    return ccCreate<CCParticleSystemQuad>([&](CCParticleSystemQuad* p) { return p->initWithFile(plistFile); });
}

CCParticleSystemQuad::~CCParticleSystemQuad() {
    if (quadsID_) glDeleteBuffers(1, &quadsID_);
}

bool CCParticleSystemQuad::initWithTotalParticles(unsigned numberOfParticles) {
    if (!CCParticleSystem::initWithTotalParticles(numberOfParticles)) return false;
    // Six 16-bit indices address four vertices per particle: at most 16384 particles.
    const unsigned slots = numberOfParticles ? numberOfParticles : 1;
    quads_.reset(new (std::nothrow) ccV2F_C4F_T2F_Quad[slots]());
    indices_.reset(new (std::nothrow) GLushort[std::size_t{slots} * 6]());
    if (!quads_ || !indices_ || numberOfParticles > 16384) {
        CCLog("engine: Particle system: not enough memory");
        quads_.reset();
        indices_.reset();
        unscheduleUpdate();
        return false;
    }
    updateParticleImp = static_cast<UpdateParticleImp>(&CCParticleSystemQuad::writeQuad);
    if (texture_) {
        initTexCoordsWithRect(
            CGRectMake(0, 0, float(texture_->pixelsWide()), float(texture_->pixelsHigh())));
    }
    initIndices();
    glGenBuffers(1, &quadsID_);
    glBindBuffer(GL_ARRAY_BUFFER, quadsID_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(sizeof(ccV2F_C4F_T2F_Quad) * numberOfParticles), quads_.get(),
                 GL_DYNAMIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void CCParticleSystemQuad::initIndices() {
    for (unsigned i = 0; i < totalParticles_; ++i) {
        const GLushort base = GLushort(i * 4);
        GLushort* six = &indices_[std::size_t{i} * 6];
        six[0] = base;
        six[1] = GLushort(base + 1);
        six[2] = GLushort(base + 2);
        six[3] = GLushort(base + 3);
        six[4] = GLushort(base + 2);
        six[5] = GLushort(base + 1);
    }
}

void CCParticleSystemQuad::initTexCoordsWithRect(CGRect rect) {
    // Without a texture there is nothing to map onto.
    if (!texture_ || !quads_) return;
    const float wide = float(texture_->pixelsWide()), high = float(texture_->pixelsHigh());
    // Half-texel inset so that linear filtering does not pick up the neighbours.
    const float uMin = (rect.origin.x * 2 + 1) / (wide * 2);
    const float vMin = (rect.origin.y * 2 + 1) / (high * 2);
    const float uMax = uMin + (rect.size.width * 2 - 2) / (wide * 2);
    const float vMax = vMin + (rect.size.height * 2 - 2) / (high * 2);
    // Texture rows run top first: the quad's bottom takes the larger v.
    for (unsigned i = 0; i < capacity_; ++i) {
        quads_[i].bl.texCoords = {uMin, vMax};
        quads_[i].br.texCoords = {uMax, vMax};
        quads_[i].tl.texCoords = {uMin, vMin};
        quads_[i].tr.texCoords = {uMax, vMin};
    }
}

void CCParticleSystemQuad::setTexture(CCTexture2D* texture, CGRect rect) {
    if (!texture_ || !texture || texture->name() != texture_->name()) CCParticleSystem::setTexture(texture);
    initTexCoordsWithRect(rect);
}

void CCParticleSystemQuad::setTexture(CCTexture2D* texture) {
    const CGRect whole =
        texture ? CGRectMake(0, 0, float(texture->pixelsWide()), float(texture->pixelsHigh())) : CGRectZero;
    setTexture(texture, whole);
}

void CCParticleSystemQuad::setDisplayFrame(CCSpriteFrame* spriteFrame) {
    CCAssert(spriteFrame->offsetInPixels() == CGPointZero, "QuadParticle only supports SpriteFrames with no offsets");
    CCTexture2D* texture = spriteFrame->texture();
    if (!texture_ || !texture || texture->name() != texture_->name()) setTexture(texture);
}

void CCParticleSystemQuad::writeQuad(sCCParticle* p, CGPoint newPosition) {
    ccV2F_C4F_T2F_Quad& quad = quads_[particleIdx_];
    quad.bl.colors = quad.br.colors = quad.tl.colors = quad.tr.colors = p->color;
    const float h = p->size / 2;
    const float x = newPosition.x, y = newPosition.y;
    if (p->rotation != 0) {
        const float r = -CC_DEGREES_TO_RADIANS(p->rotation);
        const float c = std::cos(r), s = std::sin(r);
        auto corner = [&](float dx, float dy) { return ccVertex2F{x + dx * c - dy * s, y + dx * s + dy * c}; };
        quad.bl.vertices = corner(-h, -h);
        quad.br.vertices = corner(h, -h);
        quad.tl.vertices = corner(-h, h);
        quad.tr.vertices = corner(h, h);
    } else {
        quad.bl.vertices = {x - h, y - h};
        quad.br.vertices = {x + h, y - h};
        quad.tl.vertices = {x - h, y + h};
        quad.tr.vertices = {x + h, y + h};
    }
}

void CCParticleSystemQuad::updateQuadWithParticle(sCCParticle* particle, CGPoint newPosition) {
    writeQuad(particle, newPosition);
}

void CCParticleSystemQuad::postStep() {
    glBindBuffer(GL_ARRAY_BUFFER, quadsID_);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(sizeof(ccV2F_C4F_T2F_Quad) * particleCount_), quads_.get());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void CCParticleSystemQuad::draw() {
    ccGLBindTexture2D(texture_ ? texture_->name() : 0);
    ccGLForgetArrays();
    glBindBuffer(GL_ARRAY_BUFFER, quadsID_);
    constexpr GLsizei stride = sizeof(ccV2F_C4F_T2F);
    glVertexPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(ccV2F_C4F_T2F, vertices)));
    glColorPointer(4, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(ccV2F_C4F_T2F, colors)));
    glTexCoordPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(ccV2F_C4F_T2F, texCoords)));

    const bool newBlend = blendFunc_.src != CC_BLEND_SRC || blendFunc_.dst != CC_BLEND_DST;
    if (newBlend) glBlendFunc(blendFunc_.src, blendFunc_.dst);
    CCAssert(particleIdx_ == particleCount_, "Abnormal error in particle quad");
    glDrawElements(GL_TRIANGLES, GLsizei(particleIdx_ * 6), GL_UNSIGNED_SHORT, indices_.get());
    if (newBlend) glBlendFunc(CC_BLEND_SRC, CC_BLEND_DST);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
