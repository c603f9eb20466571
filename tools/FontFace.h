#pragma once

#include <string>

#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace restool {

// One font file opened with FreeType and wrapped for Cairo. The font is named by its path,
// never looked up through the machine's font configuration, and drawn without hinting, so
// that glyphs come out the same wherever the tools run. Destroy it only when no other Cairo
// object is alive: it empties Cairo's caches to close the font.
class FontFace {
public:
    // Throws std::runtime_error with a readable message when the file cannot be used.
    explicit FontFace(const std::string& path);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Face ftFace() const { return face_; }
    cairo_font_face_t* cairoFace() const { return cairoFace_; }

    // Selects this face at the given pixel size on a context, with fixed rendering options.
    void apply(cairo_t* cr, double pixelSize) const;

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    cairo_font_face_t* cairoFace_ = nullptr;
};

}  // namespace restool
