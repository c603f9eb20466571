#pragma once
// A named list of sprite frames shown one after the other, each for the same delay.
#include <string>
#include <vector>

#include "CCArray.h"
#include "CCObject.h"
#include "CCPtr.h"
#include "CGGeometry.h"

class CCSpriteFrame;
class CCTexture2D;

class CCAnimation : public CCObject {
public:
    static CCAnimation* animationWithName(const std::string& name);
    static CCAnimation* animationWithName(const std::string& name, float delay);
    static CCAnimation* animationWithName(const std::string& name, const std::vector<CCSpriteFrame*>& frames);
    static CCAnimation* animationWithName(const std::string& name, float delay,
                                          const std::vector<CCSpriteFrame*>& frames);
    bool initWithName(const std::string& name);
    bool initWithName(const std::string& name, float delay);
    bool initWithName(const std::string& name, const std::vector<CCSpriteFrame*>& frames);
    bool initWithName(const std::string& name, float delay, const std::vector<CCSpriteFrame*>& frames);

    const std::string& name() const { return name_; }
    void setName(const std::string& name) { name_ = name; }
    float delay() const { return delay_; }
    void setDelay(float delay) { delay_ = delay; }
    // Of CCSpriteFrame, in display order.
    CCArray* frames() const { return frames_.get(); }
    void setFrames(CCArray* frames) { frames_ = frames; }

    void addFrame(CCSpriteFrame* frame);
    // The whole image, loaded through the texture cache.
    void addFrameWithFilename(const std::string& filename);
    // Rectangle in points.
    void addFrameWithTexture(CCTexture2D* texture, CGRect rect);

    std::string description() const override;

private:
    std::string name_;
    float delay_ = 0;
    CCPtr<CCArray> frames_;
};
