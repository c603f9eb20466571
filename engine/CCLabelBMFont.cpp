#include "CCLabelBMFont.h"

#include <uthash.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "CCConfiguration.h"
#include "CCFileUtils.h"
#include "CCSprite.h"
#include "CCTexture2D.h"
#include "CGPointExtension.h"
#include "NSData.h"
#include "ccMacros.h"

struct tKerningHashElement {
    int key; // (first << 16) | (second & 0xFFFF)
    int amount;
    UT_hash_handle hh;
};

namespace {

std::map<std::string, CCPtr<CCBMFontConfiguration>>* configurations = nullptr;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return pieces;
}

// The integer at the start of a piece; false when there is none or it does not fit.
bool leadingInt(const std::string& piece, long& value) {
    const char* begin = piece.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtol(begin, &end, 10);
    return end != begin && errno == 0 && value >= INT_MIN && value <= INT_MAX;
}

// Keys are found by position: the value pieces after the first "=" of the line.
bool readInts(const std::string& line, std::size_t count, std::vector<long>& values) {
    std::vector<std::string> pieces = split(line, '=');
    if (pieces.size() < count + 1) return false;
    values.resize(count);
    for (std::size_t i = 0; i < count; i++)
        if (!leadingInt(pieces[i + 1], values[i])) return false;
    return true;
}

bool startsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

// ---- configuration ----

CCBMFontConfiguration* CCBMFontConfiguration::configurationWithFNTFile(const std::string& fntFile) {
    return ccCreate<CCBMFontConfiguration>([&](CCBMFontConfiguration* c) { return c->initWithFNTfile(fntFile); });
}

bool CCBMFontConfiguration::initWithFNTfile(const std::string& fntFile) {
    kerningDictionary = nullptr;
    return parseConfigFile(fntFile);
}

CCBMFontConfiguration::~CCBMFontConfiguration() { purgeKerningDictionary(); }

void CCBMFontConfiguration::purgeKerningDictionary() {
    tKerningHashElement *element, *tmp;
    HASH_ITER(hh, kerningDictionary, element, tmp) {
        HASH_DEL(kerningDictionary, element);
        std::free(element);
    }
}

bool CCBMFontConfiguration::parseConfigFile(const std::string& fntFile) {
    const std::string path = CCFileUtils::fullPathFromRelativePath(fntFile);
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!ccReadFile(path, bytes, &why)) {
        CCLog("CCBMFontConfiguration: cannot read %s: %s", fntFile.c_str(), why.c_str());
        return false;
    }
    const std::string text(bytes.begin(), bytes.end());

    bool hasPage = false;
    unsigned lineNumber = 0;
    // The counts the file declares, to tell a file cut short from a complete one.
    long declaredChars = -1, declaredKernings = -1, chars = 0, kernings = 0;
    auto declared = [](const std::string& line) {
        std::vector<long> v;
        return readInts(line, 1, v) && v[0] >= 0 ? v[0] : -1;
    };
    for (std::string line : split(text, '\n')) {
        lineNumber++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        bool ok = true;
        if (startsWith(line, "info face")) {
            // nothing used
        } else if (startsWith(line, "common lineHeight")) {
            ok = parseCommonArguments(line);
        } else if (startsWith(line, "page id")) {
            ok = parseImageFileName(line, fntFile);
            hasPage = hasPage || ok;
        } else if (startsWith(line, "chars c")) {
            declaredChars = declared(line);
        } else if (startsWith(line, "char")) {
            ccBMFontDef def;
            ok = parseCharacterDefinition(line, &def);
            if (ok) BMFontArray[def.charID] = def;
            chars++;
        } else if (startsWith(line, "kernings count")) {
            parseKerningCapacity(line);
            declaredKernings = declared(line);
        } else if (startsWith(line, "kerning first")) {
            ok = parseKerningEntry(line);
            kernings++;
        }
        if (!ok) {
            CCLog("CCBMFontConfiguration: %s line %u cannot be used: %s", fntFile.c_str(), lineNumber, line.c_str());
            return false;
        }
    }
    if (!hasPage) {
        CCLog("CCBMFontConfiguration: %s names no page image", fntFile.c_str());
        return false;
    }
    if (chars < declaredChars || kernings < declaredKernings) {
        CCLog("CCBMFontConfiguration: %s is truncated: %ld of %ld characters, %ld of %ld kerning pairs", fntFile.c_str(),
              chars, std::max(declaredChars, 0L), kernings, std::max(declaredKernings, 0L));
        return false;
    }
    return true;
}

bool CCBMFontConfiguration::parseCommonArguments(const std::string& line) {
    // lineHeight, base, scaleW, scaleH, pages
    std::vector<long> v;
    if (!readInts(line, 5, v) || v[0] < 0) return false;
    const long maxSize = CCConfiguration::sharedConfiguration()->maxTextureSize();
    if (v[2] > maxSize || v[3] > maxSize) {
        CCLog("CCLabelBMFont: page can't be larger than supported");
        return false;
    }
    if (v[4] != 1) {
        CCLog("CCBitfontAtlas: only supports 1 page");
        return false;
    }
    commonHeight_ = unsigned(v[0]);
    return true;
}

bool CCBMFontConfiguration::parseImageFileName(const std::string& line, const std::string& fntFile) {
    std::vector<std::string> pieces = split(line, '=');
    long pageId = -1;
    if (pieces.size() < 3 || !leadingInt(pieces[1], pageId)) return false;
    if (pageId != 0) {
        CCLog("XXX: BitmapFontAtlas only supports 1 page");
        return false;
    }
    std::vector<std::string> quoted = split(pieces[2], '"');
    if (quoted.size() < 3 || quoted[1].empty()) {
        CCLog("BitmapFontAtlas file could not be found");
        return false;
    }
    // The image lies beside the description.
    const std::string dir = directoryOf(fntFile);
    atlasName_ = CCFileUtils::fullPathFromRelativePath(dir.empty() ? quoted[1] : dir + "/" + quoted[1]);
    return true;
}

bool CCBMFontConfiguration::parseCharacterDefinition(const std::string& line, ccBMFontDef* def) {
    // id, x, y, width, height, xoffset, yoffset, xadvance
    std::vector<long> v;
    if (!readInts(line, 8, v)) return false;
    if (v[0] < 0 || v[0] >= long(kCCBMFontMaxChars)) {
        CCLog("BitmpaFontAtlas: CharID bigger than supported");
        return false;
    }
    if (v[3] < 0 || v[4] < 0) return false;
    def->charID = unsigned(v[0]);
    def->rect = CGRectMake(float(v[1]), float(v[2]), float(v[3]), float(v[4]));
    def->xOffset = int(v[5]);
    def->yOffset = int(v[6]);
    def->xAdvance = int(v[7]);
    return true;
}

bool CCBMFontConfiguration::parseKerningEntry(const std::string& line) {
    std::vector<long> v;
    if (!readInts(line, 3, v)) return false;
    const int key = int((unsigned(v[0]) << 16) | (unsigned(v[1]) & 0xFFFF));
    tKerningHashElement* element = nullptr;
    HASH_FIND_INT(kerningDictionary, &key, element);
    if (element) { // a repeated pair keeps its last amount
        element->amount = int(v[2]);
        return true;
    }
    element = static_cast<tKerningHashElement*>(std::calloc(1, sizeof(tKerningHashElement)));
    if (!element) return false;
    element->key = key;
    element->amount = int(v[2]);
    HASH_ADD_INT(kerningDictionary, key, element);
    return true;
}

int CCBMFontConfiguration::kerningAmount(unsigned first, unsigned second) const {
    if (!kerningDictionary) return 0;
    const int key = int((first << 16) | (second & 0xFFFF));
    tKerningHashElement* element = nullptr;
    HASH_FIND_INT(kerningDictionary, &key, element);
    return element ? element->amount : 0;
}

unsigned CCBMFontConfiguration::kerningCount() const { return HASH_COUNT(kerningDictionary); }

std::string CCBMFontConfiguration::description() const {
    const std::size_t slash = atlasName_.rfind('/');
    const std::string image = slash == std::string::npos ? atlasName_ : atlasName_.substr(slash + 1);
    char text[48];
    std::snprintf(text, sizeof text, " | Kernings:%u | Image = ", kerningCount());
    return std::string("<").append(className()) + " = " + ccAddressString(this) + text + image + ">";
}

CCBMFontConfiguration* FNTConfigLoadFile(const std::string& fntFile) {
    if (!configurations) configurations = new std::map<std::string, CCPtr<CCBMFontConfiguration>>;
    auto it = configurations->find(fntFile);
    if (it != configurations->end()) return it->second.get();
    CCBMFontConfiguration* configuration = CCBMFontConfiguration::configurationWithFNTFile(fntFile);
    if (configuration) (*configurations)[fntFile] = configuration;
    return configuration;
}

void FNTConfigRemoveCache() {
    if (configurations) configurations->clear();
}

// ---- UTF-8 ----

std::u32string ccUTF8ToCodePoints(const std::string& text) {
    std::u32string out;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        unsigned length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        char32_t code = length == 1 ? c : length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        bool valid = length > 0 && i + length <= n;
        for (unsigned k = 1; valid && k < length; k++) {
            if ((s[i + k] & 0xC0) != 0x80) valid = false;
            code = (code << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms and surrogates are not characters.
        static constexpr char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out.push_back(c);
            i += 1;
        } else {
            out.push_back(code);
            i += length;
        }
    }
    return out;
}

// ---- label ----

CCLabelBMFont* CCLabelBMFont::labelWithString(const std::string& string, const std::string& fntFile) {
    return ccCreate<CCLabelBMFont>([&](CCLabelBMFont* l) { return l->initWithString(string, fntFile); });
}

bool CCLabelBMFont::initWithString(const std::string& string, const std::string& fntFile) {
    configuration_ = FNTConfigLoadFile(fntFile);
    if (!configuration_) {
        // A bad font file is refused, not fatal.
        CCLog("Error creating config for BitmapFontAtlas");
        return false;
    }
    if (!CCSpriteBatchNode::initWithFile(configuration_->atlasName(),
                                         std::max<unsigned>(unsigned(ccUTF8ToCodePoints(string).size()), 1)))
        return false;
    if (!texture()) return false; // the texture cache has said why
    opacity_ = 255;
    color_ = ccWHITE;
    setContentSizeInPixels(CGSizeZero);
    opacityModifyRGB_ = texture()->hasPremultipliedAlpha();
    CCSpriteBatchNode::setAnchorPoint(ccp(0.5f, 0.5f));
    setString(string);
    return true;
}

CCLabelBMFont::~CCLabelBMFont() = default;

void CCLabelBMFont::purgeCachedData() { FNTConfigRemoveCache(); }

int CCLabelBMFont::kerningAmountForFirst(unsigned first, unsigned second) const {
    return configuration_->kerningAmount(first, second);
}

void CCLabelBMFont::setString(const std::string& string) {
    string_ = string;
    if (children_) {
        for (CCObject* child : *children_) static_cast<CCNode*>(child)->setVisible(false);
    }
    createFontChars();
}

void CCLabelBMFont::createFontChars() {
    const std::u32string chars = ccUTF8ToCodePoints(string_);
    if (chars.empty()) return;

    // Sums of file values (heights, offsets, advances, kerning) are taken in 64 bits: a font
    // with huge numbers places glyphs far away instead of overflowing.
    const std::int64_t height = configuration_->commonHeight();
    std::int64_t lines = 1;
    for (std::size_t i = 0; i + 1 < chars.size(); i++)
        if (chars[i] == U'\n') lines++;

    std::int64_t nextX = 0;
    std::int64_t nextY = height * (lines - 1);
    std::int64_t longest = 0;
    unsigned prev = 0xFFFF;

    for (std::size_t i = 0; i < chars.size(); i++) {
        const char32_t c = chars[i];
        CCAssert(c < kCCBMFontMaxChars, "BitmapFontAtlas: character outside bounds");
        if (c == U'\n') {
            nextX = 0;
            nextY -= height;
            continue;
        }
        const std::int64_t kerning = kerningAmountForFirst(prev, unsigned(c));
        const ccBMFontDef& def = configuration_->definition(unsigned(c));
        const CGRect rect = def.rect;

        auto* fontChar = static_cast<CCSprite*>(getChildByTag(int(i)));
        if (!fontChar) {
            fontChar = ccNew<CCSprite>([&](CCSprite* s) { return s->initWithBatchNodeRectInPixels(this, rect); });
            addChild(fontChar, 0, int(i));
            fontChar->release();
        } else {
            fontChar->setTextureRectInPixels(rect, false, rect.size);
            fontChar->setVisible(true);
            fontChar->setOpacity(255);
        }

        const std::int64_t yOffset = height - def.yOffset;
        fontChar->setPositionInPixels(ccp(float(nextX + def.xOffset) + rect.size.width / 2.0f + float(kerning),
                                          float(nextY + yOffset) - rect.size.height / 2.0f));
        nextX += def.xAdvance + kerning;

        fontChar->setOpacityModifyRGB(opacityModifyRGB_);
        fontChar->setColor(color_);
        if (opacity_ != 255) fontChar->setOpacity(opacity_);

        longest = std::max(longest, nextX);
        prev = unsigned(c);
    }
    setContentSizeInPixels(CGSizeMake(float(longest), float(height * lines)));
}

void CCLabelBMFont::setColor(ccColor3B color) {
    color_ = color;
    if (children_) {
        for (CCObject* child : *children_) static_cast<CCSprite*>(child)->setColor(color);
    }
}

void CCLabelBMFont::setOpacity(std::uint8_t opacity) {
    opacity_ = opacity;
    if (children_) {
        for (CCObject* child : *children_) static_cast<CCSprite*>(child)->setOpacity(opacity);
    }
}

void CCLabelBMFont::setOpacityModifyRGB(bool modify) {
    opacityModifyRGB_ = modify;
    if (children_) {
        for (CCObject* child : *children_) static_cast<CCSprite*>(child)->setOpacityModifyRGB(modify);
    }
}

void CCLabelBMFont::setAnchorPoint(CGPoint point) {
    if (point == anchorPoint_) return;
    CCSpriteBatchNode::setAnchorPoint(point);
    createFontChars();
}
