#include "UIFont.h"

UIFont* UIFont::fontWithName(const std::string& name, float size) {
    if (name.empty() || !(size > 0)) return nullptr;
    auto* font = new UIFont;
    font->fontName_ = name;
    font->pointSize_ = size;
    return ccAutorelease(font);
}
