#include "CCLabelTTF.h"

#include <cstdio>

#include "CCTexture2D.h"
#include "ccMacros.h"

CCLabelTTF* CCLabelTTF::labelWithString(const std::string& string, const std::string& fontName, float fontSize) {
    return ccCreate<CCLabelTTF>([&](CCLabelTTF* l) { return l->initWithString(string, fontName, fontSize); });
}

CCLabelTTF* CCLabelTTF::labelWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                                        const std::string& fontName, float fontSize) {
    return ccCreate<CCLabelTTF>(
        [&](CCLabelTTF* l) { return l->initWithString(string, dimensions, alignment, fontName, fontSize); });
}

bool CCLabelTTF::init() {
    CCAssert(false, "CCLabelTTF: Init not supported. Use initWithString");
    return false;
}

bool CCLabelTTF::initWithString(const std::string& string, const std::string& fontName, float fontSize) {
    if (!CCSprite::init()) return false;
    fontName_ = fontName;
    fontSize_ = fontSize * CC_CONTENT_SCALE_FACTOR();
    dimensions_ = CGSizeZero;
    setString(string);
    return true;
}

bool CCLabelTTF::initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                                const std::string& fontName, float fontSize) {
    if (!CCSprite::init()) return false;
    const float scale = CC_CONTENT_SCALE_FACTOR();
    dimensions_ = CGSizeMake(dimensions.width * scale, dimensions.height * scale);
    alignment_ = alignment;
    fontName_ = fontName;
    fontSize_ = fontSize * scale;
    setString(string);
    return true;
}

void CCLabelTTF::setString(const std::string& string) {
    auto* texture = new CCTexture2D;
    const bool made = dimensions_ == CGSizeZero
                          ? texture->initWithString(string, fontName_, fontSize_)
                          : texture->initWithString(string, dimensions_, alignment_, fontName_, fontSize_);
    // A text that cannot be drawn leaves the label without texture.
    setTexture(made ? texture : nullptr);
    texture->release();
    CGSize size = texture_ ? texture_->contentSize() : CGSizeZero;
    setTextureRect(CGRectMake(0, 0, size.width, size.height));
}

std::string CCLabelTTF::description() const {
    char text[64];
    std::snprintf(text, sizeof text, ", FontSize = %.1f>", fontSize_);
    return std::string("<").append(className()) + " = " + ccAddressString(this) + " | FontName = " + fontName_ + text;
}
