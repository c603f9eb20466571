#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "CCPtr.h"
#include "CGContext.h"
#include "FontConfig.h"
#include "FontManager.h"
#include "NSStringDrawing.h"
#include "UIFont.h"

namespace {

std::string matchedFamily(const char* family, int* weight = nullptr) {
    std::lock_guard guard(ccFontLock());
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(ccFontConfig(), pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(ccFontConfig(), pattern, &result);
    std::string name;
    FcChar8* value = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch) name = reinterpret_cast<char*>(value);
    if (match && weight) FcPatternGetInteger(match, FC_WEIGHT, 0, weight);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return name;
}

struct Drawn {
    std::vector<std::uint8_t> pixels;
    unsigned width, height;
    // Bounds of the non-zero pixels.
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Drawn drawText(const std::string& text, unsigned w, unsigned h, UITextAlignment alignment, const char* font = "Helvetica",
               float size = 12) {
    CCAutoreleaseScope scope;
    Drawn d{std::vector<std::uint8_t>(std::size_t{w} * h), w, h};
    auto context = CCPtr<CGContext>::adopt(
        CGContext::createBitmapContext(d.pixels.data(), w, h, 8, w, CGColorSpace::DeviceGray, kCGImageAlphaNone));
    context->setGrayFillColor(1, 1);
    context->translateCTM(0, float(h));
    context->scaleCTM(1, -1);
    UIGraphicsPushContext(context);
    drawInRect(text, CGRectMake(0, 0, float(w), float(h)), UIFont::fontWithName(font, size), UILineBreakModeWordWrap,
               alignment);
    UIGraphicsPopContext();
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x)
            if (d.pixels[y * w + x]) {
                d.left = std::min(d.left, int(x));
                d.right = std::max(d.right, int(x));
                d.top = std::min(d.top, int(y));
                d.bottom = std::max(d.bottom, int(y));
            }
    return d;
}

} // namespace

TEST(TextDrawing, FontAliasesResolveToInstalledFonts) {
    int weight = 0;
    EXPECT_EQ(matchedFamily("Marker Felt", &weight), "Comic Neue");
    EXPECT_GE(weight, FC_WEIGHT_BOLD);
    EXPECT_EQ(matchedFamily("Helvetica-Bold", &weight), "Liberation Sans");
    EXPECT_GE(weight, FC_WEIGHT_BOLD);
}

TEST(TextDrawing, DrawsFromTheTopAndAligns) {
    Drawn left = drawText("Hi", 128, 32, UITextAlignmentLeft);
    ASSERT_GE(left.right, 0) << "nothing drawn";
    EXPECT_LT(left.top, 8) << "text starts at the top row";
    EXPECT_LT(left.left, 4);
    Drawn right = drawText("Hi", 128, 32, UITextAlignmentRight);
    EXPECT_GT(right.right, 120);
    Drawn centre = drawText("Hi", 128, 32, UITextAlignmentCenter);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 64, 4);
}

TEST(TextDrawing, WrapsWordsAndClipsToTheBox) {
    Drawn oneLine = drawText("one two three", 256, 64, UITextAlignmentLeft);
    Drawn wrapped = drawText("one two three", 40, 64, UITextAlignmentLeft);
    EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (oneLine.bottom - oneLine.top));
    EXPECT_LT(wrapped.right, 40);
    Drawn clipped = drawText("one two three four five six", 40, 16, UITextAlignmentLeft);
    EXPECT_LT(clipped.bottom, 16);
}

TEST(TextDrawing, MeasuresAndSurvivesBadInput) {
    CCAutoreleaseScope scope;
    UIFont* font = UIFont::fontWithName("Marker Felt", 20);
    CGSize wide = sizeWithFont("Touch to Play", font);
    CGSize narrow = sizeWithFont("Touch", font);
    EXPECT_GT(wide.width, narrow.width);
    EXPECT_GE(wide.height, 20);
    EXPECT_EQ(sizeWithFont("", font).width, 0);
    EXPECT_EQ(sizeWithFont("x", nullptr).width, 0);
    EXPECT_EQ(UIFont::fontWithName("", 12), nullptr);
    EXPECT_EQ(UIFont::fontWithName("Helvetica", 0), nullptr);
    // Invalid UTF-8 and no current context draw nothing.
    Drawn invalid = drawText(std::string("\xC3\x28\xFF", 3), 32, 32, UITextAlignmentLeft);
    EXPECT_EQ(invalid.right, -1);
    EXPECT_EQ(drawInRect("x", CGRectMake(0, 0, 10, 10), font, UILineBreakModeWordWrap, UITextAlignmentLeft).width, 0);
}

TEST(FontManager, AnswersOnlyForRegisteredNames) {
    CCAutoreleaseScope scope;
    FontManager* manager = FontManager::sharedManager();
    EXPECT_EQ(manager->zFontWithName("NotRegistered", 12), nullptr);
    manager->registerFont("GameFont", "DejaVu Sans");
    ZFont* font = manager->zFontWithName("GameFont", 14);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->family(), "DejaVu Sans");
    EXPECT_GT(sizeWithZFont("abc", font).width, 0);
    EXPECT_FALSE(manager->loadFont("/nonexistent/font.ttf"));
    EXPECT_TRUE(manager->loadFont("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
    EXPECT_NE(manager->zFontWithName("DejaVu Sans Mono", 10), nullptr);
}
