#pragma once
// Nodes with a colour and an opacity (sprites, labels). Fade and tint actions reach their
// target through this interface.
#include <cstdint>

#include "ccTypes.h"

class CCRGBAProtocol {
public:
    virtual ~CCRGBAProtocol() = default;

    virtual ccColor3B color() const = 0;
    virtual void setColor(ccColor3B color) = 0;
    virtual std::uint8_t opacity() const = 0;
    virtual void setOpacity(std::uint8_t opacity) = 0;

    // Premultiplied alpha: whether the opacity is multiplied into the colour.
    virtual void setOpacityModifyRGB(bool value) { (void)value; }
    virtual bool doesOpacityModifyRGB() const { return false; }
};
