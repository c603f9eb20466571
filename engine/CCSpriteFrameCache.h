#pragma once
// The process-wide registry of named sprite frames, filled from the property lists of
// texture-packing tools (format versions 0 to 3, with aliases in version 3).
#include <map>
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CCSpriteFrame.h"
#include "PropertyList.h"

class CCSprite;
class CCTexture2D;

class CCSpriteFrameCache : public CCObject {
public:
    static CCSpriteFrameCache* sharedSpriteFrameCache();
    static void purgeSharedSpriteFrameCache();

    // Fails when an instance exists already.
    CCSpriteFrameCache();
    ~CCSpriteFrameCache() override;
    bool init();

    void addSpriteFramesWithDictionary(const PropertyList& dictionary, CCTexture2D* texture);
    void addSpriteFramesWithFile(const std::string& plist, CCTexture2D* texture);
    // The texture is the image of the same name with the extension "png".
    void addSpriteFramesWithFile(const std::string& plist);
    void addSpriteFrame(CCSpriteFrame* frame, const std::string& name);

    // By name, then by alias; nullptr when neither is known.
    CCSpriteFrame* spriteFrameByName(const std::string& name) const;
    // From the frame stored under exactly that name (aliases are not followed).
    CCSprite* createSpriteWithFrameName(const std::string& name) const;

    void removeSpriteFrames();
    // Frames that only the cache holds.
    void removeUnusedSpriteFrames();
    void removeSpriteFrameByName(const std::string& name);
    void removeSpriteFramesFromFile(const std::string& plist);
    void removeSpriteFramesFromDictionary(const PropertyList& dictionary);
    void removeSpriteFramesFromTexture(CCTexture2D* texture);

    unsigned count() const { return unsigned(spriteFrames_.size()); }
    std::string description() const override;

private:
    std::map<std::string, CCPtr<CCSpriteFrame>> spriteFrames_;
    std::map<std::string, std::string> spriteFramesAliases_;
};
