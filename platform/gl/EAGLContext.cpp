#include "EAGLContext.h"

#include <algorithm>

#include "CAEAGLLayer.h"
#include "CCGLExtensions.h"
#include "CCSurfaceBackend.h"

namespace {
thread_local CCPtr<EAGLContext> current;
}

void EAGLSharegroup::add(void* native) {
    std::lock_guard guard(lock_);
    members_.push_back(native);
}

void EAGLSharegroup::remove(void* native) {
    std::lock_guard guard(lock_);
    members_.erase(std::remove(members_.begin(), members_.end(), native), members_.end());
}

bool EAGLContext::initWithAPI(EAGLRenderingAPI api) { return initWithAPI(api, nullptr); }

bool EAGLContext::initWithAPI(EAGLRenderingAPI api, EAGLSharegroup* sharegroup) {
    if (api != kEAGLRenderingAPIOpenGLES1) return false;
    api_ = api;
    sharegroup_ = sharegroup ? sharegroup : ccAutorelease(new EAGLSharegroup);
    native_ = ccSurfaceBackend()->createContext(sharegroup_->anyMember());
    if (!native_) return false;
    sharegroup_->add(native_);
    return true;
}

EAGLContext::~EAGLContext() {
    if (!native_) return;
    sharegroup_->remove(native_);
    ccSurfaceBackend()->destroyContext(native_);
}

bool EAGLContext::setCurrentContext(EAGLContext* context) {
    if (!ccSurfaceBackend()->makeCurrent(context ? context->native_ : nullptr)) return false;
    // Whatever ran on the context meanwhile may have changed its state.
    if (context) context->glState_.forgetAll();
    current = context;
    return true;
}

EAGLContext* EAGLContext::currentContext() { return current.get(); }

bool EAGLContext::renderbufferStorage(unsigned target, CAEAGLLayer* drawable) {
    if (target != GL_RENDERBUFFER_OES || !drawable) return false;
    const unsigned format =
        drawable->drawableProperties().colorFormat == kEAGLColorFormatRGB565 ? GL_RGB565_OES : GL_RGBA8_OES;
    int width = std::max(1, drawable->pixelWidth());
    int height = std::max(1, drawable->pixelHeight());
    return ccSurfaceBackend()->renderbufferStorage(format, width, height);
}

bool EAGLContext::presentRenderbuffer(unsigned target) {
    if (target != GL_RENDERBUFFER_OES || current.get() != this) return false;
    CCSurfaceFrame frame;
    GLint value = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &value);
    frame.framebuffer = static_cast<unsigned>(value);
    glGetIntegerv(GL_RENDERBUFFER_BINDING_OES, &value);
    frame.colorRenderbuffer = static_cast<unsigned>(value);
    glGetRenderbufferParameterivOES(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_WIDTH_OES, &frame.width);
    glGetRenderbufferParameterivOES(GL_RENDERBUFFER_OES, GL_RENDERBUFFER_HEIGHT_OES, &frame.height);
    if (frame.framebuffer == 0 || frame.width <= 0 || frame.height <= 0) return false;
    const bool presented = ccSurfaceBackend()->present(frame);
    // The backend's own drawing (the views' overlay, a window's picture) runs in this context.
    glState_.forget();
    return presented;
}
