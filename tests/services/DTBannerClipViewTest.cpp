#include <gtest/gtest.h>

#include "services/BannerTestSupport.h"
#include "UIButton.h"
#include "UIImage.h"
#include "UIOverlay.h"
#include "UITabBarController.h"

namespace {

class DTBannerClipViewTest : public BannerFixture {
protected:
    // A plain 320 × 50 banner.
    UIView* banner() { return UIView::viewWithFrame({{0, 0}, {320, 50}}); }
    DTBannerClipView* strip() {
        manager()->setViewControllerWithBanner(host);
        return manager()->bannerClipView();
    }
};

TEST_F(DTBannerClipViewTest, TheStripSitsAlongTheBottomOfTheHostViewAboveATabBar) {
    DTBannerClipView* s = strip();
    EXPECT_EQ(s->frame(), (CGRect{{0, 405}, {320, 75}}));
    EXPECT_TRUE(s->clipsToBounds());
    EXPECT_FALSE(s->isUserInteractionEnabled());
    DTBannerManager::purgeSharedManager();

    auto tabs = CCPtr<UITabBarController>::adopt(new UITabBarController);
    tabs->setView(UIView::viewWithFrame({{0, 0}, {320, 480}}));
    manager()->setViewControllerWithBanner(tabs);
    EXPECT_EQ(manager()->bannerClipView()->frame(), (CGRect{{0, 356}, {320, 75}}));
}

TEST_F(DTBannerClipViewTest, ABannerSlidInFillsTheLowerFiftyPointsAndTurnsTouchesOn) {
    DTBannerClipView* s = strip();
    auto recorder = CCPtr<SlideRecorder>::adopt(new SlideRecorder);
    recorder->listen();
    UIView* b = banner();
    s->slideInSubview(b);
    EXPECT_EQ(b->superview(), s);
    EXPECT_EQ(b->frame(), (CGRect{{0, 25}, {320, 50}}));
    EXPECT_TRUE(CGAffineTransformIsIdentity(b->transform()));
    EXPECT_TRUE(s->isUserInteractionEnabled());
    EXPECT_EQ(recorder->names, (std::vector<std::string>{kBannerWillSlideIn, kBannerDidSlideIn}));

    // One banner out: the strip is emptied and closed first, then the banner moves away.
    recorder->names.clear();
    s->slideOutSubview(b);
    EXPECT_EQ(recorder->names, (std::vector<std::string>{kBannerDidSlideOut, kBannerWillSlideOut}));
    EXPECT_EQ(b->superview(), nullptr);
    EXPECT_EQ(b->transform().ty, 50);
    EXPECT_FALSE(s->isUserInteractionEnabled());

    // All out at once: will, then did.
    s->slideInSubview(banner());
    recorder->names.clear();
    s->slideOutSubviews();
    EXPECT_EQ(recorder->names, (std::vector<std::string>{kBannerWillSlideOut, kBannerDidSlideOut}));
    EXPECT_TRUE(s->subviews().empty());
    EXPECT_FALSE(s->isUserInteractionEnabled());

    // Back in place, every subview at once.
    UIView* parked = banner();
    s->addSubviewOutsideAtBottom(parked);
    EXPECT_EQ(parked->frame().origin.y, 75);
    recorder->names.clear();
    s->slideInSubviews();
    EXPECT_EQ(parked->frame().origin.y, 25);
    EXPECT_EQ(recorder->names, (std::vector<std::string>{kBannerWillSlideIn, kBannerDidSlideIn}));
}

TEST_F(DTBannerClipViewTest, TheSlidingViewMovesWithTheBanners) {
    DTBannerClipView* s = strip();
    UIView* follower = UIView::viewWithFrame({{0, 0}, {320, 405}});
    s->setSlidingView(follower);
    s->slideInSubview(banner());
    EXPECT_TRUE(CGAffineTransformIsIdentity(follower->transform()));
    s->slideOutSubviews();
    EXPECT_EQ(follower->transform().ty, 75);
}

TEST_F(DTBannerClipViewTest, TouchesInTheTopLeftCornerAndOnTheEmptyStripPassThrough) {
    host->view()->addSubview(strip());
    UIView* full = UIView::viewWithFrame({{0, 0}, {320, 75}});
    strip()->addSubviewAtBottom(full);
    strip()->slideInDidStop("", true, nullptr);
    EXPECT_EQ(strip()->hitTest({10, 10}, nullptr), nullptr);
    EXPECT_EQ(strip()->hitTest({279, 19}, nullptr), nullptr);
    EXPECT_EQ(strip()->hitTest({281, 10}, nullptr), full);
    EXPECT_EQ(strip()->hitTest({10, 21}, nullptr), full);
    full->removeFromSuperview();
    strip()->addSubviewAtBottom(banner());
    EXPECT_EQ(strip()->hitTest({300, 10}, nullptr), nullptr); // the strip itself, above the banner
    EXPECT_NE(strip()->hitTest({300, 40}, nullptr), nullptr);
    // Through the window: a tap in the passing corner reaches the view behind.
    EXPECT_EQ(window->hitTest({10, 415}, nullptr), host->view());
}

struct Buyer : DTBannerManagerDelegate {
    int pushes = 0;
    void bannerManagerDidPushPurchaseButton(DTBannerManager*) override { ++pushes; }
};

TEST_F(DTBannerClipViewTest, ThePurchaseButtonIsWiredToTheManagerButNeverInTheStrip) {
    DTBannerClipView* s = strip();
    UIButton* b = s->purchaseButton();
    EXPECT_EQ(b->buttonType(), UIButtonTypeCustom);
    EXPECT_FALSE(b->adjustsImageWhenHighlighted());
    for (unsigned state : {unsigned(UIControlStateNormal), unsigned(UIControlStateHighlighted),
                           unsigned(UIControlStateDisabled)}) {
        UIImage* image = b->backgroundImageForState(state);
        ASSERT_NE(image, nullptr) << state;
        EXPECT_EQ(image->leftCapWidth(), 4);
        EXPECT_EQ(image->topCapHeight(), 30);
    }
    EXPECT_NE(b->backgroundImageForState(UIControlStateNormal), b->backgroundImageForState(UIControlStateDisabled));
    EXPECT_EQ(b->superview(), nullptr);

    Buyer buyer;
    b->sendActionsForControlEvents(UIControlEventTouchUpInside);
    manager()->setDelegate(&buyer);
    b->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(buyer.pushes, 1);
    manager()->setDelegate(nullptr);

    s->setPurchaseButtonBusy(true);
    EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(s->activityIndicator()->isAnimating());
    EXPECT_EQ(s->activityIndicator()->activityIndicatorViewStyle(), UIActivityIndicatorViewStyleWhite);
    s->setPurchaseButtonBusy(false);
    EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(s->activityIndicator()->isHidden());

    s->setPurchaseButtonVisible(true);
    EXPECT_EQ(b->alpha(), 1);
    EXPECT_EQ(s->backgroundView()->alpha(), 1);
    s->setPurchaseButtonVisible(false, true); // faded over the animation
    EXPECT_EQ(b->alpha(), 0);
    EXPECT_EQ(s->backgroundView()->frame(), CGRectZero);
}

TEST_F(DTBannerClipViewTest, StretchedPicturesKeepTheirCapsAndFillTheRest) {
    // 9 × 61: red left cap of 4 columns, a green middle column, blue right cap.
    auto rgba = makeRGBA(9, 61, [](unsigned x, unsigned) {
        return std::array<std::uint8_t, 4>{std::uint8_t(x < 4 ? 255 : 0), std::uint8_t(x == 4 ? 255 : 0),
                                           std::uint8_t(x > 4 ? 255 : 0), 255};
    });
    UIImage* image = UIImage::imageWithCGImage(CGImage::imageWithRGBA(9, 61, rgba))->stretchableImageWithLeftCapWidth(4, 30);
    UIButton* b = UIButton::buttonWithType(UIButtonTypeCustom);
    b->setFrame({{0, 0}, {100, 80}});
    b->setBackgroundImage(image, UIControlStateNormal);
    window->addSubview(b);
    UIOverlay overlay;
    overlay.redraw();
    EXPECT_EQ(overlay.pixelAt(1, 40) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(overlay.pixelAt(50, 40) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(overlay.pixelAt(97, 40) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(overlay.pixelAt(50, 79) & 0xFFFFFF, 0x00FF00u);
}

} // namespace
