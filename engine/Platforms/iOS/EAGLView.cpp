#include "EAGLView.h"

#include "CCConfiguration.h"
#include "CCDirector.h"
#include "CCGLExtensions.h"
#include "EAGLTouchDelegate.h"
#include "ES1Renderer.h"

EAGLView* EAGLView::viewWithFrame(CGRect frame) {
    return ccCreate<EAGLView>([&](EAGLView* v) { return v->initWithFrame(frame); });
}

EAGLView* EAGLView::viewWithFrame(CGRect frame, const std::string& format) {
    return ccCreate<EAGLView>([&](EAGLView* v) { return v->initWithFrame(frame, format); });
}

EAGLView* EAGLView::viewWithFrame(CGRect frame, const std::string& format, unsigned depth, bool retained) {
    return ccCreate<EAGLView>([&](EAGLView* v) { return v->initWithFrame(frame, format, depth, retained); });
}

bool EAGLView::initWithFrame(CGRect frame) { return initWithFrame(frame, kEAGLColorFormatRGB565, 0, false); }

bool EAGLView::initWithFrame(CGRect frame, const std::string& format) {
    return initWithFrame(frame, format, 0, false);
}

bool EAGLView::initWithFrame(CGRect frame, const std::string& format, unsigned depth, bool retained) {
    if (!UIView::initWithFrame(frame)) return false;
    pixelformat_ = format;
    depthFormat_ = depth;
    preserveBackbuffer_ = retained;
    size_ = frame.size;
    return setupSurface();
}

bool EAGLView::initWithCoder(CGRect layerBounds) {
    if (!UIView::initWithFrame(layerBounds)) return false;
    pixelformat_ = kEAGLColorFormatRGB565;
    depthFormat_ = 0;
    size_ = layerBounds.size;
    return setupSurface();
}

EAGLView::~EAGLView() = default;

bool EAGLView::setupSurface() {
    eaglLayer_ = CAEAGLLayer::layer();
    eaglLayer_->setBounds(bounds());
    eaglLayer_->setOpaque(true);
    eaglLayer_->setDrawableProperties({preserveBackbuffer_, pixelformat_});

    renderer_ = CCPtr<ES1Renderer>::adopt(
        ccNew<ES1Renderer>([&](ES1Renderer* r) { return r->initWithDepthFormat(depthFormat_); }));
    if (!renderer_) return false;
    context_ = renderer_->context();
    context_->renderbufferStorage(GL_RENDERBUFFER_OES, eaglLayer_);
    discardFramebufferSupported_ = CCConfiguration::sharedConfiguration()->supportsDiscardFramebuffer();
    return true;
}

void EAGLView::swapBuffers() {
    if (discardFramebufferSupported_ && depthFormat_) {
        GLenum attachments[] = {GL_DEPTH_ATTACHMENT_OES};
        glDiscardFramebufferEXT(GL_FRAMEBUFFER_OES, 1, attachments);
    }
    context_->presentRenderbuffer(GL_RENDERBUFFER_OES);
}

void EAGLView::layoutSubviews() {
    eaglLayer_->setBounds(bounds());
    renderer_->resizeFromLayer(eaglLayer_);
    size_ = renderer_->backingSize();
    CCDirector* director = CCDirector::sharedDirector();
    director->reshapeProjection(size_);
    // An immediate frame at the new size (only for the director's own view).
    if (director->openGLView() == this) director->drawScene();
}

float EAGLView::contentScaleFactor() const { return eaglLayer_->contentsScale(); }

void EAGLView::setContentScaleFactor(float factor) {
    if (factor == eaglLayer_->contentsScale()) return;
    eaglLayer_->setContentsScale(factor);
    setNeedsLayout();
}

CGPoint EAGLView::convertPointFromViewToSurface(CGPoint point) const {
    CGRect b = bounds();
    return CGPointMake((point.x - b.origin.x) / b.size.width * size_.width,
                       (point.y - b.origin.y) / b.size.height * size_.height);
}

CGRect EAGLView::convertRectFromViewToSurface(CGRect rect) const {
    CGRect b = bounds();
    return CGRectMake((rect.origin.x - b.origin.x) / b.size.width * size_.width,
                      (rect.origin.y - b.origin.y) / b.size.height * size_.height,
                      rect.size.width / b.size.width * size_.width, rect.size.height / b.size.height * size_.height);
}

void EAGLView::touchesBegan(NSSet* touches, UIEvent* event) {
    if (touchDelegate_) touchDelegate_->touchesBegan(touches, event);
}

void EAGLView::touchesMoved(NSSet* touches, UIEvent* event) {
    if (touchDelegate_) touchDelegate_->touchesMoved(touches, event);
}

void EAGLView::touchesEnded(NSSet* touches, UIEvent* event) {
    if (touchDelegate_) touchDelegate_->touchesEnded(touches, event);
}

void EAGLView::touchesCancelled(NSSet* touches, UIEvent* event) {
    if (touchDelegate_) touchDelegate_->touchesCancelled(touches, event);
}
