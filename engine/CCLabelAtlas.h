#pragma once
// Text from a character map: an image of equally sized cells, one per character code
// starting at mapStartChar, laid out row by row.
#include <string>

#include "CCAtlasNode.h"

class CCLabelAtlas : public CCAtlasNode {
public:
    static CCLabelAtlas* labelWithString(const std::string& string, const std::string& charMapFile, int itemWidth,
                                         int itemHeight, char startCharMap);
    static CCLabelAtlas* labelAtlasWithString(const std::string& string, const std::string& charMapFile,
                                              int itemWidth, int itemHeight, char startCharMap) {
        return labelWithString(string, charMapFile, itemWidth, itemHeight, startCharMap);
    }
    bool initWithString(const std::string& string, const std::string& charMapFile, int itemWidth, int itemHeight,
                        char startCharMap);

    // One cell per byte.
    void setString(const std::string& string);
    const std::string& string() const { return string_; }
    void updateAtlasValues() override;

protected:
    unsigned quadsToDraw() const override { return unsigned(string_.size()); }

private:
    std::string string_;
    char mapStartChar = 0;
};
