#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "CCGLStateScope.h"
#include "CCWindowPresenter.h"
#include "support/HeadlessGL.h"

namespace {

// Everything the scope promises to put back, as GL reports it.
struct State {
    std::vector<GLint> ints;
    std::vector<GLfloat> floats;
    bool operator==(const State&) const = default;
};

State queried() {
    State s;
    for (GLenum name : {GL_FRAMEBUFFER_BINDING_OES, GL_ARRAY_BUFFER_BINDING, GL_ACTIVE_TEXTURE, GL_CLIENT_ACTIVE_TEXTURE,
                        GL_MATRIX_MODE, GL_BLEND_SRC, GL_BLEND_DST, GL_UNPACK_ALIGNMENT}) {
        GLint v = 0;
        glGetIntegerv(name, &v);
        s.ints.push_back(v);
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    s.ints.insert(s.ints.end(), viewport, viewport + 4);
    GLint active = 0, clientActive = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_CLIENT_ACTIVE_TEXTURE, &clientActive);
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    GLint texture = 0, env = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    s.ints.push_back(texture);
    s.ints.push_back(env);
    const GLenum capabilities[] = {GL_BLEND,         GL_TEXTURE_2D,  GL_DEPTH_TEST,    GL_SCISSOR_TEST,
                                   GL_ALPHA_TEST,    GL_STENCIL_TEST, GL_CULL_FACE,    GL_LIGHTING,
                                   GL_FOG,           GL_COLOR_LOGIC_OP, GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY,
                                   GL_COLOR_ARRAY,   GL_NORMAL_ARRAY, GL_POINT_SIZE_ARRAY_OES};
    for (GLenum name : capabilities)
        s.ints.push_back(glIsEnabled(name));
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    s.ints.insert(s.ints.end(), mask, mask + 4);
    for (GLenum name : {GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX, GL_TEXTURE_MATRIX, GL_COLOR_CLEAR_VALUE}) {
        std::array<GLfloat, 16> m{};
        glGetFloatv(name, m.data());
        s.floats.insert(s.floats.end(), m.begin(), m.end());
    }
    glActiveTexture(GLenum(active));
    glClientActiveTexture(GLenum(clientActive));
    return s;
}

// A textured, blended, coloured quad over a scissored clear: the engine's kind of drawing,
// relying on state set once before the first frame.
void drawEngineFrame(GLuint texture) {
    glClear(GL_COLOR_BUFFER_BIT);
    static const GLfloat vertices[] = {4, 4, 28, 4, 4, 28, 28, 28};
    static const GLfloat coords[] = {0, 0, 1, 0, 0, 1, 1, 1};
    static const GLubyte colours[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 255, 255, 255, 64};
    glBindTexture(GL_TEXTURE_2D, texture);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

TEST(CCGLStateScope, TheEnginesStateAndItsPixelsSurviveThePresentersDrawing) {
    HeadlessGL gl;
    ASSERT_TRUE(gl.makeDrawingFramebuffer(32, 32));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLubyte texels[] = {255, 255, 255, 255, 90, 90, 90, 200, 30, 60, 90, 255, 200, 100, 50, 128};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // State the presenter changes, set to what it does not use.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_SCISSOR_TEST);
    glScissor(2, 2, 26, 26);
    glClearColor(0.1f, 0.2f, 0.3f, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(0.5f, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

    drawEngineFrame(texture);
    const CCPixelImage before = gl.readPixels();
    const State saved = queried();

    GLuint other = 0, storage = 0;
    {
        CCGLStateScope scope;
        // The presenter draws into another framebuffer, with all of its own state.
        glGenFramebuffersOES(1, &other);
        glGenRenderbuffersOES(1, &storage);
        glBindFramebufferOES(GL_FRAMEBUFFER_OES, other);
        glBindRenderbufferOES(GL_RENDERBUFFER_OES, storage);
        glRenderbufferStorageOES(GL_RENDERBUFFER_OES, GL_RGBA8_OES, 64, 64);
        glFramebufferRenderbufferOES(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES, storage);
        CCWindowPresenter presenter;
        presenter.setUp();
        CCWindowPresenter::Frame frame{texture, 1, 1, true, false};
        presenter.draw(64, 64, 1, frame);
        glActiveTexture(GL_TEXTURE1);
        glClientActiveTexture(GL_TEXTURE1);
        presenter.tearDown();
    }
    EXPECT_TRUE(queried() == saved) << "some state was not put back";
    drawEngineFrame(texture);
    EXPECT_EQ(gl.readPixels().rgba, before.rgba) << "the next frame draws as the last did";
    glDeleteFramebuffersOES(1, &other);
    glDeleteRenderbuffersOES(1, &storage);
    glDeleteTextures(1, &texture);
}

} // namespace
