#include "CCTransitionScene.h"

#include "CCAssert.h"
#include "CCDirector.h"
#include "CCEnginePlatform.h"

CCTransitionScene* CCTransitionScene::transitionWithDuration(ccTime duration, CCScene* scene) {
    return ccCreate<CCTransitionScene>([&](CCTransitionScene* t) { return t->initWithDuration(duration, scene); });
}

bool CCTransitionScene::initWithDuration(ccTime duration, CCScene* scene) {
    CCAssert(scene != nullptr, "Argument scene must be non-nil");
    if (!CCScene::init()) return false;
    duration_ = duration;
    inScene_ = scene;
    outScene_ = CCDirector::sharedDirector()->runningScene();
    CCAssert(inScene_.get() != outScene_.get(), "Incoming scene must be different from the outgoing scene");
    // No touches while the scenes change hands.
    CCEnginePlatform::setTouchDispatchEnabled(false);
    sceneOrder();
    return true;
}

CCTransitionScene::~CCTransitionScene() = default;

void CCTransitionScene::sceneOrder() { inSceneOnTop_ = true; }

void CCTransitionScene::draw() {
    CCScene* first = inSceneOnTop_ ? outScene_.get() : inScene_.get();
    CCScene* second = inSceneOnTop_ ? inScene_.get() : outScene_.get();
    if (first) first->visit();
    if (second) second->visit();
}

void CCTransitionScene::onEnter() {
    CCScene::onEnter();
    inScene_->onEnter();
}

void CCTransitionScene::onExit() {
    CCScene::onExit();
    if (outScene_) outScene_->onExit();
    // The incoming scene was entered at the start; its transition ends now.
    inScene_->onEnterTransitionDidFinish();
}

void CCTransitionScene::cleanup() {
    CCScene::cleanup();
    if (sendCleanupToScene_ && outScene_) outScene_->cleanup();
}

void CCTransitionScene::hideOutShowIn() {
    inScene_->setVisible(true);
    if (outScene_) outScene_->setVisible(false);
}

namespace {
void resetScene(CCScene* scene, bool visible) {
    scene->setVisible(visible);
    scene->setPosition(CGPointZero);
    scene->setScale(1);
    scene->setRotation(0);
    scene->camera()->restore();
}
} // namespace

void CCTransitionScene::finish() {
    resetScene(inScene_, true);
    if (outScene_) resetScene(outScene_, false);
    schedule(schedule_selector(CCTransitionScene::setNewScene), 0);
}

void CCTransitionScene::setNewScene(ccTime) {
    unschedule(schedule_selector(CCTransitionScene::setNewScene));
    CCDirector* director = CCDirector::sharedDirector();
    sendCleanupToScene_ = director->sendCleanupToScene();
    director->replaceScene(inScene_);
    CCEnginePlatform::setTouchDispatchEnabled(true);
    // Intact if it is shown again later (after a pop, say).
    if (outScene_) outScene_->setVisible(true);
}
