#pragma once
// Holds the GL ES 1 context and the frame, colour and optional depth buffers of the GL view.
#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "EAGLContext.h"

class CAEAGLLayer;

class ES1Renderer : public CCObject {
public:
    // Makes the context current and the framebuffer with its colour renderbuffer; the depth
    // format (0, GL_DEPTH_COMPONENT16_OES or GL_DEPTH_COMPONENT24_OES) is used on resize.
    bool initWithDepthFormat(unsigned depthFormat);
    ~ES1Renderer() override;

    // Sizes the colour buffer to the layer (and the depth buffer to match); true when the
    // framebuffer is complete.
    bool resizeFromLayer(CAEAGLLayer* layer);
    CGSize backingSize() const;
    EAGLContext* context() const { return context_; }
    unsigned defaultFramebuffer() const { return defaultFramebuffer_; }
    unsigned colorRenderbuffer() const { return colorRenderbuffer_; }
    unsigned depthBuffer() const { return depthBuffer_; }
    unsigned depthFormat() const { return depthFormat_; }

    std::string description() const override;

private:
    int backingWidth_ = 0;
    int backingHeight_ = 0;
    unsigned defaultFramebuffer_ = 0;
    unsigned colorRenderbuffer_ = 0;
    unsigned depthBuffer_ = 0;
    unsigned depthFormat_ = 0;
    CCPtr<EAGLContext> context_;
};
