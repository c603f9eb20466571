#include <gtest/gtest.h>

#include <limits>

#include "CCSprite.h"
#include "CCLog.h"
#include "CCSpriteFrameCache.h"
#include "CCTextureCache.h"
#include "PropertyList.h"
#include "SpriteTestSupport.h"

namespace {

class FrameCache : public SpriteGLTest {
protected:
    void SetUp() override {
        SpriteGLTest::SetUp();
        if (IsSkipped()) return;
        tex = solid("sheet.png", 64, 64, {10, 20, 30, 255});
        cache = CCSpriteFrameCache::sharedSpriteFrameCache();
    }
    void TearDown() override { CCSpriteFrameCache::purgeSharedSpriteFrameCache(); }

    static PropertyList sheet(int format, const PropertyList& frame, const std::string& name = "A") {
        PropertyList root = PropertyList::dictionary();
        PropertyList frames = PropertyList::dictionary();
        frames.setObject(frame, name);
        root.setObject(frames, "frames");
        if (format >= 0) {
            PropertyList metadata = PropertyList::dictionary();
            metadata.setObject(PropertyList::integer(format), "format");
            root.setObject(metadata, "metadata");
        }
        return root;
    }
    static PropertyList frameV1(bool rotated) {
        PropertyList f = PropertyList::dictionary();
        f.setObject(PropertyList::string("{{2, 4}, {20, 10}}"), "frame");
        f.setObject(PropertyList::string("{1, -2}"), "offset");
        f.setObject(PropertyList::string("{24, 16}"), "sourceSize");
        f.setObject(PropertyList::boolean(rotated), "rotated");
        return f;
    }
    static PropertyList frameV3() {
        PropertyList f = PropertyList::dictionary();
        f.setObject(PropertyList::string("{12, 8}"), "spriteSize");
        f.setObject(PropertyList::string("{3, 0}"), "spriteOffset");
        f.setObject(PropertyList::string("{18, 10}"), "spriteSourceSize");
        f.setObject(PropertyList::string("{{30, 40}, {99, 99}}"), "textureRect");
        f.setObject(PropertyList::boolean(true), "textureRotated");
        PropertyList aliases = PropertyList::array();
        aliases.addObject(PropertyList::string("B"));
        aliases.addObject(PropertyList::string("C"));
        f.setObject(aliases, "aliases");
        return f;
    }

    CCTexture2D* tex = nullptr;
    CCSpriteFrameCache* cache = nullptr;
};

TEST_F(FrameCache, ReadsEveryFormatVersion) {
    PropertyList v0 = PropertyList::dictionary();
    v0.setObject(PropertyList::real(1), "x");
    v0.setObject(PropertyList::real(2), "y");
    v0.setObject(PropertyList::real(3), "width");
    v0.setObject(PropertyList::real(4), "height");
    v0.setObject(PropertyList::real(0.5), "offsetX");
    v0.setObject(PropertyList::integer(-40), "originalWidth");
    v0.setObject(PropertyList::integer(30), "originalHeight");
    cache->addSpriteFramesWithDictionary(sheet(-1, v0, "zero"), tex);
    CCSpriteFrame* f0 = cache->spriteFrameByName("zero");
    ASSERT_NE(f0, nullptr);
    EXPECT_EQ(f0->rectInPixels(), CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(f0->offsetInPixels(), CGPointMake(0.5f, 0));
    EXPECT_EQ(f0->originalSizeInPixels(), CGSizeMake(40, 30));
    EXPECT_EQ(f0->texture(), tex);

    cache->addSpriteFramesWithDictionary(sheet(1, frameV1(true), "one"), tex);
    cache->addSpriteFramesWithDictionary(sheet(2, frameV1(true), "two"), tex);
    CCSpriteFrame* f1 = cache->spriteFrameByName("one");
    CCSpriteFrame* f2 = cache->spriteFrameByName("two");
    EXPECT_EQ(f1->rectInPixels(), CGRectMake(2, 4, 20, 10));
    EXPECT_EQ(f1->offsetInPixels(), CGPointMake(1, -2));
    EXPECT_EQ(f1->originalSizeInPixels(), CGSizeMake(24, 16));
    EXPECT_FALSE(f1->rotated()); // version 1 has no rotation
    EXPECT_TRUE(f2->rotated());

    cache->addSpriteFramesWithDictionary(sheet(3, frameV3()), tex);
    CCSpriteFrame* a = cache->spriteFrameByName("A");
    EXPECT_EQ(a->rectInPixels(), CGRectMake(30, 40, 12, 8));
    EXPECT_TRUE(a->rotated());
    EXPECT_EQ(a->offsetInPixels(), CGPointMake(3, 0));
    EXPECT_EQ(a->originalSizeInPixels(), CGSizeMake(18, 10));
    EXPECT_EQ(cache->count(), 4u);

    // A format from a newer tool is refused with a line, not a stop.
    std::vector<std::string> lines;
    CCLogSink old = ccSetLogSink([&](const std::string& line) { lines.push_back(line); });
    cache->addSpriteFramesWithDictionary(sheet(4, frameV1(false), "four"), tex);
    ccSetLogSink(old);
    EXPECT_EQ(cache->spriteFrameByName("four"), nullptr);
    EXPECT_EQ(cache->count(), 4u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("format 4 is not supported"), std::string::npos);

    // The smallest int has no int magnitude; the size is still its magnitude.
    v0.setObject(PropertyList::integer(std::numeric_limits<int>::min()), "originalWidth");
    cache->addSpriteFramesWithDictionary(sheet(-1, v0, "min"), tex);
    EXPECT_EQ(cache->spriteFrameByName("min")->originalSizeInPixels().width, 2147483648.0f);
}

TEST_F(FrameCache, AliasesFindFramesButOnlyTheRealNameMakesSprites) {
    cache->addSpriteFramesWithDictionary(sheet(3, frameV3()), tex);
    CCSpriteFrame* a = cache->spriteFrameByName("A");
    EXPECT_EQ(cache->spriteFrameByName("B"), a);
    EXPECT_EQ(cache->spriteFrameByName("C"), a);
    EXPECT_EQ(cache->spriteFrameByName("D"), nullptr);
    CCSprite* s = cache->createSpriteWithFrameName("A");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->isFrameDisplayed(a));
    EXPECT_DEATH(cache->createSpriteWithFrameName("B"), "Invalid spriteFrame for sprite");
    EXPECT_TRUE(CCSprite::spriteWithSpriteFrameName("B")->isFrameDisplayed(a));

    cache->removeSpriteFrameByName("B");
    EXPECT_EQ(cache->spriteFrameByName("A"), nullptr);
    EXPECT_EQ(cache->spriteFrameByName("C"), nullptr); // the alias stays but leads nowhere
    cache->removeSpriteFrameByName("");
}

TEST_F(FrameCache, Removals) {
    PropertyList both = sheet(2, frameV1(false), "kept");
    cache->addSpriteFramesWithDictionary(both, tex);
    cache->addSpriteFramesWithDictionary(sheet(2, frameV1(false), "used"), tex);
    CCPtr<CCSpriteFrame> held(cache->spriteFrameByName("used"));
    cache->removeUnusedSpriteFrames();
    EXPECT_EQ(cache->spriteFrameByName("kept"), nullptr);
    EXPECT_EQ(cache->spriteFrameByName("used"), held.get());

    CCTexture2D* other = solid("other.png", 8, 8, {1, 1, 1, 255});
    cache->addSpriteFramesWithDictionary(sheet(2, frameV1(false), "elsewhere"), other);
    cache->removeSpriteFramesFromTexture(tex);
    EXPECT_EQ(cache->spriteFrameByName("used"), nullptr);
    EXPECT_NE(cache->spriteFrameByName("elsewhere"), nullptr);

    std::string plist = dir.file("list.plist");
    ASSERT_TRUE(sheet(2, frameV1(false), "elsewhere").writeToFile(plist));
    cache->removeSpriteFramesFromFile(plist);
    EXPECT_EQ(cache->count(), 0u);
    cache->removeSpriteFramesFromFile(dir.file("nothing.plist"));
}

TEST_F(FrameCache, FileBringsItsOwnTextureThroughTheTextureCache) {
    std::string png = pngFile("sheet.png", 32, 32, [](unsigned, unsigned) { return RGBA{0, 0, 0, 255}; });
    std::string plist = dir.file("sheet.plist");
    ASSERT_TRUE(sheet(2, frameV1(true)).writeToFile(plist));
    cache->addSpriteFramesWithFile(plist);
    CCSpriteFrame* a = cache->spriteFrameByName("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->texture(), CCTextureCache::sharedTextureCache()->addImage(png));

    // A list without its picture, an unreadable list and a garbage list add nothing.
    cache->removeSpriteFrames();
    std::string lonely = dir.file("lonely.plist");
    ASSERT_TRUE(sheet(2, frameV1(true)).writeToFile(lonely));
    cache->addSpriteFramesWithFile(lonely);
    cache->addSpriteFramesWithFile(dir.file("absent.plist"));
    cache->addSpriteFramesWithFile(dir.write("junk.plist", std::string("<plist><dict><key>frames")), tex);
    EXPECT_EQ(cache->count(), 0u);
    CCTextureCache::sharedTextureCache()->removeAllTextures();
}

TEST_F(FrameCache, IsOneInstanceUntilPurged) {
    EXPECT_EQ(CCSpriteFrameCache::sharedSpriteFrameCache(), cache);
    EXPECT_DEATH(new CCSpriteFrameCache, "Attempted to allocate a second instance of a singleton.");
    cache->addSpriteFramesWithDictionary(sheet(2, frameV1(false)), tex);
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    EXPECT_EQ(CCSpriteFrameCache::sharedSpriteFrameCache()->count(), 0u);
}

} // namespace
