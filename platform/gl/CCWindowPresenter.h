#pragma once
// Puts a device frame and the views' overlay on the window in one pass: the frame's texture
// turned and scaled into the window layout's place as one quad, the overlay's texture blended
// over it with the same corners, black around. The overlay's texture is uploaded (in one call)
// only when its picture changed. Works in whatever GL ES 1 context is current; the owner keeps
// the same context (or contexts sharing objects) current for setUp(), the drawing and
// tearDown(). setUp() sets all the state the drawing depends on.
#include <cstdint>
#include <vector>

#include "CCFrameOverlay.h"
#include "CCPixelImage.h"
#include "CCWindowLayout.h"

// Where one presented quad goes: its corners in window pixels (origin top-left) as a strip —
// the view's top-left, top-right, bottom-left, bottom-right — and what each samples.
struct CCPresentQuad {
    float vertices[8];
    float frameCoords[8];
    float overlayCoords[8];
};

class CCWindowPresenter {
public:
    // A frame to show: a texture, the part of it the frame fills, and which way its rows run.
    struct Frame {
        unsigned texture = 0;
        float s = 1, t = 1;
        // True for a framebuffer's own storage (row 0 at the bottom), false for an uploaded
        // picture (row 0 at the top).
        bool bottomUp = true;
        // Whether the overlay goes over this frame (only frames of the overlay's size).
        bool overlaid = true;
    };

    CCWindowPresenter() = default;
    ~CCWindowPresenter() = default; // tearDown() frees the GL objects, with their context current
    CCWindowPresenter(const CCWindowPresenter&) = delete;
    CCWindowPresenter& operator=(const CCWindowPresenter&) = delete;

    static CCPresentQuad quad(const CCWindowLayout& layout, const Frame& frame, float overlayS, float overlayT);

    void setUp();
    void tearDown();

    // Brings the overlay's texture up to date (nullptr: no overlay is drawn).
    void updateOverlay(const CCFrameOverlay* overlay);
    // With a device frame's framebuffer bound in the presenting context: the frame copied into
    // the presenter's frame texture on the GPU (row 0 at the bottom).
    Frame copyFrame(int width, int height);
    // A read-back device screen (row 0 at the top) put into the presenter's own frame texture.
    Frame uploadFrame(const CCPixelImage& screen);
    // Clears the window's framebuffer and draws the frame (and the overlay when it has any).
    void draw(int windowWidth, int windowHeight, int orientation, const Frame& frame);

    // How many times the overlay's texture was uploaded (each change once).
    uint64_t overlayUploads() const { return overlayUploads_; }

private:
    // How a texture's pixels are stored: a frame's own RGB565 or RGBA8, or the overlay's
    // premultiplied words as they lie in memory on a little-endian host (B, G, R, A).
    enum class Format { RGB565, RGBA, BGRA };
    struct Texture {
        unsigned name = 0;
        int side = 0; // the power-of-two square allocated
        Format format = Format::RGBA;
    };
    static void reserve(Texture& texture, int width, int height, Format format = Format::RGBA);
    // Whether the overlay's own pixels go into its texture without a copy (the current context
    // takes BGRA textures and the host is little-endian); asked once per context.
    bool takesOverlayAsItIs();

    Texture frame_, overlay_;
    std::vector<unsigned char> overlayPixels_;
    unsigned long overlayGeneration_ = 0;
    int overlayWidth_ = 0, overlayHeight_ = 0;
    bool overlayShown_ = false;
    uint64_t overlayUploads_ = 0;
    int viewportWidth_ = -1, viewportHeight_ = -1;
    enum class Answer { Unknown, No, Yes } bgraTextures_ = Answer::Unknown;
};
