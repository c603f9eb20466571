#pragma once
// An off-screen effect a node can draw through. Nothing in the game uses one; a node only
// calls it when a grid has been set.
#include "CCObject.h"

class CCNode;

class CCGridBase : public CCObject {
public:
    virtual bool active() const = 0;
    // Redirects drawing before the node's subtree is drawn.
    virtual void beforeDraw() = 0;
    // Renders the captured subtree of the target.
    virtual void afterDraw(CCNode* target) = 0;
};
