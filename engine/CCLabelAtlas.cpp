#include "CCLabelAtlas.h"

#include "CCTexture2D.h"

CCLabelAtlas* CCLabelAtlas::labelWithString(const std::string& string, const std::string& charMapFile,
                                            int itemWidth, int itemHeight, char startCharMap) {
    return ccCreate<CCLabelAtlas>([&](CCLabelAtlas* l) {
        return l->initWithString(string, charMapFile, itemWidth, itemHeight, startCharMap);
    });
}

bool CCLabelAtlas::initWithString(const std::string& string, const std::string& charMapFile, int itemWidth,
                                  int itemHeight, char startCharMap) {
    if (!initWithTileFile(charMapFile, itemWidth, itemHeight, unsigned(string.size()))) return false;
    mapStartChar = startCharMap;
    setString(string);
    return true;
}

void CCLabelAtlas::setString(const std::string& string) {
    if (string.size() > textureAtlas_->capacity()) textureAtlas_->resizeCapacity(unsigned(string.size()));
    string_ = string;
    updateAtlasValues();
    setContentSizeInPixels(CGSizeMake(float(string_.size() * unsigned(itemWidth_)), float(itemHeight_)));
}

void CCLabelAtlas::updateAtlasValues() {
    CCTexture2D* texture = textureAtlas_->texture();
    const float W = float(texture->pixelsWide()), H = float(texture->pixelsHigh());
    const float w = float(itemWidth_), h = float(itemHeight_);
    const unsigned n = std::min(unsigned(string_.size()), textureAtlas_->capacity());
    for (unsigned i = 0; i < n; i++) {
        ccV3F_C4B_T2F_Quad quad{};
        // A map narrower than one cell has no cells to show: the quad stays empty.
        if (itemsPerRow_ > 0) {
            const auto cell = std::uint8_t(std::uint8_t(string_[i]) - std::uint8_t(mapStartChar));
            const float row = float(cell / itemsPerRow_), col = float(cell % itemsPerRow_);
            const float left = (1 + 2 * col * w) / (2 * W), right = left + (2 * w - 2) / (2 * W);
            const float top = (1 + 2 * row * h) / (2 * H), bottom = top + (2 * h - 2) / (2 * H);
            const float x = float(i) * w;
            quad.tl = {{x, h, 0}, {}, {left, top}};
            quad.bl = {{x, 0, 0}, {}, {left, bottom}};
            quad.tr = {{x + w, h, 0}, {}, {right, top}};
            quad.br = {{x + w, 0, 0}, {}, {right, bottom}};
        }
        textureAtlas_->updateQuad(quad, i);
    }
}
