#pragma once
// The single owner of textures loaded from files: each name is loaded once and the same
// texture is handed out for every later request. The cache belongs to the main thread: a
// background load only reads and decodes the file on a worker, and the texture is made and
// cached on the main thread.
#include <map>
#include <mutex>
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CCSelector.h"

class CCTexture2D;
class CGImage;

// Call-backs that take one object.
using SEL_CallFuncO = CCSelector<void(CCObject*)>;
#define callfuncO_selector(M) ::ccSelector<void(CCObject*)>(&M, #M)

// The record of one background load.
class CCAsyncObject : public CCObject {
public:
    SEL_CallFuncO selector() const;
    void setSelector(SEL_CallFuncO selector);
    CCObject* target() const;
    void setTarget(CCObject* target);
    std::string data() const;
    void setData(const std::string& data);

private:
    mutable std::mutex lock_;
    SEL_CallFuncO selector_;
    CCPtr<CCObject> target_;
    std::string data_;
};

class CCTextureCache : public CCObject {
public:
    static CCTextureCache* sharedTextureCache();
    // Destroys the shared cache; textures others still hold live on uncached.
    static void purgeSharedTextureCache();

    // There is one cache: constructing a second while one exists is a failure.
    CCTextureCache();
    ~CCTextureCache() override;
    bool init();

    // The texture for a resource name, loaded on first request; nullptr when the file cannot
    // be read or decoded (nothing is cached then). The cache keeps the reference.
    CCTexture2D* addImage(const std::string& fileimage);
    // Reads and decodes on a background thread and calls `selector` of `target` on the main
    // thread with the texture (nullptr when loading failed), at the main run loop's pass that
    // background work is delivered at; at once when the name is already cached.
    void addImageAsync(const std::string& filename, CCObject* target, SEL_CallFuncO selector);
    // A PVR container file by full path, cached under it.
    CCTexture2D* addPVRTCImage(const std::string& path);
    // Raw square PVRTC data; bpp must be 2 or 4.
    CCTexture2D* addPVRTCImage(const std::string& fileimage, int bpp, bool hasAlpha, int width);
    // A bitmap, cached under the key when there is one (an empty key caches nothing).
    CCTexture2D* addCGImage(CGImage* image, const std::string& key);

    // The cached texture under a key, or nullptr.
    CCTexture2D* textureForKey(const std::string& key) const;
    unsigned textureCount() const;

    void removeAllTextures();
    // Drops every texture that only the cache holds.
    void removeUnusedTextures();
    // Every key under which the texture is cached; nullptr is ignored.
    void removeTexture(CCTexture2D* texture);
    void removeTextureForKey(const std::string& key);

    std::string description() const override;

private:
    std::map<std::string, CCPtr<CCTexture2D>> textures;
};
