#include "CCIntervalActions.h"

#include <cmath>

#include "CCNode.h"
#include "CCRGBAProtocol.h"

std::uint8_t ccActionChannel(float value) {
    float whole = std::trunc(value);
    if (!(whole > 0)) return 0; // negative and NaN
    return static_cast<std::uint8_t>(std::fmod(whole, 256.0f));
}

namespace {
// Fades and tints act on targets with a colour; on any other node they do nothing.
CCRGBAProtocol* rgba(CCNode* target) { return dynamic_cast<CCRGBAProtocol*>(target); }

float bezierat(float a, float b, float c, float d, ccTime t) {
    return std::pow(1 - t, 3.0f) * a + 3 * t * std::pow(1 - t, 2.0f) * b + 3 * std::pow(t, 2.0f) * (1 - t) * c +
           std::pow(t, 3.0f) * d;
}

template <class T, class... Args> T* create(Args... args) {
    return ccCreate<T>([&](T* a) { return a->initWithDuration(args...); });
}
template <class T, class... Args> T* make(Args... args) {
    return ccNew<T>([&](T* a) { return a->initWithDuration(args...); });
}
} // namespace

// --- CCMoveTo / CCMoveBy ---

CCMoveTo* CCMoveTo::actionWithDuration(ccTime duration, CGPoint position) {
    return create<CCMoveTo>(duration, position);
}

bool CCMoveTo::initWithDuration(ccTime duration, CGPoint position) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    endPosition = position;
    return true;
}

void CCMoveTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    startPosition = target->position();
    delta = CGPointMake(endPosition.x - startPosition.x, endPosition.y - startPosition.y);
}

void CCMoveTo::update(ccTime t) {
    target_->setPosition(CGPointMake(startPosition.x + delta.x * t, startPosition.y + delta.y * t));
}

CCMoveTo* CCMoveTo::copy() const { return make<CCMoveTo>(duration_, endPosition); }

CCMoveBy* CCMoveBy::actionWithDuration(ccTime duration, CGPoint offset) {
    return create<CCMoveBy>(duration, offset);
}

bool CCMoveBy::initWithDuration(ccTime duration, CGPoint offset) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    delta = offset;
    return true;
}

void CCMoveBy::startWithTarget(CCNode* target) {
    CGPoint offset = delta;
    CCMoveTo::startWithTarget(target);
    delta = offset;
}

CCMoveBy* CCMoveBy::reverse() { return actionWithDuration(duration_, CGPointMake(-delta.x, -delta.y)); }

CCMoveBy* CCMoveBy::copy() const { return make<CCMoveBy>(duration_, delta); }

// --- CCJumpBy / CCJumpTo ---

CCJumpBy* CCJumpBy::actionWithDuration(ccTime duration, CGPoint position, float height, int jumps) {
    return create<CCJumpBy>(duration, position, height, jumps);
}

bool CCJumpBy::initWithDuration(ccTime duration, CGPoint position, float height_, int jumps_) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    delta = position;
    height = height_;
    jumps = jumps_;
    return true;
}

void CCJumpBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    startPosition = target->position();
}

void CCJumpBy::update(ccTime t) {
    float frac = std::fmod(t * static_cast<float>(jumps), 1.0f);
    float y = height * 4 * frac * (1 - frac) + delta.y * t;
    float x = delta.x * t;
    target_->setPosition(CGPointMake(startPosition.x + x, startPosition.y + y));
}

CCJumpBy* CCJumpBy::reverse() {
    return actionWithDuration(duration_, CGPointMake(-delta.x, -delta.y), height, jumps);
}

CCJumpBy* CCJumpBy::copy() const { return make<CCJumpBy>(duration_, delta, height, jumps); }

CCJumpTo* CCJumpTo::actionWithDuration(ccTime duration, CGPoint position, float height, int jumps) {
    return create<CCJumpTo>(duration, position, height, jumps);
}

void CCJumpTo::startWithTarget(CCNode* target) {
    CCJumpBy::startWithTarget(target);
    // In place: a second start of the same object subtracts again.
    delta = CGPointMake(delta.x - startPosition.x, delta.y - startPosition.y);
}

CCJumpTo* CCJumpTo::reverse() {
    return actionWithDuration(duration_, CGPointMake(-delta.x, -delta.y), height, jumps);
}

CCJumpTo* CCJumpTo::copy() const { return make<CCJumpTo>(duration_, delta, height, jumps); }

// --- CCBezierBy / CCBezierTo ---

namespace {
ccBezierConfig reversed(const ccBezierConfig& c) {
    ccBezierConfig r;
    r.endPosition = CGPointMake(-c.endPosition.x, -c.endPosition.y);
    r.controlPoint_1 = CGPointMake(c.controlPoint_2.x - c.endPosition.x, c.controlPoint_2.y - c.endPosition.y);
    r.controlPoint_2 = CGPointMake(c.controlPoint_1.x - c.endPosition.x, c.controlPoint_1.y - c.endPosition.y);
    return r;
}
} // namespace

CCBezierBy* CCBezierBy::actionWithDuration(ccTime duration, ccBezierConfig c) {
    return create<CCBezierBy>(duration, c);
}

bool CCBezierBy::initWithDuration(ccTime duration, ccBezierConfig c) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    config = c;
    return true;
}

void CCBezierBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    startPosition = target->position();
}

void CCBezierBy::update(ccTime t) {
    float x = bezierat(0, config.controlPoint_1.x, config.controlPoint_2.x, config.endPosition.x, t);
    float y = bezierat(0, config.controlPoint_1.y, config.controlPoint_2.y, config.endPosition.y, t);
    target_->setPosition(CGPointMake(startPosition.x + x, startPosition.y + y));
}

CCBezierBy* CCBezierBy::reverse() { return actionWithDuration(duration_, reversed(config)); }

CCBezierBy* CCBezierBy::copy() const { return make<CCBezierBy>(duration_, config); }

CCBezierTo* CCBezierTo::actionWithDuration(ccTime duration, ccBezierConfig c) {
    return create<CCBezierTo>(duration, c);
}

void CCBezierTo::startWithTarget(CCNode* target) {
    CCBezierBy::startWithTarget(target);
    auto relative = [this](CGPoint p) { return CGPointMake(p.x - startPosition.x, p.y - startPosition.y); };
    config.controlPoint_1 = relative(config.controlPoint_1);
    config.controlPoint_2 = relative(config.controlPoint_2);
    config.endPosition = relative(config.endPosition);
}

CCBezierTo* CCBezierTo::reverse() { return actionWithDuration(duration_, reversed(config)); }

CCBezierTo* CCBezierTo::copy() const { return make<CCBezierTo>(duration_, config); }

// --- CCScaleTo / CCScaleBy ---

CCScaleTo* CCScaleTo::actionWithDuration(ccTime duration, float scale) { return create<CCScaleTo>(duration, scale); }

CCScaleTo* CCScaleTo::actionWithDuration(ccTime duration, float scaleX, float scaleY) {
    return create<CCScaleTo>(duration, scaleX, scaleY);
}

bool CCScaleTo::initWithDuration(ccTime duration, float scale) { return initWithDuration(duration, scale, scale); }

bool CCScaleTo::initWithDuration(ccTime duration, float scaleX, float scaleY) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    endScaleX = scaleX;
    endScaleY = scaleY;
    return true;
}

void CCScaleTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    startScaleX = target->scaleX();
    startScaleY = target->scaleY();
    deltaX = endScaleX - startScaleX;
    deltaY = endScaleY - startScaleY;
}

void CCScaleTo::update(ccTime t) {
    target_->setScaleX(startScaleX + deltaX * t);
    target_->setScaleY(startScaleY + deltaY * t);
}

CCScaleTo* CCScaleTo::copy() const { return make<CCScaleTo>(duration_, endScaleX, endScaleY); }

CCScaleBy* CCScaleBy::actionWithDuration(ccTime duration, float scale) { return create<CCScaleBy>(duration, scale); }

CCScaleBy* CCScaleBy::actionWithDuration(ccTime duration, float scaleX, float scaleY) {
    return create<CCScaleBy>(duration, scaleX, scaleY);
}

void CCScaleBy::startWithTarget(CCNode* target) {
    CCScaleTo::startWithTarget(target);
    deltaX = startScaleX * endScaleX - startScaleX;
    deltaY = startScaleY * endScaleY - startScaleY;
}

CCScaleBy* CCScaleBy::reverse() { return actionWithDuration(duration_, 1 / endScaleX, 1 / endScaleY); }

CCScaleBy* CCScaleBy::copy() const { return make<CCScaleBy>(duration_, endScaleX, endScaleY); }

// --- CCRotateTo / CCRotateBy ---

CCRotateTo* CCRotateTo::actionWithDuration(ccTime duration, float angle) {
    return create<CCRotateTo>(duration, angle);
}

bool CCRotateTo::initWithDuration(ccTime duration, float angle) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    dstAngle = angle;
    return true;
}

void CCRotateTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    startAngle = target->rotation();
    startAngle = startAngle > 0 ? std::fmod(startAngle, 360.0f) : std::fmod(startAngle, -360.0f);
    diffAngle = dstAngle - startAngle;
    if (diffAngle > 180) diffAngle -= 360;
    if (diffAngle < -180) diffAngle += 360;
}

void CCRotateTo::update(ccTime t) { target_->setRotation(startAngle + diffAngle * t); }

CCRotateTo* CCRotateTo::copy() const { return make<CCRotateTo>(duration_, dstAngle); }

CCRotateBy* CCRotateBy::actionWithDuration(ccTime duration, float angle) {
    return create<CCRotateBy>(duration, angle);
}

bool CCRotateBy::initWithDuration(ccTime duration, float angle_) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    angle = angle_;
    return true;
}

void CCRotateBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    startAngle = target->rotation();
}

void CCRotateBy::update(ccTime t) { target_->setRotation(startAngle + angle * t); }

CCRotateBy* CCRotateBy::reverse() { return actionWithDuration(duration_, -angle); }

CCRotateBy* CCRotateBy::copy() const { return make<CCRotateBy>(duration_, angle); }

// --- fades ---

CCFadeIn* CCFadeIn::actionWithDuration(ccTime duration) { return create<CCFadeIn>(duration); }

void CCFadeIn::update(ccTime t) {
    if (auto* node = rgba(target_)) node->setOpacity(ccActionChannel(255 * t));
}

CCActionInterval* CCFadeIn::reverse() { return CCFadeOut::actionWithDuration(duration_); }

CCFadeIn* CCFadeIn::copy() const { return make<CCFadeIn>(duration_); }

CCFadeOut* CCFadeOut::actionWithDuration(ccTime duration) { return create<CCFadeOut>(duration); }

void CCFadeOut::update(ccTime t) {
    if (auto* node = rgba(target_)) node->setOpacity(ccActionChannel(255 * (1 - t)));
}

CCActionInterval* CCFadeOut::reverse() { return CCFadeIn::actionWithDuration(duration_); }

CCFadeOut* CCFadeOut::copy() const { return make<CCFadeOut>(duration_); }

CCFadeTo* CCFadeTo::actionWithDuration(ccTime duration, std::uint8_t opacity) {
    return create<CCFadeTo>(duration, opacity);
}

bool CCFadeTo::initWithDuration(ccTime duration, std::uint8_t opacity) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    toOpacity = opacity;
    return true;
}

void CCFadeTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (auto* node = rgba(target)) fromOpacity = node->opacity();
}

void CCFadeTo::update(ccTime t) {
    int difference = int(toOpacity) - int(fromOpacity);
    if (auto* node = rgba(target_)) node->setOpacity(ccActionChannel(float(fromOpacity) + float(difference) * t));
}

CCFadeTo* CCFadeTo::copy() const { return make<CCFadeTo>(duration_, toOpacity); }

// --- tints ---

CCTintTo* CCTintTo::actionWithDuration(ccTime duration, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return create<CCTintTo>(duration, red, green, blue);
}

bool CCTintTo::initWithDuration(ccTime duration, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    to = ccc3(red, green, blue);
    return true;
}

void CCTintTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (auto* node = rgba(target)) from = node->color();
}

void CCTintTo::update(ccTime t) {
    auto channel = [t](std::uint8_t f, std::uint8_t e) {
        return ccActionChannel(float(f) + float(int(e) - int(f)) * t);
    };
    if (auto* node = rgba(target_)) node->setColor(ccc3(channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)));
}

CCTintTo* CCTintTo::copy() const { return make<CCTintTo>(duration_, to.r, to.g, to.b); }

CCTintBy* CCTintBy::actionWithDuration(ccTime duration, std::int16_t red, std::int16_t green, std::int16_t blue) {
    return create<CCTintBy>(duration, red, green, blue);
}

bool CCTintBy::initWithDuration(ccTime duration, std::int16_t red, std::int16_t green, std::int16_t blue) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    deltaR = red;
    deltaG = green;
    deltaB = blue;
    return true;
}

void CCTintBy::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (auto* node = rgba(target)) {
        ccColor3B color = node->color();
        fromR = color.r;
        fromG = color.g;
        fromB = color.b;
    }
}

void CCTintBy::update(ccTime t) {
    auto channel = [t](std::int16_t f, std::int16_t d) { return ccActionChannel(float(f) + float(d) * t); };
    if (auto* node = rgba(target_))
        node->setColor(ccc3(channel(fromR, deltaR), channel(fromG, deltaG), channel(fromB, deltaB)));
}

CCTintBy* CCTintBy::reverse() {
    return actionWithDuration(duration_, std::int16_t(-deltaR), std::int16_t(-deltaG), std::int16_t(-deltaB));
}

CCTintBy* CCTintBy::copy() const { return make<CCTintBy>(duration_, deltaR, deltaG, deltaB); }

// --- CCBlink ---

CCBlink* CCBlink::actionWithDuration(ccTime duration, int blinks) { return create<CCBlink>(duration, blinks); }

bool CCBlink::initWithDuration(ccTime duration, int blinks) {
    if (!CCActionInterval::initWithDuration(duration)) return false;
    times = blinks;
    return true;
}

void CCBlink::update(ccTime t) {
    float slice = 1.0f / static_cast<float>(times);
    float m = std::fmod(t, slice);
    target_->setVisible(m > slice * 0.5f);
}

CCBlink* CCBlink::reverse() { return actionWithDuration(duration_, times); }

CCBlink* CCBlink::copy() const { return make<CCBlink>(duration_, times); }
