#pragma once
// A rectangle in the window's portrait coordinates (origin top-left, y down) with subviews.
// Geometry follows the platform's rules: frame is derived from center, bounds and transform.
// Every view has a layer; the overlay draws the window's views through their layers.
#include <string>
#include <vector>

#include "CALayer.h"
#include "CCObject.h"
#include "CCPtr.h"
#include "CCSelector.h"
#include "CGGeometry.h"

typedef struct _cairo cairo_t;
class CALayer;
class NSSet;
class UIColor;
class UIEvent;

class UIView : public CCObject, public CALayerDelegate {
public:
    UIView();
    static UIView* viewWithFrame(CGRect frame);
    virtual bool initWithFrame(CGRect frame);
    ~UIView() override;

    CGRect frame() const;
    void setFrame(CGRect frame);
    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds);
    CGPoint center() const { return center_; }
    void setCenter(CGPoint center);
    CGAffineTransform transform() const { return transform_; }
    void setTransform(const CGAffineTransform& transform);

    float alpha() const { return alpha_; }
    void setAlpha(float alpha);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
    void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // nullptr (the default) draws no background.
    UIColor* backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(UIColor* color);
    // The same flag as the layer's masksToBounds.
    bool clipsToBounds() const;
    void setClipsToBounds(bool clips);
    // The view's own layer, owned by the view; its geometry follows the view.
    CALayer* layer() const { return layer_; }

    UIView* superview() const { return superview_; }
    // Back to front; the superview retains its subviews.
    const std::vector<CCPtr<UIView>>& subviews() const { return subviews_; }
    void addSubview(UIView* view);
    void insertSubviewAtIndex(UIView* view, unsigned index);
    void bringSubviewToFront(UIView* view);
    // Inside an animation block with a duration, the view fades out and leaves at the end.
    void removeFromSuperview();
    // Called when the view joins or leaves a superview.
    virtual void didMoveToSuperview() {}
    UIView* viewWithTag(int tag);
    bool isDescendantOfView(const UIView* view) const;

    // Layout: setNeedsLayout marks the view; layoutIfNeeded runs layoutSubviews once.
    virtual void layoutSubviews() {}
    void setNeedsLayout() { needsLayout_ = true; }
    bool needsLayout() const { return needsLayout_; }
    void layoutIfNeeded();

    // Marks the top of this view's tree as needing a new overlay drawing.
    void setNeedsDisplay();
    void layerNeedsDisplay() override { setNeedsDisplay(); }
    bool needsDisplay() const { return needsDisplay_; }
    void clearNeedsDisplay() { needsDisplay_ = false; }

    // Between this view's coordinates and another view's (nullptr: the top-level coordinates).
    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const;
    virtual bool pointInside(CGPoint point) const;
    // The frontmost visible, interactive descendant (or this view) under a point of this
    // view's coordinates; nullptr when the point is outside or the view takes no touches.
    virtual UIView* hitTest(CGPoint point, UIEvent* event);

    // Touch callbacks; the base view ignores them.
    virtual void touchesBegan(NSSet* touches, UIEvent* event);
    virtual void touchesMoved(NSSet* touches, UIEvent* event);
    virtual void touchesEnded(NSSet* touches, UIEvent* event);
    virtual void touchesCancelled(NSSet* touches, UIEvent* event);

    // Draws the view and its subviews; the context is in the superview's coordinates.
    void renderInContext(cairo_t* cr);

    // View animation blocks: changes of alpha, center and frame made between begin and
    // commit run over the duration on the application's clock. Getters give the end values
    // at once; drawing shows the values in between.
    static void beginAnimations(const std::string& animationID, void* context);
    static void setAnimationDuration(double seconds);
    // Called when the block's animations have finished: (animationID, finished, context).
    using SEL_ANIMATION_STOP = CCSelector<void(const std::string&, bool, void*)>;
    static void setAnimationDelegate(CCObject* delegate);
    static void setAnimationDidStopSelector(SEL_ANIMATION_STOP selector);
    static void commitAnimations();
    // What drawing shows now (the model values when nothing animates).
    float presentationAlpha() const;
    CGPoint presentationCenter() const;
    // True while a removal inside an animation block waits for its end.
    bool isBeingRemoved() const { return beingRemoved_; }
    // Leaves the superview now, even inside an animation block, cancelling a pending removal.
    void removeFromSuperviewAtOnce();

protected:
    // The view's own contents, above its layer's background and sublayers, below subviews;
    // the context is in the view's coordinates.
    virtual void drawInContext(cairo_t* cr, CGRect bounds);

private:
    friend class UIViewAnimator;
    CGPoint toSuperview(CGPoint p) const;
    CGPoint fromSuperview(CGPoint p) const;
    void detachFromSuperview();

    CGRect bounds_{};
    CGPoint center_{};
    CGAffineTransform transform_ = CGAffineTransformIdentity;
    float alpha_ = 1;
    bool hidden_ = false;
    bool opaque_ = true;
    bool userInteractionEnabled_ = true;
    bool multipleTouchEnabled_ = false;
    bool needsLayout_ = true;
    bool needsDisplay_ = true;
    bool beingRemoved_ = false;
    int tag_ = 0;
    UIView* superview_ = nullptr;
    std::vector<CCPtr<UIView>> subviews_;
    // The subviews a layout pass walks, kept between passes (a nested pass makes its own).
    std::vector<CCPtr<UIView>> layoutWalk_;
    CCPtr<CALayer> layer_;
    CCPtr<UIColor> backgroundColor_;
};
