#pragma once
// The game: one layer holding the cat, the items that scroll in from the right, the score and
// the effects, with the whole state of a game in its fields. Its rules are the per-frame tick
// go:, the push-back timer that a saw hit starts and the extreme-jump countdown.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "CCLayer.h"
#include "CCScene.h"
#include "CCPtr.h"
#include "GameSpriteDropped.h"
#include "MZButtonNode.h"
#include "UIAlertViewDelegate.h"

class CCArray;
class CCJumpTo;
class CCLabelBMFont;
class CCLabelTTF;
class CCParticleSystem;
class CCSprite;
class GameSpriteDropped;

// Item kinds are node tags.
enum {
    kGameItemSaw = 1,
    kGameItemCoin = 2,
    kGameItemBonus = 3,
};

// The items the tick drops, with where they appear.
enum class GameDrop { LargeSaw, RegularSaw, RareSawA, RareSawB, Coin, Bonus };

// True when the rectangles (origin x, origin y, width, height) overlap with positive area;
// rectangles that only touch do not.
bool intersects(float itemX, float itemY, float itemWidth, float itemHeight, float catX, float catY, float catWidth,
                float catHeight);
bool intersects(const CGRect& item, const CGRect& cat);

class HelloWorldScene;

class HelloWorld : public CCLayer, public UIAlertViewDelegate, public MZButtonDelegate {
public:
    // A new, autoreleased game: a scene whose only child is a new game layer.
    static HelloWorldScene* scene();
    static HelloWorld* node();

    bool init() override;
    ~HelloWorld() override;

    // Touch and tilt registrations are withdrawn when the layer leaves the stage.
    void onExit() override;

    // ---- rules ----
    void go(float dt);
    void mainBackTimer(float dt);
    void okGo(float dt);
    // Adds an item at the right edge to the layer and to the item list.
    GameSpriteDropped* drop(GameDrop kind);

    // ---- input ----
    bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
    void accelerometer(UIAccelerometer* accelerometer, UIAcceleration* acceleration) override;
    // Tilt reading y (units of gravity) as the accelerometer gives it.
    void applyTilt(double y);
    void animationDone();
    void animDone2();
    void animDone3(CCNode* sender);
    void alertViewDidDismissWithButtonIndex(UIAlertView* alertView, int buttonIndex) override;
    void didPressDown() override;
    void stoppedPressing() override;
    void didPressButton() override;

    // ---- state, read-only for the runner's autopilot and for tests ----
    CCSprite* cat() const { return hi_; }
    MZButtonNode* backButton() const { return back_; }
    CCArray* items() const { return main_; }
    CCLabelBMFont* scoreLabel() const { return hic_; }
    CCLabelBMFont* countdownLabel() const { return wow_; }
    CCLabelTTF* bannerLabel() const { return label_; }
    CCLabelTTF* bonusLabel() const { return second_; }
    CCParticleSystem* starStream() const { return hid_; }
    CCJumpTo* lastJump() const { return ids_.get(); }
    unsigned score() const { return done_; }
    bool hasDied() const { return hasDied_; }
    bool isJumping() const { return hasTouched_; }
    bool hasCollidedWithGood() const { return hasCollidedWithGood_; }
    int extremeSecondsLeft() const { return c_; }
    float jumpAmt() const { return jumpAmt_; }
    int pushBackSteps() const { return timeTime_; }
    float scrollSpeed() const { return wholesale_; }
    float tiltFactor() const { return newNow_; }
    float runFrameInterval() const { return now_; }
    float dropInterval() const { return newed_; }
    unsigned runFrame() const { return mainOne_; }

private:
    void removeItem(GameSpriteDropped* item);
    void addScore(unsigned points, const char* reason);
    void showScore();
    void sawHit(GameSpriteDropped* saw);
    void takeCoin(GameSpriteDropped* coin);
    void takeBonus(GameSpriteDropped* bonus);
    void caught();
    void stopListening();

    CCPtr<CCJumpTo> ids_;           // the last jump, held until the next one
    MZButtonNode* back_ = nullptr;  // child
    bool hasDied_ = false;
    std::set<std::string> unavailable_; // item pictures that did not load, not tried again
    int c_ = 0;
    CCLabelTTF* second_ = nullptr;  // the latest bonus label, a child while it flies
    bool hasCollidedWithGood_ = false;
    CCPtr<CCArray> main_;
    // The items a tick visits, kept from tick to tick (a tick inside a tick makes its own).
    std::vector<CCPtr<GameSpriteDropped>> sweep_;
    bool hasTouched_ = false;
    CCPtr<CCSprite> hi_;
    CCPtr<CCTexture2D> runFrames_[4]; // the cat's run, cat_1 to cat_4
    float jumpAmt_ = 0;
    CCLabelBMFont* wow_ = nullptr;  // child
    CCLabelBMFont* hic_ = nullptr;  // child
    CCParticleSystem* hid_ = nullptr; // child
    int timeTime_ = 0;
    CCPtr<CCLabelTTF> label_;
    float wholesale_ = 0;
    float newed_ = 0;
    float now_ = 0;
    unsigned done_ = 0;
    double timeSinceLastDrop_ = 0;
    float timeAnimate_ = 0;
    std::uint16_t mainOne_ = 0;
    float newNow_ = 0;
    bool listening_ = false;
    bool backLooksPressed_ = false;
};

// The scene the director runs for a game: it holds the game layer and nothing else.
class HelloWorldScene : public CCScene {
public:
    static HelloWorldScene* sceneWithLayer(HelloWorld* layer);
    HelloWorld* layer() const { return layer_; }

private:
    HelloWorld* layer_ = nullptr; // child
};
