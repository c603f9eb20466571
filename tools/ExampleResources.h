#pragma once

#include <string>
#include <vector>

#include "FontFace.h"
#include "Image.h"
#include "ResourceWriter.h"

namespace restool {

// The example programs' resources: a sprite sheet with its frame list (the cat's run frames,
// coloured balls, a star), a bitmap font, a character map of digits, a particle texture and a
// particle system description.
const std::vector<std::string>& exampleResourceFileNames();
bool makeExampleResources(ResourceWriter& writer, const FontFace& font, std::string* error);

// Cell size and characters of the character map: consecutive codes from '.' to ':'.
constexpr int kDigitCellWidth = 24, kDigitCellHeight = 32;
inline const char* const kDigitCharacters = "./0123456789:";

// One frame of the sprite sheet, in pixels from the sheet's top-left corner.
struct SheetFrame {
    std::string name;
    int x, y, width, height;
};

// The sheet's frames and its picture; sheetFrameList gives the frame list (a version-2
// property list naming each frame's rectangle).
const std::vector<SheetFrame>& sheetFrames();
Image drawSheet();
std::string sheetFrameList();

Image drawDigits(const FontFace& font);
// A fountain of blue sparks for the quad particle system, textured with spark.png.
std::string fountainParticles();

}  // namespace restool
