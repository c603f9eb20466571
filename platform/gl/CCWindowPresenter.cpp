#include "CCWindowPresenter.h"

#include <GLES/gl.h>
#include <GLES/glext.h>
#include <algorithm>
#include <bit>

#include "CCGLExtensions.h"

namespace {
int powerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

} // namespace

CCPresentQuad CCWindowPresenter::quad(const CCWindowLayout& layout, const Frame& frame, float overlayS,
                                      float overlayT) {
    const float vw = CCWindowLayout::kDeviceWidth, vh = CCWindowLayout::kDeviceHeight;
    const CGPoint corners[4] = {{0, 0}, {vw, 0}, {0, vh}, {vw, vh}};
    CCPresentQuad q{};
    for (int i = 0; i < 4; ++i) {
        const CGPoint p = layout.windowPointFromView(corners[i]);
        const float u = corners[i].x / vw, v = corners[i].y / vh; // view fractions, v down
        q.vertices[2 * i] = p.x;
        q.vertices[2 * i + 1] = p.y;
        q.frameCoords[2 * i] = u * frame.s;
        q.frameCoords[2 * i + 1] = (frame.bottomUp ? 1 - v : v) * frame.t;
        q.overlayCoords[2 * i] = u * overlayS;
        q.overlayCoords[2 * i + 1] = v * overlayT;
    }
    return q;
}

void CCWindowPresenter::setUp() {
    // Everything the draw depends on; a context of its own needs this once, a context shared
    // with the engine before each draw.
    for (GLenum off : {GL_DEPTH_TEST, GL_BLEND, GL_SCISSOR_TEST, GL_ALPHA_TEST, GL_STENCIL_TEST, GL_CULL_FACE,
                       GL_LIGHTING, GL_FOG, GL_COLOR_LOGIC_OP})
        glDisable(off);
    for (GLenum off : {GLenum(GL_COLOR_ARRAY), GLenum(GL_NORMAL_ARRAY), GLenum(GL_POINT_SIZE_ARRAY_OES)}) glDisableClientState(off);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); // the overlay's colours are premultiplied
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glClearColor(0, 0, 0, 1);
    viewportWidth_ = viewportHeight_ = -1;
}

void CCWindowPresenter::tearDown() {
    for (Texture* t : {&frame_, &overlay_})
        if (t->name) {
            glDeleteTextures(1, &t->name);
            *t = {};
        }
    overlayGeneration_ = 0;
    overlayShown_ = false;
    bgraTextures_ = Answer::Unknown;
}

void CCWindowPresenter::reserve(Texture& texture, int width, int height, Format format) {
    const int side = powerOfTwoAtLeast(std::max(width, height));
    if (!texture.name) glGenTextures(1, &texture.name);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    if (texture.side >= side && texture.format == format) return;
    ccGLSetFrameSampling();
    if (format == Format::BGRA)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_BGRA_EXT, side, side, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, nullptr);
    else
        ccGLTexImageForFrame(side, side, format == Format::RGB565);
    texture.side = side;
    texture.format = format;
}

bool CCWindowPresenter::takesOverlayAsItIs() {
    if (bgraTextures_ == Answer::Unknown) {
        const bool bgra = ccExtensionListHas(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)),
                                             "GL_EXT_texture_format_BGRA8888");
        bgraTextures_ = bgra && std::endian::native == std::endian::little ? Answer::Yes : Answer::No;
    }
    return bgraTextures_ == Answer::Yes;
}

void CCWindowPresenter::updateOverlay(const CCFrameOverlay* overlay) {
    if (!overlay) {
        overlayShown_ = false;
        return;
    }
    const unsigned long generation = overlay->generation();
    if (overlay_.name && generation == overlayGeneration_) {
        overlayShown_ = overlay->hasContent();
        return;
    }
    overlayGeneration_ = generation;
    overlayShown_ = overlay->hasContent();
    if (!overlayShown_) return; // uploaded when there is something to show
    overlayWidth_ = overlay->width();
    overlayHeight_ = overlay->height();
    // GL ES 1 has no row length to unpack by: rows must follow one another.
    int stride = 0;
    const unsigned char* own = takesOverlayAsItIs() ? overlay->premultipliedARGB32(&stride) : nullptr;
    if (own && stride == overlayWidth_ * 4) {
        reserve(overlay_, overlayWidth_, overlayHeight_, Format::BGRA);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, overlayWidth_, overlayHeight_, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                        own);
    } else {
        overlayPixels_.resize(static_cast<std::size_t>(overlayWidth_) * overlayHeight_ * 4);
        overlay->copyPremultipliedRGBA(overlayPixels_.data());
        reserve(overlay_, overlayWidth_, overlayHeight_);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, overlayWidth_, overlayHeight_, GL_RGBA, GL_UNSIGNED_BYTE,
                        overlayPixels_.data());
    }
    ++overlayUploads_;
}

CCWindowPresenter::Frame CCWindowPresenter::copyFrame(int width, int height) {
    Frame f;
    if (width <= 0 || height <= 0) return f;
    // A texture of the framebuffer's own colour format, so the copy moves bits unchanged.
    reserve(frame_, width, height, ccGLFramebufferIsRGB565() ? Format::RGB565 : Format::RGBA);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    f.texture = frame_.name;
    f.s = float(width) / float(frame_.side);
    f.t = float(height) / float(frame_.side);
    f.bottomUp = true;
    return f;
}

CCWindowPresenter::Frame CCWindowPresenter::uploadFrame(const CCPixelImage& screen) {
    Frame f;
    if (screen.empty()) return f;
    reserve(frame_, screen.width, screen.height);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, screen.width, screen.height, GL_RGBA, GL_UNSIGNED_BYTE,
                    screen.rgba.data());
    f.texture = frame_.name;
    f.s = float(screen.width) / float(frame_.side);
    f.t = float(screen.height) / float(frame_.side);
    f.bottomUp = false;
    return f;
}

void CCWindowPresenter::draw(int windowWidth, int windowHeight, int orientation, const Frame& frame) {
    if (windowWidth != viewportWidth_ || windowHeight != viewportHeight_) {
        viewportWidth_ = windowWidth;
        viewportHeight_ = windowHeight;
        glViewport(0, 0, windowWidth, windowHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrthof(0, float(windowWidth), float(windowHeight), 0, -1, 1); // window pixels, origin top-left
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    glClear(GL_COLOR_BUFFER_BIT);
    if (!frame.texture) return;
    const bool overlaid = frame.overlaid && overlayShown_ && overlay_.name;
    const float os = overlaid ? float(overlayWidth_) / float(overlay_.side) : 0;
    const float ot = overlaid ? float(overlayHeight_) / float(overlay_.side) : 0;
    const CCPresentQuad q = quad(CCWindowLayout::fit(windowWidth, windowHeight, orientation), frame, os, ot);
    glVertexPointer(2, GL_FLOAT, 0, q.vertices);
    glBindTexture(GL_TEXTURE_2D, frame.texture);
    glTexCoordPointer(2, GL_FLOAT, 0, q.frameCoords);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    if (!overlaid) return;
    glBindTexture(GL_TEXTURE_2D, overlay_.name);
    glTexCoordPointer(2, GL_FLOAT, 0, q.overlayCoords);
    glEnable(GL_BLEND);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisable(GL_BLEND);
}
