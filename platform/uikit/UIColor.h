#pragma once
// An immutable RGBA colour. The named colours are shared instances that live for the process,
// so holders that do not retain them (gradient buttons) stay valid.
#include "CCObject.h"
#include "CGColor.h"
#include "CGGeometry.h"

typedef struct _cairo cairo_t;

class UIColor : public CCObject {
public:
    static UIColor* colorWithRed(float red, float green, float blue, float alpha);
    static UIColor* colorWithWhite(float white, float alpha);

    static UIColor* whiteColor();
    static UIColor* blackColor();
    static UIColor* clearColor();
    static UIColor* grayColor();
    static UIColor* lightGrayColor();
    static UIColor* darkGrayColor();
    static UIColor* redColor();
    static UIColor* greenColor();
    static UIColor* blueColor();
    static UIColor* yellowColor();

    bool initWithRed(float red, float green, float blue, float alpha);

    // The colour as a layer value.
    CGColorRef CGColor() const { return value_; }
    float red() const { return value_.r; }
    float green() const { return value_.g; }
    float blue() const { return value_.b; }
    float alpha() const { return value_.a; }

    // Fills a rectangle of a view's drawing with this colour.
    void fillRect(cairo_t* cr, CGRect rect) const;

    std::string description() const override;

private:
    CGColorRef value_{};
};
