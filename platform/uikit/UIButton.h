#pragma once
// A push button: a title per control state in a colour per state, drawn by its title label
// over the button's layer (custom buttons have no face of their own; rounded-rect buttons a
// white rounded face that turns blue while pressed).
#include <map>
#include <string>

#include "UIControl.h"

class UIColor;
class UIImage;
class UILabel;

enum UIButtonType { UIButtonTypeCustom = 0, UIButtonTypeRoundedRect = 1 };

class UIButton : public UIControl {
public:
    static UIButton* buttonWithType(int buttonType);
    bool initWithFrame(CGRect frame) override;
    UIButton();
    ~UIButton() override;

    int buttonType() const { return buttonType_; }
    void setTitle(const std::string& title, unsigned state);
    // The title for the state, else the normal state's; empty when there is none.
    std::string titleForState(unsigned state) const;
    void setTitleColor(UIColor* color, unsigned state);
    UIColor* titleColorForState(unsigned state) const;
    std::string currentTitle() const { return titleForState(state()); }
    UIColor* currentTitleColor() const { return titleColorForState(state()); }
    // A picture drawn beneath the title, filling the button (stretched by its caps).
    void setBackgroundImage(UIImage* image, unsigned state);
    // The state's picture, else the normal state's; nullptr when there is none.
    UIImage* backgroundImageForState(unsigned state) const;
    UIImage* currentBackgroundImage() const { return backgroundImageForState(state()); }
    // Whether the picture is drawn darker while the button is pressed (the default).
    bool adjustsImageWhenHighlighted() const { return adjustsImageWhenHighlighted_; }
    void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsImageWhenHighlighted_ = adjusts; }
    // The label that draws the title; set its font to change the title's font.
    UILabel* titleLabel() const { return titleLabel_; }

    void setHighlighted(bool highlighted) override;
    void layoutSubviews() override;

protected:
    void drawInContext(cairo_t* cr, CGRect bounds) override;

private:
    void updateTitle();
    void updateFace();

    int buttonType_ = UIButtonTypeCustom;
    std::map<unsigned, std::string> titles_;
    std::map<unsigned, CCPtr<UIColor>> titleColors_;
    std::map<unsigned, CCPtr<UIImage>> backgroundImages_;
    bool adjustsImageWhenHighlighted_ = true;
    CCPtr<UILabel> titleLabel_;
};
