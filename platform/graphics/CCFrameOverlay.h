#pragma once
// A picture laid over finished device frames: the application's views. The surface back ends
// composite it without knowing what draws it; the view layer implements it.
#include "CCPixelImage.h"

class CCFrameOverlay {
public:
    virtual ~CCFrameOverlay() = default;
    // The frame size the picture belongs over; frames of other sizes are left alone.
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Brings the picture up to date (drawn at once the first time); true when it changed.
    virtual bool update() = 0;
    // Changes whenever the picture does, so copies of it know when to refresh.
    virtual unsigned long generation() const = 0;
    // Lays the picture over a frame of its size (straight RGBA, row 0 at the top).
    virtual void compositeOver(CCPixelImage& frame) const = 0;
    // The picture as straight RGBA bytes, width × height × 4, rows top to bottom.
    virtual void copyRGBA(unsigned char* out) const = 0;
    // The same with the colours premultiplied by alpha, as compositeOver() blends them (a
    // texture blended with "one, one minus source alpha" then gives the same pixels).
    virtual void copyPremultipliedRGBA(unsigned char* out) const = 0;
    // The picture's own premultiplied pixels as native-endian 32-bit 0xAARRGGBB words, rows top
    // to bottom, `*stride` bytes apart, for a texture that takes them as they are; nullptr when
    // the picture keeps no such pixels.
    virtual const unsigned char* premultipliedARGB32(int* stride) const {
        (void)stride;
        return nullptr;
    }
    // False when every pixel is transparent (nothing to lay over a frame).
    virtual bool hasContent() const = 0;
};
