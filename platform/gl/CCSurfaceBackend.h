#pragma once
// Where GL contexts come from and where finished frames go. Two backends exist: `headless`
// (EGL surfaceless: frames stay in memory) and `window` (SDL2). One is chosen at start-up;
// everything above it (the renderer's framebuffer, the director) is the same for both.
#include <cstdint>
#include <memory>
#include <vector>

#include "CCFrameOverlay.h"
#include "CCPixelImage.h"

// Reads a rectangle of the currently bound framebuffer; (x, y) is the bottom-left corner in
// GL window coordinates, the result is turned so that its row 0 is the top row.
CCPixelImage ccReadPixels(int x, int y, int width, int height);
// The same into `image`, reusing its pixel storage.
void ccReadPixelsInto(CCPixelImage& image, int x, int y, int width, int height);

// The finished frame handed to present(): the framebuffer and colour renderbuffer it lives in.
struct CCSurfaceFrame {
    unsigned framebuffer = 0;
    unsigned colorRenderbuffer = 0;
    int width = 0;
    int height = 0;
};

class CCSurfaceBackend {
public:
    virtual ~CCSurfaceBackend();
    virtual const char* name() const = 0;

    // A new GL ES 1 context sharing objects with `share` (nullptr: none); nullptr on failure.
    virtual void* createContext(void* share) = 0;
    virtual void destroyContext(void* context) = 0;
    // Makes `context` current on the calling thread (nullptr: none current).
    virtual bool makeCurrent(void* context) = 0;
    // Allocates storage for the renderbuffer bound to GL_RENDERBUFFER_OES, for a drawable of
    // the given size in pixels and GL internal format (GL_RGB565_OES or GL_RGBA8_OES).
    virtual bool renderbufferStorage(unsigned internalFormat, int width, int height);
    virtual void* procAddress(const char* name) = 0;

    // Takes a finished frame: reads it back when it is kept or the backend shows the read
    // pixels, lays the application's views over a device-sized frame, then shows it. Frames
    // nobody asked to keep are not read back.
    bool present(const CCSurfaceFrame& frame);
    // The last presented device screen: the GL frame with the views over it (empty until one
    // was presented with keeping on).
    const CCPixelImage& lastFrame() const { return lastFrame_; }
    // Off by default: reading a frame back costs more than drawing it. Whoever needs the
    // pixels (a screenshot, a test) turns it on for the frames it wants.
    void setKeepsLastFrame(bool keeps) { keepsLastFrame_ = keeps; }
    bool keepsLastFrame() const { return keepsLastFrame_; }
    // Whether the views' overlay is laid over presented frames. Off by default: screenshots
    // lay it over themselves; a window backend that shows the read pixels turns it on.
    void setCompositesOverlay(bool composites) { compositesOverlay_ = composites; }
    bool compositesOverlay() const { return compositesOverlay_; }
    // The picture laid over device frames (the application's views); nullptr: none.
    CCFrameOverlay* overlay() const { return overlay_.get(); }
    void setOverlay(std::unique_ptr<CCFrameOverlay> overlay) { overlay_ = std::move(overlay); }
    // Frames presented so far.
    uint64_t presentedFrames() const { return presentedFrames_; }

protected:
    CCSurfaceBackend();
    // Shows the frame; the frame's framebuffer is bound and, when showsReadPixels() is true,
    // lastFrame() holds the composited device screen.
    virtual bool show(const CCSurfaceFrame& frame) = 0;
    // True for backends that show the read-back device screen rather than the framebuffer.
    virtual bool showsReadPixels() const { return false; }

private:
    CCPixelImage lastFrame_;
    std::unique_ptr<CCFrameOverlay> overlay_;
    bool keepsLastFrame_ = false;
    bool compositesOverlay_ = false;
    uint64_t presentedFrames_ = 0;
};

// The backend chosen at start-up; the headless one when none was chosen.
CCSurfaceBackend* ccSurfaceBackend();
// Chooses the backend; do this before any GL context exists.
void ccSetSurfaceBackend(std::unique_ptr<CCSurfaceBackend> backend);
std::unique_ptr<CCSurfaceBackend> ccMakeHeadlessSurfaceBackend();
