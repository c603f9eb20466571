// Counts the draw calls of the engine: the program's own definitions of the two GL entry
// points take precedence over the library's and forward to it.
#include <GLES/gl.h>
#include <dlfcn.h>

#include "SpriteTestSupport.h"

namespace {
int arraysCalls = 0;
int elementsCalls = 0;

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
}

void GLDrawCounter::reset() { arraysCalls = elementsCalls = 0; }
int GLDrawCounter::drawArrays() { return arraysCalls; }
int GLDrawCounter::drawElements() { return elementsCalls; }
