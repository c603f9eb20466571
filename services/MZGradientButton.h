#pragma once
// A platform button whose face is a two-colour gradient with rounded corners and a thin border;
// while a finger is on it the gradient switches to a second pair of colours. The face is drawn
// by the overlay's layers: the button only configures them.
#include "CCPtr.h"
#include "UIButton.h"

class CAGradientLayer;
class UIColor;

class MZGradientButton : public UIButton {
public:
    // The base initialisation, then the gradient layer beneath the title.
    bool initWithFrame(CGRect frame) override;
    // The same set-up for a button whose geometry was given otherwise.
    void awakeFromNib();
    ~MZGradientButton() override;

    CAGradientLayer* mainGradiation() const { return mainGradiation_; }
    void setMainGradiation(CAGradientLayer* layer);

    // The colours are not retained: the caller keeps them alive (the named colours live for
    // the process).
    UIColor* mainColor() const { return mainColor_; }
    void setMainColor(UIColor* color) { mainColor_ = color; }
    UIColor* secondaryColor() const { return secondaryColor_; }
    void setSecondaryColor(UIColor* color) { secondaryColor_ = color; }
    UIColor* highlightedMain() const { return highlightedMain_; }
    void setHighlightedMain(UIColor* color) { highlightedMain_ = color; }
    UIColor* highlightedSecondary() const { return highlightedSecondary_; }
    void setHighlightedSecondary(UIColor* color) { highlightedSecondary_ = color; }

    // Shows the normal colours and shapes the button's layer.
    void setCornerRad(float radius, bool doesMaskToBounds, float withBorderWidth);

    // True while a finger is down on the button.
    bool isTouchedDown() const { return isSelected_; }

    void touchesBegan(NSSet* touches, UIEvent* event) override;
    void touchesEnded(NSSet* touches, UIEvent* event) override;
    void touchesCancelled(NSSet* touches, UIEvent* event) override;

private:
    void setUpGradient();
    void showColors(UIColor* first, UIColor* second);

    CCPtr<CAGradientLayer> mainGradiation_;
    UIColor* mainColor_ = nullptr;
    UIColor* secondaryColor_ = nullptr;
    bool isSelected_ = false;
    UIColor* highlightedMain_ = nullptr;
    UIColor* highlightedSecondary_ = nullptr;
};
