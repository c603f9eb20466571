#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CAGradientLayer.h"
#include "UIAlertView.h"
#include "UIButton.h"
#include "UIColor.h"
#include "UIFont.h"
#include "support/UIKitFixture.h"
#include "UILabel.h"
#include "UIOverlay.h"

namespace {

unsigned channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }
unsigned brightness(uint32_t p) { return channel(p, 16) + channel(p, 8) + channel(p, 0); }

using UIOverlayTest = UIKitFixture;

TEST_F(UIOverlayTest, AButtonsTitleIsDrawnInsideItsFrameOnly) {
    UIButton* b = UIButton::buttonWithType(UIButtonTypeCustom);
    b->setFrame({{40, 100}, {120, 44}});
    b->setBackgroundColor(UIColor::blackColor());
    b->setTitle("HELP", UIControlStateNormal);
    b->titleLabel()->setFont(UIFont::boldSystemFontOfSize(20));
    window->addSubview(b);
    UIOverlay overlay;
    overlay.redraw();

    int bright = 0, brightOutside = 0;
    for (int y = 0; y < UIOverlay::kHeight; ++y)
        for (int x = 0; x < UIOverlay::kWidth; ++x) {
            uint32_t p = overlay.pixelAt(x, y);
            bool inside = x >= 40 && x < 160 && y >= 100 && y < 144;
            if (brightness(p) > 600) (inside ? bright : brightOutside)++;
            if (!inside) {
                EXPECT_EQ(p >> 24, 0u) << x << "," << y;
            }
        }
    EXPECT_GT(bright, 40); // white title strokes
    EXPECT_EQ(brightOutside, 0);
    EXPECT_EQ(overlay.pixelAt(41, 101), 0xFF000000u); // black face away from the text
}

TEST_F(UIOverlayTest, AGradientLayerRunsFromItsFirstColourAtTheTopToTheLastAtTheBottom) {
    UIView* v = UIView::viewWithFrame({{0, 0}, {100, 48}});
    v->setCenter({160, 240});
    v->setTransform(CGAffineTransformMakeRotation(float(M_PI / 2))); // as the game turns its buttons
    CAGradientLayer* g = CAGradientLayer::layer();
    g->setBounds(v->bounds());
    g->setPosition({50, 24});
    g->setColors({UIColor::lightGrayColor()->CGColor(), UIColor::darkGrayColor()->CGColor()});
    v->layer()->insertSublayer(g, 0);
    v->layer()->setCornerRadius(8);
    v->layer()->setMasksToBounds(true);
    window->addSubview(v);
    UIOverlay overlay;
    overlay.redraw();

    // Turned a quarter: the view's top edge is on the screen's right, its bottom on the left.
    uint32_t top = overlay.pixelAt(160 + 22, 240), bottom = overlay.pixelAt(160 - 22, 240);
    EXPECT_EQ(top >> 24, 255u);
    EXPECT_EQ(bottom >> 24, 255u);
    EXPECT_GT(brightness(top), brightness(bottom) + 150);
    // Masked to its rounded bounds: the very corner stays clear.
    EXPECT_EQ(overlay.pixelAt(160 + 23, 240 - 49) >> 24, 0u);
}

TEST_F(UIOverlayTest, ItIsDrawnAgainOnlyAfterAViewChanged) {
    UIView* v = UIView::viewWithFrame({{10, 10}, {20, 20}});
    v->setBackgroundColor(UIColor::redColor());
    window->addSubview(v);
    UIOverlay overlay;
    EXPECT_TRUE(overlay.redrawIfNeeded());
    EXPECT_FALSE(overlay.redrawIfNeeded());
    EXPECT_EQ(overlay.pixelAt(15, 15), 0xFFFF0000u);
    v->setAlpha(0.5f);
    EXPECT_TRUE(overlay.redrawIfNeeded());
    EXPECT_EQ(overlay.pixelAt(15, 15) >> 24, 128u);
    EXPECT_FALSE(overlay.redrawIfNeeded());
    v->removeFromSuperview();
    EXPECT_TRUE(overlay.redrawIfNeeded());
    EXPECT_FALSE(overlay.hasContent());

    unsigned char rgba[UIOverlay::kWidth * UIOverlay::kHeight * 4];
    window->addSubview(v);
    overlay.redrawIfNeeded();
    overlay.copyRGBA(rgba);
    const unsigned char* px = rgba + (15 * UIOverlay::kWidth + 15) * 4;
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(px[3], 128);
}

// The overlay's pixels, row by row.
std::vector<uint32_t> pixels(const UIOverlay& overlay) {
    std::vector<uint32_t> all;
    for (int y = 0; y < UIOverlay::kHeight; ++y)
        for (int x = 0; x < UIOverlay::kWidth; ++x) all.push_back(overlay.pixelAt(x, y));
    return all;
}

TEST_F(UIOverlayTest, ALabelDrawnAgainAfterAChangeLooksLikeANewLabelWithItsNewText) {
    // Turned and grown: the text is laid out for another scale.
    auto turned = [](float turn) {
        return CGAffineTransformScale(CGAffineTransformMakeRotation(turn), 1 + turn * 1.4f, 1 + turn * 1.4f);
    };
    auto label = [&](const std::string& text, CGRect frame) {
        UILabel* l = UILabel::labelWithFrame(frame);
        l->setText(text);
        l->setFont(UIFont::boldSystemFontOfSize(18));
        l->setTextAlignment(UITextAlignmentCenter);
        return l;
    };
    auto fresh = [&](const std::string& text, CGRect frame, float turn) {
        UILabel* l = label(text, frame);
        l->setTransform(turned(turn));
        window->addSubview(l);
        UIOverlay overlay;
        overlay.redraw();
        l->removeFromSuperview();
        return pixels(overlay);
    };
    const CGRect wide{{20, 200}, {280, 40}}, narrow{{20, 200}, {120, 40}};
    const std::vector<uint32_t> score = fresh("SCORE 12", wide, 0), best = fresh("BEST 40", wide, 0),
                                narrowBest = fresh("BEST 40", narrow, 0), grown = fresh("BEST 40", wide, 0.5f);
    ASSERT_NE(score, best);
    ASSERT_NE(best, narrowBest);
    ASSERT_NE(best, grown);

    UILabel* l = label("SCORE 12", wide);
    window->addSubview(l);
    UIOverlay overlay;
    overlay.redraw();
    overlay.redraw();
    EXPECT_EQ(pixels(overlay), score) << "drawn twice";
    l->setText("BEST 40");
    overlay.redraw();
    EXPECT_EQ(pixels(overlay), best) << "new text";
    l->setFrame(narrow);
    overlay.redraw();
    EXPECT_EQ(pixels(overlay), narrowBest) << "narrower";
    l->setFrame(wide);
    l->setTransform(turned(0.5f));
    overlay.redraw();
    EXPECT_EQ(pixels(overlay), grown) << "turned and grown";
    l->setTransform(CGAffineTransformIdentity);
    overlay.redraw();
    EXPECT_EQ(pixels(overlay), best) << "straight again";
}

TEST_F(UIOverlayTest, AnAlertIsDrawnOverADimmedScreen) {
    UIOverlay overlay;
    overlay.redraw();
    EXPECT_EQ(overlay.pixelAt(5, 5), 0u);
    UIAlertView* alert = ccCreate<UIAlertView>(
        [](UIAlertView* a) { return a->initWithTitle("OH NO!!", "You got eaten by the dog!", nullptr, "Try again", {}); });
    alert->show();
    EXPECT_TRUE(overlay.redrawIfNeeded());
    EXPECT_GT(overlay.pixelAt(5, 5) >> 24, 50u);
    EXPECT_GT(overlay.pixelAt(160, 240) >> 24, 240u);
}

} // namespace
