#include "CCTextureCache.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCConfiguration.h"
#include "CCDirector.h"
#include "CCEnginePlatform.h"
#include "CCFileUtils.h"
#include "CCTexture2D.h"
#include "CGImage.h"
#include "EAGLContext.h"
#include "NSData.h"
#include "NSRunLoop.h"
#include "NSThread.h"
#include "UIImage.h"
#include "ccMacros.h"

namespace {

CCTextureCache* gSharedTextureCache = nullptr;

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string lowercase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

CCTexture2D* newTextureFromImage(UIImage* image) {
    if (!image) return nullptr;
    return ccNew<CCTexture2D>([&](CCTexture2D* t) { return t->initWithImage(image); });
}

} // namespace

// ---- CCAsyncObject ----

SEL_CallFuncO CCAsyncObject::selector() const {
    std::lock_guard guard(lock_);
    return selector_;
}
void CCAsyncObject::setSelector(SEL_CallFuncO selector) {
    std::lock_guard guard(lock_);
    selector_ = selector;
}
CCObject* CCAsyncObject::target() const {
    std::lock_guard guard(lock_);
    return target_;
}
void CCAsyncObject::setTarget(CCObject* target) {
    std::lock_guard guard(lock_);
    target_ = target;
}
std::string CCAsyncObject::data() const {
    std::lock_guard guard(lock_);
    return data_;
}
void CCAsyncObject::setData(const std::string& data) {
    std::lock_guard guard(lock_);
    data_ = data;
}

// ---- CCTextureCache ----

CCTextureCache* CCTextureCache::sharedTextureCache() {
    if (!gSharedTextureCache) {
        gSharedTextureCache = new CCTextureCache;
        gSharedTextureCache->init();
    }
    return gSharedTextureCache;
}

void CCTextureCache::purgeSharedTextureCache() {
    if (CCTextureCache* cache = gSharedTextureCache) {
        gSharedTextureCache = nullptr;
        cache->release();
    }
}

CCTextureCache::CCTextureCache() { CCAssertSingleton(gSharedTextureCache); }

CCTextureCache::~CCTextureCache() {
    textures.clear();
    auxGLcontext = nullptr;
    if (gSharedTextureCache == this) gSharedTextureCache = nullptr;
}

bool CCTextureCache::init() { return true; }

CCTexture2D* CCTextureCache::addImage(const std::string& path) {
    CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
    std::lock_guard guard(dictLock);
    if (auto found = textures.find(path); found != textures.end()) return found->second;

    const std::string fullPath = CCFileUtils::fullPathFromRelativePath(path);
    const std::string lowerCase = lowercase(path);
    if (endsWith(lowerCase, ".pvr")) return addPVRTCImage(fullPath);

    CCAutoreleaseScope scope;
    CCTexture2D* texture = nullptr;
    if (CCConfiguration::sharedConfiguration()->OSVersion() >= 0x04000000 &&
        (endsWith(lowerCase, ".jpg") || endsWith(lowerCase, ".jpeg"))) {
        // JPEG pictures go through a PNG round trip before upload.
        UIImage* jpg = UIImage::imageWithContentsOfFile(fullPath);
        NSData* png = jpg ? UIImagePNGRepresentation(jpg) : nullptr;
        texture = newTextureFromImage(png ? UIImage::imageWithData(png) : nullptr);
    } else {
        texture = newTextureFromImage(UIImage::imageWithContentsOfFile(fullPath));
    }
    if (!texture) return nullptr;
    textures[path] = texture;
    texture->release();
    return texture;
}

void CCTextureCache::addImageAsync(const std::string& path, CCObject* target, SEL_CallFuncO selector) {
    CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
    CCTexture2D* cached = nullptr;
    {
        std::lock_guard guard(dictLock);
        if (auto found = textures.find(path); found != textures.end()) cached = found->second;
    }
    if (cached) {
        if (target && selector) selector(target, cached);
        return;
    }

    auto async = CCPtr<CCAsyncObject>::adopt(new CCAsyncObject);
    async->setSelector(selector);
    async->setTarget(target);
    async->setData(path);
    // The background context shares objects with the view's context, or with the caller's
    // when there is no view yet.
    EAGLContext* shareWith = nullptr;
    if (CCDirector::hasSharedDirector())
        shareWith = CCEnginePlatform::contextOfView(CCDirector::sharedDirector()->openGLView());
    if (!shareWith) shareWith = EAGLContext::currentContext();
    CCPtr<EAGLSharegroup> sharegroup = shareWith ? shareWith->sharegroup() : nullptr;
    // The thread keeps the record and the cache alive until the main thread has called back;
    // both are retained and released on the main thread only.
    CCPtr<CCTextureCache> self = this;
    NSThread::detachNewThread(
        [self = std::move(self), async = std::move(async), sharegroup = std::move(sharegroup)]() mutable {
            const int loaded = self->loadOnAuxContext(async->data(), sharegroup);
            sharegroup = nullptr;
            ccPerformOnMainThread(
                [self = std::move(self), async = std::move(async), loaded]() {
                    // Without a current context nothing was loaded and nobody is called.
                    if (loaded < 0) return;
                    // Looked up here, so the texture is only retained on this thread.
                    CCTexture2D* texture = loaded ? self->addImage(async->data()) : nullptr;
                    CCObject* target = async->target();
                    SEL_CallFuncO selector = async->selector();
                    if (target && selector) selector(target, texture);
                },
                false);
        });
}

int CCTextureCache::loadOnAuxContext(const std::string& path, EAGLSharegroup* sharegroup) {
    CCAutoreleaseScope scope;
    std::lock_guard guard(contextLock);
    if (!auxGLcontext) {
        auxGLcontext = CCPtr<EAGLContext>::adopt(ccNew<EAGLContext>([&](EAGLContext* c) {
            return sharegroup ? c->initWithAPI(kEAGLRenderingAPIOpenGLES1, sharegroup)
                              : c->initWithAPI(kEAGLRenderingAPIOpenGLES1);
        }));
    }
    if (!auxGLcontext || !EAGLContext::setCurrentContext(auxGLcontext)) return -1;
    const int made = addImage(path) != nullptr ? 1 : 0;
    // The main context may use the texture only once its upload is complete.
    glFinish();
    EAGLContext::setCurrentContext(nullptr);
    return made;
}

CCTexture2D* CCTextureCache::addPVRTCImage(const std::string& path) {
    CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
    if (auto found = textures.find(path); found != textures.end()) return found->second;
    CCTexture2D* texture = ccNew<CCTexture2D>([&](CCTexture2D* t) { return t->initWithPVRFile(path); });
    if (!texture) return nullptr;
    textures[path] = texture;
    texture->release();
    return texture;
}

CCTexture2D* CCTextureCache::addPVRTCImage(const std::string& path, int bpp, bool hasAlpha, int width) {
    CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
    CCAssert(bpp == 2 || bpp == 4, "TextureCache: bpp must be either 2 or 4");
    if (auto found = textures.find(path); found != textures.end()) return found->second;
    std::vector<std::uint8_t> data;
    if (!ccReadFile(CCFileUtils::fullPathFromRelativePath(path), data)) return nullptr;
    // The data must hold the level it describes, or GL would read past it.
    if (width <= 0) return nullptr;
    const std::size_t needed = std::max<std::size_t>(32, std::size_t(bpp) * std::size_t(width) * std::size_t(width) / 8);
    if (data.size() < needed) return nullptr;
    CCTexture2D* texture = ccNew<CCTexture2D>(
        [&](CCTexture2D* t) { return t->initWithPVRTCData(data.data(), 0, bpp, hasAlpha, width); });
    if (!texture) return nullptr;
    textures[path] = texture;
    texture->release();
    return texture;
}

CCTexture2D* CCTextureCache::addCGImage(CGImage* image, const std::string& key) {
    CCAssert(image != nullptr, "TextureCache: image MUST not be nill");
    if (!key.empty())
        if (auto found = textures.find(key); found != textures.end()) return found->second;
    CCTexture2D* texture;
    {
        CCAutoreleaseScope scope;
        texture = newTextureFromImage(UIImage::imageWithCGImage(image));
    }
    if (!texture) return nullptr;
    if (key.empty()) return ccAutorelease(texture); // uncached: the caller's event owns it
    textures[key] = texture;
    texture->release();
    return texture;
}

CCTexture2D* CCTextureCache::textureForKey(const std::string& key) const {
    std::lock_guard guard(dictLock);
    auto found = textures.find(key);
    return found == textures.end() ? nullptr : found->second.get();
}

unsigned CCTextureCache::textureCount() const {
    std::lock_guard guard(dictLock);
    return unsigned(textures.size());
}

void CCTextureCache::removeAllTextures() { textures.clear(); }

void CCTextureCache::removeUnusedTextures() {
    std::vector<std::string> keys;
    for (const auto& [key, texture] : textures) keys.push_back(key);
    for (const auto& key : keys) {
        auto found = textures.find(key);
        if (found != textures.end() && found->second->retainCount() == 1) textures.erase(found);
    }
}

void CCTextureCache::removeTexture(CCTexture2D* texture) {
    if (!texture) return;
    for (auto it = textures.begin(); it != textures.end();) {
        if (it->second.get() == texture)
            it = textures.erase(it);
        else
            ++it;
    }
}

void CCTextureCache::removeTextureForKey(const std::string& key) {
    if (key.empty()) return;
    textures.erase(key);
}

std::string CCTextureCache::description() const {
    return std::string("<").append(className()) + " = " + ccAddressString(this) + " | num of textures =  " +
           std::to_string(textureCount()) + ">";
}
