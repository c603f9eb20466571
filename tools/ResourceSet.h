#pragma once

#include <string>
#include <vector>

namespace restool {

// The font the glyphs and lettering are drawn from (Debian package fonts-dejavu-core).
inline const char* const kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The game's resources (Resources/) or the example programs' (examples/Resources/).
enum class ResourceKind { Game, Examples };

// Names of every file makeResources writes, in the order it writes them.
const std::vector<std::string>& resourceFileNames(ResourceKind kind = ResourceKind::Game);

// Draws every resource of the kind and writes it into outDir (created if missing). Each file
// is written under a temporary name and renamed into place, so a failure never leaves a
// half-written file behind. Returns false and sets *error on the first failure.
bool makeResources(const std::string& outDir, const std::string& fontPath, std::string* error,
                   ResourceKind kind = ResourceKind::Game);

}  // namespace restool
