#pragma once
// A rectangle in the window's portrait coordinates (origin top-left, y down) with subviews.
// Geometry follows the platform's rules: frame is derived from center, bounds and transform.
#include <vector>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"

class NSSet;
class UIEvent;

class UIView : public CCObject {
public:
    static UIView* viewWithFrame(CGRect frame);
    virtual bool initWithFrame(CGRect frame);
    ~UIView() override;

    CGRect frame() const;
    void setFrame(CGRect frame);
    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds);
    CGPoint center() const { return center_; }
    void setCenter(CGPoint center) { center_ = center; }
    CGAffineTransform transform() const { return transform_; }
    void setTransform(const CGAffineTransform& transform) { transform_ = transform; }

    float alpha() const { return alpha_; }
    void setAlpha(float alpha) { alpha_ = alpha; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
    void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    UIView* superview() const { return superview_; }
    // Back to front; the superview retains its subviews.
    const std::vector<CCPtr<UIView>>& subviews() const { return subviews_; }
    void addSubview(UIView* view);
    void insertSubviewAtIndex(UIView* view, unsigned index);
    void bringSubviewToFront(UIView* view);
    void removeFromSuperview();
    // Called when the view joins or leaves a superview.
    virtual void didMoveToSuperview() {}

    // Layout: setNeedsLayout marks the view; layoutIfNeeded runs layoutSubviews once.
    virtual void layoutSubviews() {}
    void setNeedsLayout() { needsLayout_ = true; }
    bool needsLayout() const { return needsLayout_; }
    void layoutIfNeeded();

    // Between this view's coordinates and another view's (nullptr: the top-level coordinates).
    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const;
    bool pointInside(CGPoint point) const;

    // Touch callbacks; the base view ignores them.
    virtual void touchesBegan(NSSet* touches, UIEvent* event);
    virtual void touchesMoved(NSSet* touches, UIEvent* event);
    virtual void touchesEnded(NSSet* touches, UIEvent* event);
    virtual void touchesCancelled(NSSet* touches, UIEvent* event);

private:
    CGPoint toSuperview(CGPoint p) const;
    CGPoint fromSuperview(CGPoint p) const;

    CGRect bounds_{};
    CGPoint center_{};
    CGAffineTransform transform_ = CGAffineTransformIdentity;
    float alpha_ = 1;
    bool hidden_ = false;
    bool opaque_ = true;
    bool userInteractionEnabled_ = true;
    bool multipleTouchEnabled_ = false;
    bool needsLayout_ = true;
    int tag_ = 0;
    UIView* superview_ = nullptr;
    std::vector<CCPtr<UIView>> subviews_;
};
