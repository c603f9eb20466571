#include <gtest/gtest.h>

#include "CAEAGLLayer.h"
#include "CCGLExtensions.h"
#include "CCSurfaceBackend.h"
#include "EAGLContext.h"
#include "support/HeadlessGL.h"

namespace {

struct Drawable {
    GLuint framebuffer = 0, color = 0;
    Drawable() {
        glGenFramebuffersOES(1, &framebuffer);
        glGenRenderbuffersOES(1, &color);
        glBindFramebufferOES(GL_FRAMEBUFFER_OES, framebuffer);
        glBindRenderbufferOES(GL_RENDERBUFFER_OES, color);
    }
    ~Drawable() {
        glDeleteRenderbuffersOES(1, &color);
        glDeleteFramebuffersOES(1, &framebuffer);
    }
    GLint param(GLenum name) {
        GLint v = 0;
        glGetRenderbufferParameterivOES(GL_RENDERBUFFER_OES, name, &v);
        return v;
    }
};

} // namespace

TEST(EAGLContext, OnlyGLES1AndCurrentContextIsPerThreadAndRetained) {
    EAGLContext* es2 = new EAGLContext;
    EXPECT_FALSE(es2->initWithAPI(kEAGLRenderingAPIOpenGLES2));
    es2->release();

    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    EXPECT_EQ(EAGLContext::currentContext(), gl.context());
    EXPECT_EQ(gl.context()->retainCount(), 2u); // the fixture and the current-context slot
    EXPECT_NE(glGetString(GL_VERSION), nullptr);
}

TEST(EAGLContext, RenderbufferStorageFollowsTheLayerSizeAndFormat) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    CCPtr<CAEAGLLayer> layer = CAEAGLLayer::layer();
    layer->setBounds(CGRectMake(0, 0, 320, 480));
    layer->setDrawableProperties({false, kEAGLColorFormatRGB565});
    {
        Drawable d;
        ASSERT_TRUE(gl.context()->renderbufferStorage(GL_RENDERBUFFER_OES, layer));
        EXPECT_EQ(d.param(GL_RENDERBUFFER_WIDTH_OES), 320);
        EXPECT_EQ(d.param(GL_RENDERBUFFER_HEIGHT_OES), 480);
        EXPECT_EQ(d.param(GL_RENDERBUFFER_INTERNAL_FORMAT_OES), GL_RGB565_OES);
    }
    layer->setDrawableProperties({true, kEAGLColorFormatRGBA8});
    layer->setContentsScale(2);
    {
        Drawable d;
        ASSERT_TRUE(gl.context()->renderbufferStorage(GL_RENDERBUFFER_OES, layer));
        EXPECT_EQ(d.param(GL_RENDERBUFFER_WIDTH_OES), 640);
        EXPECT_EQ(d.param(GL_RENDERBUFFER_INTERNAL_FORMAT_OES), GL_RGBA8_OES);
    }
    EXPECT_FALSE(gl.context()->renderbufferStorage(GL_RENDERBUFFER_OES, nullptr));
}

TEST(EAGLContext, PresentKeepsTheFrameReadableTopRowFirst) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    CCPtr<CAEAGLLayer> layer = CAEAGLLayer::layer();
    layer->setBounds(CGRectMake(0, 0, 8, 4));
    Drawable d;
    ASSERT_TRUE(gl.context()->renderbufferStorage(GL_RENDERBUFFER_OES, layer));
    glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES, d.color);
    ASSERT_EQ(glCheckFramebufferStatusOES(GL_FRAMEBUFFER_OES), GLenum(GL_FRAMEBUFFER_COMPLETE_OES));
    glViewport(0, 0, 8, 4);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The bottom row of GL (y = 0) in red.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 8, 1);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    // Frames nobody asked for are not read back.
    CCSurfaceBackend* backend = ccSurfaceBackend();
    ASSERT_FALSE(backend->keepsLastFrame());
    const CCPixelImage& frame = backend->lastFrame();
    const std::vector<uint8_t> earlier = frame.rgba;
    uint64_t before = backend->presentedFrames();
    ASSERT_TRUE(gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES));
    EXPECT_EQ(backend->presentedFrames(), before + 1);
    EXPECT_EQ(frame.rgba, earlier);

    backend->setKeepsLastFrame(true);
    ASSERT_TRUE(gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES));
    backend->setKeepsLastFrame(false);
    EXPECT_EQ(backend->presentedFrames(), before + 2);
    ASSERT_EQ(frame.width, 8);
    ASSERT_EQ(frame.height, 4);
    EXPECT_EQ(frame.pixel(0, 0), 0x0000FFFFu);
    EXPECT_EQ(frame.pixel(7, 3), 0xFF0000FFu);
    EXPECT_EQ(frame.pixel(0, 3), 0xFF0000FFu);
    EXPECT_EQ(frame.pixel(7, 0), 0x0000FFFFu);

    // Kept again, into the same storage, still the right way up.
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    backend->setKeepsLastFrame(true);
    ASSERT_TRUE(gl.context()->presentRenderbuffer(GL_RENDERBUFFER_OES));
    backend->setKeepsLastFrame(false);
    EXPECT_EQ(frame.pixel(0, 3), 0x0000FFFFu);
    EXPECT_EQ(frame.rgba.size(), 8u * 4 * 4);
}

TEST(EAGLContext, SharegroupSharesTextures) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.ok());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const uint8_t pixel[4] = {1, 2, 3, 4};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glFinish();

    CCPtr<EAGLContext> other = CCPtr<EAGLContext>::adopt(ccNew<EAGLContext>([&](EAGLContext* c) {
        return c->initWithAPI(kEAGLRenderingAPIOpenGLES1, gl.context()->sharegroup());
    }));
    ASSERT_TRUE(other);
    ASSERT_TRUE(EAGLContext::setCurrentContext(other));
    EXPECT_TRUE(glIsTexture(texture));
    ASSERT_TRUE(EAGLContext::setCurrentContext(gl.context()));
    glDeleteTextures(1, &texture);
}
