#pragma once
// A platform font: a family name looked up through fontconfig (with the aliases of the
// resource folder's fonts.conf) and a size in pixels.
#include <string>

#include "CCObject.h"

class UIFont : public CCObject {
public:
    // Autoreleased; nullptr for an empty name or a size that is not positive. Names that no
    // installed font carries fall back to fontconfig's nearest match.
    static UIFont* fontWithName(const std::string& name, float size);

    const std::string& fontName() const { return fontName_; }
    float pointSize() const { return pointSize_; }

private:
    std::string fontName_;
    float pointSize_ = 0;
};
