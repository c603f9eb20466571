#pragma once
// The banner strip: a clipping view along the bottom of the host view into which ad banners
// slide. It takes no touches until a banner has slid in, and even then lets touches in its
// top-left corner (0, 0, 280, 20) and on its own empty area through to the views behind.
// Every slide posts "BannerWillSlideIn"/"BannerDidSlideIn" or "BannerWillSlideOut"/
// "BannerDidSlideOut" on the default notification centre.
//
// The strip also carries a purchase button (with a dimmed background view and a busy wheel)
// that its owner may show; the game never shows it.
#include "CCPtr.h"
#include "UIActivityIndicatorView.h"
#include "UIButton.h"
#include "UIView.h"


inline constexpr const char* kBannerWillSlideIn = "BannerWillSlideIn";
inline constexpr const char* kBannerDidSlideIn = "BannerDidSlideIn";
inline constexpr const char* kBannerWillSlideOut = "BannerWillSlideOut";
inline constexpr const char* kBannerDidSlideOut = "BannerDidSlideOut";

class DTBannerClipView : public UIView {
public:
    // Clipping, clear background, no touches.
    bool initWithFrame(CGRect frame) override;
    ~DTBannerClipView() override;

    // Places the view at the bottom of the strip (x and size kept) and adds it.
    void addSubviewAtBottom(UIView* view);
    // The same, then moved down by its height, out of sight, together with the sliding view.
    void addSubviewOutsideAtBottom(UIView* view);
    void slideInSubview(UIView* view);
    void slideInSubviews();
    void slideOutSubview(UIView* view);
    void slideOutSubviews();
    // End of a slide in: touches on, "BannerDidSlideIn".
    void slideInDidStop(const std::string& animationID, bool finished, void* context);
    // End of a slide out: touches off, "BannerDidSlideOut", every banner removed.
    void slideOutDidStop(const std::string& animationID, bool finished, void* context);

    // A view elsewhere that moves with the banners (nullptr: none). Retained.
    UIView* slidingView() const { return slidingView_; }
    void setSlidingView(UIView* view) { slidingView_ = view; }

    // Made on first use: a custom button with stretchable border pictures, not darkened while
    // pressed. It is never added to the strip by the strip itself.
    UIButton* purchaseButton();
    void setPurchaseButton(UIButton* button);
    bool purchaseButtonVisible() const { return purchaseButtonVisible_; }
    void setPurchaseButtonVisible(bool visible) { setPurchaseButtonVisible(visible, false); }
    // Fades the button and the background view in or out ("PurchaseFade" when animated).
    void setPurchaseButtonVisible(bool visible, bool animated);
    bool purchaseButtonBusy() const { return purchaseButtonBusy_; }
    // Busy: the button is disabled and the wheel turns.
    void setPurchaseButtonBusy(bool busy);
    // Made on first use: zero frame, black at half alpha.
    UIView* backgroundView();
    // Made on first use: the small white wheel.
    UIActivityIndicatorView* activityIndicator();

    UIView* hitTest(CGPoint point, UIEvent* event) override;

private:
    static void post(const char* name);
    void moveDown(UIView* view, float by);

    CCPtr<UIButton> purchaseButton_;
    CCPtr<UIView> backgroundView_;
    bool purchaseButtonVisible_ = false;
    bool purchaseButtonBusy_ = false;
    CCPtr<UIView> slidingView_;
    CCPtr<UIActivityIndicatorView> activityIndicator_;
};
