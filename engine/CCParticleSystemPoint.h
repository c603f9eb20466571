#pragma once
// Particles drawn as textured GL point sprites, sized per particle.
#include <GLES/gl.h>

#include <memory>
#include <string>

#include "CCParticleSystem.h"

class CCParticleSystemPoint : public CCParticleSystem {
public:
    // Autoreleased; nullptr when the file is refused.
    static CCParticleSystemPoint* particleWithFile(const std::string& plistFile);

    ~CCParticleSystemPoint() override;
    bool initWithTotalParticles(unsigned numberOfParticles) override;

    // Points are rasterised at 0..64 pixels and cannot spin.
    void setStartSize(float size) override;
    void setEndSize(float size) override;
    void setStartSpin(float v) override;
    void setStartSpinVar(float v) override;
    void setEndSpin(float v) override;
    void setEndSpinVar(float v) override;

    void updateQuadWithParticle(sCCParticle* particle, CGPoint newPosition) override;
    void postStep() override;
    void draw() override;

    const ccPointSprite* vertices() const { return vertices_.get(); }
    GLuint verticesID() const { return verticesID_; }

private:
    void writeVertex(sCCParticle* particle, CGPoint newPosition);

    std::unique_ptr<ccPointSprite[]> vertices_;
    GLuint verticesID_ = 0;
};
