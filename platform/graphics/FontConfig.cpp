#include "FontConfig.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include "NSBundle.h"
#include "NSData.h"

namespace {

struct Fonts {
    FcConfig* config = nullptr;
    PangoFontMap* map = nullptr;
};

Fonts& fonts() {
    static Fonts shared = [] {
        Fonts f;
        f.config = FcInitLoadConfigAndFonts();
        std::string aliases = NSBundle::mainBundle()->resourcePath() + "/fonts.conf";
        if (f.config && ccFileExists(aliases))
            FcConfigParseAndLoad(f.config, reinterpret_cast<const FcChar8*>(aliases.c_str()), FcFalse);
        f.map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        if (f.map && f.config && PANGO_IS_FC_FONT_MAP(f.map))
            pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(f.map), f.config);
        return f;
    }();
    return shared;
}

} // namespace

std::mutex& ccFontLock() {
    static std::mutex lock;
    return lock;
}

FcConfig* ccFontConfig() { return fonts().config; }
PangoFontMap* ccFontMap() { return fonts().map; }
