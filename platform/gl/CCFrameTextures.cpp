#include "CCFrameTextures.h"

#include <algorithm>

#include "CCGLExtensions.h"
#include "CCGLStateCache.h"
#include "CCLog.h"

unsigned CCFrameTextures::texture(void* context, const CCSurfaceFrame& frame) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.context == context && e.framebuffer == frame.framebuffer;
    });
    if (it != entries_.end() && (it->renderbuffer != frame.colorRenderbuffer || it->width != frame.width ||
                                 it->height != frame.height)) {
        release(*it, !it->refused);
        entries_.erase(it);
        it = entries_.end();
    }
    if (it == entries_.end()) {
        entries_.push_back({context, frame.framebuffer, frame.colorRenderbuffer, 0, frame.width, frame.height, false});
        return attach(entries_.back());
    }
    if (it->refused) return 0;
    // Someone attached another colour buffer meanwhile: the texture stands in again.
    GLint type = 0, name = 0;
    glGetFramebufferAttachmentParameterivOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE_OES, &type);
    glGetFramebufferAttachmentParameterivOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES,
                                             GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_OES, &name);
    if (type == GL_TEXTURE && unsigned(name) == it->texture) return it->texture;
    return attach(*it);
}

unsigned CCFrameTextures::attach(Entry& e) {
    if (!e.texture) {
        // Of the framebuffer's own format, so the pixels drawn are the same.
        const bool rgb565 = ccGLFramebufferIsRGB565();
        glGenTextures(1, &e.texture);
        glBindTexture(GL_TEXTURE_2D, e.texture);
        ccGLSetFrameSampling();
        ccGLTexImageForFrame(e.width, e.height, rgb565);
    } else {
        glBindTexture(GL_TEXTURE_2D, e.texture);
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, e.width, e.height); // the frame drawn so far
    while (glGetError() != GL_NO_ERROR) {
    } // earlier errors are not the attachment's
    glFramebufferTexture2DOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_TEXTURE_2D, e.texture, 0);
    if (glGetError() == GL_NO_ERROR &&
        glCheckFramebufferStatusOES(GL_FRAMEBUFFER_OES) == GL_FRAMEBUFFER_COMPLETE_OES)
        return e.texture;
    CCLog("window surface: the frame cannot be drawn into a texture: frames are copied");
    release(e, true);
    e.refused = true;
    return 0;
}

void CCFrameTextures::release(Entry& e, bool reattach) {
    if (reattach) {
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &bound);
        glBindFramebufferOES(GL_FRAMEBUFFER_OES, e.framebuffer);
        glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES, e.renderbuffer);
        glBindFramebufferOES(GL_FRAMEBUFFER_OES, GLuint(bound));
    }
    if (e.texture) ccGLDeleteTexture(e.texture);
    e.texture = 0;
}

void CCFrameTextures::forget(void* context, unsigned renderbuffer) {
    for (std::size_t i = entries_.size(); i-- > 0;) {
        Entry& e = entries_[i];
        if (e.context != context || e.renderbuffer != renderbuffer) continue;
        release(e, !e.refused);
        entries_.erase(entries_.begin() + std::ptrdiff_t(i));
    }
}

void CCFrameTextures::forgetContext(void* context) {
    for (std::size_t i = entries_.size(); i-- > 0;) {
        if (entries_[i].context != context) continue;
        release(entries_[i], false);
        entries_.erase(entries_.begin() + std::ptrdiff_t(i));
    }
}

bool CCFrameTextures::has(void* context) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.context == context; });
}
