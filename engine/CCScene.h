#pragma once
// The root of a node tree that the director runs: screen-sized and centred.
#include "CCNode.h"

class CCScene : public CCNode {
public:
    static CCScene* node();
    // Anchor (0.5, 0.5), not relative, content size = the director's winSize.
    bool init() override;
};
