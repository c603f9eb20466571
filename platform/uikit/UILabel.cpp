#include "UILabel.h"

#include <algorithm>
#include <cairo.h>
#include <pango/pangocairo.h>

#include "UIColor.h"
#include "UIFont.h"

namespace {
PangoLayout* makeLayout(cairo_t* cr, const std::string& text, const UIFont* font, int alignment, int lines,
                        float width) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, font->familyName().c_str());
    pango_font_description_set_weight(desc, font->isBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, font->isItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    // One point is one overlay pixel.
    pango_font_description_set_absolute_size(desc, font->pointSize() * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    // Invalid UTF-8 would make Pango refuse the whole text; show what is valid.
    const gchar* end = nullptr;
    if (!g_utf8_validate(text.c_str(), static_cast<gssize>(text.size()), &end))
        pango_layout_set_text(layout, text.c_str(), static_cast<int>(end - text.c_str()));
    else
        pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
    if (width > 0) {
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
        if (lines == 1) {
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        } else {
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
            if (lines > 1) {
                pango_layout_set_height(layout, -lines);
                pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            }
        }
    }
    pango_layout_set_alignment(layout, alignment == UITextAlignmentCenter  ? PANGO_ALIGN_CENTER
                                       : alignment == UITextAlignmentRight ? PANGO_ALIGN_RIGHT
                                                                           : PANGO_ALIGN_LEFT);
    return layout;
}
} // namespace

// A layout and what it was laid out for: the width, and the context's scale and rotation
// and font options (Pango would lay the text out again at every drawing if asked to check
// them itself).
struct UILabel::LaidOut {
    PangoLayout* layout = nullptr;
    float width = 0;
    double matrix[4] = {};
    cairo_font_options_t* options = cairo_font_options_create();

    LaidOut(PangoLayout* l, float w) : layout(l), width(w) {}
    ~LaidOut() {
        g_object_unref(layout);
        cairo_font_options_destroy(options);
    }
    LaidOut(const LaidOut&) = delete;
    LaidOut& operator=(const LaidOut&) = delete;

    // Remembers `cr`'s scale, rotation and font options; true when they differ from before.
    bool noteContext(cairo_t* cr) {
        cairo_matrix_t m;
        cairo_get_matrix(cr, &m);
        const double now[4] = {m.xx, m.yx, m.xy, m.yy};
        cairo_font_options_t* current = cairo_font_options_create();
        cairo_surface_get_font_options(cairo_get_target(cr), current);
        cairo_font_options_t* own = cairo_font_options_create();
        cairo_get_font_options(cr, own);
        cairo_font_options_merge(current, own);
        cairo_font_options_destroy(own);
        const bool changed = !std::equal(now, now + 4, matrix) || !cairo_font_options_equal(current, options);
        std::copy(now, now + 4, matrix);
        cairo_font_options_destroy(options);
        options = current;
        return changed;
    }
};

UILabel::UILabel() : font_(UIFont::systemFontOfSize(17)), textColor_(UIColor::blackColor()) {
    setUserInteractionEnabled(false);
}

UILabel::~UILabel() = default;

UILabel* UILabel::labelWithFrame(CGRect frame) {
    return ccCreate<UILabel>([&](UILabel* l) { return l->initWithFrame(frame); });
}

void UILabel::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    laidOut_.reset();
    setNeedsDisplay();
}

void UILabel::setFont(UIFont* font) {
    font_ = font ? font : UIFont::systemFontOfSize(17);
    laidOut_.reset();
    setNeedsDisplay();
}

void UILabel::setTextColor(UIColor* color) {
    textColor_ = color ? color : UIColor::blackColor();
    setNeedsDisplay();
}

void UILabel::setTextAlignment(int alignment) {
    textAlignment_ = alignment;
    laidOut_.reset();
    setNeedsDisplay();
}

void UILabel::setNumberOfLines(int lines) {
    numberOfLines_ = lines < 0 ? 0 : lines;
    laidOut_.reset();
    setNeedsDisplay();
}

CGSize UILabel::sizeThatFits(float width) const {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    PangoLayout* layout = makeLayout(cr, text_, font_, textAlignment_, numberOfLines_, width);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return {static_cast<float>(w), static_cast<float>(h)};
}

void UILabel::drawInContext(cairo_t* cr, CGRect b) {
    if (text_.empty()) return;
    if (laidOut_ && laidOut_->width == b.size.width) {
        if (laidOut_->noteContext(cr)) pango_cairo_update_layout(cr, laidOut_->layout);
    } else {
        laidOut_ = std::make_unique<LaidOut>(
            makeLayout(cr, text_, font_, textAlignment_, numberOfLines_, b.size.width), b.size.width);
        laidOut_->noteContext(cr);
    }
    PangoLayout* layout = laidOut_->layout;
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    CGColorRef c = textColor_->CGColor();
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
    cairo_move_to(cr, b.origin.x, b.origin.y + (b.size.height - h) / 2);
    pango_cairo_show_layout(cr, layout);
}
