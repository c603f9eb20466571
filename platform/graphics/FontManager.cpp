#include "FontManager.h"

#include "FontConfig.h"

#include <fontconfig/fcfreetype.h>
#include <pango/pangofc-fontmap.h>
#include "NSData.h"

ZFont* ZFont::fontWithFamily(const std::string& family, float pointSize) {
    if (family.empty() || !(pointSize > 0)) return nullptr;
    auto* font = new ZFont;
    font->family_ = family;
    font->pointSize_ = pointSize;
    return ccAutorelease(font);
}

FontManager* FontManager::sharedManager() {
    static FontManager* manager = new FontManager;
    return manager;
}

bool FontManager::loadFont(const std::string& path) {
    if (!ccFileExists(path)) return false;
    std::string family;
    {
        std::lock_guard fontGuard(ccFontLock());
        FcConfig* config = ccFontConfig();
        if (!config) return false;
        int count = 0;
        FcPattern* pattern =
            FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
        if (!pattern) return false;
        FcChar8* name = nullptr;
        if (FcPatternGetString(pattern, FC_FAMILY, 0, &name) == FcResultMatch && name)
            family = reinterpret_cast<const char*>(name);
        FcPatternDestroy(pattern);
        if (family.empty() || !FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str())))
            return false;
        // The font map caches its font set; tell it the configuration grew.
        if (PangoFontMap* map = ccFontMap(); map && PANGO_IS_FC_FONT_MAP(map))
            pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
    }
    registerFont(family, family);
    return true;
}

void FontManager::registerFont(const std::string& name, const std::string& family) {
    if (name.empty() || family.empty()) return;
    std::lock_guard guard(lock_);
    families_[name] = family;
}

ZFont* FontManager::zFontWithName(const std::string& name, float pointSize) const {
    std::string family;
    {
        std::lock_guard guard(lock_);
        auto found = families_.find(name);
        if (found == families_.end()) return nullptr;
        family = found->second;
    }
    return ZFont::fontWithFamily(family, pointSize);
}
