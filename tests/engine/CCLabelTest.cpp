#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CCLabelAtlas.h"
#include "CCLabelBMFont.h"
#include "CCLabelTTF.h"
#include "CCTextureCache.h"
#include "CGPointExtension.h"
#include "SpriteTestSupport.h"
#include "ccMacros.h"

namespace {

// Lit pixels of the framebuffer: their bounding rectangle and count.
struct Lit {
    int count = 0, minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1;
};
Lit litPixels(int size) {
    std::vector<std::uint8_t> rgba(std::size_t(size) * size * 4);
    glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Lit lit;
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            const std::uint8_t* p = &rgba[(std::size_t(y) * size + x) * 4];
            if (p[0] + p[1] + p[2] < 60) continue;
            lit.count++;
            lit.minX = std::min(lit.minX, x);
            lit.maxX = std::max(lit.maxX, x);
            lit.minY = std::min(lit.minY, y);
            lit.maxY = std::max(lit.maxY, y);
        }
    return lit;
}
::testing::AssertionResult inside(const Lit& lit, CGRect box) {
    if (lit.count == 0) return ::testing::AssertionFailure() << "nothing drawn";
    if (lit.minX < std::floor(box.origin.x) || lit.minY < std::floor(box.origin.y) ||
        lit.maxX >= std::ceil(box.origin.x + box.size.width) || lit.maxY >= std::ceil(box.origin.y + box.size.height))
        return ::testing::AssertionFailure() << "lit x " << lit.minX << ".." << lit.maxX << " y " << lit.minY << ".."
                                             << lit.maxY << " outside box " << box.origin.x << "," << box.origin.y
                                             << " " << box.size.width << "x" << box.size.height;
    return ::testing::AssertionSuccess();
}

// ---- text labels ----

using TextLabel = SpriteGLTest;

TEST_F(TextLabel, DrawsItsGlyphsInsideItsBoundingBox) {
    CCLabelTTF* label = CCLabelTTF::labelWithString("Hi", "DejaVu Sans", 20);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(label->texture(), nullptr);
    EXPECT_GT(label->contentSize().width, 10);
    EXPECT_EQ(label->blendFunc(), (ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    label->setPosition(ccp(32, 32));
    label->visit();
    const Lit lit = litPixels(kSize);
    EXPECT_TRUE(inside(lit, label->boundingBox()));
    EXPECT_GT(lit.count, 20);

    // A new string brings a new texture and size; the old texture goes.
    CCPtr<CCTexture2D> old(label->texture());
    label->setString("Hi there");
    EXPECT_NE(label->texture(), old.get());
    EXPECT_EQ(old->retainCount(), 1u);
    EXPECT_GT(label->contentSize().width, old->contentSize().width);
    label->setString("");
    EXPECT_EQ(label->contentSize().height, label->texture() ? label->texture()->contentSize().height : 0);
}

TEST_F(TextLabel, SizesAreInPointsOnADoubleResolutionScreen) {
    CCLabelTTF* single = CCLabelTTF::labelWithString("Score", "DejaVu Sans", 40);
    ccContentScaleFactor = 2;
    CCLabelTTF* twice = CCLabelTTF::labelWithString("Score", "DejaVu Sans", 20);
    CCLabelTTF* boxed =
        CCLabelTTF::labelWithString("Score", CGSizeMake(60, 20), UITextAlignmentLeft, "DejaVu Sans", 10);
    ccContentScaleFactor = 1;
    EXPECT_FLOAT_EQ(twice->fontSize(), 40);
    EXPECT_NEAR(twice->contentSize().width, single->contentSize().width / 2, 0.5);
    EXPECT_NEAR(twice->contentSize().height, single->contentSize().height / 2, 0.5);
    EXPECT_EQ(boxed->dimensions(), CGSizeMake(120, 40));
    EXPECT_EQ(boxed->contentSize(), CGSizeMake(60, 20));
    EXPECT_DEATH(ccNew<CCLabelTTF>([](CCLabelTTF* l) { return l->init(); }), "CCLabelTTF: Init not supported. Use initWithString");
}

// ---- bitmap-font labels ----

class BitmapFont : public SpriteGLTest {
protected:
    void SetUp() override {
        SpriteGLTest::SetUp();
        if (IsSkipped()) return;
        // Glyph image 64 × 32: A red (8 × 10), B green (6 × 12), V blue (8 × 10).
        pngFile("font.png", 64, 32, [](unsigned x, unsigned y) {
            if (y < 10 && x < 8) return RGBA{255, 0, 0, 255};
            if (y < 12 && x >= 8 && x < 14) return RGBA{0, 255, 0, 255};
            if (y < 10 && x >= 16 && x < 24) return RGBA{0, 0, 255, 255};
            return RGBA{0, 0, 0, 0};
        });
    }
    void TearDown() override {
        CCLabelBMFont::purgeCachedData();
        CCTextureCache::sharedTextureCache()->removeAllTextures();
    }
    std::string font(const std::string& name, const std::string& extra = "", int lineHeight = 16) {
        std::string text = "info face=\"Test\" size=16\n"
                           "common lineHeight=" + std::to_string(lineHeight) +
                           " base=12 scaleW=64 scaleH=32 pages=1 packed=0\n"
                           "page id=0 file=\"font.png\"\n"
                           "chars count=3\n"
                           "char id=65 x=0 y=0 width=8 height=10 xoffset=1 yoffset=2 xadvance=9 page=0 chnl=15\n"
                           "char id=66 x=8 y=0 width=6 height=12 xoffset=0 yoffset=1 xadvance=7 page=0 chnl=15\n"
                           "char id=86 x=16 y=0 width=8 height=10 xoffset=0 yoffset=2 xadvance=8 page=0 chnl=15\n" +
                           extra;
        return dir.write(name, text);
    }
    static CCSprite* glyph(CCLabelBMFont* label, int tag) { return static_cast<CCSprite*>(label->getChildByTag(tag)); }
};

TEST_F(BitmapFont, LaysOutLinesAndKerning) {
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("A\nB", font("a.fnt", "", 32));
    ASSERT_NE(label, nullptr);
    // A: x = 0 + 1 + 4, y = 32 + (32 - 2) - 5; B one line lower.
    EXPECT_EQ(glyph(label, 0)->positionInPixels(), ccp(5, 57));
    EXPECT_EQ(glyph(label, 2)->positionInPixels(), ccp(3, 0 + 31 - 6));
    EXPECT_EQ(label->contentSizeInPixels(), CGSizeMake(9, 64));
    label->setString("A\n");
    EXPECT_EQ(label->contentSizeInPixels(), CGSizeMake(9, 32));

    CCLabelBMFont* plain = CCLabelBMFont::labelWithString("AV", font("b.fnt"));
    CCLabelBMFont* kerned =
        CCLabelBMFont::labelWithString("AV", font("c.fnt", "kernings count=1\nkerning first=65 second=86 amount=-2\n"));
    EXPECT_EQ(plain->kerningAmountForFirst('A', 'V'), 0);
    EXPECT_EQ(kerned->kerningAmountForFirst('A', 'V'), -2);
    EXPECT_EQ(kerned->configuration()->kerningCount(), 1u);
    EXPECT_FLOAT_EQ(glyph(kerned, 1)->positionInPixels().x, glyph(plain, 1)->positionInPixels().x - 2);
    EXPECT_FLOAT_EQ(kerned->contentSizeInPixels().width, plain->contentSizeInPixels().width - 2);
    EXPECT_EQ(plain->contentSizeInPixels(), CGSizeMake(17, 16));
    // One configuration per file, shared.
    EXPECT_EQ(FNTConfigLoadFile(dir.file("c.fnt")), kerned->configuration());
}

TEST_F(BitmapFont, ReusesCharacterSpritesByIndex) {
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("AAAAA", font("a.fnt"));
    std::vector<CCSprite*> sprites;
    for (int i = 0; i < 5; i++) sprites.push_back(glyph(label, i));
    label->setString("B");
    EXPECT_EQ(glyph(label, 0), sprites[0]);
    EXPECT_TRUE(sprites[0]->visible());
    EXPECT_EQ(sprites[0]->textureRectInPixels(), CGRectMake(8, 0, 6, 12));
    for (int i = 1; i < 5; i++) EXPECT_FALSE(sprites[i]->visible());
    label->setString("AAAAA");
    EXPECT_EQ(label->children()->count(), 5u);
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(glyph(label, i), sprites[i]);
        EXPECT_TRUE(sprites[i]->visible());
    }
    const CGSize size = label->contentSizeInPixels();
    label->setString("");
    for (CCSprite* s : sprites) EXPECT_FALSE(s->visible());
    EXPECT_EQ(label->contentSizeInPixels(), size);
}

TEST_F(BitmapFont, ColourAndOpacityReachEveryCharacter) {
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("AB", font("a.fnt"));
    EXPECT_TRUE(label->doesOpacityModifyRGB());
    label->setOpacity(100);
    label->setColor(ccc3(255, 0, 0));
    label->setString("ABAV");
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(glyph(label, i)->opacity(), 100) << i;
        EXPECT_EQ(glyph(label, i)->color(), ccc3(255, 0, 0)) << i;
    }
}

TEST_F(BitmapFont, DecodesUTF8AndRefusesCodesBeyondTheTable) {
    EXPECT_EQ(ccUTF8ToCodePoints("a\xC3\xA9\xE2\x82\xAC"), (std::u32string{U'a', 0xE9, 0x20AC}));
    // Bytes that start no valid sequence count as themselves.
    EXPECT_EQ(ccUTF8ToCodePoints("\xC3(\xFF\xC0\x80"), (std::u32string{0xC3, U'(', 0xFF, 0xC0, 0x80}));
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("\xC3\xA9", font("a.fnt"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->children()->count(), 1u); // one character, not two bytes
    EXPECT_DEATH(label->setString("\xE0\xA0\x80"), "BitmapFontAtlas: character outside bounds");
}

TEST_F(BitmapFont, BadDescriptionsGiveNoLabel) {
    const std::string charLine = "char id=65 x=0 y=0 width=8 height=10 xoffset=1 yoffset=2 xadvance=9 page=0 chnl=15\n";
    const std::string common = "common lineHeight=16 base=12 scaleW=64 scaleH=32 pages=1 packed=0\n";
    const std::string page = "page id=0 file=\"font.png\"\n";
    const struct {
        const char* name;
        std::string text;
    } bad[] = {
        {"nopage.fnt", common + charLine},
        {"pageid.fnt", common + "page id=1 file=\"font.png\"\n" + charLine},
        {"noname.fnt", common + "page id=0 file=\n" + charLine},
        {"pages.fnt", "common lineHeight=16 base=12 scaleW=64 scaleH=32 pages=2 packed=0\n" + page},
        {"huge.fnt", "common lineHeight=16 base=12 scaleW=99999 scaleH=32 pages=1 packed=0\n" + page},
        {"bigid.fnt", common + page + "char id=2048 x=0 y=0 width=8 height=10 xoffset=1 yoffset=2 xadvance=9\n"},
        {"negid.fnt", common + page + "char id=-1 x=0 y=0 width=8 height=10 xoffset=1 yoffset=2 xadvance=9\n"},
        {"short.fnt", common + page + "char id=65 x=0 y=0 width=8\n"},
        {"garbage.fnt", common + page + "char id=65 x=zero y=0 width=8 height=10 xoffset=1 yoffset=2 xadvance=9\n"},
        {"kerning.fnt", common + page + charLine + "kerning first=65 second=\n"},
        {"noimage.fnt", common + "page id=0 file=\"absent.png\"\n" + charLine},
        // Cut short: fewer characters or kerning pairs than the file declares.
        {"cutchars.fnt", common + page + "chars count=2\n" + charLine},
        {"cutkernings.fnt", common + page + charLine + "kernings count=3\nkerning first=65 second=65 amount=1\n"},
    };
    for (const auto& b : bad) {
        EXPECT_EQ(CCLabelBMFont::labelWithString("A", dir.write(b.name, b.text)), nullptr) << b.name;
    }
    EXPECT_EQ(CCLabelBMFont::labelWithString("A", dir.file("missing.fnt")), nullptr);
    // Windows line ends are fine.
    EXPECT_NE(CCLabelBMFont::labelWithString("A", dir.write("crlf.fnt", common + "page id=0 file=\"font.png\"\r\n" +
                                                                       charLine)),
              nullptr);
}

TEST_F(BitmapFont, HugeNumbersPlaceGlyphsFarAwayWithoutOverflow) {
    const std::string text = "common lineHeight=2147483647 base=12 scaleW=64 scaleH=32 pages=1 packed=0\n"
                             "page id=0 file=\"font.png\"\n"
                             "char id=65 x=0 y=0 width=8 height=10 xoffset=2147483647 yoffset=-2147483648 "
                             "xadvance=2147483647 page=0 chnl=15\n"
                             "kerning first=65 second=65 amount=2147483647\n";
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("AAAA\nA\nA", dir.write("huge.fnt", text));
    ASSERT_NE(label, nullptr);
    // Four advances and three kerning amounts of 2^31 - 1 on the longest line.
    EXPECT_FLOAT_EQ(label->contentSizeInPixels().width, 7.0f * 2147483647.0f);
    EXPECT_FLOAT_EQ(label->contentSizeInPixels().height, 3.0f * 2147483647.0f);
}

TEST_F(BitmapFont, DrawsEachGlyphInItsBoxInOneCall) {
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("AB", font("a.fnt"));
    label->setAnchorPoint(CGPointZero);
    label->setPosition(ccp(10, 20));
    GLDrawCounter::reset();
    label->visit();
    EXPECT_EQ(GLDrawCounter::drawElements(), 1);
    // A: x 11..18, y 20 + 16 - 2 - 10 = 24 .. 33; B: x 19..24, y 20 + 16 - 1 - 12 = 23 .. 34.
    EXPECT_TRUE(near(pixel(14, 28), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixel(21, 28), {0, 255, 0, 255}));
    EXPECT_TRUE(near(pixel(21, 34), {0, 255, 0, 255}));
    EXPECT_TRUE(near(pixel(14, 35), {0, 0, 0, 255}));
    EXPECT_TRUE(inside(litPixels(kSize), CGRectMake(10, 20, 16, 16)));
}

TEST_F(BitmapFont, GameFontPutsItsGlyphsInsideTheLabel) {
    CCLabelBMFont* label = CCLabelBMFont::labelWithString("42", ZORVIK_SOURCE_DIR "/Resources/greenFont.fnt");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->configuration()->commonHeight(), 28u);
    EXPECT_GT(label->configuration()->kerningCount(), 0u);
    label->setPosition(ccp(32, 32));
    label->visit();
    const Lit lit = litPixels(kSize);
    // Every lit pixel lies in one of the character boxes; the outlined glyphs may reach a
    // little past their advance, so the label's own box is met within a few pixels.
    CGRect glyphs = CGRectApplyAffineTransform(glyph(label, 0)->boundingBox(), label->nodeToParentTransform());
    const CGRect second = CGRectApplyAffineTransform(glyph(label, 1)->boundingBox(), label->nodeToParentTransform());
    const float right = std::max(glyphs.origin.x + glyphs.size.width, second.origin.x + second.size.width);
    const float top = std::max(glyphs.origin.y + glyphs.size.height, second.origin.y + second.size.height);
    glyphs.origin = ccp(std::min(glyphs.origin.x, second.origin.x), std::min(glyphs.origin.y, second.origin.y));
    glyphs.size = CGSizeMake(right - glyphs.origin.x, top - glyphs.origin.y);
    EXPECT_TRUE(inside(lit, glyphs));
    const CGRect box = label->boundingBox();
    EXPECT_TRUE(inside(lit, CGRectMake(box.origin.x - 3, box.origin.y - 3, box.size.width + 6, box.size.height + 6)));
    EXPECT_GT(lit.count, 40);
}

// ---- character-map labels ----

TEST_F(TextLabel, CharacterMapCellsByCode) {
    // Cells of 8 × 8 in a 32 × 16 map from '0': row 0 "0123" red..., row 1 "4567" white.
    std::string map = pngFile("digits.png", 32, 16, [](unsigned, unsigned y) {
        return y < 8 ? RGBA{255, 0, 0, 255} : RGBA{255, 255, 255, 255};
    });
    CCLabelAtlas* label = CCLabelAtlas::labelWithString("15", map, 8, 8, '0');
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->itemsPerRow(), 4);
    EXPECT_EQ(label->itemsPerColumn(), 2);
    EXPECT_EQ(label->contentSizeInPixels(), CGSizeMake(16, 8));
    const ccV3F_C4B_T2F_Quad& five = label->textureAtlas()->quads()[1];
    EXPECT_FLOAT_EQ(five.tl.texCoords.u, 8.5f / 32);
    EXPECT_FLOAT_EQ(five.br.texCoords.u, 15.5f / 32);
    EXPECT_FLOAT_EQ(five.tl.texCoords.v, 8.5f / 16);
    EXPECT_FLOAT_EQ(five.br.texCoords.v, 15.5f / 16);
    EXPECT_FLOAT_EQ(five.br.vertices.x, 16);

    label->setString("150");
    EXPECT_GE(label->textureAtlas()->capacity(), 3u);
    label->setAnchorPoint(CGPointZero);
    label->setPosition(ccp(4, 4));
    label->setColor(ccc3(0, 255, 255));
    label->visit();
    EXPECT_TRUE(near(pixel(8, 8), {0, 0, 0, 255}));     // red cell tinted cyan
    EXPECT_TRUE(near(pixel(16, 8), {0, 255, 255, 255})); // white cell
    EXPECT_TRUE(near(pixel(24, 8), {0, 0, 0, 255}));
    GLint colorArray = 0;
    glGetIntegerv(GL_COLOR_ARRAY, &colorArray);
    EXPECT_EQ(colorArray, GL_TRUE);

    // A map narrower than one cell shows nothing and does not fail.
    CCLabelAtlas* narrow = CCLabelAtlas::labelWithString("1", map, 64, 8, '0');
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(narrow->itemsPerRow(), 0);
    EXPECT_EQ(CCLabelAtlas::labelWithString("1", dir.file("none.png"), 8, 8, '0'), nullptr);
    CCTextureCache::sharedTextureCache()->removeAllTextures();
}

} // namespace
