#include "CCGLStateScope.h"

#include "CCGLExtensions.h"

namespace {
constexpr GLenum kCapabilityNames[CCGLStateScope::kCapabilities] = {
    GL_BLEND,       GL_TEXTURE_2D,   GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_ALPHA_TEST,
    GL_STENCIL_TEST, GL_CULL_FACE,   GL_LIGHTING,   GL_FOG,          GL_COLOR_LOGIC_OP};
constexpr GLenum kArrayNames[CCGLStateScope::kArrays] = {GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY,
                                                         GL_NORMAL_ARRAY, GL_POINT_SIZE_ARRAY_OES};

void setCapability(GLenum name, bool on) { on ? glEnable(name) : glDisable(name); }
void setArray(GLenum name, bool on) { on ? glEnableClientState(name) : glDisableClientState(name); }

void loadMatrix(GLenum mode, const float* m) {
    glMatrixMode(mode);
    glLoadMatrixf(m);
}
} // namespace

CCGLStateScope::CCGLStateScope() {
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &framebuffer_);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer_);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture_);
    glGetIntegerv(GL_CLIENT_ACTIVE_TEXTURE, &clientActiveTexture_);
    // Texture state below is the first unit's, the one the platform draws with.
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
    glGetFloatv(GL_PROJECTION_MATRIX, projection_);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview_);
    glGetFloatv(GL_TEXTURE_MATRIX, textureMatrix_);
    for (int i = 0; i < kCapabilities; ++i) capabilities_[i] = glIsEnabled(kCapabilityNames[i]);
    for (int i = 0; i < kArrays; ++i) arrays_[i] = glIsEnabled(kArrayNames[i]);
    glGetIntegerv(GL_BLEND_SRC, &blendSrc_);
    glGetIntegerv(GL_BLEND_DST, &blendDst_);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode_);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment_);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor_);
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    for (int i = 0; i < 4; ++i) colorMask_[i] = mask[i];
}

CCGLStateScope::~CCGLStateScope() {
    glBindFramebufferOES(GL_FRAMEBUFFER_OES, GLuint(framebuffer_));
    glBindBuffer(GL_ARRAY_BUFFER, GLuint(arrayBuffer_));
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, GLuint(texture_));
    glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
    loadMatrix(GL_PROJECTION, projection_);
    loadMatrix(GL_TEXTURE, textureMatrix_);
    loadMatrix(GL_MODELVIEW, modelview_);
    glMatrixMode(GLenum(matrixMode_));
    for (int i = 0; i < kCapabilities; ++i) setCapability(kCapabilityNames[i], capabilities_[i]);
    for (int i = 0; i < kArrays; ++i) setArray(kArrayNames[i], arrays_[i]);
    glBlendFunc(GLenum(blendSrc_), GLenum(blendDst_));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment_);
    glClearColor(clearColor_[0], clearColor_[1], clearColor_[2], clearColor_[3]);
    glColorMask(colorMask_[0], colorMask_[1], colorMask_[2], colorMask_[3]);
    glActiveTexture(GLenum(activeTexture_));
    glClientActiveTexture(GLenum(clientActiveTexture_));
}
