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
    const float duration = game->jumpAmt() * 0.0097f;
    const float tilt = game->tiltFactor();

    // When each item overlaps the cat's column, in seconds from now.
    struct Window {
        float enter, exit;
        float middle() const { return (enter + exit) * 0.5f; }
    };
    auto windowOf = [&](GameSpriteDropped* item) {
        float v = speed + 18; // the tick's speeds per kind
        if (item->tag() == kGameItemSaw) v = speed * (1.0f + tilt * 1.1f);
        else if (item->tag() == kGameItemCoin) v = speed * (0.8f + tilt * 0.98f);
        const CGRect box = item->boundingBox();
        return Window{(box.origin.x - (catBox.origin.x + catBox.size.width)) / v,
                      (box.origin.x + box.size.width - catBox.origin.x) / v};
    };
    // A jump started now clears a saw that passes while the cat is high, or after it lands.
    auto clears = [&](const Window& w) {
        return (w.enter >= 0.12f * duration && w.exit <= 0.88f * duration) || w.enter >= duration;
    };

    bool sawsCleared = true;
    bool prize = false;
    CCArray* items = game->items();
    for (unsigned i = 0; i < items->count(); ++i) {
        auto* item = static_cast<GameSpriteDropped*>(items->objectAtIndex(i));
        const Window w = windowOf(item);
        if (w.exit <= 0 || item->position().x >= 480) continue; // gone by, or not on screen yet
        if (item->tag() == kGameItemSaw) {
            // The latest moment that puts the saw's passage under the top of the jump.
            if (w.middle() <= duration * 0.5f) return true;
            sawsCleared = sawsCleared && clears(w);
        } else if (item->tag() != kGameItemCoin || !game->hasCollidedWithGood()) {
            prize = prize || w.middle() <= duration * 0.5f;
        }
    }
    return prize && sawsCleared;
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
