#pragma once
// A rectangle of a texture, possibly trimmed (with an offset from the untrimmed centre and
// the untrimmed size) and possibly stored rotated by 90 degrees in the texture.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "CCTexture2D.h"
#include "CGGeometry.h"

class CCSpriteFrame : public CCObject {
public:
    // Rectangle in points.
    static CCSpriteFrame* frameWithTexture(CCTexture2D* texture, CGRect rect);
    static CCSpriteFrame* frameWithTexture(CCTexture2D* texture, CGRect rectInPixels, bool rotated, CGPoint offset,
                                           CGSize originalSize);
    bool initWithTexture(CCTexture2D* texture, CGRect rect);
    bool initWithTexture(CCTexture2D* texture, CGRect rectInPixels, bool rotated, CGPoint offset,
                         CGSize originalSize);
    ~CCSpriteFrame() override;

    // The setters store their value only: rect and rectInPixels are independent.
    CGRect rect() const { return rect_; }
    void setRect(CGRect rect) { rect_ = rect; }
    CGRect rectInPixels() const { return rectInPixels_; }
    void setRectInPixels(CGRect rect) { rectInPixels_ = rect; }
    bool rotated() const { return rotated_; }
    void setRotated(bool rotated) { rotated_ = rotated; }
    CGPoint offsetInPixels() const { return offsetInPixels_; }
    void setOffsetInPixels(CGPoint offset) { offsetInPixels_ = offset; }
    CGSize originalSizeInPixels() const { return originalSizeInPixels_; }
    void setOriginalSizeInPixels(CGSize size) { originalSizeInPixels_ = size; }
    CCTexture2D* texture() const { return texture_.get(); }
    void setTexture(CCTexture2D* texture);

    // A new frame (owned by the caller) sharing the texture.
    CCSpriteFrame* copy() const;

    std::string description() const override;

private:
    CGRect rect_{};
    CGRect rectInPixels_{};
    bool rotated_ = false;
    CGPoint offsetInPixels_{};
    CGSize originalSizeInPixels_{};
    CCPtr<CCTexture2D> texture_;
};
