#include "FontFace.h"

#include <stdexcept>

#include <cairo-ft.h>

namespace restool {

namespace {

const cairo_user_data_key_t kFaceKey{};

void doneFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

}  // namespace

FontFace::FontFace(const std::string& path) {
    if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
        FT_Done_FreeType(library_);
        throw std::runtime_error(path + ": cannot open the font file");
    }
    if (!FT_IS_SCALABLE(face_)) {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
        throw std::runtime_error(path + ": not a scalable font");
    }
    cairoFace_ = cairo_ft_font_face_create_for_ft_face(face_, FT_LOAD_NO_HINTING);
    // Cairo may keep the face in its caches beyond our reference; it closes the FreeType face
    // itself when it lets go of it.
    if (cairo_font_face_set_user_data(cairoFace_, &kFaceKey, face_, doneFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cairoFace_);
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
        throw std::runtime_error("cannot wrap the font for drawing");
    }
}

FontFace::~FontFace() {
    cairo_font_face_destroy(cairoFace_);
    // Cairo's font caches may still hold the face; emptying them closes it (doneFace) before
    // the library goes.
    cairo_debug_reset_static_data();
    FT_Done_FreeType(library_);
}

void FontFace::apply(cairo_t* cr, double pixelSize) const {
    cairo_set_font_face(cr, cairoFace_);
    cairo_set_font_size(cr, pixelSize);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace restool

