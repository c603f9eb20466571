// Particles: the game's eight particle presets, one per cell, and a fountain configured from a
// particle property list (fountain.plist). The bursts (explosion, blood, tar) end by
// themselves; a timer restarts them with resetSystem.
#include <vector>

#include "CCColorLayer.h"
#include "CCLabelTTF.h"
#include "CCParticleSystemQuad.h"
#include "CCScene.h"
#include "CCTextureCache.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"
#include "Parts.h"

namespace {

template <class Preset> Preset* preset() { return ccCreate<Preset>([](Preset* p) { return p->init(); }); }

class ParticlesLayer : public CCLayer {
public:
    static ParticlesLayer* node() { return ccCreate<ParticlesLayer>([](ParticlesLayer* l) { return l->init(); }); }

    bool init() override {
        if (!CCLayer::init()) return false;
        addChild(CCColorLayer::layerWithColor(ccc4(70, 76, 92, 255)));
        // The presets come without a texture: every one gets the soft white dot.
        CCTexture2D* spark = CCTextureCache::sharedTextureCache()->addImage("spark.png");
        if (!spark) return false;

        // The star stream crosses the whole screen in the game; here it is shortened to its cell.
        CCParticleStar* stars = preset<CCParticleStar>();
        stars->setPosVar(ccp(40, 0));
        stars->setLife(1.1f);
        stars->setEmissionRate(200);
        place(stars, spark, 0, 0, ccp(70, 0), "star stream");
        place(preset<BackgroundExplosion>(), spark, 1, 0, ccp(0, 0), "explosion", true);
        place(preset<MZParticleBlood>(), spark, 2, 0, ccp(0, 0), "blood", true);
        place(preset<CCParticleTar>(), spark, 0, 1, ccp(0, 0), "tar", true);
        place(preset<CCParticleSmokeStream>(), spark, 1, 1, ccp(0, -30), "smoke stream");
        place(preset<CCParticleSmokeBlow>(), spark, 2, 1, ccp(0, 0), "smoke blow");
        place(preset<ParticleSparkles>(), spark, 0, 2, ccp(0, 30), "sparkles");
        place(preset<CCParticleSunExpo>(), spark, 1, 2, ccp(0, 5), "sun");

        // Everything about the fountain, its texture included, is in the file.
        CCParticleSystemQuad* fountain = CCParticleSystemQuad::particleWithFile("fountain.plist");
        if (!fountain) return false;
        place(fountain, nullptr, 2, 2, ccp(0, -38), "from fountain.plist");

        schedule(schedule_selector(ParticlesLayer::restartBursts), 1.2f);
        return true;
    }

    void restartBursts(float) {
        for (CCParticleSystem* burst : bursts_) burst->resetSystem();
    }

private:
    // Cells of 160 x 106 points: column 0 to 2 from the left, row 0 to 2 from the top.
    void place(CCParticleSystem* system, CCTexture2D* texture, int column, int row, CGPoint offset,
               const char* name, bool burst = false) {
        const CGPoint centre = ccp(80 + column * 160.0f, 267 - row * 106.0f);
        if (texture) system->setTexture(texture);
        system->setPosition(ccpAdd(centre, offset));
        addChild(system);
        CCLabelTTF* caption = CCLabelTTF::labelWithString(name, "DejaVu Sans", 11);
        caption->setPosition(ccp(centre.x, centre.y - 45));
        addChild(caption, 1);
        if (burst) bursts_.push_back(system);
    }

    std::vector<CCParticleSystem*> bursts_; // children
};

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "particles", []() -> CCScene* {
        ParticlesLayer* layer = ParticlesLayer::node();
        if (!layer) return nullptr;
        CCScene* scene = CCScene::node();
        scene->addChild(layer);
        return scene;
    });
}
