#pragma once
// The title scene: the full-screen picture, "LITE VERSION" and a pulsing "Touch to Play". The
// first touch anywhere starts the game through a one-second fade; while the scene is up the
// application shows its HELP button.
#include "CCScene.h"
#include "CCTouchDelegateProtocol.h"

class CCLabelTTF;
class CCSprite;

class SplashLayer : public CCScene, public CCTargetedTouchDelegate {
public:
    // A new, autoreleased title scene.
    static SplashLayer* scene();
    static SplashLayer* node();

    bool init() override;
    ~SplashLayer() override;

    bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
    // Withdraws the title's user interface and starts the picture's fade.
    void clear();
    void transitionDone();
    // Frees the picture and its texture.
    void removeFromSuper();

    CCSprite* splashNode() const { return splashNode_; }
    CCLabelTTF* hello() const { return hello_; }
    bool isClearing() const { return isClearing_; }

private:
    CCSprite* splashNode_ = nullptr; // child
    bool isClearing_ = false;
    CCLabelTTF* hello_ = nullptr;    // child
};
