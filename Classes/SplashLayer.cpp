#include "SplashLayer.h"

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCAction.h"
#include "CCDirector.h"
#include "CCIntervalActions.h"
#include "CCLabelBMFont.h"
#include "CCLabelTTF.h"
#include "CCSprite.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "CCTrace.h"
#include "CCTransitionFade.h"
#include "HelloWorldScene.h"
#include "NSRunLoop.h"
#include "UIApplication.h"
#include "ZorvikAppDelegate.h"

namespace {
ZorvikAppDelegate* appDelegate() {
    return dynamic_cast<ZorvikAppDelegate*>(UIApplication::sharedApplication()->delegate());
}
} // namespace

SplashLayer* SplashLayer::node() {
    return ccCreate<SplashLayer>([](SplashLayer* s) { return s->init(); });
}

SplashLayer* SplashLayer::scene() { return node(); }

bool SplashLayer::init() {
    if (!CCScene::init()) return false;

    // The title needs its picture and the bitmap font; the loaders have said why one failed.
    splashNode_ = CCSprite::spriteWithFile("Default2.png");
    if (!splashNode_) {
        ZorvikAppDelegate::gameNeeds("Default2.png");
        return false;
    }
    splashNode_->setAnchorPoint(CGPoint{0, 0});
    splashNode_->texture()->setAliasTexParameters();
    addChild(splashNode_);

    hello_ = CCLabelTTF::labelWithString("Touch to Play", "Marker Felt", 64);
    if (!hello_) return false;
    hello_->setPosition(CGPoint{240, 120});
    hello_->setScale(0.6f);

    CCLabelBMFont* lite = CCLabelBMFont::labelWithString("LITE VERSION", "greenFont.fnt");
    if (!lite) {
        ZorvikAppDelegate::gameNeeds("greenFont.fnt");
        return false;
    }
    lite->texture()->setAliasTexParameters();
    lite->setPosition(CGPoint{240, 160});
    addChild(lite);

    CCScaleTo* swell = CCScaleTo::actionWithDuration(0.8f, 1.2f);
    CCScaleTo* shrink = CCScaleTo::actionWithDuration(0.7f, 0.6f);
    hello_->setColor(ccc3(0, 0, 0));
    addChild(hello_);
    hello_->runAction(CCRepeatForever::actionWithAction(static_cast<CCActionInterval*>(CCSequence::actions(swell, shrink))));

    isClearing_ = false;
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, 10, true);
    if (ZorvikAppDelegate* app = appDelegate()) app->addAgain();
    return true;
}

SplashLayer::~SplashLayer() = default;


bool SplashLayer::ccTouchBegan(UITouch*, UIEvent*) {
    // Several fingers of one event all arrive before the withdrawal takes effect: only the
    // first starts the game.
    if (isClearing_) return false;
    HelloWorldScene* game = HelloWorld::scene();
    if (!game) return false; // the game has said what it lacks and the run ends
    hello_->runAction(CCFadeOut::actionWithDuration(1.0f));
    CCDirector::sharedDirector()->replaceScene(CCTransitionFade::transitionWithDuration(1.0f, game));
    clear();
    return false;
}

void SplashLayer::clear() {
    if (ZorvikAppDelegate* app = appDelegate()) app->removeUIelements();
    if (!isClearing_) {
        splashNode_->runAction(CCSequence::actions(
            CCFadeTo::actionWithDuration(1.0f, 0),
            CCCallFunc::actionWithTarget(this, callfunc_selector(SplashLayer::transitionDone))));
    }
    isClearing_ = true;
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
}

void SplashLayer::transitionDone() {
    // Outside the action step that called us, on a later pass of the run loop.
    retain();
    NSRunLoop::mainRunLoop()->performAfterDelay(0, [this] {
        removeFromSuper();
        release();
    });
}

void SplashLayer::removeFromSuper() {
    if (splashNode_) {
        CCTextureCache::sharedTextureCache()->removeTexture(splashNode_->texture());
        removeChild(splashNode_, true);
        splashNode_ = nullptr;
    }
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
}
