// Actions: easing curves side by side (the same move, each with another curve), a sequence of
// spawned jumps and turns, a Bézier path, and one action run at two speeds. Every action
// repeats for ever, so the scene never stops moving.
#include <initializer_list>

#include "CCActionEase.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCColorLayer.h"
#include "CCIntervalActions.h"
#include "CCLabelTTF.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CGPointExtension.h"
#include "ExampleApp.h"

namespace {

// A sequence (or spawn) of several actions is an interval action, which is what repeating
// and easing take.
CCActionInterval* sequence(std::initializer_list<CCFiniteTimeAction*> steps) {
    return static_cast<CCActionInterval*>(CCSequence::actions(steps));
}
CCActionInterval* spawn(std::initializer_list<CCFiniteTimeAction*> steps) {
    return static_cast<CCActionInterval*>(CCSpawn::actions(steps));
}

CCSprite* sprite(CCNode* parent, const char* frame, CGPoint at) {
    CCSprite* s = CCSprite::spriteWithSpriteFrameName(frame);
    s->setPosition(at);
    parent->addChild(s);
    return s;
}

void caption(CCNode* parent, const char* text, CGPoint at) {
    CCLabelTTF* label = CCLabelTTF::labelWithString(text, "DejaVu Sans", 11);
    label->setAnchorPoint(ccp(0, 0.5f));
    label->setPosition(at);
    parent->addChild(label);
}

// One row per curve: the ball goes 170 points right in 1.5 s, pauses, and comes back.
void addEasingRows(CCNode* parent) {
    struct Row {
        const char* name;
        CCActionInterval* (*ease)(CCActionInterval*);
    };
    const Row rows[] = {
        {"linear", [](CCActionInterval* a) { return a; }},
        {"ease in", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseIn::actionWithAction(a, 3); }},
        {"ease out", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseOut::actionWithAction(a, 3); }},
        {"sine in-out", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseSineInOut::actionWithAction(a); }},
        {"back out", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBackOut::actionWithAction(a); }},
        {"bounce out", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBounceOut::actionWithAction(a); }},
        {"elastic out", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseElasticOut::actionWithAction(a); }},
    };
    float y = 296;
    for (const Row& row : rows) {
        caption(parent, row.name, ccp(8, y));
        CCSprite* ball = sprite(parent, "ball-yellow", ccp(85, y));
        ball->setScale(0.6f);
        CCActionInterval* there = row.ease(CCMoveBy::actionWithDuration(1.5f, ccp(150, 0)));
        CCActionInterval* back = row.ease(CCMoveBy::actionWithDuration(1.5f, ccp(-150, 0)));
        ball->runAction(CCRepeatForever::actionWithAction(
            sequence({there, CCDelayTime::actionWithDuration(0.5f), back, CCDelayTime::actionWithDuration(0.5f)})));
        y -= 42;
    }
}

} // namespace

int main(int argc, char** argv) {
    return ExampleApp::run(argc, argv, "actions", []() -> CCScene* {
        if (!ExampleApp::addSpriteFrames("sheet.plist")) return nullptr;
        CCScene* scene = CCScene::node();
        scene->addChild(CCColorLayer::layerWithColor(ccc4(32, 40, 64, 255)));
        addEasingRows(scene);

        // A sequence of spawns: jump right while turning once, face back, jump home.
        caption(scene, "sequence of spawns", ccp(270, 304));
        CCSprite* cat = sprite(scene, "run2", ccp(300, 240));
        cat->setScale(0.55f);
        cat->runAction(CCRepeatForever::actionWithAction(sequence({
            spawn({CCJumpBy::actionWithDuration(1.4f, ccp(140, 0), 40, 2), CCRotateBy::actionWithDuration(1.4f, 360)}),
            CCFlipX::actionWithFlipX(true),
            spawn({CCJumpBy::actionWithDuration(1.4f, ccp(-140, 0), 40, 2), CCTintTo::actionWithDuration(1.4f, 255, 150, 150)}),
            CCFlipX::actionWithFlipX(false),
            CCTintTo::actionWithDuration(0.3f, 255, 255, 255),
        })));

        // A Bézier path out and the same path back (its reverse).
        caption(scene, "Bezier path", ccp(270, 186));
        ccBezierConfig arc{ccp(170, 0), ccp(40, 90), ccp(130, -60)};
        CCSprite* star = sprite(scene, "star", ccp(290, 150));
        CCBezierBy* out = CCBezierBy::actionWithDuration(2, arc);
        star->runAction(CCRepeatForever::actionWithAction(sequence({out, out->reverse()})));
        star->runAction(CCRepeatForever::actionWithAction(CCRotateBy::actionWithDuration(1, 180)));

        // The same back-and-forth at normal speed and, wrapped in CCSpeed, at 2.5 times.
        caption(scene, "speed 1 and 2.5", ccp(270, 66));
        for (float speed : {1.0f, 2.5f}) {
            CCSprite* ball = sprite(scene, speed == 1 ? "ball-green" : "ball-red", ccp(290, speed == 1 ? 40 : 16));
            ball->setScale(0.6f);
            CCMoveBy* move = CCMoveBy::actionWithDuration(1.2f, ccp(170, 0));
            CCActionInterval* rounds = CCRepeat::actionWithAction(sequence({move, move->reverse()}), 1000);
            ball->runAction(CCSpeed::actionWithAction(rounds, speed));
        }
        return scene;
    });
}
