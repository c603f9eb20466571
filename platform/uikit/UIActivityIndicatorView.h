#pragma once
// The spinning "busy" wheel: twelve spokes drawn while it animates, hidden while stopped
// (unless told otherwise). Style 0 is large and white, 1 white, 2 grey.
#include "UIView.h"

enum UIActivityIndicatorViewStyle {
    UIActivityIndicatorViewStyleWhiteLarge = 0,
    UIActivityIndicatorViewStyleWhite = 1,
    UIActivityIndicatorViewStyleGray = 2,
};

class UIActivityIndicatorView : public UIView {
public:
    // Owned; 37 points square for the large style, 20 for the others. Unknown styles are white.
    static UIActivityIndicatorView* activityIndicatorViewWithStyle(int style);
    bool initWithActivityIndicatorStyle(int style);

    int activityIndicatorViewStyle() const { return style_; }
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);

protected:
    void drawInContext(cairo_t* cr, CGRect bounds) override;

private:
    int style_ = UIActivityIndicatorViewStyleWhite;
    bool animating_ = false;
    bool hidesWhenStopped_ = true;
};
