// Counts the draw calls of the engine: the program's own definitions of the two GL entry
// points take precedence over the library's and forward to it.
#include <GLES/gl.h>
#include <dlfcn.h>

#include "SpriteTestSupport.h"

namespace {
int arraysCalls = 0;
int elementsCalls = 0;
int bindCalls = 0;
int vertexPointerCalls = 0;
int uploadCalls = 0;
long uploaded = 0;

template <class F> F next(const char* name) { return reinterpret_cast<F>(dlsym(RTLD_NEXT, name)); }
} // namespace

extern "C" {
GL_API void GL_APIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    static auto real = next<void (*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    ++arraysCalls;
    real(mode, first, count);
}
GL_API void GL_APIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    static auto real = next<void (*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
    ++elementsCalls;
    real(mode, count, type, indices);
}
GL_API void GL_APIENTRY glBindTexture(GLenum target, GLuint texture) {
    static auto real = next<void (*)(GLenum, GLuint)>("glBindTexture");
    ++bindCalls;
    real(target, texture);
}
GL_API void GL_APIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    static auto real = next<void (*)(GLint, GLenum, GLsizei, const void*)>("glVertexPointer");
    ++vertexPointerCalls;
    real(size, type, stride, pointer);
}
GL_API void GL_APIENTRY glBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size, const void* data) {
    static auto real = next<void (*)(GLenum, GLintptr, GLsizeiptr, const void*)>("glBufferSubData");
    ++uploadCalls;
    uploaded += static_cast<long>(size);
    real(target, offset, size, data);
}
}

void GLDrawCounter::reset() {
    arraysCalls = elementsCalls = bindCalls = vertexPointerCalls = uploadCalls = 0;
    uploaded = 0;
}
int GLDrawCounter::drawArrays() { return arraysCalls; }
int GLDrawCounter::drawElements() { return elementsCalls; }
int GLDrawCounter::bindTextures() { return bindCalls; }
int GLDrawCounter::vertexPointers() { return vertexPointerCalls; }
int GLDrawCounter::bufferUploads() { return uploadCalls; }
long GLDrawCounter::uploadedBytes() { return uploaded; }
