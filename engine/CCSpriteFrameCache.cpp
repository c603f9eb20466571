#include "CCSpriteFrameCache.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "CCFileUtils.h"
#include "CCSprite.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "UIGeometry.h"
#include "ccMacros.h"

namespace {
CCSpriteFrameCache* sharedSpriteFrameCache_ = nullptr;

PropertyList readList(const std::string& plist) {
    std::string why;
    PropertyList list = PropertyList::dictionaryWithContentsOfFile(CCFileUtils::fullPathFromRelativePath(plist), &why);
    if (!list) CCLog("CCSpriteFrameCache: cannot read %s: %s", plist.c_str(), why.c_str());
    return list;
}
} // namespace

CCSpriteFrameCache* CCSpriteFrameCache::sharedSpriteFrameCache() {
    if (!sharedSpriteFrameCache_) {
        auto* cache = new CCSpriteFrameCache;
        cache->init();
        sharedSpriteFrameCache_ = cache;
    }
    return sharedSpriteFrameCache_;
}

void CCSpriteFrameCache::purgeSharedSpriteFrameCache() {
    if (CCSpriteFrameCache* cache = sharedSpriteFrameCache_) {
        sharedSpriteFrameCache_ = nullptr;
        cache->release();
    }
}

CCSpriteFrameCache::CCSpriteFrameCache() { CCAssertSingleton(sharedSpriteFrameCache_); }

CCSpriteFrameCache::~CCSpriteFrameCache() = default;

bool CCSpriteFrameCache::init() {
    spriteFrames_.clear();
    spriteFramesAliases_.clear();
    return true;
}

void CCSpriteFrameCache::addSpriteFramesWithDictionary(const PropertyList& dictionary, CCTexture2D* texture) {
    const PropertyList& metadata = dictionary["metadata"];
    const PropertyList& frames = dictionary["frames"];
    const int format = metadata ? metadata.intForKey("format") : 0;
    // File data never stops the program: a format this reader does not know adds nothing.
    if (format < 0 || format > 3) {
        CCLog("CCSpriteFrameCache: format %d is not supported; no frames added", format);
        return;
    }

    for (const auto& [name, frameDict] : frames.dictionaryValue()) {
        CGRect rect{};
        bool rotated = false;
        CGPoint offset{};
        CGSize original{};
        if (format == 0) {
            rect = CGRectMake(frameDict.floatForKey("x"), frameDict.floatForKey("y"), frameDict.floatForKey("width"),
                              frameDict.floatForKey("height"));
            offset = {frameDict.floatForKey("offsetX"), frameDict.floatForKey("offsetY")};
            // In 64 bits: the magnitude of the smallest int does not fit an int.
            const std::int64_t ow = frameDict.intForKey("originalWidth"), oh = frameDict.intForKey("originalHeight");
            original = {float(ow < 0 ? -ow : ow), float(oh < 0 ? -oh : oh)};
        } else if (format == 1 || format == 2) {
            rect = CGRectFromString(frameDict.stringForKey("frame"));
            if (format == 2) rotated = frameDict.boolForKey("rotated");
            offset = CGPointFromString(frameDict.stringForKey("offset"));
            original = CGSizeFromString(frameDict.stringForKey("sourceSize"));
        } else {
            const CGSize spriteSize = CGSizeFromString(frameDict.stringForKey("spriteSize"));
            offset = CGPointFromString(frameDict.stringForKey("spriteOffset"));
            original = CGSizeFromString(frameDict.stringForKey("spriteSourceSize"));
            const CGRect textureRect = CGRectFromString(frameDict.stringForKey("textureRect"));
            rotated = frameDict.boolForKey("textureRotated");
            for (const PropertyList& alias : frameDict["aliases"].arrayValue())
                spriteFramesAliases_[alias.stringValue()] = name;
            rect = {textureRect.origin, spriteSize};
        }
        spriteFrames_[name] = CCPtr<CCSpriteFrame>::adopt(ccNew<CCSpriteFrame>(
            [&](CCSpriteFrame* f) { return f->initWithTexture(texture, rect, rotated, offset, original); }));
    }
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const std::string& plist, CCTexture2D* texture) {
    PropertyList dictionary = readList(plist);
    if (!dictionary) return;
    addSpriteFramesWithDictionary(dictionary, texture);
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const std::string& plist) {
    PropertyList dictionary = readList(plist);
    if (!dictionary) return;
    std::string texturePath = plist;
    const std::size_t slash = texturePath.rfind('/');
    const std::size_t dot = texturePath.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) texturePath.erase(dot);
    texturePath += ".png";
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(texturePath);
    // Frames without a texture could only fail later, when a sprite is made from them.
    if (!texture) {
        CCLog("CCSpriteFrameCache: Couldn't load texture %s", texturePath.c_str());
        return;
    }
    addSpriteFramesWithDictionary(dictionary, texture);
}

void CCSpriteFrameCache::addSpriteFrame(CCSpriteFrame* frame, const std::string& name) { spriteFrames_[name] = frame; }

CCSpriteFrame* CCSpriteFrameCache::spriteFrameByName(const std::string& name) const {
    auto it = spriteFrames_.find(name);
    if (it != spriteFrames_.end()) return it->second.get();
    auto alias = spriteFramesAliases_.find(name);
    if (alias == spriteFramesAliases_.end()) return nullptr;
    it = spriteFrames_.find(alias->second);
    return it == spriteFrames_.end() ? nullptr : it->second.get();
}

CCSprite* CCSpriteFrameCache::createSpriteWithFrameName(const std::string& name) const {
    auto it = spriteFrames_.find(name);
    return CCSprite::spriteWithSpriteFrame(it == spriteFrames_.end() ? nullptr : it->second.get());
}

void CCSpriteFrameCache::removeSpriteFrames() {
    spriteFrames_.clear();
    spriteFramesAliases_.clear();
}

void CCSpriteFrameCache::removeUnusedSpriteFrames() {
    for (auto it = spriteFrames_.begin(); it != spriteFrames_.end();) {
        if (it->second->retainCount() == 1)
            it = spriteFrames_.erase(it);
        else
            ++it;
    }
}

void CCSpriteFrameCache::removeSpriteFrameByName(const std::string& name) {
    if (name.empty()) return;
    auto alias = spriteFramesAliases_.find(name);
    if (alias != spriteFramesAliases_.end()) {
        spriteFrames_.erase(alias->second);
        spriteFramesAliases_.erase(alias);
    } else {
        spriteFrames_.erase(name);
    }
}

void CCSpriteFrameCache::removeSpriteFramesFromFile(const std::string& plist) {
    PropertyList dictionary = readList(plist);
    if (!dictionary) return;
    removeSpriteFramesFromDictionary(dictionary);
}

void CCSpriteFrameCache::removeSpriteFramesFromDictionary(const PropertyList& dictionary) {
    for (const auto& entry : dictionary["frames"].dictionaryValue()) spriteFrames_.erase(entry.first);
}

void CCSpriteFrameCache::removeSpriteFramesFromTexture(CCTexture2D* texture) {
    for (auto it = spriteFrames_.begin(); it != spriteFrames_.end();) {
        if (it->second->texture() == texture)
            it = spriteFrames_.erase(it);
        else
            ++it;
    }
}

std::string CCSpriteFrameCache::description() const {
    char text[48];
    std::snprintf(text, sizeof text, " | num of sprite frames =  %u>", count());
    return std::string("<").append(className()) + " = " + ccAddressString(this) + text;
}
