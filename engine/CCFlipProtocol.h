#pragma once
// Nodes that can be mirrored along an axis (sprites). The flip actions reach their target
// through this interface.

class CCFlipProtocol {
public:
    virtual ~CCFlipProtocol() = default;

    virtual void setFlipX(bool flipX) = 0;
    virtual void setFlipY(bool flipY) = 0;
};
