#pragma once
// The drawable layer of a GL view: its bounds in points, scale, opacity and the properties of
// the colour buffer the context allocates for it.
#include <string>

#include "CCObject.h"
#include "CGGeometry.h"

// Colour formats of a drawable.
inline const std::string kEAGLColorFormatRGB565 = "EAGLColorFormatRGB565";
inline const std::string kEAGLColorFormatRGBA8 = "EAGLColorFormatRGBA8";

struct EAGLDrawableProperties {
    bool retainedBacking = false;
    std::string colorFormat = kEAGLColorFormatRGBA8;
};

class CAEAGLLayer : public CCObject {
public:
    static CAEAGLLayer* layer();

    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds) { bounds_ = bounds; }
    float contentsScale() const { return contentsScale_; }
    void setContentsScale(float scale) { contentsScale_ = scale > 0 ? scale : 1; }
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    const EAGLDrawableProperties& drawableProperties() const { return properties_; }
    void setDrawableProperties(EAGLDrawableProperties properties) { properties_ = std::move(properties); }

    // The drawable's size in pixels (bounds times scale, rounded).
    int pixelWidth() const;
    int pixelHeight() const;

private:
    CGRect bounds_{};
    float contentsScale_ = 1;
    bool opaque_ = false;
    EAGLDrawableProperties properties_;
};
