#pragma once
// The shared director drawing into a headless GL view, made once for the whole fuzzing run,
// with one running scene that targets add their nodes to and draw.
#include "CCDirectorIOS.h"
#include "CCScene.h"
#include "EAGLView.h"

inline CCScene* fuzzScene() {
    static CCScene* scene = [] {
        CCDirector::setDirectorType(kCCDirectorTypeNSTimer);
        CCDirectorIOS* director = CCDirectorIOS::sharedDirector();
        EAGLView* view = EAGLView::viewWithFrame(CGRectMake(0, 0, 320, 480), kEAGLColorFormatRGBA8, 0, false);
        if (!view) std::abort();
        view->retain();
        director->setOpenGLView(view);
        director->setDeviceOrientation(CCDeviceOrientationLandscapeLeft);
        view->layoutSubviews();
        CCScene* s = CCScene::node();
        s->retain();
        director->runWithScene(s);
        director->stopAnimation();
        director->drawScene();
        return s;
    }();
    return scene;
}

inline void fuzzDrawFrames(int frames) {
    for (int i = 0; i < frames; ++i) CCDirector::sharedDirector()->drawScene();
}
