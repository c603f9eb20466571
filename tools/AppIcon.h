#pragma once
// The application's icon for desktop menus: the leaping cat over the title's sky and ground,
// on a rounded square, drawn at each size rather than scaled from one picture.
#include <string>
#include <vector>

#include "Image.h"

namespace restool {

// The sizes desktops look for in the hicolor icon theme.
const std::vector<int>& appIconSizes();

Image drawAppIcon(int size);

// Writes <dir>/hicolor/<n>x<n>/apps/<name>.png for every size. False with a reason on the
// first file that cannot be written.
bool writeAppIcons(const std::string& dir, const std::string& name, std::string* error);

}  // namespace restool
