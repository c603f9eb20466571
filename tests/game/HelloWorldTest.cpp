#include <cmath>

#include "CCArray.h"
#include "CCIntervalActions.h"
#include "CCLabelTTF.h"
#include "CCLabelBMFont.h"
#include "CCParticleSystem.h"
#include "CCSprite.h"
#include "GameSpriteDropped.h"
#include "HelloWorldScene.h"
#include "UIAlertView.h"
#include "game/GameTestSupport.h"

namespace {

constexpr float kFrame = CCClock::kRefreshPeriodMicros * 1e-6f;

TEST(Intersects, NeedsOverlapWithPositiveArea) {
    const CGRect cat{{100, 0}, {50, 40}};
    EXPECT_TRUE(intersects(CGRect{{140, 30}, {20, 20}}, cat));
    EXPECT_TRUE(intersects(CGRect{{90, -10}, {100, 100}}, cat)); // the item holds the cat
    EXPECT_FALSE(intersects(CGRect{{150, 10}, {20, 20}}, cat));  // touching at the right edge
    EXPECT_FALSE(intersects(CGRect{{80, 10}, {20, 20}}, cat));   // touching at the left edge
    EXPECT_FALSE(intersects(CGRect{{120, 40}, {20, 20}}, cat));  // touching on top
    EXPECT_FALSE(intersects(CGRect{{0, 0}, {10, 10}}, cat));
}

class GameLayerTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        HelloWorldScene* scene = HelloWorld::scene();
        ASSERT_NE(scene, nullptr);
        game = scene->layer();
        run(scene);
        game->applyTilt(0); // 251 points a second
    }
    GameSpriteDropped* saw(float x, float y) {
        GameSpriteDropped* s = game->drop(GameDrop::RegularSaw);
        s->setPosition(CGPoint{x, y});
        return s;
    }
    bool holds(CCNode* item) const { return game->items()->containsObject(item) && item->parent() == game; }
    std::string scoreText() const { return game->scoreLabel()->string(); }
    // A saw right on the cat, left of the untested part of the screen.
    GameSpriteDropped* sawOnCat() { return saw(game->cat()->position().x, 25); }
    float catX() const { return game->cat()->position().x; }

    HelloWorld* game = nullptr;
};

TEST_F(GameLayerTest, StartsWithItsFieldsAndNothingMovesBeforeTheFirstReading) {
    HelloWorld* fresh = HelloWorld::node();
    EXPECT_EQ(fresh->scrollSpeed(), 0);
    EXPECT_FLOAT_EQ(fresh->jumpAmt(), 110);
    EXPECT_FLOAT_EQ(fresh->dropInterval(), 2.7f);
    EXPECT_FLOAT_EQ(fresh->runFrameInterval(), 0.0769231f);
    EXPECT_EQ(fresh->extremeSecondsLeft(), 10);
    EXPECT_FALSE(fresh->countdownLabel()->visible());
    EXPECT_EQ(fresh->scoreLabel()->string(), "0");
    EXPECT_EQ(fresh->cat()->position().x, 175);
    GameSpriteDropped* s = fresh->drop(GameDrop::LargeSaw);
    fresh->go(kFrame);
    EXPECT_EQ(s->position().x, 530); // no speed yet
    EXPECT_FLOAT_EQ(s->rotation(), -4.2f); // spins at its base rate
    EXPECT_EQ(s->randNumb(), 1);
}

TEST_F(GameLayerTest, DropIntervalShrinksToItsFloor) {
    HelloWorld* fresh = HelloWorld::node(); // no tilt yet: nothing moves or leaves
    auto regularSaws = [&] {
        unsigned n = 0;
        for (unsigned i = 0; i < fresh->items()->count(); ++i) {
            auto* item = static_cast<GameSpriteDropped*>(fresh->items()->objectAtIndex(i));
            n += item->tag() == kGameItemSaw && item->position().y >= 15 && item->scale() != 0.25f;
        }
        return n;
    };
    float seconds = 0;
    while (regularSaws() < 130 && seconds < 400) {
        fresh->go(0.01f);
        seconds += 0.01f;
    }
    EXPECT_NEAR(fresh->dropInterval(), 0.7534f, 1e-4);
    const unsigned before = regularSaws();
    for (int i = 0; i < 754; ++i) fresh->go(0.01f);
    EXPECT_EQ(regularSaws(), before + 10); // one every 0.7534 s
}

TEST_F(GameLayerTest, TiltSetsSpeedsAndRunFrameInterval) {
    game->applyTilt(0);
    EXPECT_FLOAT_EQ(game->scrollSpeed(), 251);
    EXPECT_FLOAT_EQ(game->runFrameInterval(), 0.1f);
    EXPECT_NEAR(game->tiltFactor(), 0.1053f, 1e-4);
    EXPECT_NEAR(game->starStream()->speed(), 179.2f, 0.05f);
    game->applyTilt(0.5);
    EXPECT_FLOAT_EQ(game->scrollSpeed(), 215);
    EXPECT_NEAR(game->runFrameInterval(), 0.1333f, 1e-4);
    game->applyTilt(-0.5);
    EXPECT_FLOAT_EQ(game->scrollSpeed(), 287);
    EXPECT_NEAR(game->tiltFactor(), 0.1429f, 1e-4);

    // Past one g the formulas still hold: at 1.5 g both ways their own values.
    game->applyTilt(1.5);
    EXPECT_FLOAT_EQ(game->scrollSpeed(), 143);
    EXPECT_FLOAT_EQ(game->runFrameInterval(), 0.4f);
    EXPECT_FLOAT_EQ(game->tiltFactor(), 1.0f / 17);
    game->applyTilt(-1.5);
    EXPECT_FLOAT_EQ(game->scrollSpeed(), 359);
    EXPECT_FLOAT_EQ(game->runFrameInterval(), 1.0f / 17.5f);
    EXPECT_FLOAT_EQ(game->tiltFactor(), 0.5f);

    // Near and past the divisions by zero (-1.9 g, 2 g) a reading is held at -1.7 g or 1.8 g:
    // speeds stay finite and the world keeps its direction.
    for (double shake : {-1.9, -3.0, 1.9, 2.0, 4.0, double(NAN)}) {
        game->applyTilt(shake);
        const float speed = game->scrollSpeed(), factor = game->tiltFactor(), interval = game->runFrameInterval();
        game->applyTilt(std::isnan(shake) ? 0 : shake < 0 ? -1.7 : 1.8);
        EXPECT_EQ(speed, game->scrollSpeed()) << shake;
        EXPECT_EQ(factor, game->tiltFactor()) << shake;
        EXPECT_EQ(interval, game->runFrameInterval()) << shake;
        EXPECT_GT(speed, 0);
        EXPECT_GT(factor, 0);
        EXPECT_LE(factor, 1.0001f);
        EXPECT_GT(interval, 0);
        EXPECT_LE(interval, 1.0001f);
    }
    // The fastest world moves a saw 13 points in a frame, not off the screen.
    GameSpriteDropped* s = saw(280, 15);
    game->applyTilt(-1.9);
    game->go(kFrame);
    EXPECT_TRUE(holds(s));
    EXPECT_NEAR(s->position().x, 280 - kFrame * 373.4f * 2.1f, 0.05f);
    EXPECT_EQ(game->score(), 0u);
}

TEST_F(GameLayerTest, TwoSawsLeavingInOneFrameEachScoreAndOthersMoveOnce) {
    GameSpriteDropped* a = saw(-4, 15);
    GameSpriteDropped* coin = game->drop(GameDrop::Coin);
    coin->setPosition(CGPoint{400, 80});
    GameSpriteDropped* b = saw(-10, 15);
    GameSpriteDropped* c = saw(350, 15);
    a->retain(), b->retain();
    game->go(kFrame);
    EXPECT_EQ(game->score(), 40u);
    EXPECT_EQ(scoreText(), "40");
    EXPECT_FALSE(holds(a));
    EXPECT_FALSE(holds(b));
    const float n = game->tiltFactor();
    EXPECT_FLOAT_EQ(coin->position().x, 400 - (kFrame * 251) * (0.8f + n * 0.98f));
    EXPECT_FLOAT_EQ(c->position().x, 350 - (kFrame * 251) * (1.0f + n * 1.1f));
    a->release(), b->release();
}

TEST_F(GameLayerTest, ItemsInTheRightPartAreNeverTested) {
    game->cat()->setPosition(CGPoint{320, 25});
    GameSpriteDropped* s = saw(300, 25);
    GameSpriteDropped* coin = game->drop(GameDrop::Coin);
    coin->setPosition(CGPoint{310, 25});
    game->go(kFrame);
    EXPECT_TRUE(holds(s));
    EXPECT_TRUE(holds(coin));
    EXPECT_FALSE(game->countdownLabel()->visible());
    EXPECT_EQ(game->cat()->children() ? game->cat()->children()->count() : 0u, 0u); // no blood

    ASSERT_LT(s->position().x, 300);
    game->go(kFrame); // now left of 300 before its move: tested and hit
    EXPECT_FALSE(holds(s));
    EXPECT_EQ(game->cat()->children()->count(), 1u);
    EXPECT_TRUE(holds(coin));
}

TEST_F(GameLayerTest, SawHitPushesTheCatBackThirteenStepsAfterItLands) {
    game->ccTouchBegan(nullptr, nullptr);
    ASSERT_TRUE(game->isJumping());
    sawOnCat();
    frame();
    ASSERT_EQ(game->cat()->children()->count(), 1u); // the blood burst
    const float startX = catX();
    frames(20);
    EXPECT_EQ(catX(), startX); // waits for the landing
    EXPECT_EQ(game->pushBackSteps(), 0);
    frames(60); // the jump (1.067 s) ends
    ASSERT_FALSE(game->isJumping());
    frames(20);
    EXPECT_NEAR(catX(), 175 - 13 * 1.637, 1e-3);
    EXPECT_EQ(game->pushBackSteps(), 0);
    EXPECT_FALSE(game->hasDied());
    // The burst (half a second of particles living 0.59 s) has left the cat once spent.
    EXPECT_EQ(game->cat()->children()->count(), 0u);
}

TEST_F(GameLayerTest, SecondHitDuringAPushBackDoesNotLengthenIt) {
    sawOnCat();
    frame();
    frames(5);
    ASSERT_GT(game->pushBackSteps(), 0);
    sawOnCat();
    frame();
    frames(30);
    EXPECT_NEAR(catX(), 175 - 13 * 1.637, 1e-3);
    EXPECT_EQ(game->cat()->children()->count(), 2u); // both bursts still show
}

TEST_F(GameLayerTest, SeventhHitFeedsTheCatToTheDogAndTryAgainBringsItBack) {
    for (int hit = 0; hit < 7; ++hit) {
        sawOnCat();
        frames(16);
    }
    EXPECT_TRUE(game->hasDied());
    EXPECT_FLOAT_EQ(catX(), 31);
    EXPECT_EQ(scoreText(), "0");
    EXPECT_FLOAT_EQ(game->dropInterval(), 2.7f);
    UIAlertView* alert = UIApplication::sharedApplication()->visibleAlertView();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "OH NO!!");
    EXPECT_EQ(alert->message(), "You got eaten by the dog!");
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Try again");

    GameSpriteDropped* s = saw(400, 15);
    s->retain();
    frame();
    EXPECT_FALSE(holds(s)); // everything goes while the cat is caught
    s->release();

    alert->pressButtonAtIndex(0);
    EXPECT_FALSE(game->hasDied());
    frames(61);
    EXPECT_FLOAT_EQ(catX(), 160);
    EXPECT_EQ(game->cat()->opacity(), 255);
}

TEST_F(GameLayerTest, JumpLastsByItsHeightAndIgnoresTapsInTheAir) {
    game->ccTouchBegan(nullptr, nullptr);
    CCPtr<CCJumpTo> first = game->lastJump(); // kept, so a new jump cannot reuse its address
    ASSERT_NE(first, nullptr);
    EXPECT_FLOAT_EQ(first->duration(), 1.067f);
    game->ccTouchBegan(nullptr, nullptr);
    EXPECT_EQ(game->lastJump(), first);
    EXPECT_EQ(game->runFrame(), 2u);
    frames(66);
    EXPECT_FALSE(game->isJumping());
    EXPECT_FLOAT_EQ(catX(), 175);
    game->ccTouchBegan(nullptr, nullptr); // right after landing
    EXPECT_NE(game->lastJump(), first);
}

TEST_F(GameLayerTest, CoinStartsTheExtremeJumpCountdownOnce) {
    GameSpriteDropped* coin = game->drop(GameDrop::Coin);
    coin->setPosition(CGPoint{175, 30});
    frame();
    EXPECT_FALSE(holds(coin));
    EXPECT_TRUE(game->hasCollidedWithGood());
    EXPECT_TRUE(game->countdownLabel()->visible());
    EXPECT_EQ(game->countdownLabel()->string(), "Extreme Jump: 10");
    EXPECT_FLOAT_EQ(game->jumpAmt(), 165);
    game->ccTouchBegan(nullptr, nullptr);
    EXPECT_FLOAT_EQ(game->lastJump()->duration(), 1.6005f);

    // A second coin while the banner fades flies on.
    GameSpriteDropped* second = game->drop(GameDrop::Coin);
    second->setPosition(CGPoint{175, 30});
    frame();
    EXPECT_TRUE(holds(second));
    frames(62); // the banner is gone after 1 s
    EXPECT_FALSE(game->hasCollidedWithGood());
    EXPECT_EQ(game->countdownLabel()->string(), "Extreme Jump: 9");

    // Taken now, it re-times the countdown without restarting it.
    second->setPosition(game->cat()->position());
    frame();
    EXPECT_FALSE(holds(second));
    frames(60);
    EXPECT_EQ(game->countdownLabel()->string(), "Extreme Jump: 8");
    frames(60 * 8 + 5);
    EXPECT_FALSE(game->countdownLabel()->visible());
    EXPECT_FLOAT_EQ(game->jumpAmt(), 110);
    EXPECT_EQ(game->extremeSecondsLeft(), 10);
}

TEST_F(GameLayerTest, BonusAddsFiftyAndEachLabelLeavesAfterItsShrink) {
    GameSpriteDropped* one = game->drop(GameDrop::Bonus);
    one->setPosition(CGPoint{175, 25});
    frame();
    CCNode* firstLabel = game->bonusLabel();
    ASSERT_NE(firstLabel, nullptr);
    EXPECT_EQ(game->score(), 50u);
    frames(30);
    GameSpriteDropped* two = game->drop(GameDrop::Bonus);
    two->setPosition(CGPoint{175, 25});
    frame();
    CCNode* secondLabel = game->bonusLabel();
    EXPECT_EQ(scoreText(), "100");
    firstLabel->retain();
    frames(70);
    EXPECT_EQ(firstLabel->parent(), nullptr);
    EXPECT_EQ(secondLabel->parent(), game);
    frames(40);
    EXPECT_EQ(game->bonusLabel(), nullptr);
    firstLabel->release();
}

TEST_F(GameLayerTest, WithdrawsTouchAndTiltWhenItLeavesTheStage) {
    EXPECT_EQ(UIAccelerometer::sharedAccelerometer()->delegate(), game);
    director->replaceScene(CCScene::node());
    frame();
    EXPECT_EQ(UIAccelerometer::sharedAccelerometer()->delegate(), nullptr);
    for (auto& handler : CCTouchDispatcher::sharedDispatcher()->targetedHandlers())
        EXPECT_NE(handler->delegate(), static_cast<CCObject*>(game));
}

} // namespace
