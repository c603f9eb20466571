#include "CCTransitionFade.h"

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCColorLayer.h"
#include "CCIntervalActions.h"

CCTransitionFade* CCTransitionFade::transitionWithDuration(ccTime duration, CCScene* scene) {
    return ccCreate<CCTransitionFade>([&](CCTransitionFade* t) { return t->initWithDuration(duration, scene); });
}

CCTransitionFade* CCTransitionFade::transitionWithDuration(ccTime duration, CCScene* scene, ccColor3B color) {
    return ccCreate<CCTransitionFade>(
        [&](CCTransitionFade* t) { return t->initWithDuration(duration, scene, color); });
}

bool CCTransitionFade::initWithDuration(ccTime duration, CCScene* scene) {
    return initWithDuration(duration, scene, ccBLACK);
}

bool CCTransitionFade::initWithDuration(ccTime duration, CCScene* scene, ccColor3B color) {
    if (!CCTransitionScene::initWithDuration(duration, scene)) return false;
    color_ = ccColor4B{color.r, color.g, color.b, 0};
    return true;
}

void CCTransitionFade::onEnter() {
    CCTransitionScene::onEnter();
    CCColorLayer* layer = CCColorLayer::layerWithColor(color_);
    inScene_->setVisible(false);
    addChild(layer, 2, kSceneFade);
    CCNode* fade = getChildByTag(kSceneFade);
    auto* sequence = CCSequence::actions(
        CCFadeIn::actionWithDuration(duration_ / 2),
        CCCallFunc::actionWithTarget(this, callfunc_selector(CCTransitionScene::hideOutShowIn)),
        CCFadeOut::actionWithDuration(duration_ / 2),
        CCCallFunc::actionWithTarget(this, callfunc_selector(CCTransitionScene::finish)));
    fade->runAction(sequence);
}

void CCTransitionFade::onExit() {
    CCTransitionScene::onExit();
    removeChildByTag(kSceneFade, false);
}
