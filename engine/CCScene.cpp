#include "CCScene.h"

#include "CCDirector.h"

CCScene* CCScene::node() {
    return ccCreate<CCScene>([](CCScene* scene) { return scene->init(); });
}

bool CCScene::init() {
    if (!CCNode::init()) return false;
    setIsRelativeAnchorPoint(false);
    setAnchorPoint(CGPointMake(0.5f, 0.5f));
    setContentSize(CCDirector::sharedDirector()->winSize());
    return true;
}
