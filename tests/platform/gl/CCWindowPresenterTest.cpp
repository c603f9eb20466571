#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "CCWindowPresenter.h"
#include "support/HeadlessGL.h"

namespace {

constexpr int kDW = CCWindowLayout::kDeviceWidth, kDH = CCWindowLayout::kDeviceHeight;

// A corner of the strip as (x, y).
CGPoint vertex(const CCPresentQuad& q, int i) { return {q.vertices[2 * i], q.vertices[2 * i + 1]}; }
CGPoint frameCoord(const CCPresentQuad& q, int i) { return {q.frameCoords[2 * i], q.frameCoords[2 * i + 1]}; }
CGPoint overlayCoord(const CCPresentQuad& q, int i) { return {q.overlayCoords[2 * i], q.overlayCoords[2 * i + 1]}; }

void expectPoint(CGPoint got, float x, float y, const char* what) {
    EXPECT_FLOAT_EQ(got.x, x) << what;
    EXPECT_FLOAT_EQ(got.y, y) << what;
}

TEST(CCWindowPresenterGeometry, LandscapeTurnsTheViewsTopEdgeToTheLeftAtTwiceItsSize) {
    const CCWindowPresenter::Frame frame; // a framebuffer's own storage, filled
    CCPresentQuad q = CCWindowPresenter::quad(CCWindowLayout::fit(960, 640, 3), frame, 0.625f, 0.9375f);
    // The view's top-left, top-right, bottom-left and bottom-right corners.
    expectPoint(vertex(q, 0), 0, 640, "top-left");
    expectPoint(vertex(q, 1), 0, 0, "top-right");
    expectPoint(vertex(q, 2), 960, 640, "bottom-left");
    expectPoint(vertex(q, 3), 960, 0, "bottom-right");
    // The framebuffer's row 0 is the view's bottom; the overlay's row 0 its top.
    expectPoint(frameCoord(q, 0), 0, 1, "frame top-left");
    expectPoint(frameCoord(q, 3), 1, 0, "frame bottom-right");
    expectPoint(overlayCoord(q, 0), 0, 0, "overlay top-left");
    expectPoint(overlayCoord(q, 3), 0.625f, 0.9375f, "overlay bottom-right");
}

TEST(CCWindowPresenterGeometry, AWindowOfAnotherShapeLetterboxesTheUprightPicture) {
    CCWindowPresenter::Frame uploaded;
    uploaded.bottomUp = false;
    uploaded.s = 0.625f;
    uploaded.t = 0.9375f;
    // Portrait in 1200 × 700: scale 1, centred.
    CCPresentQuad q = CCWindowPresenter::quad(CCWindowLayout::fit(1200, 700, 1), uploaded, 1, 1);
    expectPoint(vertex(q, 0), 440, 110, "top-left");
    expectPoint(vertex(q, 3), 760, 590, "bottom-right");
    expectPoint(frameCoord(q, 0), 0, 0, "uploaded rows run down");
    expectPoint(frameCoord(q, 3), 0.625f, 0.9375f, "only the part the picture fills");
    // Upside down in a window smaller than the screen: shrunk, still centred.
    q = CCWindowPresenter::quad(CCWindowLayout::fit(160, 480, 2), uploaded, 1, 1);
    expectPoint(vertex(q, 0), 160, 360, "top-left goes bottom-right");
    expectPoint(vertex(q, 3), 0, 120, "bottom-right goes top-left");
}

// A see-through picture: its left half a veil, a solid block, the rest clear.
struct TestOverlay : CCFrameOverlay {
    int width() const override { return kDW; }
    int height() const override { return kDH; }
    bool update() override { return false; }
    unsigned long generation() const override { return generation_; }
    bool hasContent() const override { return alpha > 0; }
    uint32_t premultiplied(int x, int y) const { // 0xAABBGGRR bytes in RGBA order
        if (x < 50 && y < 70) return 0xFFFFFFFFu;
        if (x >= kDW / 2) return 0;
        const unsigned a = alpha, r = 255 * a / 255, g = (x * 255 / kDW) * a / 255;
        return a << 24 | (g << 8) | r;
    }
    void copyPremultipliedRGBA(unsigned char* out) const override {
        for (int y = 0; y < kDH; ++y)
            for (int x = 0; x < kDW; ++x, out += 4) {
                uint32_t p = premultiplied(x, y);
                std::memcpy(out, &p, 4);
            }
    }
    void copyRGBA(unsigned char*) const override {}
    // Its own words (0xAARRGGBB) when asked to keep them, rows `rowWords` apart.
    const unsigned char* premultipliedARGB32(int* stride) const override {
        if (!rowWords) return nullptr;
        words.assign(std::size_t(rowWords) * kDH, 0);
        for (int y = 0; y < kDH; ++y)
            for (int x = 0; x < kDW; ++x) {
                const uint32_t p = premultiplied(x, y);
                words[std::size_t(y) * rowWords + x] =
                    (p & 0xFF000000u) | (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
            }
        *stride = rowWords * 4;
        return reinterpret_cast<const unsigned char*>(words.data());
    }
    // Premultiplied "over", rounded the way the view layer composites on the CPU.
    void compositeOver(CCPixelImage& frame) const override {
        for (int y = 0; y < kDH; ++y)
            for (int x = 0; x < kDW; ++x) {
                uint32_t p = premultiplied(x, y);
                const unsigned a = p >> 24, keep = 255 - a;
                uint8_t* d = &frame.rgba[(std::size_t(y) * kDW + x) * 4];
                for (int c = 0; c < 4; ++c) d[c] = uint8_t(((p >> (8 * c)) & 0xFF) + (d[c] * keep + 127) / 255);
            }
    }
    unsigned long generation_ = 1;
    unsigned alpha = 128;
    int rowWords = 0;
    mutable std::vector<uint32_t> words;
};

// A device screen where every pixel tells where it is.
CCPixelImage deviceScreen() {
    CCPixelImage s;
    s.width = kDW;
    s.height = kDH;
    s.rgba.resize(std::size_t(kDW) * kDH * 4);
    for (int y = 0; y < kDH; ++y)
        for (int x = 0; x < kDW; ++x) {
            uint8_t* p = &s.rgba[(std::size_t(y) * kDW + x) * 4];
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t((x >> 8) | (y >> 8) << 2 | 0x80);
            p[3] = 255;
        }
    return s;
}

// Counts window pixels that are not the device pixel the layout puts there (black around).
int mismatches(const CCPixelImage& window, const CCPixelImage& device, int orientation) {
    CCWindowLayout layout = CCWindowLayout::fit(window.width, window.height, orientation);
    int bad = 0;
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            uint32_t want = 0x000000FFu;
            if (layout.containsWindowPoint(float(x), float(y))) {
                CGPoint v = layout.viewPointFromWindow(x + 0.5f, y + 0.5f);
                want = device.pixel(int(v.x), int(v.y));
            }
            uint32_t got = window.pixel(x, y) | 0xFF; // the window's alpha is of no account
            if (got != want && !bad++)
                ADD_FAILURE() << "window " << x << "," << y << std::hex << " " << got << " want " << want;
        }
    return bad;
}

class WindowPresenterTest : public ::testing::Test {
protected:
    CCPixelImage present(int w, int h, int orientation, const CCWindowPresenter::Frame& frame) {
        presenter.draw(w, h, orientation, frame);
        return ccReadPixels(0, 0, w, h);
    }
    void TearDown() override { presenter.tearDown(); }
    HeadlessGL gl;
    CCWindowPresenter presenter;
};

TEST_F(WindowPresenterTest, TheFrameAndTheOverlayBlendedOverItShowAsTheCPUCompositeWouldTurnedAndScaled) {
    ASSERT_TRUE(gl.makeFramebuffer(960, 700));
    presenter.setUp();
    const CCPixelImage screen = deviceScreen();
    TestOverlay overlay;
    CCWindowPresenter::Frame frame = presenter.uploadFrame(screen);
    CCPixelImage expected = screen;
    overlay.compositeOver(expected);
    // The overlay copied, taken as its own words, and copied again when its rows are padded.
    for (int rowWords : {0, kDW, kDW + 8}) {
        overlay.rowWords = rowWords;
        ++overlay.generation_;
        presenter.updateOverlay(&overlay);
        EXPECT_EQ(mismatches(present(960, 700, 3, frame), expected, 3), 0) << rowWords;
    }
    EXPECT_EQ(mismatches(present(960, 700, 1, frame), expected, 1), 0) << "portrait, letterboxed";

    // Frames of other sizes (or with no overlay) are shown as they are.
    frame.overlaid = false;
    EXPECT_EQ(mismatches(present(960, 700, 4, frame), screen, 4), 0);
    frame.overlaid = true;
    presenter.updateOverlay(nullptr);
    EXPECT_EQ(mismatches(present(960, 700, 2, frame), screen, 2), 0);
}

TEST_F(WindowPresenterTest, TheOverlayGoesToTheGPUOnlyWhenItsPictureChanged) {
    ASSERT_TRUE(gl.makeFramebuffer(640, 960));
    presenter.setUp();
    const CCPixelImage screen = deviceScreen();
    CCWindowPresenter::Frame frame = presenter.uploadFrame(screen);
    TestOverlay overlay;
    for (int i = 0; i < 3; ++i) presenter.updateOverlay(&overlay);
    EXPECT_EQ(presenter.overlayUploads(), 1u);

    overlay.alpha = 200;
    presenter.updateOverlay(&overlay);
    EXPECT_EQ(presenter.overlayUploads(), 1u) << "same generation, same picture";
    ++overlay.generation_;
    presenter.updateOverlay(&overlay);
    EXPECT_EQ(presenter.overlayUploads(), 2u);
    CCPixelImage expected = screen;
    overlay.compositeOver(expected);
    EXPECT_EQ(mismatches(present(640, 960, 1, frame), expected, 1), 0) << "the new picture is shown";

    // A picture with nothing in it is neither uploaded nor drawn.
    overlay.alpha = 0;
    ++overlay.generation_;
    presenter.updateOverlay(&overlay);
    EXPECT_EQ(presenter.overlayUploads(), 2u);
    EXPECT_EQ(mismatches(present(640, 960, 1, frame), screen, 1), 0);
}

} // namespace
