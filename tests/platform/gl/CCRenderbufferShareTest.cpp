#include <gtest/gtest.h>

#include "CCRenderbufferShare.h"
#include "CCWindowPresenter.h"
#include "support/HeadlessGL.h"

namespace {

// Draws a picture no two rows or columns of which look alike at the corners.
void drawPicture(float shade) {
    glClearColor(shade, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(20, 300, 100, 60);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, 0, 10, 5);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

unsigned boundRenderbuffer() {
    GLint rb = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING_OES, &rb);
    return unsigned(rb);
}

// The renderer's frame as a second context shows it through the share, at the device's size.
CCPixelImage shown(CCWindowPresenter& presenter, unsigned texture) {
    CCWindowPresenter::Frame frame;
    frame.texture = texture;
    frame.overlaid = false;
    presenter.draw(320, 480, 1, frame);
    return ccReadPixels(0, 0, 320, 480);
}

TEST(CCRenderbufferShare, AnotherContextSamplesTheRenderersFrameWhereItIsAndSeesEachNewFrame) {
    HeadlessGL renderer;
    ASSERT_TRUE(renderer.makeFramebuffer(320, 480));
    CCRenderbufferShare share;
    if (!share.open()) GTEST_SKIP() << "no EGL images of renderbuffers here";
    void* context = renderer.context()->nativeContext();
    const unsigned rb = boundRenderbuffer();
    drawPicture(0.2f);
    const CCPixelImage first = ccReadPixels(0, 0, 320, 480);
    CCRenderbufferShare::Entry* entry = share.image(context, rb, 320, 480);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(share.image(context, rb, 320, 480), entry) << "one image per renderbuffer";
    glFlush();

    HeadlessGL presenting; // current from here on
    ASSERT_TRUE(presenting.makeFramebuffer(320, 480));
    CCWindowPresenter presenter;
    presenter.setUp();
    const unsigned texture = share.texture(*entry);
    EXPECT_EQ(shown(presenter, texture).rgba, first.rgba);

    // The next frame drawn into the same renderbuffer shows without making anything again.
    ASSERT_TRUE(EAGLContext::setCurrentContext(renderer.context()));
    drawPicture(0.9f);
    const CCPixelImage second = ccReadPixels(0, 0, 320, 480);
    ASSERT_NE(second.rgba, first.rgba);
    glFlush();
    ASSERT_TRUE(EAGLContext::setCurrentContext(presenting.context()));
    EXPECT_EQ(share.texture(*entry), texture);
    EXPECT_EQ(shown(presenter, texture).rgba, second.rgba);

    // New storage, a new size or a context gone: the old image is not shown again.
    ASSERT_TRUE(EAGLContext::setCurrentContext(renderer.context()));
    share.forget(context, rb);
    CCRenderbufferShare::Entry* again = share.image(context, rb, 320, 480);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->texture, 0u) << "bound afresh in the presenting context";
    share.forgetContext(context);
    ASSERT_TRUE(EAGLContext::setCurrentContext(presenting.context()));
    presenter.tearDown();
    share.close();
}

} // namespace
