#include "ES1Renderer.h"

#include <cstdio>

#include "CAEAGLLayer.h"
#include "CCAssert.h"
#include "CCGLExtensions.h"
#include "CCLog.h"

bool ES1Renderer::initWithDepthFormat(unsigned depthFormat) {
    context_ = CCPtr<EAGLContext>::adopt(
        ccNew<EAGLContext>([](EAGLContext* c) { return c->initWithAPI(kEAGLRenderingAPIOpenGLES1); }));
    if (!context_ || !EAGLContext::setCurrentContext(context_)) return false;

    glGenFramebuffersOES(1, &defaultFramebuffer_);
    CCAssert(defaultFramebuffer_ != 0, "Can't create default frame buffer");
    glGenRenderbuffersOES(1, &colorRenderbuffer_);
    CCAssert(colorRenderbuffer_ != 0, "Can't create default render buffer");

    glBindFramebufferOES(GL_FRAMEBUFFER_OES, defaultFramebuffer_);
    glBindRenderbufferOES(GL_RENDERBUFFER_OES, colorRenderbuffer_);
    glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                                 colorRenderbuffer_);
    depthFormat_ = depthFormat;

    GLenum error = glGetError();
    if (error != GL_NO_ERROR) CCLog("OpenGL error 0x%04X in %s\n", error, "-[ES1Renderer initWithDepthFormat:]");
    return true;
}

ES1Renderer::~ES1Renderer() {
    if (context_ && EAGLContext::currentContext() != context_.get()) EAGLContext::setCurrentContext(context_);
    if (defaultFramebuffer_) glDeleteFramebuffersOES(1, &defaultFramebuffer_);
    if (colorRenderbuffer_) glDeleteRenderbuffersOES(1, &colorRenderbuffer_);
    if (depthBuffer_) glDeleteRenderbuffersOES(1, &depthBuffer_);
    defaultFramebuffer_ = colorRenderbuffer_ = depthBuffer_ = 0;
    if (EAGLContext::currentContext() == context_.get()) EAGLContext::setCurrentContext(nullptr);
    context_.reset();
}

bool ES1Renderer::resizeFromLayer(CAEAGLLayer* layer) {
    glBindRenderbufferOES(GL_RENDERBUFFER_OES, colorRenderbuffer_);
    context_->renderbufferStorage(GL_RENDERBUFFER_OES, layer);
    glGetRenderbufferParameterivOES(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_WIDTH_OES, &backingWidth_);
    glGetRenderbufferParameterivOES(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_HEIGHT_OES, &backingHeight_);

    if (depthFormat_) {
        if (!depthBuffer_) glGenRenderbuffersOES(1, &depthBuffer_);
        glBindRenderbufferOES(GL_RENDERBUFFER_OES, depthBuffer_);
        glRenderbufferStorageOES(GL_RENDERBUFFER_OES, depthFormat_, backingWidth_, backingHeight_);
        glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_DEPTH_ATTACHMENT_OES, GL_RENDERBUFFER_OES, depthBuffer_);
        glBindRenderbufferOES(GL_RENDERBUFFER_OES, colorRenderbuffer_);
    }
    return glCheckFramebufferStatusOES(GL_FRAMEBUFFER_OES) == GL_FRAMEBUFFER_COMPLETE_OES;
}

CGSize ES1Renderer::backingSize() const {
    return CGSizeMake(static_cast<float>(backingWidth_), static_cast<float>(backingHeight_));
}

std::string ES1Renderer::description() const {
    char text[128];
    std::snprintf(text, sizeof text, "<%s = %s | size = %ix%i>", className().c_str(), ccAddressString(this).c_str(),
                  backingWidth_, backingHeight_);
    return text;
}
