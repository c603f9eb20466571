#include "UIFont.h"

#include <cmath>

namespace {
std::string styleOf(const std::string& name) {
    auto dash = name.rfind('-');
    return dash == std::string::npos ? std::string() : name.substr(dash + 1);
}
} // namespace

bool UIFont::initWithName(const std::string& name, float size) {
    if (name.empty() || !(size > 0) || !std::isfinite(size)) return false;
    name_ = name;
    size_ = size;
    return true;
}

UIFont* UIFont::fontWithName(const std::string& name, float size) {
    return ccCreate<UIFont>([&](UIFont* f) { return f->initWithName(name, size); });
}

UIFont* UIFont::systemFontOfSize(float size) { return fontWithName("Helvetica", size); }
UIFont* UIFont::boldSystemFontOfSize(float size) { return fontWithName("Helvetica-Bold", size); }

std::string UIFont::familyName() const {
    auto dash = name_.rfind('-');
    return dash == std::string::npos || dash == 0 ? name_ : name_.substr(0, dash);
}

bool UIFont::isBold() const {
    std::string style = styleOf(name_);
    return style.find("Bold") != std::string::npos || style.find("Black") != std::string::npos ||
           style.find("Heavy") != std::string::npos;
}

bool UIFont::isItalic() const {
    std::string style = styleOf(name_);
    return style.find("Italic") != std::string::npos || style.find("Oblique") != std::string::npos;
}
