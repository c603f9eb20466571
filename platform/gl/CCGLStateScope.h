#pragma once
// Saves the GL ES 1 state that a draw of the platform's own (the window's picture) changes in a
// context the engine also draws in, and puts it back when the scope ends: bindings, viewport,
// the three matrices, the capabilities and client arrays it switches, blending, the texture
// environment, clear colour and unpack alignment. Array pointers are not put back: the engine
// sets its own before each draw (its state cache is told to forget them).
class CCGLStateScope {
public:
    CCGLStateScope();
    ~CCGLStateScope();
    CCGLStateScope(const CCGLStateScope&) = delete;
    CCGLStateScope& operator=(const CCGLStateScope&) = delete;

    // The capabilities and client arrays saved, in the order of the flags below.
    static constexpr int kCapabilities = 10;
    static constexpr int kArrays = 5;

private:
    int framebuffer_ = 0, arrayBuffer_ = 0, texture_ = 0;
    int activeTexture_ = 0, clientActiveTexture_ = 0, matrixMode_ = 0;
    int viewport_[4] = {};
    float projection_[16] = {}, modelview_[16] = {}, textureMatrix_[16] = {};
    bool capabilities_[kCapabilities] = {};
    bool arrays_[kArrays] = {};
    int blendSrc_ = 0, blendDst_ = 0, envMode_ = 0, unpackAlignment_ = 0;
    float clearColor_[4] = {};
    unsigned char colorMask_[4] = {};
};
