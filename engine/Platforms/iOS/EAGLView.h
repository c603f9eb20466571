#pragma once
// The on-screen drawing surface: a view whose layer is a GL drawable. It owns the renderer,
// presents each finished frame, tells the director when its size changes, and forwards the
// platform's touches to its touch delegate (the touch dispatcher).
#include <string>

#include "CAEAGLLayer.h"
#include "CCPtr.h"
#include "UIView.h"

class EAGLContext;
class EAGLTouchDelegate;
class ES1Renderer;

class EAGLView : public UIView {
public:
    // Defaults: RGB565, no depth buffer, no preserved back buffer. nullptr when no context or
    // renderer can be made.
    static EAGLView* viewWithFrame(CGRect frame);
    static EAGLView* viewWithFrame(CGRect frame, const std::string& format);
    static EAGLView* viewWithFrame(CGRect frame, const std::string& format, unsigned depth, bool retained);
    bool initWithFrame(CGRect frame) override;
    bool initWithFrame(CGRect frame, const std::string& format);
    bool initWithFrame(CGRect frame, const std::string& format, unsigned depth, bool retained);
    // From a stored interface description: RGB565, no depth, the layer's bounds.
    bool initWithCoder(CGRect layerBounds);
    ~EAGLView() override;

    // Presents the frame; lets go of the depth contents first when the GL can be told so.
    void swapBuffers();
    // Resizes the buffers to the layer, then reshapes the director's projection and draws a
    // frame at once.
    void layoutSubviews() override;

    CGSize surfaceSize() const { return size_; }
    const std::string& pixelFormat() const { return pixelformat_; }
    unsigned depthFormat() const { return depthFormat_; }
    EAGLContext* context() const { return context_; }
    ES1Renderer* renderer() const { return renderer_; }
    CAEAGLLayer* eaglLayer() const { return eaglLayer_; }
    EAGLTouchDelegate* touchDelegate() const { return touchDelegate_; }
    void setTouchDelegate(EAGLTouchDelegate* delegate) { touchDelegate_ = delegate; }

    // Pixels per point of the drawable; a change lays the view out again.
    float contentScaleFactor() const;
    void setContentScaleFactor(float factor);

    CGPoint convertPointFromViewToSurface(CGPoint point) const;
    CGRect convertRectFromViewToSurface(CGRect rect) const;

    void touchesBegan(NSSet* touches, UIEvent* event) override;
    void touchesMoved(NSSet* touches, UIEvent* event) override;
    void touchesEnded(NSSet* touches, UIEvent* event) override;
    void touchesCancelled(NSSet* touches, UIEvent* event) override;

private:
    bool setupSurface();

    CCPtr<ES1Renderer> renderer_;
    EAGLContext* context_ = nullptr; // the renderer's
    CCPtr<CAEAGLLayer> eaglLayer_;
    std::string pixelformat_ = kEAGLColorFormatRGB565;
    unsigned depthFormat_ = 0;
    bool preserveBackbuffer_ = false;
    CGSize size_{0, 0};
    bool discardFramebufferSupported_ = false;
    EAGLTouchDelegate* touchDelegate_ = nullptr; // not retained
};
