#include "GameAutopilot.h"

#include "CCArray.h"
#include "CCDirector.h"
#include "CCSprite.h"
#include "GameSpriteDropped.h"
#include "HelloWorldScene.h"
#include "SplashLayer.h"
#include "UIAlertView.h"
#include "UIApplication.h"

namespace {
// View point (portrait, origin top-left) of the middle of the landscape screen.
constexpr CGPoint kMiddle{160, 240};
// How long the autopilot looks at a screen before it answers it, in frames.
constexpr uint64_t kTitleWait = 60;
constexpr uint64_t kAlertWait = 60;
long nextFinger = 1000;
} // namespace

void GameAutopilot::tap(double now) {
    UIApplication* app = UIApplication::sharedApplication();
    long finger = nextFinger++;
    app->sendTouch(finger, UITouchPhaseBegan, kMiddle, now);
    app->sendTouch(finger, UITouchPhaseEnded, kMiddle, now);
}

bool GameAutopilot::shouldJump(const HelloWorld* game) {
    if (game->isJumping() || game->hasDied()) return false;
    const float speed = game->scrollSpeed();
    if (speed <= 0) return false;
    const CGRect catBox = game->cat()->boundingBox();
    const float catFront = catBox.origin.x + catBox.size.width;
    const float halfJump = game->jumpAmt() * 0.0097f * 0.5f;
    const float tilt = game->tiltFactor();
    CCArray* items = game->items();
    for (unsigned i = 0; i < items->count(); ++i) {
        auto* item = static_cast<GameSpriteDropped*>(items->objectAtIndex(i));
        // How fast each kind comes at the cat (the tick's rules).
        float itemSpeed = speed + 18;
        if (item->tag() == kGameItemSaw) itemSpeed = speed * (1.0f + tilt * 1.1f);
        else if (item->tag() == kGameItemCoin) itemSpeed = speed * (0.8f + tilt * 0.98f);
        // Coins only count while no banner blocks them.
        if (item->tag() == kGameItemCoin && game->hasCollidedWithGood()) continue;
        const CGRect box = item->boundingBox();
        if (box.origin.x + box.size.width <= catBox.origin.x) continue; // behind the cat already
        const float gap = box.origin.x - catFront;
        // Saws: leave the ground a little early so the cat is high when the teeth arrive.
        // Coins and bonuses: be near the top of the jump when they arrive.
        const float lead = item->tag() == kGameItemSaw ? 0.8f : 1.0f;
        if (gap < itemSpeed * halfJump * lead) return true;
    }
    return false;
}

void GameAutopilot::afterFrame(uint64_t frame, double now) {
    UIApplication* app = UIApplication::sharedApplication();
    if (UIAlertView* alert = app->visibleAlertView()) {
        if (!alertSince_) alertSince_ = frame;
        if (frame - alertSince_ >= kAlertWait) {
            alertSince_ = 0;
            alert->pressButtonAtIndex(0);
        }
        return;
    }
    alertSince_ = 0;
    CCScene* scene = CCDirector::sharedDirector()->runningScene();
    if (auto* title = dynamic_cast<SplashLayer*>(scene)) {
        if (title->isClearing()) return;
        if (!titleSince_) titleSince_ = frame;
        if (frame - titleSince_ >= kTitleWait) {
            titleSince_ = 0;
            tap(now);
        }
        return;
    }
    titleSince_ = 0;
    if (auto* game = dynamic_cast<HelloWorldScene*>(scene); game && shouldJump(game->layer())) tap(now);
}
