// Draws the game's pictures, particle texture and bitmap font into a folder; with --examples,
// the example programs' sprite sheet, fonts and particle files instead; with --icons, the
// application's icon in the desktop's sizes (<folder>/hicolor/<n>x<n>/apps/<name>.png).
// Usage: make_resources <output folder> [--examples | --icons NAME] [--font <path to a .ttf file>]
#include <cstdio>
#include <cstring>
#include <string>

#include "AppIcon.h"
#include "ResourceSet.h"

int main(int argc, char** argv) {
    std::string outDir;
    std::string fontPath = restool::kDefaultFontPath;
    restool::ResourceKind kind = restool::ResourceKind::Game;
    std::string iconName;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--examples") == 0) {
            kind = restool::ResourceKind::Examples;
        } else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc && argv[i + 1][0] != '-') {
            iconName = argv[++i];
        } else if (std::strcmp(argv[i], "--font") == 0 && i + 1 < argc) {
            fontPath = argv[++i];
        } else if (argv[i][0] != '-' && outDir.empty()) {
            outDir = argv[i];
        } else {
            outDir.clear();
            break;
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "usage: %s <output folder> [--examples | --icons NAME] [--font <font file>]\n", argv[0]);
        return 2;
    }
    std::string error;
    if (!iconName.empty()) {
        if (!restool::writeAppIcons(outDir, iconName, &error)) {
            std::fprintf(stderr, "make_resources: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (!restool::makeResources(outDir, fontPath, &error, kind)) {
        std::fprintf(stderr, "make_resources: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
