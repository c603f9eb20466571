#include "CCGLExtensions.h"

#include <cstring>

#include "CCSurfaceBackend.h"

void* ccGLProcAddress(const char* name) { return ccSurfaceBackend()->procAddress(name); }

bool ccExtensionListHas(const char* list, const char* word) {
    if (!list) return false;
    const std::size_t n = std::strlen(word);
    for (const char* p = std::strstr(list, word); p; p = std::strstr(p + n, word))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

void ccGLSetFrameSampling() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

bool ccGLFramebufferIsRGB565() {
    GLint green = 0, alpha = 0;
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    return green == 6 && alpha == 0;
}

void ccGLTexImageForFrame(int width, int height, bool rgb565) {
    if (rgb565) glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, nullptr);
    else glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

namespace {
template <class Fn> Fn resolve(const char* name) {
    return reinterpret_cast<Fn>(ccGLProcAddress(name));
}
} // namespace

#define CC_GL_FORWARD_VOID(name, params, args)                                                             \
    extern "C" void GL_APIENTRY name params {                                                              \
        static auto fn = resolve<void(GL_APIENTRY*) params>(#name);                                        \
        if (fn) fn args;                                                                                   \
    }
#define CC_GL_FORWARD(ret, fallback, name, params, args)                                                   \
    extern "C" ret GL_APIENTRY name params {                                                               \
        static auto fn = resolve<ret(GL_APIENTRY*) params>(#name);                                         \
        return fn ? fn args : (fallback);                                                                  \
    }

CC_GL_FORWARD(GLboolean, GL_FALSE, glIsRenderbufferOES, (GLuint renderbuffer), (renderbuffer))
CC_GL_FORWARD_VOID(glBindRenderbufferOES, (GLenum target, GLuint renderbuffer), (target, renderbuffer))
CC_GL_FORWARD_VOID(glDeleteRenderbuffersOES, (GLsizei n, const GLuint* renderbuffers), (n, renderbuffers))
CC_GL_FORWARD_VOID(glGenRenderbuffersOES, (GLsizei n, GLuint* renderbuffers), (n, renderbuffers))
CC_GL_FORWARD_VOID(glRenderbufferStorageOES, (GLenum target, GLenum internalformat, GLsizei width, GLsizei height),
                   (target, internalformat, width, height))
CC_GL_FORWARD_VOID(glGetRenderbufferParameterivOES, (GLenum target, GLenum pname, GLint* params),
                   (target, pname, params))
CC_GL_FORWARD(GLboolean, GL_FALSE, glIsFramebufferOES, (GLuint framebuffer), (framebuffer))
CC_GL_FORWARD_VOID(glBindFramebufferOES, (GLenum target, GLuint framebuffer), (target, framebuffer))
CC_GL_FORWARD_VOID(glDeleteFramebuffersOES, (GLsizei n, const GLuint* framebuffers), (n, framebuffers))
CC_GL_FORWARD_VOID(glGenFramebuffersOES, (GLsizei n, GLuint* framebuffers), (n, framebuffers))
CC_GL_FORWARD(GLenum, GLenum(GL_FRAMEBUFFER_UNSUPPORTED_OES), glCheckFramebufferStatusOES, (GLenum target), (target))
CC_GL_FORWARD_VOID(glFramebufferRenderbufferOES,
                   (GLenum target, GLenum attachment, GLenum renderbuffertarget, GLuint renderbuffer),
                   (target, attachment, renderbuffertarget, renderbuffer))
CC_GL_FORWARD_VOID(glFramebufferTexture2DOES,
                   (GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level),
                   (target, attachment, textarget, texture, level))
CC_GL_FORWARD_VOID(glGetFramebufferAttachmentParameterivOES,
                   (GLenum target, GLenum attachment, GLenum pname, GLint* params),
                   (target, attachment, pname, params))
CC_GL_FORWARD_VOID(glGenerateMipmapOES, (GLenum target), (target))
CC_GL_FORWARD_VOID(glDiscardFramebufferEXT, (GLenum target, GLsizei numAttachments, const GLenum* attachments),
                   (target, numAttachments, attachments))
