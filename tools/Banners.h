#pragma once

#include <string>

#include "FontFace.h"
#include "Image.h"

namespace restool {

// The banner strip's pictures: stretchable button borders and the house banners.

constexpr int kBorderWidth = 9, kBorderHeight = 61; // stretched with caps 4 (left) and 30 (top)
constexpr int kHouseBannerWidth = 320, kHouseBannerHeight = 50;

enum class BorderLook { Normal, Pressed, Disabled };

// A dark rounded button face with a light border; the pressed look is darker, the disabled
// one grey and flat.
Image drawBorder(BorderLook look);

// The house banners each network answers with when no other ad is there: the full
// edition's offer on the network's own colours.
Image drawHouseBanner(const FontFace& font, bool mobFox);

// The ad server's JSON answer naming a house banner picture beside it.
std::string houseAnswer(const std::string& pictureName, const std::string& landingURL);

}  // namespace restool
