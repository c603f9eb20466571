#pragma once
// GL ES extension entry points that the GL library does not export: the OES framebuffer
// objects, mipmap generation and framebuffer discard. Each call is forwarded to the entry
// point the surface backend reports (eglGetProcAddress headless); a missing entry point makes
// the call do nothing (queries then answer 0 / GL_FRAMEBUFFER_UNSUPPORTED_OES).
#include <GLES/gl.h>
#include <GLES/glext.h>

extern "C" {
GLboolean GL_APIENTRY glIsRenderbufferOES(GLuint renderbuffer);
void GL_APIENTRY glBindRenderbufferOES(GLenum target, GLuint renderbuffer);
void GL_APIENTRY glDeleteRenderbuffersOES(GLsizei n, const GLuint* renderbuffers);
void GL_APIENTRY glGenRenderbuffersOES(GLsizei n, GLuint* renderbuffers);
void GL_APIENTRY glRenderbufferStorageOES(GLenum target, GLenum internalformat, GLsizei width, GLsizei height);
void GL_APIENTRY glGetRenderbufferParameterivOES(GLenum target, GLenum pname, GLint* params);
GLboolean GL_APIENTRY glIsFramebufferOES(GLuint framebuffer);
void GL_APIENTRY glBindFramebufferOES(GLenum target, GLuint framebuffer);
void GL_APIENTRY glDeleteFramebuffersOES(GLsizei n, const GLuint* framebuffers);
void GL_APIENTRY glGenFramebuffersOES(GLsizei n, GLuint* framebuffers);
GLenum GL_APIENTRY glCheckFramebufferStatusOES(GLenum target);
void GL_APIENTRY glFramebufferRenderbufferOES(GLenum target, GLenum attachment, GLenum renderbuffertarget,
                                              GLuint renderbuffer);
void GL_APIENTRY glFramebufferTexture2DOES(GLenum target, GLenum attachment, GLenum textarget, GLuint texture,
                                           GLint level);
void GL_APIENTRY glGetFramebufferAttachmentParameterivOES(GLenum target, GLenum attachment, GLenum pname,
                                                          GLint* params);
void GL_APIENTRY glGenerateMipmapOES(GLenum target);
void GL_APIENTRY glDiscardFramebufferEXT(GLenum target, GLsizei numAttachments, const GLenum* attachments);
}

// The address of a GL or EGL entry point, or nullptr.
void* ccGLProcAddress(const char* name);

// Whether a space-separated extension list (GL, EGL or GLX) names `word`.
bool ccExtensionListHas(const char* list, const char* word);
// Nearest sampling clamped to the edges for the bound 2D texture: a frame shown through it
// keeps its pixels.
void ccGLSetFrameSampling();
// Whether the bound framebuffer's colour buffer is RGB565 (else taken as RGBA8).
bool ccGLFramebufferIsRGB565();
// Storage of the given size for the bound 2D texture in a frame's colour format, so that frames
// copied or drawn into it keep their bits.
void ccGLTexImageForFrame(int width, int height, bool rgb565);
