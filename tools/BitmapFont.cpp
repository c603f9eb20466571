#include "BitmapFont.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "Drawing.h"

namespace restool {

namespace {

struct Glyph {
    char32_t code = 0;
    unsigned long index = 0;
    // Ink box with room for the outline, in pixels relative to the glyph's origin on the
    // baseline (y downwards).
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int advance = 0;
    // Place on the page.
    int pageX = 0, pageY = 0;

    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
};

int nextPowerOfTwo(int v) {
    int p = 1;
    while (p < v) p <<= 1;
    return p;
}

}  // namespace

bool buildBitmapFont(const FontFace& face, const BitmapFontStyle& style, BitmapFont* out, std::string* error) {
    FT_Face ft = face.ftFace();
    const double unitsToPixels = style.pixelSize / ft->units_per_EM;
    const int outline = style.outline;
    const int base = static_cast<int>(std::ceil(ft->ascender * unitsToPixels)) + outline;
    int lineHeight = base + static_cast<int>(std::ceil(-ft->descender * unitsToPixels)) + outline;

    // Measure.
    std::vector<Glyph> glyphs;
    {
        Canvas scratch(1, 1);
        face.apply(scratch.cr(), style.pixelSize);
        for (char32_t c = style.firstChar; c <= style.lastChar; ++c) {
            Glyph g;
            g.code = c;
            g.index = FT_Get_Char_Index(ft, c);
            if (g.index == 0) {
                *error = "the font has no glyph for character " + std::to_string(static_cast<unsigned>(c));
                return false;
            }
            cairo_glyph_t cg{g.index, 0, 0};
            cairo_text_extents_t e;
            cairo_glyph_extents(scratch.cr(), &cg, 1, &e);
            g.advance = static_cast<int>(std::lround(e.x_advance)) + outline;
            if (e.width > 0 && e.height > 0) {
                const int pad = outline + 1;  // outline plus a pixel of antialiasing
                g.x0 = static_cast<int>(std::floor(e.x_bearing)) - pad;
                g.x1 = static_cast<int>(std::ceil(e.x_bearing + e.width)) + pad;
                g.y0 = static_cast<int>(std::floor(e.y_bearing)) - pad;
                g.y1 = static_cast<int>(std::ceil(e.y_bearing + e.height)) + pad;
            }
            // Keep every glyph, antialiased edge included, inside the line box.
            lineHeight = std::max(lineHeight, base + g.y1);
            glyphs.push_back(g);
        }
    }

    // Lay out in rows.
    int x = style.spacing, y = style.spacing, rowHeight = 0;
    for (Glyph& g : glyphs) {
        if (g.width() == 0) continue;  // blanks take no room on the page
        if (g.width() + 2 * style.spacing > style.pageWidth) {
            *error = "a glyph is wider than the font page";
            return false;
        }
        if (x + g.width() + style.spacing > style.pageWidth) {
            x = style.spacing;
            y += rowHeight + style.spacing;
            rowHeight = 0;
        }
        g.pageX = x;
        g.pageY = y;
        x += g.width() + style.spacing;
        rowHeight = std::max(rowHeight, g.height());
    }
    const int pageHeight = nextPowerOfTwo(y + rowHeight + style.spacing);

    // Draw: the outline first, then the fill over its inner half.
    Canvas page(style.pageWidth, pageHeight);
    cairo_t* cr = page.cr();
    face.apply(cr, style.pixelSize);
    const double capHeight = 0.73 * style.pixelSize;
    for (const Glyph& g : glyphs) {
        if (g.width() == 0) continue;
        cairo_save(cr);
        cairo_rectangle(cr, g.pageX, g.pageY, g.width(), g.height());
        cairo_clip(cr);
        cairo_translate(cr, g.pageX - g.x0, g.pageY - g.y0);
        cairo_glyph_t cg{g.index, 0, 0};
        cairo_glyph_path(cr, &cg, 1);
        setColour(cr, style.outlineColour);
        cairo_set_line_width(cr, 2.0 * outline);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
        cairo_pattern_t* fill = cairo_pattern_create_linear(0, -capHeight, 0, 0);
        addStop(fill, 0, style.fillTop);
        addStop(fill, 1, style.fillBottom);
        cairo_set_source(cr, fill);
        cairo_fill(cr);
        cairo_pattern_destroy(fill);
        cairo_restore(cr);
    }

    std::ostringstream d;
    d << "info face=\"" << style.faceName << "\" size=" << static_cast<int>(std::lround(style.pixelSize))
      << " bold=1 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=1 aa=1 padding=0,0,0,0 spacing="
      << style.spacing << ',' << style.spacing << " outline=" << outline << '\n';
    d << "common lineHeight=" << lineHeight << " base=" << base << " scaleW=" << style.pageWidth
      << " scaleH=" << pageHeight << " pages=1 packed=0\n";
    d << "page id=0 file=\"" << style.pageFileName << "\"\n";
    d << "chars count=" << glyphs.size() << '\n';
    for (const Glyph& g : glyphs) {
        const int xOffset = g.width() ? g.x0 + outline : 0;
        const int yOffset = g.height() ? base + g.y0 : 0;
        d << "char id=" << static_cast<unsigned>(g.code) << " x=" << g.pageX << " y=" << g.pageY
          << " width=" << g.width() << " height=" << g.height() << " xoffset=" << xOffset
          << " yoffset=" << yOffset << " xadvance=" << g.advance << " page=0 chnl=15\n";
    }

    struct Pair {
        char32_t first, second;
        long amount;
    };
    std::vector<Pair> pairs;
    if (FT_HAS_KERNING(ft)) {
        for (const Glyph& a : glyphs) {
            for (const Glyph& b : glyphs) {
                FT_Vector k{0, 0};
                if (FT_Get_Kerning(ft, static_cast<FT_UInt>(a.index), static_cast<FT_UInt>(b.index),
                                   FT_KERNING_UNSCALED, &k) != 0)
                    continue;
                const long amount = std::lround(k.x * unitsToPixels);
                if (amount != 0) pairs.push_back({a.code, b.code, amount});
            }
        }
    }
    if (!pairs.empty()) {
        d << "kernings count=" << pairs.size() << '\n';
        for (const Pair& p : pairs) {
            d << "kerning first=" << static_cast<unsigned>(p.first) << " second=" << static_cast<unsigned>(p.second)
              << " amount=" << p.amount << '\n';
        }
    }

    out->description = d.str();
    out->page = page.toImage();
    return true;
}

}  // namespace restool
