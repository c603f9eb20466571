// Draws the game's pictures, particle texture and bitmap font into a folder; with --examples,
// the example programs' sprite sheet, fonts and particle files instead.
// Usage: make_resources <output folder> [--examples] [--font <path to a .ttf file>]
#include <cstdio>
#include <cstring>
#include <string>

#include "ResourceSet.h"

int main(int argc, char** argv) {
    std::string outDir;
    std::string fontPath = restool::kDefaultFontPath;
    restool::ResourceKind kind = restool::ResourceKind::Game;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--examples") == 0) {
            kind = restool::ResourceKind::Examples;
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
        std::fprintf(stderr, "usage: %s <output folder> [--examples] [--font <font file>]\n", argv[0]);
        return 2;
    }
    std::string error;
    if (!restool::makeResources(outDir, fontPath, &error, kind)) {
        std::fprintf(stderr, "make_resources: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
