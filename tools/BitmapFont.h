#pragma once

#include <cstdint>
#include <string>

#include "FontFace.h"
#include "Image.h"

namespace restool {

// How a bitmap font looks and which characters it holds.
struct BitmapFontStyle {
    std::string pageFileName;    // name of the glyph image, as the description refers to it
    std::string faceName;        // informational, written on the description's info line
    double pixelSize = 19;       // em size of the glyphs in pixels
    int outline = 2;             // width of the outline around each glyph, pixels
    int spacing = 1;             // empty pixels between glyph rectangles on the page
    int pageWidth = 256;         // the page height is the next power of two that fits
    char32_t firstChar = 32;
    char32_t lastChar = 126;
    std::uint32_t fillTop = 0xB8FF7A;     // fill colour at cap height
    std::uint32_t fillBottom = 0x27B01C;  // fill colour at the baseline
    std::uint32_t outlineColour = 0x0D400D;
};

struct BitmapFont {
    std::string description;  // the .fnt text
    Image page;
};

// Rasterises every character of the style's range and lays them out on one page; the
// description lists each glyph's rectangle, offsets and advance and the face's kerning
// pairs. Returns false and sets *error when the face lacks a character or the glyphs do not
// fit a page the width of pageWidth.
bool buildBitmapFont(const FontFace& face, const BitmapFontStyle& style, BitmapFont* out, std::string* error);

}  // namespace restool
