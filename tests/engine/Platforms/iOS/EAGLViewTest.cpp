#include <gtest/gtest.h>

#include <regex>

#include "CCNode.h"
#include "EAGLTouchDelegate.h"
#include "NSSet.h"
#include "UITouch.h"
#include "support/DirectorTestSupport.h"

namespace {

struct CountingTouchDelegate : EAGLTouchDelegate {
    void touchesBegan(NSSet*, UIEvent*) override { ++began; }
    void touchesMoved(NSSet*, UIEvent*) override { ++moved; }
    void touchesEnded(NSSet*, UIEvent*) override { ++ended; }
    void touchesCancelled(NSSet*, UIEvent*) override { ++cancelled; }
    int began = 0, moved = 0, ended = 0, cancelled = 0;
};

TEST_F(DirectorTest, ViewBuffersMatchTheAskedFormats) {
    ES1Renderer* renderer = view->renderer();
    EXPECT_EQ(renderer->backingSize(), CGSizeMake(320, 480));
    EXPECT_EQ(renderer->depthBuffer(), 0u); // none asked for
    EXPECT_TRUE(std::regex_match(renderer->description(), std::regex("<ES1Renderer = [0-9A-F]{8} \\| size = 320x480>")));

    EAGLView* deep = EAGLView::viewWithFrame(CGRectMake(0, 0, 64, 32), kEAGLColorFormatRGB565, GL_DEPTH_COMPONENT16_OES, false);
    ASSERT_NE(deep, nullptr);
    EXPECT_TRUE(deep->renderer()->resizeFromLayer(deep->eaglLayer()));
    EXPECT_NE(deep->renderer()->depthBuffer(), 0u);
    EXPECT_EQ(deep->renderer()->backingSize(), CGSizeMake(64, 32));
    deep->swapBuffers(); // discards the depth contents, then presents
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DirectorTest, ViewForwardsTouchesOnlyToItsDelegate) {
    CountingTouchDelegate delegate;
    view->setTouchDelegate(nullptr);
    NSSet* touches = NSSet::set();
    view->touchesBegan(touches, nullptr); // dropped
    view->setTouchDelegate(&delegate);
    view->touchesBegan(touches, nullptr);
    view->touchesMoved(touches, nullptr);
    view->touchesEnded(touches, nullptr);
    view->touchesCancelled(touches, nullptr);
    EXPECT_EQ(delegate.began + delegate.moved + delegate.ended + delegate.cancelled, 4);
    view->setTouchDelegate(nullptr);

    EXPECT_EQ(view->convertPointFromViewToSurface(CGPointMake(160, 120)), CGPointMake(160, 120));
}

TEST_F(DirectorTest, TouchesAndWindowPointsConvertThroughTheLandscapeDirector) {
    CCNode* node = CCNode::node();
    node->setPosition(CGPointMake(100, 40));
    node->setAnchorPoint(CGPointMake(0.5f, 0.5f));
    node->setContentSize(CGSizeMake(20, 10));
    // View point (portrait, top-left origin) (50, 130) is scene point (130, 50).
    UITouch* touch = UITouch::touchInView(view, CGPointMake(50, 130), 0);
    EXPECT_EQ(node->convertTouchToNodeSpace(touch), CGPointMake(40, 15));
    EXPECT_EQ(node->convertTouchToNodeSpaceAR(touch), CGPointMake(30, 10));
    EXPECT_EQ(node->convertToWindowSpace(CGPointMake(40, 15)), CGPointMake(50, 130));
}

} // namespace
