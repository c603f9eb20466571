// Sprite-frame property lists: frames added on a small texture, a sprite made from each and
// drawn in a frame.
#include "CCAutoreleasePool.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CCTextureCache.h"
#include "CGImage.h"
#include "FuzzScene.h"
#include "FuzzTarget.h"
#include "PropertyList.h"

ZORVIK_FUZZ_TARGET(spriteframes) {
    fuzzScene();
    CCAutoreleaseScope scope;
    PropertyList dictionary = PropertyList::fromBytes(data, size);
    if (!dictionary.isDictionary()) return 0;
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addCGImage(
        CGImage::imageWithRGBA(16, 16, std::vector<std::uint8_t>(1024, 0x80)), "sheet");
    CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    cache->addSpriteFramesWithDictionary(dictionary, texture);
    unsigned made = 0;
    for (const auto& [name, frame] : dictionary["frames"].dictionaryValue()) {
        if (++made > 64) break;
        if (!cache->spriteFrameByName(name)) continue; // refused with the whole dictionary
        if (CCSprite* sprite = cache->createSpriteWithFrameName(name)) fuzzScene()->addChild(sprite);
    }
    fuzzDrawFrames(1);
    fuzzScene()->removeAllChildrenWithCleanup(true);
    cache->removeSpriteFrames();
    CCTextureCache::sharedTextureCache()->removeAllTextures();
    return 0;
}
