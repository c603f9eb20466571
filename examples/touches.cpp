// Touches: two layers share the fingers. The front layer is a targeted delegate: it claims a
// finger that lands on a ball and drags that ball (several fingers drag several balls). The
// layer behind is a standard delegate: it receives the fingers nobody claimed, all of each
// event at once, and draws a fading trail for each in its own colour.
//
// Headless, the fingers come from a script: touches --headless --script examples/touches.script
#include <map>

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCColorLayer.h"
#include "CCIntervalActions.h"
#include "CCLabelTTF.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCTouchDispatcher.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"
#include "NSSet.h"
#include "UITouch.h"

namespace {

class DragLayer : public CCLayer {
public:
    static DragLayer* node() { return ccCreate<DragLayer>([](DragLayer* l) { return l->init(); }); }

    bool init() override {
        if (!CCLayer::init()) return false;
        const char* frames[] = {"ball-red", "ball-green", "ball-blue", "ball-yellow", "star"};
        for (int i = 0; i < 5; ++i) {
            CCSprite* ball = CCSprite::spriteWithSpriteFrameName(frames[i]);
            if (!ball) return false;
            ball->setScale(1.6f);
            ball->setPosition(ccp(60 + i * 90, 260));
            addChild(ball);
        }
        setIsTouchEnabled(true);
        return true;
    }

    // Targeted, priority 0, swallowing: a claimed finger is not passed on to the trails.
    void registerWithTouchDispatcher() override {
        CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, 0, true);
    }

    bool ccTouchBegan(UITouch* touch, UIEvent*) override {
        const CGPoint at = convertTouchToNodeSpace(touch);
        for (CCObject* child : *children()) {
            auto* ball = static_cast<CCSprite*>(child);
            if (!CGRectContainsPoint(ball->boundingBox(), at)) continue;
            dragged_[touch] = ball;
            ball->runAction(CCScaleTo::actionWithDuration(0.1f, 2.0f));
            return true;
        }
        return false;
    }

    void ccTouchMoved(UITouch* touch, UIEvent*) override { dragged_[touch]->setPosition(convertTouchToNodeSpace(touch)); }

    void ccTouchEnded(UITouch* touch, UIEvent*) override {
        dragged_[touch]->runAction(CCScaleTo::actionWithDuration(0.1f, 1.6f));
        dragged_.erase(touch);
    }
    void ccTouchCancelled(UITouch* touch, UIEvent* event) override { ccTouchEnded(touch, event); }

private:
    std::map<UITouch*, CCSprite*> dragged_; // the touches are alive while they are tracked
};

class TrailsLayer : public CCLayer {
public:
    static TrailsLayer* node() { return ccCreate<TrailsLayer>([](TrailsLayer* l) { return l->init(); }); }

    bool init() override {
        if (!CCLayer::init()) return false;
        setIsTouchEnabled(true); // a standard delegate, the layer's default
        return true;
    }

    void ccTouchesBegan(NSSet* touches, UIEvent*) override {
        const ccColor3B colours[] = {ccc3(255, 90, 90), ccc3(90, 255, 120), ccc3(90, 160, 255), ccc3(255, 230, 90)};
        for (CCObject* t : *touches) colour_[static_cast<UITouch*>(t)] = colours[next_++ % 4];
        ccTouchesMoved(touches, nullptr);
    }

    void ccTouchesMoved(NSSet* touches, UIEvent*) override {
        for (CCObject* t : *touches) {
            auto* touch = static_cast<UITouch*>(t);
            CCSprite* dot = CCSprite::spriteWithFile("spark.png");
            dot->setColor(colour_[touch]);
            dot->setPosition(convertTouchToNodeSpace(touch));
            // Fades out in a second and a half, then leaves the layer.
            dot->runAction(CCSequence::actions(CCFadeOut::actionWithDuration(1.5f),
                                               CCCallBlockN::actionWithBlock([](CCNode* n) { n->removeFromParentAndCleanup(true); })));
            addChild(dot);
        }
    }

    void ccTouchesEnded(NSSet* touches, UIEvent*) override {
        for (CCObject* t : *touches) colour_.erase(static_cast<UITouch*>(t));
    }
    void ccTouchesCancelled(NSSet* touches, UIEvent* event) override { ccTouchesEnded(touches, event); }

private:
    std::map<UITouch*, ccColor3B> colour_;
    unsigned next_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "touches", []() -> CCScene* {
        if (!ExampleApp::addSpriteFrames("sheet.plist")) return nullptr;
        TrailsLayer* trails = TrailsLayer::node();
        DragLayer* balls = DragLayer::node();
        if (!trails || !balls) return nullptr;
        CCScene* scene = CCScene::node();
        scene->addChild(CCColorLayer::layerWithColor(ccc4(24, 28, 36, 255)));
        CCLabelTTF* hint = CCLabelTTF::labelWithString("Drag the balls; draw with one or more fingers", "DejaVu Sans", 13);
        hint->setPosition(ccp(240, 305));
        scene->addChild(hint);
        scene->addChild(trails);
        scene->addChild(balls);
        return scene;
    });
}
