#pragma once
// Fades the screen to a colour over the first half, swaps the scenes underneath, and fades
// the colour away over the second half.
#include "CCTransitionScene.h"

// Tag of the fade's colour layer.
constexpr int kSceneFade = static_cast<int>(0xFADEFADE);

class CCTransitionFade : public CCTransitionScene {
public:
    static CCTransitionFade* transitionWithDuration(ccTime duration, CCScene* scene);
    static CCTransitionFade* transitionWithDuration(ccTime duration, CCScene* scene, ccColor3B color);
    // Black.
    bool initWithDuration(ccTime duration, CCScene* scene) override;
    bool initWithDuration(ccTime duration, CCScene* scene, ccColor3B color);

    void onEnter() override;
    void onExit() override;

    ccColor4B color() const { return color_; }

private:
    ccColor4B color_{0, 0, 0, 0};
};
