#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>
#include <thread>

#include "CCConfiguration.h"
#include "CCFileUtils.h"
#include "CCTexture2D.h"
#include "CGImage.h"
#include "EAGLContext.h"
#include "CCTextureCache.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "NSThread.h"
#include "TextureTestSupport.h"
#include "UIDevice.h"
#include "ccMacros.h"
#include "support/TestFiles.h"
#include "support/TestImages.h"

namespace {

class TextureCacheTest : public TextureGLTest {
protected:
    void SetUp() override {
        TextureGLTest::SetUp();
        if (IsSkipped()) return;
        CCTextureCache::purgeSharedTextureCache();
        saved_ = NSBundle::mainBundle()->resourcePath();
        NSBundle::mainBundle()->setResourcePath(dir.path());
        dir.write("cat_2.png", encodePNG(4, 4, solidRGBA(4, 4, 255, 0, 0, 255)));
        dir.write("back1.png", encodePNG(8, 8, solidRGBA(8, 8, 0, 255, 0, 255)));
        dir.write("back1@2x.png", encodePNG(16, 16, solidRGBA(16, 16, 0, 255, 0, 255)));
        dir.write("photo.JPG", encodeJPEG(8, 8, solidRGBA(8, 8, 250, 250, 250, 255)));
    }
    void TearDown() override {
        CCTextureCache::purgeSharedTextureCache();
        ccContentScaleFactor = 1;
        UIDevice::currentDevice()->setSystemVersion("4.1");
        NSBundle::mainBundle()->setResourcePath(saved_);
        TextureGLTest::TearDown();
    }
    static CCTextureCache* cache() { return CCTextureCache::sharedTextureCache(); }

    TempDir dir;
    std::string saved_;
};

TEST_F(TextureCacheTest, EachNameIsLoadedOnceAndKeyedAsGiven) {
    CCTexture2D* first = cache()->addImage("cat_2.png");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->retainCount(), 1u);
    // Once cached the file is not read again.
    std::filesystem::remove(dir.file("cat_2.png"));
    EXPECT_EQ(cache()->addImage("cat_2.png"), first);
    EXPECT_EQ(cache()->textureForKey("cat_2.png"), first);
    // Keys are case-sensitive: another name is another load (and this one has no file).
    EXPECT_EQ(cache()->addImage("Cat_2.png"), nullptr);
    EXPECT_EQ(cache()->textureCount(), 1u);
    EXPECT_NE(cache()->description().find(" | num of textures =  1>"), std::string::npos) << cache()->description();
}

TEST_F(TextureCacheTest, DoubleResolutionFileIsLoadedUnderTheGivenName) {
    ccContentScaleFactor = 2;
    CCTexture2D* texture = cache()->addImage("back1.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->pixelsWide(), 16u);
    EXPECT_EQ(texture->contentSize(), CGSizeMake(8, 8));
    EXPECT_EQ(cache()->textureForKey("back1.png"), texture);
    EXPECT_EQ(cache()->textureForKey("back1@2x.png"), nullptr);
    // Without the double-resolution file the plain one is used.
    EXPECT_EQ(cache()->addImage("cat_2.png")->pixelsWide(), 4u);
}

TEST_F(TextureCacheTest, PVRFilesAreCachedUnderTheirFullPath) {
    NSBundle::mainBundle()->setResourcePath(std::string(ZORVIK_SOURCE_DIR) + "/Resources");
    CCTexture2D* texture = cache()->addImage("test_image.pvr");
    ASSERT_NE(texture, nullptr);
    const std::string full = CCFileUtils::fullPathFromRelativePath("test_image.pvr");
    EXPECT_EQ(cache()->textureForKey(full), texture);
    EXPECT_EQ(cache()->textureForKey("test_image.pvr"), nullptr);
    EXPECT_EQ(cache()->addImage("test_image.pvr"), texture);
    EXPECT_EQ(cache()->textureCount(), 1u);
}

TEST_F(TextureCacheTest, JPEGLoadsOnEverySystemVersion) {
    for (const char* version : {"3.1.3", "4.0"}) {
        CCTextureCache::purgeSharedTextureCache();
        UIDevice::currentDevice()->setSystemVersion(version);
        CCConfiguration::purgeSharedConfiguration();
        CCTexture2D* texture = cache()->addImage("photo.JPG");
        ASSERT_NE(texture, nullptr) << version;
        EXPECT_EQ(texture->pixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
        glClear(GL_COLOR_BUFFER_BIT);
        texture->drawAtPoint(CGPointMake(0, 0));
        const RGBA p = pixel(3, 3);
        EXPECT_NEAR(p[0], 250, 3) << version;
        EXPECT_EQ(p[3], 255) << version;
    }
}

TEST_F(TextureCacheTest, UnreadableFilesGiveNothingAndCacheNothing) {
    const auto png = encodePNG(16, 16, solidRGBA(16, 16, 1, 2, 3, 255));
    const auto jpg = encodeJPEG(16, 16, solidRGBA(16, 16, 1, 2, 3, 255));
    dir.write("short.png", std::vector<std::uint8_t>(png.begin(), png.begin() + png.size() / 2));
    dir.write("short.jpg", std::vector<std::uint8_t>(jpg.begin(), jpg.begin() + 40));
    dir.write("garbage.png", std::vector<std::uint8_t>(500, 0x42));
    dir.write("garbage.jpg", std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0x00, 0x13, 0x37});
    dir.write("empty.png", std::vector<std::uint8_t>{});
    dir.write("short.pvr", std::vector<std::uint8_t>(30, 0));
    for (const char* name :
         {"short.png", "short.jpg", "garbage.png", "garbage.jpg", "empty.png", "missing.png", "short.pvr", "none.pvr"})
        EXPECT_EQ(cache()->addImage(name), nullptr) << name;
    EXPECT_EQ(cache()->textureCount(), 0u);
    // A later call tries again.
    dir.write("missing.png", png);
    EXPECT_NE(cache()->addImage("missing.png"), nullptr);
}

TEST_F(TextureCacheTest, RemovalsAndPurge) {
    CCTexture2D* kept = cache()->addImage("cat_2.png");
    CCTexture2D* dropped = cache()->addImage("back1.png");
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(dropped, nullptr);
    kept->retain(); // as a sprite holds it
    EXPECT_EQ(kept->retainCount(), 2u);
    cache()->removeUnusedTextures();
    EXPECT_EQ(cache()->textureForKey("cat_2.png"), kept);
    EXPECT_EQ(cache()->textureForKey("back1.png"), nullptr);

    CGImage* image = CGImage::imageWithRGBA(2, 2, solidRGBA(2, 2, 9, 9, 9, 255));
    CCTexture2D* keyed = cache()->addCGImage(image, "key");
    EXPECT_EQ(cache()->addCGImage(image, "key"), keyed);
    CCTexture2D* unkeyed = cache()->addCGImage(image, "");
    ASSERT_NE(unkeyed, nullptr);
    EXPECT_NE(unkeyed, keyed);
    EXPECT_EQ(cache()->textureCount(), 2u);
    cache()->removeTexture(keyed);
    cache()->removeTexture(nullptr);
    cache()->removeTextureForKey("");
    cache()->removeTextureForKey("nothing");
    EXPECT_EQ(cache()->textureForKey("key"), nullptr);

    // A purge leaves textures others hold alive; the next cache starts empty.
    CCTextureCache::purgeSharedTextureCache();
    EXPECT_EQ(kept->retainCount(), 1u);
    EXPECT_TRUE(glIsTexture(kept->name()));
    EXPECT_EQ(cache()->textureCount(), 0u);
    EXPECT_NE(cache()->addImage("cat_2.png"), kept);
    kept->release();
}

TEST_F(TextureCacheTest, PreconditionFailures) {
    EXPECT_DEATH(cache()->addImage(""), "TextureCache: fileimage MUST not be nill");
    EXPECT_DEATH(cache()->addPVRTCImage("x.pvrtc", 3, true, 8), "TextureCache: bpp must be either 2 or 4");
    EXPECT_DEATH(cache()->addCGImage(nullptr, "k"), "TextureCache: image MUST not be nill");
    cache();
    EXPECT_DEATH(new CCTextureCache, "Attempted to allocate a second instance of a singleton.");
    // Raw PVRTC needs the extension this GL lacks.
    dir.write("raw.pvrtc", std::vector<std::uint8_t>(32, 0));
    EXPECT_EQ(cache()->addPVRTCImage("raw.pvrtc", 4, true, 8), nullptr);
}

class Receiver : public CCObject {
public:
    void loaded(CCObject* texture) {
        ++calls;
        result = static_cast<CCTexture2D*>(texture);
        onMainThread = NSThread::isMainThread();
    }
    int calls = 0;
    CCTexture2D* result = nullptr;
    bool onMainThread = false;
};

// Runs the main run loop until the receiver was called or a few seconds passed.
void waitFor(const Receiver* receiver) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (receiver->calls == 0 && std::chrono::steady_clock::now() < deadline)
        NSRunLoop::mainRunLoop()->runOnce(0.05);
}

TEST_F(TextureCacheTest, BackgroundLoadsCallBackOnTheMainThread) {
    auto receiver = CCPtr<Receiver>::adopt(new Receiver);
    cache()->addImageAsync("back1.png", receiver, callfuncO_selector(Receiver::loaded));
    waitFor(receiver);
    ASSERT_EQ(receiver->calls, 1);
    EXPECT_TRUE(receiver->onMainThread);
    ASSERT_NE(receiver->result, nullptr);
    EXPECT_EQ(cache()->textureForKey("back1.png"), receiver->result);
    // Made on the loader's context, drawn on this one.
    receiver->result->drawAtPoint(CGPointMake(0, 0));
    EXPECT_EQ(pixel(4, 4), (RGBA{0, 255, 0, 255}));

    // Cached names call back at once, before returning.
    cache()->addImageAsync("back1.png", receiver, callfuncO_selector(Receiver::loaded));
    EXPECT_EQ(receiver->calls, 2);

    // A file that does not load still calls back, with nothing.
    auto failed = CCPtr<Receiver>::adopt(new Receiver);
    failed->result = reinterpret_cast<CCTexture2D*>(1);
    cache()->addImageAsync("missing.png", failed, callfuncO_selector(Receiver::loaded));
    waitFor(failed);
    EXPECT_EQ(failed->calls, 1);
    EXPECT_EQ(failed->result, nullptr);
}


// Loads in the background while the main thread works on the cache, the GL contexts and the
// configuration: nothing of it may be shared with the loaders.
class TextureCacheThreadsTest : public TextureCacheTest {
protected:
    void SetUp() override {
        TextureCacheTest::SetUp();
        if (IsSkipped()) return;
        for (int i = 0; i < kLoads; ++i)
            dir.write("load" + std::to_string(i) + ".png", encodePNG(4, 4, solidRGBA(4, 4, 0, 0, 255, 255)));
    }
    // Starts the loads; the receivers are called on the main thread later.
    std::vector<CCPtr<Receiver>> startLoads(const std::string& extra = "") {
        std::vector<CCPtr<Receiver>> receivers;
        for (int i = 0; i < kLoads; ++i) {
            receivers.push_back(CCPtr<Receiver>::adopt(new Receiver));
            cache()->addImageAsync("load" + std::to_string(i) + ".png", receivers.back(),
                                   callfuncO_selector(Receiver::loaded));
        }
        if (!extra.empty()) {
            receivers.push_back(CCPtr<Receiver>::adopt(new Receiver));
            cache()->addImageAsync(extra, receivers.back(), callfuncO_selector(Receiver::loaded));
        }
        return receivers;
    }
    void expectAllLoaded(const std::vector<CCPtr<Receiver>>& receivers) {
        for (const auto& r : receivers) {
            waitFor(r);
            EXPECT_EQ(r->calls, 1);
            EXPECT_TRUE(r->onMainThread);
            EXPECT_NE(r->result, nullptr);
        }
    }
    static constexpr int kLoads = 4;
};

TEST_F(TextureCacheThreadsTest, MainThreadChangesTheTableWhileLoadsRun) {
    auto receivers = startLoads();
    CGImage* image = CGImage::imageWithRGBA(2, 2, std::vector<std::uint8_t>(16, 255));
    for (int i = 0; i < 200; ++i) {
        const std::string key = "made" + std::to_string(i % 7);
        EXPECT_NE(cache()->addCGImage(image, key), nullptr);
        if (i % 3 == 0) cache()->removeTextureForKey(key);
        if (i % 5 == 0) cache()->removeUnusedTextures();
    }
    expectAllLoaded(receivers);
    for (int i = 0; i < kLoads; ++i) {
        CCTexture2D* texture = cache()->textureForKey("load" + std::to_string(i) + ".png");
        EXPECT_EQ(texture, receivers[std::size_t(i)]->result);
    }
}

TEST_F(TextureCacheThreadsTest, MainThreadMakesContextsOfTheSharedGroupWhileLoadsRun) {
    EAGLContext* current = EAGLContext::currentContext();
    ASSERT_NE(current, nullptr);
    CCPtr<EAGLSharegroup> group = current->sharegroup();
    auto receivers = startLoads();
    for (int i = 0; i < 50; ++i) {
        auto other = CCPtr<EAGLContext>::adopt(ccNew<EAGLContext>(
            [&](EAGLContext* c) { return c->initWithAPI(kEAGLRenderingAPIOpenGLES1, group); }));
        EXPECT_NE(other, nullptr);
    }
    EXPECT_EQ(EAGLContext::currentContext(), current);
    expectAllLoaded(receivers);
}

TEST_F(TextureCacheThreadsTest, ConfigurationIsMadeOnTheMainThread) {
    CCConfiguration::purgeSharedConfiguration();
    auto receivers = startLoads("photo.JPG");
    unsigned version = 0;
    for (int i = 0; i < 200; ++i) version = CCConfiguration::sharedConfiguration()->OSVersion();
    EXPECT_NE(version, 0u);
    expectAllLoaded(receivers);
}

} // namespace
