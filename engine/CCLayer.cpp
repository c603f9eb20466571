#include "CCLayer.h"

#include "CCAssert.h"
#include "CCDirector.h"
#include "CCEnginePlatform.h"
#include "ccMacros.h"

CGSize ccLayerWinSize() { return CCDirector::sharedDirector()->winSize(); }
CGSize ccLayerWinSizeInPixels() { return CCDirector::sharedDirector()->winSizeInPixels(); }

CCLayer* CCLayer::node() {
    return ccCreate<CCLayer>([](CCLayer* layer) { return layer->init(); });
}

bool CCLayer::init() {
    if (!CCNode::init()) return false;
    setIsRelativeAnchorPoint(false);
    setAnchorPoint(CGPointMake(0.5f, 0.5f));
    setContentSize(ccLayerWinSize());
    isTouchEnabled_ = false;
    isAccelerometerEnabled_ = false;
    return true;
}

CCLayer::~CCLayer() {
    // The accelerometer does not retain its delegate: never leave it pointing at a dead layer
    // (layers that set themselves as its delegate directly may never clear it).
    stopAccelerometer();
}

void CCLayer::registerWithTouchDispatcher() { CCEnginePlatform::addStandardTouchDelegate(this, 0); }

bool CCLayer::ccTouchBegan(UITouch* touch, UIEvent* event) {
    (void)touch, (void)event;
    CCAssert(false, "Layer#ccTouchBegan override me");
    return false;
}

void CCLayer::accelerometer(UIAccelerometer* accelerometer, UIAcceleration* acceleration) {
    (void)accelerometer, (void)acceleration;
}

void CCLayer::startAccelerometer() { CCEnginePlatform::startAccelerometer(this); }

// Only our own registration: another layer may have taken the accelerometer since.
void CCLayer::stopAccelerometer() { CCEnginePlatform::stopAccelerometer(this); }

void CCLayer::setIsTouchEnabled(bool enabled) {
    if (enabled == isTouchEnabled_) return;
    isTouchEnabled_ = enabled;
    if (!isRunning_) return;
    if (enabled)
        registerWithTouchDispatcher();
    else
        CCEnginePlatform::removeTouchDelegate(this);
}

void CCLayer::setIsAccelerometerEnabled(bool enabled) {
    if (enabled == isAccelerometerEnabled_) return;
    isAccelerometerEnabled_ = enabled;
    if (!isRunning_) return;
    if (enabled)
        startAccelerometer();
    else
        stopAccelerometer();
}

void CCLayer::onEnter() {
    if (isTouchEnabled_) registerWithTouchDispatcher();
    if (isAccelerometerEnabled_) startAccelerometer();
    CCNode::onEnter();
}

void CCLayer::onExit() {
    if (isTouchEnabled_) CCEnginePlatform::removeTouchDelegate(this);
    if (isAccelerometerEnabled_) stopAccelerometer();
    CCNode::onExit();
}
