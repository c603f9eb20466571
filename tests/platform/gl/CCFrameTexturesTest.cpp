#include <gtest/gtest.h>

#include "CCFrameTextures.h"
#include "support/HeadlessGL.h"

namespace {

void clearTo(float r, float g, float b) {
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

GLint attachment(GLenum what) {
    GLint value = 0;
    glGetFramebufferAttachmentParameterivOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, what, &value);
    return value;
}

CCSurfaceFrame boundFrame(int width, int height) {
    CCSurfaceFrame frame;
    GLint value = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &value);
    frame.framebuffer = unsigned(value);
    frame.colorRenderbuffer = unsigned(attachment(GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_OES));
    frame.width = width;
    frame.height = height;
    return frame;
}

TEST(CCFrameTextures, TheFrameMovesIntoATextureWithWhatWasDrawnAndLaterFramesAreDrawnThere) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.makeFramebuffer(64, 32));
    const CCSurfaceFrame frame = boundFrame(64, 32);
    CCFrameTextures frames;
    void* context = gl.context()->nativeContext();

    clearTo(1, 0, 0);
    const unsigned texture = frames.texture(context, frame);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(attachment(GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE_OES), GL_TEXTURE);
    EXPECT_EQ(gl.readPixels().pixel(10, 10), 0xFF0000FFu) << "the frame drawn so far came along";

    clearTo(0, 0, 1);
    EXPECT_EQ(frames.texture(context, frame), texture);
    EXPECT_EQ(gl.readPixels().pixel(63, 31), 0x0000FFFFu) << "no copy over what the texture holds";

    // Someone attached the renderbuffer again and drew there: the texture takes its place again.
    glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                                 frame.colorRenderbuffer);
    clearTo(0, 1, 0);
    EXPECT_EQ(frames.texture(context, frame), texture);
    EXPECT_EQ(gl.readPixels().pixel(0, 0), 0x00FF00FFu);

    // The renderbuffer gets new storage: it is attached again and the texture goes.
    frames.forget(context, frame.colorRenderbuffer);
    EXPECT_FALSE(frames.has(context));
    EXPECT_EQ(attachment(GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE_OES), GL_RENDERBUFFER_OES);
    EXPECT_EQ(unsigned(attachment(GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_OES)), frame.colorRenderbuffer);
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(glCheckFramebufferStatusOES(GL_FRAMEBUFFER_OES), GLenum(GL_FRAMEBUFFER_COMPLETE_OES));
}

TEST(CCFrameTextures, AResizedFrameGetsATextureOfItsSizeAndAnRGB565FrameKeepsItsPixels) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    GLuint framebuffer = 0, renderbuffer = 0;
    glGenFramebuffersOES(1, &framebuffer);
    glGenRenderbuffersOES(1, &renderbuffer);
    glBindFramebufferOES(GL_FRAMEBUFFER_OES, framebuffer);
    glBindRenderbufferOES(GL_RENDERBUFFER_OES, renderbuffer);
    glRenderbufferStorageOES(GL_RENDERBUFFER_OES, GL_RGB565_OES, 20, 30);
    glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES, renderbuffer);
    glViewport(0, 0, 20, 30);
    void* context = gl.context()->nativeContext();
    CCFrameTextures frames;

    clearTo(0.3f, 0.55f, 0.8f); // between the steps of 5 and 6 bits
    const CCPixelImage drawn = ccReadPixels(0, 0, 20, 30);
    const unsigned first = frames.texture(context, boundFrame(20, 30));
    ASSERT_NE(first, 0u);
    EXPECT_EQ(ccReadPixels(0, 0, 20, 30).rgba, drawn.rgba) << "the texture holds the same 16-bit pixels";
    GLint green = 0;
    glGetIntegerv(GL_GREEN_BITS, &green);
    EXPECT_EQ(green, 6);

    // The same framebuffer presents a larger frame (its renderbuffer was given new storage).
    frames.forget(context, renderbuffer);
    glRenderbufferStorageOES(GL_RENDERBUFFER_OES, GL_RGB565_OES, 40, 50);
    glViewport(0, 0, 40, 50);
    clearTo(1, 1, 0);
    const unsigned second = frames.texture(context, boundFrame(40, 50));
    ASSERT_NE(second, 0u);
    EXPECT_EQ(glCheckFramebufferStatusOES(GL_FRAMEBUFFER_OES), GLenum(GL_FRAMEBUFFER_COMPLETE_OES));
    EXPECT_EQ(ccReadPixels(0, 0, 40, 50).pixel(39, 49), 0xFFFF00FFu);

    frames.forgetContext(context);
    EXPECT_FALSE(frames.has(context));
    EXPECT_FALSE(glIsTexture(second));
    glDeleteFramebuffersOES(1, &framebuffer);
    glDeleteRenderbuffersOES(1, &renderbuffer);
}

} // namespace
