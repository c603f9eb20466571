#pragma once
// A fixture with the shared director drawing into a real GL view on the headless backend:
// a 320 × 480 RGBA8 portrait view held in landscape (orientation 3), so the scene is
// 480 × 320. drawFrame() runs one director frame; scenePixel() reads what it drew at a scene
// point. The director is ended and destroyed after each test.
#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "CCDirectorIOS.h"
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

    CCDirectorIOS* director = nullptr;
    EAGLView* view = nullptr;
};
