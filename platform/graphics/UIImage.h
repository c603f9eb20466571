#pragma once
// The platform's image object: a decoded PNG or JPEG file, or a wrapped bitmap.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"
#include "CGImage.h"

class NSData;

class UIImage : public CCObject {
public:
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

private:
    CCPtr< ::CGImage> image_;
};

// The image encoded as PNG, autoreleased; nullptr when it has no bitmap or encoding fails.
NSData* UIImagePNGRepresentation(const UIImage* image);
