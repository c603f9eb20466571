#pragma once
// A rectangle drawn by the overlay: background, contents, sublayers (back to front) and a
// border, optionally clipped to its rounded bounds. A view's own layer takes its geometry from
// the view; a free layer is placed by bounds and position in its superlayer's coordinates.
#include <vector>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGColor.h"
#include "CGGeometry.h"

typedef struct _cairo cairo_t;

// What a view's own layer reports to its view: its drawing changed.
class CALayerDelegate {
public:
    virtual void layerNeedsDisplay() = 0;

protected:
    ~CALayerDelegate() = default;
};

class CALayer : public CCObject {
public:
    static CALayer* layer();
    ~CALayer() override;

    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds);
    CGPoint position() const { return position_; }
    void setPosition(CGPoint position);
    // Where position sits inside the bounds, in unit coordinates; (0.5, 0.5) by default.
    CGPoint anchorPoint() const { return anchorPoint_; }
    void setAnchorPoint(CGPoint anchor);
    CGRect frame() const;
    void setFrame(CGRect frame);

    float cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(float radius);
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks);
    float borderWidth() const { return borderWidth_; }
    void setBorderWidth(float width);
    // Opaque black unless set.
    CGColorRef borderColor() const { return borderColor_; }
    void setBorderColor(CGColorRef color);
    // Transparent unless set.
    CGColorRef backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(CGColorRef color);
    float opacity() const { return opacity_; }
    void setOpacity(float opacity);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);

    // Sublayers are retained, back to front.
    const std::vector<CCPtr<CALayer>>& sublayers() const { return sublayers_; }
    CALayer* superlayer() const { return superlayer_; }
    void addSublayer(CALayer* layer);
    // Index past the end appends.
    void insertSublayer(CALayer* layer, unsigned index);
    void removeFromSuperlayer();

    // The view this layer belongs to (not retained), or nullptr for a free layer.
    CALayerDelegate* delegate() const { return delegate_; }
    void setDelegate(CALayerDelegate* view) { delegate_ = view; }

    // Draws this layer and its sublayers; the context is in the superlayer's coordinates.
    void renderInContext(cairo_t* cr);
    // Draws background, contents and sublayers with the context already in this layer's own
    // coordinates (origin at the bounds' top-left), without the border.
    void renderBody(cairo_t* cr, CGRect bounds);
    // Strokes the border inside the bounds.
    void renderBorder(cairo_t* cr, CGRect bounds);
    // Adds the rounded rectangle of the bounds to the current path.
    void addShapePath(cairo_t* cr, CGRect bounds) const;

protected:
    // The layer's own contents, above its background and below its sublayers.
    virtual void drawInContext(cairo_t* cr, CGRect bounds);
    // Tells whoever shows this layer that it must be drawn again.
    void setNeedsDisplay();

private:
    CGRect bounds_{};
    CGPoint position_{};
    CGPoint anchorPoint_{0.5f, 0.5f};
    float cornerRadius_ = 0;
    bool masksToBounds_ = false;
    float borderWidth_ = 0;
    CGColorRef borderColor_{0, 0, 0, 1};
    CGColorRef backgroundColor_{};
    float opacity_ = 1;
    bool hidden_ = false;
    std::vector<CCPtr<CALayer>> sublayers_;
    CALayer* superlayer_ = nullptr;
    CALayerDelegate* delegate_ = nullptr;
};
