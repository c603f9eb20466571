#include "CCTextureCache.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCBackgroundWork.h"
#include "CCConfiguration.h"
#include "CCFileUtils.h"
#include "CCTexture2D.h"
#include "CGImage.h"
#include "ImageCodecs.h"
#include "NSData.h"
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
    if (gSharedTextureCache == this) gSharedTextureCache = nullptr;
}

bool CCTextureCache::init() { return true; }

CCTexture2D* CCTextureCache::addImage(const std::string& path) {
    CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
    if (auto found = textures.find(path); found != textures.end()) return found->second;

    const std::string fullPath = CCFileUtils::fullPathFromRelativePath(path);
    const std::string lowerCase = lowercase(path);
    if (endsWith(lowerCase, ".pvr")) return addPVRTCImage(fullPath);

    CCAutoreleaseScope scope;
    CCTexture2D* texture = nullptr;
    // Every picture that does not load says which and why, once per attempt.
    std::string why;
    UIImage* image = UIImage::imageWithCGImage(ccImageWithContentsOfFile(fullPath, &why));
    if (image && CCConfiguration::sharedConfiguration()->OSVersion() >= 0x04000000 &&
        (endsWith(lowerCase, ".jpg") || endsWith(lowerCase, ".jpeg"))) {
        // JPEG pictures go through a PNG round trip before upload.
        NSData* png = UIImagePNGRepresentation(image);
        image = png ? UIImage::imageWithData(png) : nullptr;
        if (!image) why = "cannot be converted";
    }
    if (image) {
        texture = newTextureFromImage(image);
        if (!texture) why = "no texture can be made of it";
    }
    if (!texture) {
        CCLog("CCTextureCache: cannot load %s: %s", fullPath.c_str(), why.c_str());
        return nullptr;
    }
    textures[path] = texture;
    texture->release();
    return texture;
}

namespace {

// A picture decoded on a worker: plain bytes and their layout, no engine objects.
struct DecodedPicture {
    bool ok = false;
    unsigned width = 0, height = 0, bitsPerComponent = 0, bitsPerPixel = 0;
    std::size_t bytesPerRow = 0;
    CGColorSpace colorSpace = CGColorSpace::None;
    CGImageAlphaInfo alphaInfo = kCGImageAlphaNone;
    std::vector<std::uint8_t> bytes;
};

DecodedPicture decodePicture(const std::string& fullPath) {
    DecodedPicture picture;
    std::vector<std::uint8_t> file;
    if (!ccReadFile(fullPath, file)) return picture;
    // The decoder's bitmap is made and let go of on this thread; only its bytes leave it.
    CCAutoreleaseScope scope;
    CGImage* image = ccLooksLikePNG(file.data(), file.size()) ? ccDecodePNG(file.data(), file.size())
                                                                : ccDecodeJPEG(file.data(), file.size());
    if (!image) return picture;
    picture.ok = true;
    picture.width = image->width();
    picture.height = image->height();
    picture.bitsPerComponent = image->bitsPerComponent();
    picture.bitsPerPixel = image->bitsPerPixel();
    picture.bytesPerRow = image->bytesPerRow();
    picture.colorSpace = image->colorSpace();
    picture.alphaInfo = image->alphaInfo();
    picture.bytes = image->data();
    return picture;
}

} // namespace

void CCTextureCache::addImageAsync(const std::string& path, CCObject* target, SEL_CallFuncO selector) {
    CCAssert(!path.empty(), "TextureCache: fileimage MUST not be nill");
    if (auto found = textures.find(path); found != textures.end()) {
        if (target && selector) selector(target, found->second.get());
        return;
    }
    const std::string fullPath = CCFileUtils::fullPathFromRelativePath(path);
    const bool isPVR = endsWith(lowercase(path), ".pvr");

    // The worker only reads and decodes; the texture is made and cached on the main thread,
    // where the record and the cache are kept alive until the call-back.
    auto async = CCPtr<CCAsyncObject>::adopt(new CCAsyncObject);
    async->setSelector(selector);
    async->setTarget(target);
    async->setData(path);
    CCPtr<CCTextureCache> self = this;
    ccPerformInBackground<DecodedPicture>(
        [fullPath, isPVR] { return isPVR ? DecodedPicture{} : decodePicture(fullPath); },
        [self = std::move(self), async = std::move(async), isPVR](DecodedPicture picture) {
            const std::string name = async->data();
            CCTexture2D* texture = nullptr;
            if (auto found = self->textures.find(name); found != self->textures.end()) {
                texture = found->second; // cached meanwhile
            } else if (isPVR) {
                texture = self->addImage(name);
            } else if (picture.ok) {
                CCAutoreleaseScope scope;
                CGImage* image = CGImage::imageWithBytes(picture.width, picture.height, picture.bitsPerComponent,
                                                         picture.bitsPerPixel, picture.bytesPerRow,
                                                         picture.colorSpace, picture.alphaInfo,
                                                         std::move(picture.bytes));
                texture = image ? newTextureFromImage(UIImage::imageWithCGImage(image)) : nullptr;
                if (texture) {
                    self->textures[name] = texture;
                    texture->release();
                }
            }
            CCObject* target = async->target();
            SEL_CallFuncO selector = async->selector();
            if (target && selector) selector(target, texture);
        });
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
    auto found = textures.find(key);
    return found == textures.end() ? nullptr : found->second.get();
}

unsigned CCTextureCache::textureCount() const {
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
