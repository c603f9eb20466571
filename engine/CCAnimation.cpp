#include "CCAnimation.h"

#include <cstdio>

#include "CCSpriteFrame.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"

CCAnimation* CCAnimation::animationWithName(const std::string& name) {
    return ccCreate<CCAnimation>([&](CCAnimation* a) { return a->initWithName(name); });
}
CCAnimation* CCAnimation::animationWithName(const std::string& name, float delay) {
    return ccCreate<CCAnimation>([&](CCAnimation* a) { return a->initWithName(name, delay); });
}
CCAnimation* CCAnimation::animationWithName(const std::string& name, const std::vector<CCSpriteFrame*>& frames) {
    return ccCreate<CCAnimation>([&](CCAnimation* a) { return a->initWithName(name, frames); });
}
CCAnimation* CCAnimation::animationWithName(const std::string& name, float delay,
                                            const std::vector<CCSpriteFrame*>& frames) {
    return ccCreate<CCAnimation>([&](CCAnimation* a) { return a->initWithName(name, delay, frames); });
}

bool CCAnimation::initWithName(const std::string& name) { return initWithName(name, 0.0f, {}); }
bool CCAnimation::initWithName(const std::string& name, float delay) { return initWithName(name, delay, {}); }
bool CCAnimation::initWithName(const std::string& name, const std::vector<CCSpriteFrame*>& frames) {
    return initWithName(name, 0.0f, frames);
}

bool CCAnimation::initWithName(const std::string& name, float delay, const std::vector<CCSpriteFrame*>& frames) {
    delay_ = delay;
    name_ = name;
    std::vector<CCObject*> objects(frames.begin(), frames.end());
    frames_ = CCPtr<CCArray>::adopt(ccNew<CCArray>([&](CCArray* a) { return a->initWithNSArray(objects); }));
    return true;
}

void CCAnimation::addFrame(CCSpriteFrame* frame) { frames_->addObject(frame); }

void CCAnimation::addFrameWithFilename(const std::string& filename) {
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(filename);
    if (!texture) return; // nothing to show: a missing image adds no frame
    CGSize size = texture->contentSize();
    addFrame(CCSpriteFrame::frameWithTexture(texture, CGRectMake(0, 0, size.width, size.height)));
}

void CCAnimation::addFrameWithTexture(CCTexture2D* texture, CGRect rect) {
    addFrame(CCSpriteFrame::frameWithTexture(texture, rect));
}

std::string CCAnimation::description() const {
    char text[64];
    std::snprintf(text, sizeof text, ", frames=%d>", int(frames_->count()));
    return std::string("<").append(className()) + " = " + ccAddressString(this) + " | name=" + name_ + text;
}
