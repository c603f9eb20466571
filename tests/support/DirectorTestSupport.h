#pragma once
// A fixture with the shared director drawing into a real GL view on the headless backend:
// a 320 × 480 RGBA8 portrait view held in landscape (orientation 3), so the scene is
// 480 × 320. drawFrame() runs one director frame; scenePixel() reads what it drew at a scene
// point. The director is ended and destroyed after each test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCColorLayer.h"
#include "CCDirectorIOS.h"
#include "CCScene.h"
#include "CCGLExtensions.h"
#include "CCScreenshot.h"
#include "CCSurfaceBackend.h"
#include "EAGLView.h"
#include "ES1Renderer.h"

class DirectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePool::push();
        CCDirector::purgeSharedDirector();
        CCDirector::setDirectorType(directorType);
        director = CCDirectorIOS::sharedDirector();
        view = EAGLView::viewWithFrame(CGRectMake(0, 0, 320, 480), kEAGLColorFormatRGBA8, 0, false);
        ASSERT_NE(view, nullptr);
        director->setOpenGLView(view);
        director->setDeviceOrientation(CCDeviceOrientationLandscapeLeft);
        view->layoutSubviews();
    }
    void TearDown() override {
        if (CCDirector::hasSharedDirector()) {
            director->end();
            CCDirector::purgeSharedDirector();
        }
        CCAutoreleasePool::pop();
    }

    void drawFrame() { director->drawScene(); }
    // The frame as the player sees it: 480 × 320, row 0 at the top.
    CCPixelImage screen() const {
        glBindFramebufferOES(GL_FRAMEBUFFER_OES, view->renderer()->defaultFramebuffer());
        return CCScreenshot::upright(ccReadPixels(0, 0, 320, 480), CCDeviceOrientationLandscapeLeft);
    }
    // 0xRRGGBBAA of the pixel at a scene point (origin bottom-left).
    uint32_t scenePixel(int x, int y) const { return screen().pixel(x, 319 - y); }

    // The kind SetUp makes; a fixture may choose another in its constructor.
    int directorType = kCCDirectorTypeNSTimer;
    CCDirectorIOS* director = nullptr;
    EAGLView* view = nullptr;
};

using SceneLog = std::vector<std::string>;

// A scene that records its lifecycle messages ("A enter", "A entered", "A exit", "A cleanup"),
// optionally filled with one colour.
struct LoggingScene : CCScene {
    static LoggingScene* make(SceneLog* log, std::string name) {
        return ccCreate<LoggingScene>([&](LoggingScene* s) {
            s->log = log;
            s->name = std::move(name);
            return s->init();
        });
    }
    static LoggingScene* make(SceneLog* log, std::string name, ccColor4B colour) {
        LoggingScene* scene = make(log, std::move(name));
        if (scene) scene->addChild(CCColorLayer::layerWithColor(colour));
        return scene;
    }
    void onEnter() override { log->push_back(name + " enter"), CCScene::onEnter(); }
    void onEnterTransitionDidFinish() override { log->push_back(name + " entered"), CCScene::onEnterTransitionDidFinish(); }
    void onExit() override { log->push_back(name + " exit"), CCScene::onExit(); }
    void cleanup() override { log->push_back(name + " cleanup"), CCScene::cleanup(); }
    SceneLog* log = nullptr;
    std::string name;
};
