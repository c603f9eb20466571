#include "NSStringDrawing.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <vector>

#include "CGContext.h"
#include "FontConfig.h"
#include "FontManager.h"
#include "UIFont.h"

namespace {

thread_local std::vector<CGContext*> contextStack;

struct FontChoice {
    std::string family;
    float size = 0;
};

// A layout for the font on a context that draws into `cr`; the caller unrefs it.
PangoLayout* makeLayout(cairo_t* cr, const FontChoice& font, const std::string& text) {
    PangoFontMap* map = ccFontMap();
    if (!map) return nullptr;
    PangoContext* context = pango_font_map_create_context(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_update_context(cr, context);
    PangoLayout* layout = pango_layout_new(context);
    g_object_unref(context);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.family.c_str());
    pango_font_description_set_absolute_size(description, font.size * PANGO_SCALE);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    // Invalid UTF-8 is drawn as nothing rather than read past.
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    return layout;
}

CGSize measure(const std::string& text, const FontChoice& font) {
    std::lock_guard guard(ccFontLock());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    CGSize size = CGSizeZero;
    if (PangoLayout* layout = makeLayout(cr, font, text)) {
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        size = {std::ceil(float(logical.width) / PANGO_SCALE), std::ceil(float(logical.height) / PANGO_SCALE)};
        g_object_unref(layout);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return size;
}

CGSize draw(const std::string& text, CGRect rect, const FontChoice& font, UILineBreakMode mode,
            UITextAlignment alignment) {
    CGContext* target = UIGraphicsGetCurrentContext();
    if (!target || rect.size.width <= 0 || rect.size.height <= 0) return CGSizeZero;
    std::lock_guard guard(ccFontLock());
    const int width = int(target->width()), height = int(target->height());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return CGSizeZero;
    }
    cairo_t* cr = cairo_create(surface);
    // User space of the context (y up) to bitmap rows (top first).
    const CGAffineTransform t = target->CTM();
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.a, -t.b, t.c, -t.d, t.tx, height - t.ty);
    cairo_set_matrix(cr, &matrix);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);
    CGSize used = CGSizeZero;
    if (PangoLayout* layout = makeLayout(cr, font, text)) {
        pango_layout_set_width(layout, int(rect.size.width * PANGO_SCALE));
        pango_layout_set_wrap(layout, mode == UILineBreakModeCharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
        pango_layout_set_alignment(layout, alignment == UITextAlignmentCenter  ? PANGO_ALIGN_CENTER
                                           : alignment == UITextAlignmentRight ? PANGO_ALIGN_RIGHT
                                                                               : PANGO_ALIGN_LEFT);
        cairo_move_to(cr, rect.origin.x, rect.origin.y);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        pango_cairo_show_layout(cr, layout);
        PangoRectangle logical;
        pango_layout_get_pixel_extents(layout, nullptr, &logical);
        used = {std::min(float(logical.width), rect.size.width), std::min(float(logical.height), rect.size.height)};
        g_object_unref(layout);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    target->fillMask(cairo_image_surface_get_data(surface), std::size_t(cairo_image_surface_get_stride(surface)));
    cairo_surface_destroy(surface);
    return used;
}

FontChoice choice(const UIFont* font) { return font ? FontChoice{font->fontName(), font->pointSize()} : FontChoice{}; }
FontChoice choice(const ZFont* font) { return font ? FontChoice{font->family(), font->pointSize()} : FontChoice{}; }

} // namespace

void UIGraphicsPushContext(CGContext* context) { contextStack.push_back(context); }

void UIGraphicsPopContext() {
    if (!contextStack.empty()) contextStack.pop_back();
}

CGContext* UIGraphicsGetCurrentContext() { return contextStack.empty() ? nullptr : contextStack.back(); }

CGSize sizeWithFont(const std::string& text, const UIFont* font) {
    return font ? measure(text, choice(font)) : CGSizeZero;
}

CGSize sizeWithZFont(const std::string& text, const ZFont* font) {
    return font ? measure(text, choice(font)) : CGSizeZero;
}

CGSize drawInRect(const std::string& text, CGRect rect, const UIFont* font, UILineBreakMode mode,
                  UITextAlignment alignment) {
    return font ? draw(text, rect, choice(font), mode, alignment) : CGSizeZero;
}

CGSize drawInRect(const std::string& text, CGRect rect, const ZFont* font, UILineBreakMode mode,
                  UITextAlignment alignment) {
    return font ? draw(text, rect, choice(font), mode, alignment) : CGSizeZero;
}
