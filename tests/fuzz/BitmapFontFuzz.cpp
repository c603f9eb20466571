// Bitmap-font descriptions: parsed from a file, then laid out as labels over every character
// the description may hold, with the page picture already in the texture cache.
#include <unistd.h>

#include <string>

#include "CCAutoreleasePool.h"
#include "CCLabelBMFont.h"
#include "CCTextureCache.h"
#include "CGImage.h"
#include "FuzzScene.h"
#include "FuzzTarget.h"

ZORVIK_FUZZ_TARGET(bmfont) {
    fuzzScene();
    CCAutoreleaseScope scope;
    static const std::string path = [] {
        char name[] = "/tmp/zorvik-fuzz-font-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        return std::string(name);
    }();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    CCLabelBMFont::purgeCachedData();
    CCBMFontConfiguration* configuration = FNTConfigLoadFile(path);
    if (!configuration) return 0;
    // The page the description names, without reading it: an 8 x 8 picture under its name.
    CCTextureCache* cache = CCTextureCache::sharedTextureCache();
    if (!cache->textureForKey(configuration->atlasName()))
        cache->addCGImage(CGImage::imageWithRGBA(8, 8, std::vector<std::uint8_t>(256, 0xFF)), configuration->atlasName());
    std::string text = "Score: 1234\nExtreme Jump: 10 \u00e9\u07ff";
    for (unsigned c = 32; c < 127; ++c) text += char(c);
    if (CCLabelBMFont* label = CCLabelBMFont::labelWithString(text, path)) {
        fuzzScene()->addChild(label);
        label->setString("0\n\n1");
        label->setAnchorPoint(CGPointMake(0, 1));
        fuzzDrawFrames(1);
        fuzzScene()->removeChild(label, true);
    }
    cache->removeAllTextures();
    return 0;
}
