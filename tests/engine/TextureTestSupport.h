#pragma once
// A headless framebuffer set up to draw textures in pixels, with a fresh configuration read
// from its context.
#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <array>
#include <cstdint>

#include "CCAutoreleasePool.h"
#include "CCConfiguration.h"
#include "CCTexture2D.h"
#include "support/HeadlessGL.h"

using RGBA = std::array<std::uint8_t, 4>;

class TextureGLTest : public ::testing::Test {
protected:
    static constexpr int kSide = 32;

    void SetUp() override {
        if (!gl.makeFramebuffer(kSide, kSide)) GTEST_SKIP() << "no headless GLES 1.1 framebuffer";
        CCConfiguration::purgeSharedConfiguration();
        CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, kSide, 0, kSide, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, 1);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
        CCConfiguration::purgeSharedConfiguration();
    }

    // RGBA of the framebuffer pixel at (x, y), counted from the bottom-left.
    static RGBA pixel(int x, int y) {
        RGBA rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    CCAutoreleaseScope pool;
    HeadlessGL gl;
};
