#pragma once
// Particles drawn as textured, optionally rotated squares.
#include <GLES/gl.h>

#include <memory>
#include <string>

#include "CCParticleSystem.h"

class CCSpriteFrame;

class CCParticleSystemQuad : public CCParticleSystem {
public:
    static CCParticleSystemQuad* particleWithFile(const std::string& plistFile);

    ~CCParticleSystemQuad() override;
    bool initWithTotalParticles(unsigned numberOfParticles) override;

    // The whole texture.
    void setTexture(CCTexture2D* texture) override;
    // A part of the texture, in texture pixels.
    void setTexture(CCTexture2D* texture, CGRect rect);
    // The frame's whole texture; frames with an offset are refused.
    void setDisplayFrame(CCSpriteFrame* spriteFrame);
    void initTexCoordsWithRect(CGRect rect);
    void initIndices();

    void updateQuadWithParticle(sCCParticle* particle, CGPoint newPosition) override;
    void postStep() override;
    void draw() override;

    const ccV2F_C4F_T2F_Quad* quads() const { return quads_.get(); }
    const GLushort* indices() const { return indices_.get(); }

private:
    void writeQuad(sCCParticle* particle, CGPoint newPosition);

    std::unique_ptr<ccV2F_C4F_T2F_Quad[]> quads_;
    std::unique_ptr<GLushort[]> indices_;
    GLuint quadsID_ = 0;
};
