#pragma once
// Lets a renderer draw its frames straight into textures that the window's picture samples,
// in the renderer's own context: at a framebuffer's first presented frame its colour
// renderbuffer is swapped for a texture of the same size and format (the frame drawn so far
// copied over), and later frames are drawn there with no copy. The renderbuffer keeps its
// storage, so whoever asks it its size still gets the answer; it is put back when it gets new
// storage or the texture cannot be attached.
#include <vector>

#include "CCSurfaceBackend.h"

class CCFrameTextures {
public:
    CCFrameTextures() = default;
    CCFrameTextures(const CCFrameTextures&) = delete;
    CCFrameTextures& operator=(const CCFrameTextures&) = delete;

    // With `context` current and `frame`'s framebuffer bound: the texture the frame is in, or 0
    // when none can stand in for the renderbuffer. Changes the GL_TEXTURE_2D binding.
    unsigned texture(void* context, const CCSurfaceFrame& frame);
    // With `context` current: `renderbuffer` is about to get new storage; wherever a texture
    // stands in for it, it is attached again and the texture freed.
    void forget(void* context, unsigned renderbuffer);
    // With `context` current, before it goes: frees its textures.
    void forgetContext(void* context);
    bool has(void* context) const;

private:
    struct Entry {
        void* context = nullptr;
        unsigned framebuffer = 0, renderbuffer = 0, texture = 0;
        int width = 0, height = 0;
        bool refused = false; // the framebuffer took no texture: frames are copied
    };
    unsigned attach(Entry& entry);
    void release(Entry& entry, bool reattach);

    std::vector<Entry> entries_;
};
