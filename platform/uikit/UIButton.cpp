#include "UIButton.h"

#include "CALayer.h"
#include "UIColor.h"
#include <cairo.h>

#include "UIFont.h"
#include "UIImage.h"
#include "UILabel.h"

UIButton* UIButton::buttonWithType(int buttonType) {
    return ccCreate<UIButton>([&](UIButton* b) {
        b->buttonType_ = buttonType == UIButtonTypeRoundedRect ? UIButtonTypeRoundedRect : UIButtonTypeCustom;
        return b->initWithFrame(CGRectZero);
    });
}

bool UIButton::initWithFrame(CGRect frame) {
    if (!UIControl::initWithFrame(frame)) return false;
    titleLabel_ = UILabel::labelWithFrame({{0, 0}, frame.size});
    titleLabel_->setTextAlignment(UITextAlignmentCenter);
    titleLabel_->setFont(UIFont::boldSystemFontOfSize(15));
    titleLabel_->setBackgroundColor(nullptr);
    addSubview(titleLabel_);
    if (buttonType_ == UIButtonTypeRoundedRect) {
        setTitleColor(UIColor::colorWithRed(0.196f, 0.310f, 0.522f, 1), UIControlStateNormal);
        setTitleColor(UIColor::whiteColor(), UIControlStateHighlighted);
        layer()->setCornerRadius(8);
        layer()->setBorderWidth(1);
        layer()->setBorderColor({0.6f, 0.6f, 0.6f, 1});
    } else {
        setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    }
    updateFace();
    return true;
}

UIButton::UIButton() = default;
UIButton::~UIButton() = default;

void UIButton::setTitle(const std::string& title, unsigned state) {
    titles_[state] = title;
    updateTitle();
}

std::string UIButton::titleForState(unsigned state) const {
    auto it = titles_.find(state);
    if (it == titles_.end()) it = titles_.find(UIControlStateNormal);
    return it == titles_.end() ? std::string() : it->second;
}

void UIButton::setTitleColor(UIColor* color, unsigned state) {
    if (color) titleColors_[state] = color;
    else titleColors_.erase(state);
    updateTitle();
}

UIColor* UIButton::titleColorForState(unsigned state) const {
    auto it = titleColors_.find(state);
    if (it == titleColors_.end()) it = titleColors_.find(UIControlStateNormal);
    return it == titleColors_.end() ? UIColor::whiteColor() : it->second.get();
}

void UIButton::setBackgroundImage(UIImage* image, unsigned state) {
    if (image) backgroundImages_[state] = image;
    else backgroundImages_.erase(state);
    setNeedsDisplay();
}

UIImage* UIButton::backgroundImageForState(unsigned state) const {
    auto it = backgroundImages_.find(state);
    if (it == backgroundImages_.end()) it = backgroundImages_.find(UIControlStateNormal);
    return it == backgroundImages_.end() ? nullptr : it->second.get();
}

void UIButton::setHighlighted(bool highlighted) {
    UIControl::setHighlighted(highlighted);
    updateFace();
    updateTitle();
}

void UIButton::updateFace() {
    if (buttonType_ != UIButtonTypeRoundedRect) return;
    layer()->setBackgroundColor(isHighlighted() ? CGColorRef{0.02f, 0.45f, 0.96f, 1} : CGColorRef{1, 1, 1, 1});
}

void UIButton::updateTitle() {
    if (!titleLabel_) return;
    titleLabel_->setText(currentTitle());
    titleLabel_->setTextColor(currentTitleColor());
}

void UIButton::layoutSubviews() {
    if (titleLabel_) titleLabel_->setFrame({{0, 0}, bounds().size});
}

void UIButton::drawInContext(cairo_t* cr, CGRect bounds) {
    if (UIImage* image = currentBackgroundImage()) {
        image->drawInRect(cr, bounds);
        if (isHighlighted() && adjustsImageWhenHighlighted_) {
            // Darkened where the picture is: the picture itself as the mask.
            cairo_push_group(cr);
            image->drawInRect(cr, bounds);
            cairo_pattern_t* mask = cairo_pop_group(cr);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
            cairo_mask(cr, mask);
            cairo_pattern_destroy(mask);
        }
    }
    // The title fills the button; keep it in step with a frame or state changed since.
    CGRect full{{0, 0}, bounds.size};
    if (!(titleLabel_->frame() == full)) titleLabel_->setFrame(full);
    updateTitle();
}
