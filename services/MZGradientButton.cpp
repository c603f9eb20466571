#include "MZGradientButton.h"

#include "CAGradientLayer.h"
#include "UIColor.h"

bool MZGradientButton::initWithFrame(CGRect frame) {
    if (!UIButton::initWithFrame(frame)) return false;
    setUpGradient();
    return true;
}

void MZGradientButton::awakeFromNib() { setUpGradient(); }

MZGradientButton::~MZGradientButton() = default;

void MZGradientButton::setMainGradiation(CAGradientLayer* layer) { mainGradiation_ = layer; }

void MZGradientButton::setUpGradient() {
    if (mainGradiation_) mainGradiation_->removeFromSuperlayer();
    CGRect b = bounds();
    mainGradiation_ = CAGradientLayer::layer();
    mainGradiation_->setBounds(b);
    mainGradiation_->setPosition({b.size.width * 0.5f, b.size.height * 0.5f});
    layer()->insertSublayer(mainGradiation_, 0);
    isSelected_ = false;
    layer()->setCornerRadius(8.5f);
    layer()->setMasksToBounds(true);
    layer()->setBorderWidth(0.6f);
}

void MZGradientButton::showColors(UIColor* first, UIColor* second) {
    if (!mainGradiation_) return;
    // A colour left unset shows as clear rather than failing.
    CGColorRef clear{};
    mainGradiation_->setColors({first ? first->CGColor() : clear, second ? second->CGColor() : clear});
}

void MZGradientButton::setCornerRad(float radius, bool doesMaskToBounds, float withBorderWidth) {
    showColors(mainColor_, secondaryColor_);
    layer()->setCornerRadius(radius);
    layer()->setMasksToBounds(doesMaskToBounds);
    layer()->setBorderWidth(withBorderWidth);
}

void MZGradientButton::touchesBegan(NSSet* touches, UIEvent* event) {
    isSelected_ = true;
    showColors(highlightedMain_, highlightedSecondary_);
    UIButton::touchesBegan(touches, event);
}

void MZGradientButton::touchesEnded(NSSet* touches, UIEvent* event) {
    isSelected_ = false;
    showColors(mainColor_, secondaryColor_);
    UIButton::touchesEnded(touches, event);
}

void MZGradientButton::touchesCancelled(NSSet* touches, UIEvent* event) {
    isSelected_ = false;
    showColors(mainColor_, secondaryColor_);
    UIButton::touchesCancelled(touches, event);
}
