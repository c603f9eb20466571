#pragma once
// A font by name and size in points. Names are PostScript-style ("Helvetica-Bold"): the part
// after the last '-' may name a weight or style, which text drawing turns into a font match.
#include <string>

#include "CCObject.h"

class UIFont : public CCObject {
public:
    // nullptr for an empty name or a size that is not positive.
    static UIFont* fontWithName(const std::string& name, float size);
    static UIFont* systemFontOfSize(float size);
    static UIFont* boldSystemFontOfSize(float size);

    bool initWithName(const std::string& name, float size);

    const std::string& fontName() const { return name_; }
    float pointSize() const { return size_; }

    // What the text drawer asks fontconfig for: a family with weight and slant.
    std::string familyName() const;
    bool isBold() const;
    bool isItalic() const;

private:
    std::string name_;
    float size_ = 0;
};
