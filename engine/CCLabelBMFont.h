#pragma once
// Bitmap-font text: a .fnt description (glyph rectangles, offsets, advances and kerning
// pairs of one glyph image) and the label that places one batched sprite per character.
#include <cstdint>
#include <string>

#include "CCRGBAProtocol.h"
#include "CCSpriteBatchNode.h"
#include "CGGeometry.h"

struct UT_hash_handle;

// Character codes the glyph table covers.
inline constexpr unsigned kCCBMFontMaxChars = 2048;

struct ccBMFontDef {
    unsigned charID = 0;
    CGRect rect{}; // pixels of the glyph image
    int xOffset = 0;
    int yOffset = 0;
    int xAdvance = 0;
};

struct ccBMFontPadding {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct tKerningHashElement;

class CCBMFontConfiguration : public CCObject {
public:
    // Nil when the file cannot be read or does not describe a usable font.
    static CCBMFontConfiguration* configurationWithFNTFile(const std::string& fntFile);
    bool initWithFNTfile(const std::string& fntFile);
    ~CCBMFontConfiguration() override;

    // Each parser gives false for a line it cannot use.
    bool parseConfigFile(const std::string& fntFile);
    bool parseCommonArguments(const std::string& line);
    bool parseImageFileName(const std::string& line, const std::string& fntFile);
    bool parseCharacterDefinition(const std::string& line, ccBMFontDef* characterDefinition);
    bool parseKerningEntry(const std::string& line);
    void parseKerningCapacity(const std::string&) {}
    void purgeKerningDictionary();

    // The amount for the pair, 0 when the font has none.
    int kerningAmount(unsigned first, unsigned second) const;
    unsigned kerningCount() const;

    const ccBMFontDef& definition(unsigned charID) const { return BMFontArray[charID]; }
    unsigned commonHeight() const { return commonHeight_; }
    const std::string& atlasName() const { return atlasName_; }

    std::string description() const override;

private:
    ccBMFontDef BMFontArray[kCCBMFontMaxChars];
    unsigned commonHeight_ = 0;
    ccBMFontPadding padding{};
    std::string atlasName_;
    tKerningHashElement* kerningDictionary = nullptr;
};

// The configuration cached under the file name, parsed on first use; nil for a bad file.
CCBMFontConfiguration* FNTConfigLoadFile(const std::string& fntFile);
// Forgets every cached configuration.
void FNTConfigRemoveCache();

class CCLabelBMFont : public CCSpriteBatchNode, public CCRGBAProtocol {
public:
    // Nil when the font cannot be loaded.
    static CCLabelBMFont* labelWithString(const std::string& string, const std::string& fntFile);
    static CCLabelBMFont* bitmapFontAtlasWithString(const std::string& string, const std::string& fntFile) {
        return labelWithString(string, fntFile);
    }
    bool initWithString(const std::string& string, const std::string& fntFile);
    ~CCLabelBMFont() override;

    static void purgeCachedData();

    // UTF-8; decoded to character codes.
    void setString(const std::string& string);
    void setCString(const char* string) { setString(string ? string : ""); }
    const std::string& string() const { return string_; }
    void createFontChars();
    int kerningAmountForFirst(unsigned first, unsigned second) const;
    CCBMFontConfiguration* configuration() const { return configuration_.get(); }

    ccColor3B color() const override { return color_; }
    void setColor(ccColor3B color) override;
    std::uint8_t opacity() const override { return opacity_; }
    void setOpacity(std::uint8_t opacity) override;
    void setOpacityModifyRGB(bool modify) override;
    bool doesOpacityModifyRGB() const override { return opacityModifyRGB_; }
    void setAnchorPoint(CGPoint point) override;

private:
    std::string string_;
    CCPtr<CCBMFontConfiguration> configuration_;
    std::uint8_t opacity_ = 255;
    ccColor3B color_{255, 255, 255};
    bool opacityModifyRGB_ = false;
};

// UTF-8 text as character codes; a byte that starts no valid sequence counts as its own code.
std::u32string ccUTF8ToCodePoints(const std::string& text);
