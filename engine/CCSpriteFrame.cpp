#include "CCSpriteFrame.h"

#include <cstdio>

#include "CCTexture2D.h"
#include "ccMacros.h"

CCSpriteFrame* CCSpriteFrame::frameWithTexture(CCTexture2D* texture, CGRect rect) {
    return ccCreate<CCSpriteFrame>([&](CCSpriteFrame* f) { return f->initWithTexture(texture, rect); });
}

CCSpriteFrame* CCSpriteFrame::frameWithTexture(CCTexture2D* texture, CGRect rectInPixels, bool rotated,
                                               CGPoint offset, CGSize originalSize) {
    return ccCreate<CCSpriteFrame>(
        [&](CCSpriteFrame* f) { return f->initWithTexture(texture, rectInPixels, rotated, offset, originalSize); });
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, CGRect rect) {
    const float scale = CC_CONTENT_SCALE_FACTOR();
    CGRect pixels = CGRectMake(rect.origin.x * scale, rect.origin.y * scale, rect.size.width * scale,
                               rect.size.height * scale);
    return initWithTexture(texture, pixels, false, CGPointZero, pixels.size);
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, CGRect rectInPixels, bool rotated, CGPoint offset,
                                    CGSize originalSize) {
    const float scale = CC_CONTENT_SCALE_FACTOR();
    texture_ = texture;
    rectInPixels_ = rectInPixels;
    rect_ = CGRectMake(rectInPixels.origin.x / scale, rectInPixels.origin.y / scale,
                       rectInPixels.size.width / scale, rectInPixels.size.height / scale);
    rotated_ = rotated;
    offsetInPixels_ = offset;
    originalSizeInPixels_ = originalSize;
    return true;
}

CCSpriteFrame::~CCSpriteFrame() = default;

void CCSpriteFrame::setTexture(CCTexture2D* texture) { texture_ = texture; }

CCSpriteFrame* CCSpriteFrame::copy() const {
    return ccNew<CCSpriteFrame>([&](CCSpriteFrame* f) {
        return f->initWithTexture(texture_.get(), rectInPixels_, rotated_, offsetInPixels_, originalSizeInPixels_);
    });
}

std::string CCSpriteFrame::description() const {
    char text[160];
    std::snprintf(text, sizeof text, " | TextureName=%d, Rect = (%.2f,%.2f,%.2f,%.2f)>",
                  texture_ ? int(texture_->name()) : 0, rect_.origin.x, rect_.origin.y, rect_.size.width,
                  rect_.size.height);
    return std::string("<").append(className()) + " = " + ccAddressString(this) + text;
}
