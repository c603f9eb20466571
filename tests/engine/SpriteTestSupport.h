#pragma once
// Shared set-up of the sprite, batch and label tests: a 64 × 64 framebuffer drawn in pixels
// with the engine's default GL state, textures made from PNG files written on the fly, and a
// count of the draw calls issued.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "CCAutoreleasePool.h"
#include "CCTexture2D.h"
#include "UIImage.h"
#include "support/HeadlessGL.h"
#include "support/TestFiles.h"
#include "support/TestImages.h"

using RGBA = std::array<std::uint8_t, 4>;

// Calls of glDrawArrays and glDrawElements since the last reset (counted by the test program),
// and of the state calls a draw may skip: texture binds, vertex-pointer set-ups and buffer
// uploads (with the bytes uploaded).
struct GLDrawCounter {
    static void reset();
    static int drawArrays();
    static int drawElements();
    static int bindTextures();
    static int vertexPointers();
    static int bufferUploads();
    static long uploadedBytes();
};

class SpriteGLTest : public ::testing::Test {
protected:
    static constexpr int kSize = 64;

    void SetUp() override {
        if (!gl.makeDrawingFramebuffer(kSize, kSize)) GTEST_SKIP() << "no headless GLES 1.1 framebuffer";
        clear();
    }
    static void clear() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The pixel at (x, y) counted from the bottom-left.
    static RGBA pixel(int x, int y) {
        RGBA rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    // A texture (autoreleased) of the given size filled by pixel(x, y) (row 0 at the top),
    // made from a decoded image as image files are.
    template <class F> CCTexture2D* texture(const std::string& name, unsigned w, unsigned h, F pixelAt) {
        (void)name;
        UIImage* image = UIImage::imageWithCGImage(CGImage::imageWithRGBA(w, h, makeRGBA(w, h, pixelAt)));
        return ccCreate<CCTexture2D>([&](CCTexture2D* t) { return t->initWithImage(image); });
    }
    // The same picture as a PNG file; gives its full path.
    template <class F> std::string pngFile(const std::string& name, unsigned w, unsigned h, F pixelAt) {
        return dir.write(name, encodePNG(w, h, makeRGBA(w, h, pixelAt)));
    }
    CCTexture2D* solid(const std::string& name, unsigned w, unsigned h, RGBA c) {
        return texture(name, w, h, [c](unsigned, unsigned) { return c; });
    }

    CCAutoreleaseScope pool;
    HeadlessGL gl;
    TempDir dir;
};

// Colour channels within a tolerance (blending and filtering round).
inline ::testing::AssertionResult near(RGBA actual, RGBA expected, int tolerance = 3) {
    for (int i = 0; i < 4; i++) {
        if (std::abs(int(actual[i]) - int(expected[i])) > tolerance)
            return ::testing::AssertionFailure() << "got (" << int(actual[0]) << "," << int(actual[1]) << ","
                                                 << int(actual[2]) << "," << int(actual[3]) << ") expected ("
                                                 << int(expected[0]) << "," << int(expected[1]) << ","
                                                 << int(expected[2]) << "," << int(expected[3]) << ")";
    }
    return ::testing::AssertionSuccess();
}
