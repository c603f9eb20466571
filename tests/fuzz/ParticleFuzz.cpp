// Particle-system property lists: a system made from the dictionary (its texture from the
// embedded picture data, never from a named file) and drawn for a few frames.
#include "CCAutoreleasePool.h"
#include "CCParticleSystemQuad.h"
#include "CCTextureCache.h"
#include "FuzzScene.h"
#include "FuzzTarget.h"
#include "PropertyList.h"

ZORVIK_FUZZ_TARGET(particles) {
    fuzzScene();
    CCAutoreleaseScope scope;
    PropertyList dictionary = PropertyList::fromBytes(data, size);
    if (!dictionary.isDictionary()) return 0;
    dictionary.removeObjectForKey("textureFileName");
    CCParticleSystemQuad* system =
        ccNew<CCParticleSystemQuad>([&](CCParticleSystemQuad* p) { return p->initWithDictionary(dictionary); });
    if (system) {
        fuzzScene()->addChild(system);
        for (int i = 0; i < 3; ++i) {
            system->update(1.0f / 60);
            fuzzDrawFrames(1);
        }
        fuzzScene()->removeChild(system, true);
        system->release();
    }
    CCTextureCache::sharedTextureCache()->removeAllTextures();
    return 0;
}
