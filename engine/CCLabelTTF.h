#pragma once
// A sprite whose texture is a string rendered with a system or registered font; a new
// texture is made on every change of the string.
#include <string>

#include "CCSprite.h"
#include "NSStringDrawing.h"

class CCLabelTTF : public CCSprite {
public:
    static CCLabelTTF* labelWithString(const std::string& string, const std::string& fontName, float fontSize);
    static CCLabelTTF* labelWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                                       const std::string& fontName, float fontSize);
    // Sizes in points.
    bool initWithString(const std::string& string, const std::string& fontName, float fontSize);
    bool initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                        const std::string& fontName, float fontSize);
    // Refused: a text label needs its string and font.
    bool init() override;

    void setString(const std::string& string);

    const std::string& fontName() const { return fontName_; }
    // In pixels.
    float fontSize() const { return fontSize_; }
    CGSize dimensions() const { return dimensions_; }
    UITextAlignment alignment() const { return alignment_; }

    std::string description() const override;

private:
    CGSize dimensions_{};
    UITextAlignment alignment_ = UITextAlignmentCenter;
    std::string fontName_;
    float fontSize_ = 0;
};
