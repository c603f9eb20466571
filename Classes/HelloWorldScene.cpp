#include "HelloWorldScene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCArray.h"
#include "CCDirector.h"
#include "CCIntervalActions.h"
#include "CCLabelBMFont.h"
#include "CCLabelTTF.h"
#include "CCLog.h"
#include "CCScopeGuard.h"
#include "CCSprite.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "CCTrace.h"
#include "CCTransitionFade.h"
#include "GameSpriteDropped.h"
#include "Parts.h"
#include "SplashLayer.h"
#include "UIAccelerometer.h"
#include "UIAlertView.h"
#include "ZorvikAppDelegate.h"

namespace {

// Items enter beyond the right edge; nothing is tested while it is in the right part of the screen.
constexpr float kEntryX = 530;
constexpr float kUntestedFromX = 300;
// The dog waits at the left edge.
constexpr float kDogX = 30;
constexpr float kCaughtX = 31;
constexpr double kPushStep = 1.637;
constexpr int kPushSteps = 13;
constexpr float kFirstDropInterval = 2.7f;
constexpr double kDropIntervalFloor = 0.76;
constexpr float kNormalJump = 110;
constexpr float kExtremeJump = 165;
constexpr int kExtremeSeconds = 10;
constexpr unsigned kSawPoints = 20;
constexpr unsigned kBonusPoints = 50;
const char* const kFont = "greenFont.fnt";
constexpr float kTiltLowest = -1.7f;
constexpr float kTiltHighest = 1.8f;
const char* const kTTFFont = "Marker Felt";

CCTexture2D* cachedTexture(const char* name) { return CCTextureCache::sharedTextureCache()->addImage(name); }

constexpr const char* kRunFrames[] = {"cat_1.png", "cat_2.png", "cat_3.png", "cat_4.png"};

const char* dropName(GameDrop kind) {
    switch (kind) {
    case GameDrop::LargeSaw: return "saw-large";
    case GameDrop::RegularSaw: return "saw";
    case GameDrop::RareSawA: return "saw-rare-a";
    case GameDrop::RareSawB: return "saw-rare-b";
    case GameDrop::Coin: return "coin";
    case GameDrop::Bonus: return "bonus";
    }
    return "";
}

CCLabelTTF* newBanner() {
    return ccNew<CCLabelTTF>([](CCLabelTTF* l) { return l->initWithString("Extreme Jump", kTTFFont, 64); });
}

} // namespace

bool intersects(float itemX, float itemY, float itemWidth, float itemHeight, float catX, float catY, float catWidth,
                float catHeight) {
    return itemX < catX + catWidth && catX < itemX + itemWidth && itemY < catY + catHeight &&
           catY < itemY + itemHeight;
}

bool intersects(const CGRect& item, const CGRect& cat) {
    return intersects(item.origin.x, item.origin.y, item.size.width, item.size.height, cat.origin.x, cat.origin.y,
                      cat.size.width, cat.size.height);
}

HelloWorld* HelloWorld::node() {
    return ccCreate<HelloWorld>([](HelloWorld* l) { return l->init(); });
}

HelloWorldScene* HelloWorld::scene() {
    HelloWorld* layer = node();
    return layer ? HelloWorldScene::sceneWithLayer(layer) : nullptr;
}

HelloWorldScene* HelloWorldScene::sceneWithLayer(HelloWorld* layer) {
    return ccCreate<HelloWorldScene>([layer](HelloWorldScene* s) {
        if (!s->init()) return false;
        s->addChild(layer);
        s->layer_ = layer;
        return true;
    });
}

bool HelloWorld::init() {
    if (!CCLayer::init()) return false;
    hasDied_ = false;
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, 10, false);
    listening_ = true;

    // A missing picture or font leaves no half-built layer behind, registered or not, and ends
    // the run: the game is not played without its cat, stars, button or score font.
    auto fail = [this](const char* what) {
        ZorvikAppDelegate::gameNeeds(what);
        stopListening();
        return false;
    };
    // The pictures the game switches to later are loaded now, so that none fails mid-game.
    for (const char* picture : {"back1.png", "cat_1.png", "cat_2.png", "cat_3.png", "cat_4.png", "test_image.pvr"})
        if (!cachedTexture(picture)) return fail(picture);
    // The run frames are switched every few frames: held here, not looked up each time.
    for (unsigned i = 0; i < std::size(runFrames_); ++i) runFrames_[i] = cachedTexture(kRunFrames[i]);
    MZButtonNode* button = ccNew<MZButtonNode>([](MZButtonNode* b) { return b->initWithFile("back2.png"); });
    if (!button) return fail("back2.png");
    button->setDelegate(this);
    button->texture()->setAliasTexParameters();
    // Drawn opaque, without blending.
    button->setBlendFunc(ccBlendFunc{GL_ONE, GL_ZERO});
    button->setPosition(CGPoint{40, 250});
    addChild(button, 10);
    back_ = button;
    button->release();

    c_ = kExtremeSeconds;
    label_ = CCPtr<CCLabelTTF>::adopt(newBanner());
    hasTouched_ = false;
    newed_ = kFirstDropInterval;
    now_ = 0.0769231f;
    done_ = 0;
    jumpAmt_ = kNormalJump;
    timeTime_ = 0;
    main_ = CCPtr<CCArray>::adopt(ccNew<CCArray>([](CCArray* a) { return a->init(); }));
    hi_ = CCPtr<CCSprite>::adopt(
        ccNew<CCSprite>([](CCSprite* s) { return s->initWithTexture(cachedTexture("cat_2.png")); }));
    if (!hi_) return fail("cat_2.png");
    if (!label_) return fail("the banner label");

    CCParticleStar* stars = ccNew<CCParticleStar>([](CCParticleStar* p) { return p->init(); });
    if (!stars) return fail("the star stream");
    stars->setTexture(cachedTexture("test_image.pvr"));
    addChild(stars);
    stars->setPosition(CGPoint{480, 160});
    stars->texture()->setAliasTexParameters();
    hid_ = stars;
    stars->release();

    hi_->setPosition(CGPoint{175, 25});
    hi_->setScale(0.69f);
    schedule(schedule_selector(HelloWorld::go));
    addChild(hi_);

    hic_ = CCLabelBMFont::labelWithString("0", kFont);
    wow_ = CCLabelBMFont::labelWithString("Extreme Jump: 10", kFont);
    if (!hic_ || !wow_) return fail(kFont);
    addChild(hic_, 1000);
    wow_->setPosition(CGPoint{350, 230});
    wow_->setVisible(false);
    wow_->texture()->setAliasTexParameters();
    addChild(wow_);
    hic_->setPosition(CGPoint{400, 250});
    hic_->texture()->setAliasTexParameters();

    UIAccelerometer* accelerometer = UIAccelerometer::sharedAccelerometer();
    accelerometer->setUpdateInterval(0.1);
    accelerometer->setDelegate(this);
    return true;
}

HelloWorld::~HelloWorld() { stopListening(); }

void HelloWorld::stopListening() {
    if (!listening_) return;
    listening_ = false;
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
    UIAccelerometer* accelerometer = UIAccelerometer::sharedAccelerometer();
    if (accelerometer->delegate() == this) accelerometer->setDelegate(nullptr);
}

void HelloWorld::onExit() {
    stopListening();
    CCLayer::onExit();
}

// ---------------------------------------------------------------------------------------------
// The tick

GameSpriteDropped* HelloWorld::drop(GameDrop kind) {
    const char* file = "sparkleSpin.png";
    float y = 15, scale = 0.29f;
    int tag = kGameItemSaw, randNumb = 0;
    switch (kind) {
    case GameDrop::LargeSaw: file = "hammer.png", y = 20, scale = 0.35f, randNumb = 1; break;
    case GameDrop::RegularSaw: break;
    case GameDrop::RareSawA: scale = 0.25f; break;
    case GameDrop::RareSawB: y = 10, scale = 0.2f; break;
    case GameDrop::Coin: file = "coinsmall.png", y = 80, scale = 1, tag = kGameItemCoin; break;
    case GameDrop::Bonus: file = "plus.png", y = 170, scale = 0.3f, tag = kGameItemBonus; break;
    }
    // An item whose picture does not load is left out of the game, said once.
    if (unavailable_.count(file)) return nullptr;
    GameSpriteDropped* item = GameSpriteDropped::spriteWithFile(file);
    if (!item) {
        unavailable_.insert(file);
        CCLog("The game goes on without %s: the items drawn with it are left out", file);
        CCTrace::event("item-unavailable", {{"kind", dropName(kind)}, {"file", file}});
        return nullptr;
    }
    item->setPosition(CGPoint{kEntryX, y});
    if (scale != 1) item->setScale(scale);
    item->setTag(tag);
    item->setRandNumb(randNumb);
    main_->addObject(item);
    addChild(item);
    CCTrace::event("spawn", [&] {
        return CCTraceFields{
            {"kind", dropName(kind)}, {"x", static_cast<double>(kEntryX)}, {"y", static_cast<double>(y)}};
    });
    return item;
}

void HelloWorld::removeItem(GameSpriteDropped* item) {
    main_->removeObject(item);
    removeChild(item, true);
}

void HelloWorld::showScore() { hic_->setString(std::to_string(done_)); }

void HelloWorld::addScore(unsigned points, const char* reason) {
    done_ += points;
    showScore();
    CCTrace::event("score", [&] {
        return CCTraceFields{{"score", static_cast<long long>(done_)},
                             {"change", static_cast<long long>(points)},
                             {"reason", reason}};
    });
}

void HelloWorld::go(float dt) {
    if (!hasDied_) {
        // Regular drops follow the drop interval, which shrinks to its floor.
        timeSinceLastDrop_ += dt;
        if (timeSinceLastDrop_ > newed_) {
            timeSinceLastDrop_ -= newed_;
            if (newed_ > kDropIntervalFloor) newed_ = static_cast<float>(newed_ * 0.99);
            drop(random() % 5 <= 1 ? GameDrop::RegularSaw : GameDrop::LargeSaw);
            if (random() % 5 <= 1 && !wow_->visible()) drop(GameDrop::Coin);
        } else if (random() % 2000 == 1) {
            drop(GameDrop::RareSawA);
        } else if (wow_->visible() && random() % 990 <= 2) {
            drop(GameDrop::Bonus);
        }
        if (random() % 1000 == 1) drop(GameDrop::RareSawB);

        // Run animation, paused while the cat is in the air.
        timeAnimate_ += dt;
        if (timeAnimate_ > now_ && !hasTouched_) {
            mainOne_ += 1;
            if (mainOne_ == 0 || mainOne_ > 4) mainOne_ = 1;
            hi_->setTexture(runFrames_[mainOne_ - 1]);
            timeAnimate_ = 0;
        }
    }

    // Every item present now is visited once, whatever the visits remove.
    std::vector<CCPtr<GameSpriteDropped>> sweep = std::move(sweep_);
    for (unsigned i = 0; i < main_->count(); ++i)
        sweep.emplace_back(static_cast<GameSpriteDropped*>(main_->objectAtIndex(i)));
    // Given back however the visits end.
    CCScopeGuard keep([this, &sweep] {
        sweep.clear();
        sweep_ = std::move(sweep);
    });

    for (const CCPtr<GameSpriteDropped>& ref : sweep) {
        GameSpriteDropped* item = ref.get();
        if (hasDied_) {
            removeItem(item);
            continue;
        }
        CGPoint p = item->position();
        switch (item->tag()) {
        case kGameItemSaw: {
            // Spin per frame, not per second.
            float spin = item->randNumb() == 1 ? 2.5f * newNow_ + 4.2f : 2.5f * newNow_ + 2.5f;
            item->setRotation(item->rotation() - spin);
            item->setPosition(CGPoint{p.x - (dt * wholesale_) * (1.0f + newNow_ * 1.1f), p.y});
            if (p.x >= kUntestedFromX) break;
            if (p.x < -3) {
                removeItem(item);
                addScore(kSawPoints, "saw-passed");
                break;
            }
            if (intersects(item->boundingBox(), hi_->boundingBox())) sawHit(item);
            break;
        }
        case kGameItemCoin:
            item->setPosition(CGPoint{p.x - (dt * wholesale_) * (0.8f + newNow_ * 0.98f), p.y});
            item->setRotation(item->rotation() + dt * -200);
            if (p.x >= kUntestedFromX) break;
            if (p.x < -3) {
                removeItem(item);
                break;
            }
            if (intersects(item->boundingBox(), hi_->boundingBox()) && !hasCollidedWithGood_) takeCoin(item);
            break;
        default:
            item->setPosition(CGPoint{p.x - (wholesale_ + 18) * dt, p.y});
            if (p.x >= kUntestedFromX) break;
            if (p.x < -2) {
                removeItem(item);
                break;
            }
            if (intersects(item->boundingBox(), hi_->boundingBox())) takeBonus(item);
            break;
        }
    }
}

void HelloWorld::sawHit(GameSpriteDropped* saw) {
    MZParticleBlood* blood = ccNew<MZParticleBlood>([](MZParticleBlood* b) { return b->initWithTotalParticles(100); });
    if (blood) {
        // A spent burst leaves the cat; kept, every hit would add one more drawn forever.
        blood->setAutoRemoveOnFinish(true);
        hi_->addChild(blood);
        blood->setTexture(cachedTexture("test_image.pvr"));
        CGSize box = hi_->boundingBox().size;
        blood->setPosition(CGPoint{30 + box.width * 0.5f, 25 + box.height * 0.5f});
    }
    CCTrace::event("saw-hit", [&] {
        return CCTraceFields{{"x", static_cast<double>(saw->position().x)},
                             {"catX", static_cast<double>(hi_->position().x)}};
    });
    removeItem(saw);
    // A hit during a running push-back only re-times the running timer.
    schedule(schedule_selector(HelloWorld::mainBackTimer), 1.0f / 60);
    if (blood) blood->release();
}

void HelloWorld::takeCoin(GameSpriteDropped* coin) {
    hasCollidedWithGood_ = true;
    label_->setPosition(CGPoint{240, 180});
    addChild(label_);
    label_->runAction(CCSequence::actions(CCFadeOut::actionWithDuration(1.0f),
                                          CCCallFunc::actionWithTarget(this, callfunc_selector(HelloWorld::animDone2))));
    jumpAmt_ = kExtremeJump;
    removeItem(coin);
    const bool running = wow_->visible();
    schedule(schedule_selector(HelloWorld::okGo), 1.0f);
    wow_->setVisible(true);
    CCTrace::event("extreme-jump-start", [&] {
        return CCTraceFields{{"secondsLeft", static_cast<long long>(c_)}, {"alreadyRunning", running}};
    });
}

void HelloWorld::takeBonus(GameSpriteDropped* bonus) {
    second_ = CCLabelTTF::labelWithString("Score Bonus!", kTTFFont, 64);
    second_->setPosition(CGPoint{240, 180});
    addChild(second_);
    // The words shrink into the score.
    second_->runAction(CCSequence::actions(CCScaleTo::actionWithDuration(1.6f, 0.01f),
                                           CCCallFuncN::actionWithTarget(this, callfuncN_selector(HelloWorld::animDone3))));
    second_->runAction(CCMoveTo::actionWithDuration(1.6f, hic_->position()));
    removeItem(bonus);
    addScore(kBonusPoints, "bonus");
}

void HelloWorld::mainBackTimer(float) {
    if (hasTouched_) return; // waits for the landing; this step does not count
    timeTime_ += 1;
    CGPoint p = hi_->position();
    hi_->setPosition(CGPoint{static_cast<float>(p.x - kPushStep), p.y});
    if (timeTime_ < kPushSteps) return;
    unschedule(schedule_selector(HelloWorld::mainBackTimer));
    timeTime_ = 0;
    const float x = hi_->position().x;
    const bool eaten = x < kDogX;
    CCTrace::event("push-back-end", [&] {
        return CCTraceFields{{"x", static_cast<double>(x)}, {"caught", eaten}};
    });
    if (eaten) caught();
}

void HelloWorld::caught() {
    const unsigned lost = done_;
    done_ = 0;
    showScore();
    CCTrace::event("score", [&] {
        return CCTraceFields{{"score", 0LL}, {"change", -static_cast<long long>(lost)}, {"reason", "caught"}};
    });
    newed_ = kFirstDropInterval;
    hi_->setPosition(CGPoint{kCaughtX, hi_->position().y});
    hi_->runAction(CCFadeOut::actionWithDuration(1.0f));
    CCTrace::event("caught", [&] { return CCTraceFields{{"x", static_cast<double>(kCaughtX)}}; });
    UIAlertView* alert = ccCreate<UIAlertView>([this](UIAlertView* a) {
        return a->initWithTitle("OH NO!!", "You got eaten by the dog!", this, nullptr, {"Try again"});
    });
    alert->show();
    hasDied_ = true;
}

void HelloWorld::okGo(float) {
    c_ -= 1;
    if (c_ > 0) {
        wow_->setString("Extreme Jump: " + std::to_string(c_));
        CCTrace::event("countdown", [&] {
            return CCTraceFields{{"secondsLeft", static_cast<long long>(c_)}};
        });
        return;
    }
    jumpAmt_ = kNormalJump;
    wow_->setVisible(false);
    c_ = kExtremeSeconds;
    wow_->setString("Extreme Jump: 10");
    unschedule(schedule_selector(HelloWorld::okGo));
    CCTrace::event("extreme-jump-end");
}

// ---------------------------------------------------------------------------------------------
// Input

bool HelloWorld::ccTouchBegan(UITouch*, UIEvent*) {
    if (hasTouched_) return false; // one jump at a time
    CGPoint p = hi_->position();
    const float duration = static_cast<float>(jumpAmt_ * 0.0097);
    ids_ = CCJumpTo::actionWithDuration(duration, p, jumpAmt_, 1);
    hi_->runAction(CCSequence::actions(ids_, CCCallFunc::actionWithTarget(this, callfunc_selector(HelloWorld::animationDone))));
    hasTouched_ = true;
    mainOne_ = 2;
    hi_->setTexture(cachedTexture("cat_2.png"));
    CCTrace::event("jump", [&] {
        return CCTraceFields{{"height", static_cast<double>(jumpAmt_)},
                             {"duration", static_cast<double>(duration)},
                             {"x", static_cast<double>(p.x)}};
    });
    return false;
}

void HelloWorld::animationDone() {
    hasTouched_ = false;
    CCTrace::event("land", [&] { return CCTraceFields{{"x", static_cast<double>(hi_->position().x)}}; });
}

void HelloWorld::accelerometer(UIAccelerometer*, UIAcceleration* acceleration) { applyTilt(acceleration->y()); }

void HelloWorld::applyTilt(double reading) {
    // Any reading the formulas can take is used as it is. They divide by zero at -1.9 g (the
    // items' factor) and 2 g (the running animation's interval) and turn negative beyond, so
    // a reading is held where either denominator would drop below 1: from -1.7 g to 1.8 g.
    const float y = std::isnan(reading) ? 0.0f : std::clamp(static_cast<float>(reading), kTiltLowest, kTiltHighest);
    const float t = 0.5f - y;
    wholesale_ = static_cast<float>(215 + t * 72.0);
    if (hid_) hid_->setSpeed(wholesale_ * 0.714f);
    now_ = 1 / (7.5f + t * 5);
    newNow_ = 1 / (7 + (y + 0.5f) * 5);
}

void HelloWorld::animDone2() {
    removeChild(label_, true);
    hasCollidedWithGood_ = false;
    label_ = CCPtr<CCLabelTTF>::adopt(newBanner());
    CCTrace::event("banner-end");
}

void HelloWorld::animDone3(CCNode* sender) {
    // Each bonus label leaves at the end of its own shrink.
    removeChild(sender, true);
    if (sender == second_) second_ = nullptr;
}

void HelloWorld::alertViewDidDismissWithButtonIndex(UIAlertView*, int) {
    hasDied_ = false;
    hi_->runAction(CCFadeIn::actionWithDuration(1.0f));
    hi_->runAction(CCJumpTo::actionWithDuration(1.0f, CGPoint{160, 25}, 20, 1));
    CCTrace::event("restart");
}

void HelloWorld::didPressDown() {
    back_->setTexture(cachedTexture("back1.png"));
    backLooksPressed_ = true;
    CCTrace::event("back-button", [&] { return CCTraceFields{{"state", "pressed"}}; });
}

void HelloWorld::stoppedPressing() {
    back_->setTexture(cachedTexture("back2.png"));
    // Every touch off the button says so; only a press that slid off is worth a line.
    if (backLooksPressed_)
        CCTrace::event("back-button", [&] { return CCTraceFields{{"state", "released"}}; });
    backLooksPressed_ = false;
}

void HelloWorld::didPressButton() {
    CCTrace::event("back-button", [&] { return CCTraceFields{{"state", "left-game"}}; });
    CCDirector::sharedDirector()->replaceScene(CCTransitionFade::transitionWithDuration(1.0f, SplashLayer::scene()));
}
