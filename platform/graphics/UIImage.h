#pragma once
// The platform's image object: a decoded PNG or JPEG file, or a wrapped bitmap.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "CGImage.h"

class NSData;
typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

class UIImage : public CCObject {
public:
    UIImage() = default;
    ~UIImage() override;
    // Autoreleased; nullptr when the file cannot be read or decoded.
    static UIImage* imageWithContentsOfFile(const std::string& path);
    static UIImage* imageWithData(const NSData* data);
    static UIImage* imageWithCGImage(CGImage* image);

    bool initWithContentsOfFile(const std::string& path);
    // PNG or JPEG bytes, told apart by their signature.
    bool initWithData(const NSData* data);
    bool initWithCGImage(CGImage* image);

    ::CGImage* CGImage() const { return image_.get(); }
    CGSize size() const;

    // The same picture drawn stretched: the caps (left columns, top rows; the right and bottom
    // caps are as wide as the left and top ones less one) keep their size and the one column
    // and row between them stretch. Autoreleased.
    UIImage* stretchableImageWithLeftCapWidth(int leftCapWidth, int topCapHeight) const;
    int leftCapWidth() const { return leftCapWidth_; }
    int topCapHeight() const { return topCapHeight_; }

    // Draws the picture into the rectangle of the context (stretched by its caps, if any).
    void drawInRect(cairo_t* cr, CGRect rect) const;

private:
    CCPtr< ::CGImage> image_;
    int leftCapWidth_ = 0;
    int topCapHeight_ = 0;
    mutable cairo_surface_t* surface_ = nullptr; // the picture for drawing, made on first use
};

// The picture in a PNG or JPEG file, autoreleased; nullptr with why ("missing", "truncated at
// byte N", ...) when it cannot be read or decoded.
::CGImage* ccImageWithContentsOfFile(const std::string& path, std::string* why = nullptr);

// The image encoded as PNG, autoreleased; nullptr when it has no bitmap or encoding fails.
NSData* UIImagePNGRepresentation(const UIImage* image);
