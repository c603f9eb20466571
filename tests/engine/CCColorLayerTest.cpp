#include <gtest/gtest.h>

#include <array>

#include "CCAutoreleasePool.h"
#include "CCColorLayer.h"
#include "support/HeadlessGL.h"

namespace {

using RGBA = std::array<std::uint8_t, 4>;

TEST(ColorLayer, KeepsItsSquareAndColoursInStep) {
    CCAutoreleaseScope pool;
    CCColorLayer* layer = CCColorLayer::layerWithColor(ccc4(10, 20, 30, 40), 100, 50);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->color(), ccc3(10, 20, 30));
    EXPECT_EQ(layer->opacity(), 40);
    EXPECT_EQ(layer->blendFunc(), (ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
    const GLfloat square[8] = {0, 0, 100, 0, 0, 50, 100, 50};
    for (int i = 0; i < 8; i++) EXPECT_FLOAT_EQ(layer->squareVertices()[i], square[i]) << i;

    layer->setColor(ccc3(1, 2, 3));
    layer->setOpacity(4);
    for (int v = 0; v < 4; v++)
        EXPECT_EQ((RGBA{layer->squareColors()[v * 4], layer->squareColors()[v * 4 + 1], layer->squareColors()[v * 4 + 2],
                        layer->squareColors()[v * 4 + 3]}),
                  (RGBA{1, 2, 3, 4}));

    layer->changeWidth(30);
    layer->changeHeight(20);
    EXPECT_EQ(layer->contentSize(), CGSizeMake(30, 20));
    layer->changeWidth(7, 9);
    const GLfloat changed[8] = {0, 0, 7, 0, 0, 9, 7, 9};
    for (int i = 0; i < 8; i++) EXPECT_FLOAT_EQ(layer->squareVertices()[i], changed[i]) << i;
    EXPECT_EQ(layer->contentSize(), CGSizeMake(7, 9));

    CCColorLayer* full = CCColorLayer::layerWithColor(ccc4(0, 0, 0, 255));
    EXPECT_EQ(full->contentSize(), ccLayerWinSizeInPixels());
}

// A 16 × 16 framebuffer set up for drawing in pixels with the engine's default blending.
class ColorLayerDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gl.makeFramebuffer(16, 16)) GTEST_SKIP() << "no headless GLES 1.1 framebuffer";
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, 16, 0, 16, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        clear(0, 0, 1, 1); // opaque blue
    }
    static void clear(float r, float g, float b, float a) {
        glClearColor(r, g, b, a);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // RGBA of the pixel at (x, y), counted from the bottom-left.
    static RGBA pixel(int x, int y) {
        RGBA rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }
    static GLint blend(GLenum which) {
        GLint value = 0;
        glGetIntegerv(which, &value);
        return value;
    }

    CCAutoreleaseScope pool;
    HeadlessGL gl;
};

TEST_F(ColorLayerDrawing, OpaqueLayerFillsItsRectangleExactly) {
    CCColorLayer* layer = CCColorLayer::layerWithColor(ccc4(255, 0, 0, 255), 8, 4);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    layer->draw();
    EXPECT_EQ(pixel(0, 0), (RGBA{255, 0, 0, 255}));
    EXPECT_EQ(pixel(7, 3), (RGBA{255, 0, 0, 255}));
    EXPECT_EQ(pixel(8, 3), (RGBA{0, 0, 255, 255})); // right of the layer
    EXPECT_EQ(pixel(7, 4), (RGBA{0, 0, 255, 255})); // above it
    // Texturing is back on for whoever draws next.
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ColorLayerDrawing, TranslucentLayerBlendsByItsAlphaAndRestoresTheDefault) {
    CCColorLayer* layer = CCColorLayer::layerWithColor(ccc4(255, 0, 0, 128), 16, 16);
    layer->draw();
    RGBA p = pixel(5, 5);
    // 128/255 of red over blue: neither the premultiplied sum (255, 0, 127) nor plain red.
    EXPECT_NEAR(p[0], 128, 1);
    EXPECT_EQ(p[1], 0);
    EXPECT_NEAR(p[2], 127, 1);
    EXPECT_EQ(blend(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(blend(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(ColorLayerDrawing, OwnBlendFunctionIsUsedForItsDrawOnly) {
    clear(0, 0.5f, 0, 1);
    CCColorLayer* layer = CCColorLayer::layerWithColor(ccc4(100, 0, 0, 255), 16, 16);
    layer->setBlendFunc({GL_ONE, GL_ONE}); // additive
    layer->draw();
    RGBA p = pixel(1, 1);
    EXPECT_EQ(p[0], 100);
    EXPECT_NEAR(p[1], 128, 1);
    EXPECT_EQ(blend(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(blend(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace
