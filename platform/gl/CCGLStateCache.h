#pragma once
// What the engine's draws last left in one GL context: the bound 2D texture and the layout the
// vertex, colour and texture-coordinate array pointers describe. A draw that finds the state
// as it needs it skips the calls. Whatever changes that state behind the cache's back makes it
// forget: code that binds textures or sets array pointers itself calls forgetTexture() or
// forgetArrays(); the context forgets everything when it becomes current and after a frame is
// presented (the backend's own drawing and the views' overlay run there).
#include <cstddef>

class CCGLStateCache {
public:
    // Room for one quad of client-side vertices that self-drawing nodes copy theirs into, so
    // that the array pointers stay the same from one such draw to the next.
    static constexpr std::size_t kScratchBytes = 128;

    // Binds `name` to GL_TEXTURE_2D unless it is bound already.
    void bindTexture2D(unsigned name);
    // Before a texture name is deleted (it may come back for another texture), or after it was
    // bound behind the cache's back.
    void forgetTexture(unsigned name);
    void forgetTexture() { textureKnown_ = false; }
    // True when the array pointers must be set for `layout` (any address that names it); the
    // caller then sets them. False when the last draw left them so.
    bool needsArrays(const void* layout);
    void forgetArrays() { arrays_ = nullptr; }
    // Everything that the engine's draws may find changed after other code drew.
    void forget();
    // Everything, when the context becomes current again.
    void forgetAll();

    void* scratch() { return scratch_; }

    // Whether point sprites get their texture coordinates replaced (texture environment state
    // that lasts while the context does); true when the caller must set it now.
    bool needsPointSpriteCoordReplace();

private:
    alignas(16) unsigned char scratch_[kScratchBytes] = {};
    unsigned texture_ = 0;
    bool textureKnown_ = false;
    const void* arrays_ = nullptr;
    bool coordReplaceSet_ = false;
};

// The cache of the calling thread's current context; nullptr when none is current (the calls
// below then go to GL every time).
CCGLStateCache* ccGLStateCache();
// GL_TEXTURE_2D bound through the current context's cache.
void ccGLBindTexture2D(unsigned name);
// Deletes a texture name; the current context's cache forgets it.
void ccGLDeleteTexture(unsigned name);
// For draws that set the array pointers themselves: the next cached draw sets them again.
void ccGLForgetArrays();
