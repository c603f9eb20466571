// Frame animation: the cat's four run frames come from a sprite-frame property list
// (sheet.plist names rectangles of sheet.png). A CCAnimation lists the frames with a delay per
// frame; CCAnimate shows them on a sprite, here for ever and at two paces.
#include <cstdio>
#include <vector>

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCAnimate.h"
#include "CCAnimation.h"
#include "CCColorLayer.h"
#include "CCIntervalActions.h"
#include "CCLabelTTF.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"

namespace {

// The run frames "run1" … "run4", shown for `delay` seconds each.
CCAnimation* runAnimation(float delay) {
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    std::vector<CCSpriteFrame*> list;
    for (int i = 1; i <= 4; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "run%d", i);
        list.push_back(frames->spriteFrameByName(name));
    }
    return CCAnimation::animationWithName("run", delay, list);
}

void caption(CCNode* parent, const char* text, CGPoint at) {
    CCLabelTTF* label = CCLabelTTF::labelWithString(text, "DejaVu Sans", 12);
    label->setPosition(at);
    parent->addChild(label);
}

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "animation", []() -> CCScene* {
        // Names the rectangles of sheet.png ("run1" … "run4" and more); also loads sheet.png.
        if (!ExampleApp::addSpriteFrames("sheet.plist")) return nullptr;

        CCScene* scene = CCScene::node();
        scene->addChild(CCColorLayer::layerWithColor(ccc4(70, 110, 160, 255)));

        // The frames themselves, as the list names them.
        for (int i = 1; i <= 4; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "run%d", i);
            CCSprite* frame = CCSprite::spriteWithSpriteFrameName(name);
            frame->setScale(0.6f);
            frame->setPosition(ccp(60 + (i - 1) * 120, 280));
            scene->addChild(frame);
            caption(scene, name, ccp(60 + (i - 1) * 120, 246));
        }

        // Running in place, one frame every 0.1 s.
        CCSprite* runner = CCSprite::spriteWithSpriteFrameName("run1");
        runner->setPosition(ccp(240, 160));
        runner->setScale(1.2f);
        runner->runAction(CCRepeatForever::actionWithAction(CCAnimate::actionWithAnimation(runAnimation(0.1f))));
        scene->addChild(runner);
        caption(scene, "CCAnimate, 0.1 s a frame", ccp(240, 105));

        // Slower frames while running across the screen, turning at each edge.
        CCSprite* crossing = CCSprite::spriteWithSpriteFrameName("run1");
        crossing->setPosition(ccp(40, 45));
        crossing->setScale(0.5f);
        crossing->runAction(CCRepeatForever::actionWithAction(CCAnimate::actionWithAnimation(runAnimation(0.18f))));
        CCMoveBy* across = CCMoveBy::actionWithDuration(3, ccp(400, 0));
        crossing->runAction(CCRepeatForever::actionWithAction(static_cast<CCActionInterval*>(CCSequence::actions(
            across, CCFlipX::actionWithFlipX(true), across->reverse(), CCFlipX::actionWithFlipX(false)))));
        scene->addChild(crossing);
        caption(scene, "0.18 s a frame, moving", ccp(240, 12));
        return scene;
    });
}
