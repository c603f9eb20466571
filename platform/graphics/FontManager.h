#pragma once
// Registry of custom fonts: answers only for names that were registered, with a font file
// (loadFont) or by naming an installed family (registerFont).
#include <map>
#include <mutex>
#include <string>

#include "CCObject.h"

class ZFont : public CCObject {
public:
    static ZFont* fontWithFamily(const std::string& family, float pointSize);
    const std::string& family() const { return family_; }
    float pointSize() const { return pointSize_; }

private:
    std::string family_;
    float pointSize_ = 0;
};

class FontManager : public CCObject {
public:
    static FontManager* sharedManager();

    // Adds a TrueType/OpenType file and registers it under its family name; false when the
    // file is not a font.
    bool loadFont(const std::string& path);
    // Registers a name for an installed font family.
    void registerFont(const std::string& name, const std::string& family);
    // Autoreleased; nullptr unless the name was registered (and the size is positive).
    ZFont* zFontWithName(const std::string& name, float pointSize) const;

private:
    mutable std::mutex lock_;
    std::map<std::string, std::string> families_;
};
