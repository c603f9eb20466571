#pragma once
// Interval actions that change one property of their target node over their duration:
// position (straight, jumping, along a Bezier curve), scale, rotation, opacity, colour and
// visibility. Each records its start values from the target when it starts; update(t) sets
// the property for the normalised time t (eases may pass values outside 0..1).
#include <cstdint>

#include "CCActionInterval.h"

// Moves to an absolute position.
class CCMoveTo : public CCActionInterval {
public:
    static CCMoveTo* actionWithDuration(ccTime duration, CGPoint position);
    bool initWithDuration(ccTime duration, CGPoint position);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCMoveTo* copy() const override;

protected:
    using CCActionInterval::initWithDuration;
    CGPoint endPosition{};
    CGPoint startPosition{};
    CGPoint delta{};
};

// Moves by an offset.
class CCMoveBy : public CCMoveTo {
public:
    static CCMoveBy* actionWithDuration(ccTime duration, CGPoint offset);
    bool initWithDuration(ccTime duration, CGPoint offset);
    void startWithTarget(CCNode* target) override;
    CCMoveBy* reverse() override;
    CCMoveBy* copy() const override;
};

// Jumps along parabolas of the given height while the base line moves by an offset.
class CCJumpBy : public CCActionInterval {
public:
    static CCJumpBy* actionWithDuration(ccTime duration, CGPoint position, float height, int jumps);
    bool initWithDuration(ccTime duration, CGPoint position, float height, int jumps);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCJumpBy* reverse() override;
    CCJumpBy* copy() const override;

protected:
    using CCActionInterval::initWithDuration;
    CGPoint startPosition{};
    CGPoint delta{};
    float height = 0;
    int jumps = 0;
};

// Jumps to an absolute position. The destination becomes an offset at each start.
class CCJumpTo : public CCJumpBy {
public:
    static CCJumpTo* actionWithDuration(ccTime duration, CGPoint position, float height, int jumps);
    void startWithTarget(CCNode* target) override;
    CCJumpTo* reverse() override;
    CCJumpTo* copy() const override;
};

// Moves along a cubic Bezier curve whose points are relative to the start.
class CCBezierBy : public CCActionInterval {
public:
    static CCBezierBy* actionWithDuration(ccTime duration, ccBezierConfig config);
    bool initWithDuration(ccTime duration, ccBezierConfig config);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCBezierBy* reverse() override;
    CCBezierBy* copy() const override;

protected:
    using CCActionInterval::initWithDuration;
    ccBezierConfig config{};
    CGPoint startPosition{};
};

// The curve given in absolute points; they become relative at each start.
class CCBezierTo : public CCBezierBy {
public:
    static CCBezierTo* actionWithDuration(ccTime duration, ccBezierConfig config);
    void startWithTarget(CCNode* target) override;
    CCBezierTo* reverse() override;
    CCBezierTo* copy() const override;
};

class CCScaleTo : public CCActionInterval {
public:
    static CCScaleTo* actionWithDuration(ccTime duration, float scale);
    static CCScaleTo* actionWithDuration(ccTime duration, float scaleX, float scaleY);
    bool initWithDuration(ccTime duration, float scale);
    bool initWithDuration(ccTime duration, float scaleX, float scaleY);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCScaleTo* copy() const override;

protected:
    using CCActionInterval::initWithDuration;
    float startScaleX = 0, startScaleY = 0;
    float endScaleX = 0, endScaleY = 0;
    float deltaX = 0, deltaY = 0;
};

// Multiplies the scale by factors.
class CCScaleBy : public CCScaleTo {
public:
    static CCScaleBy* actionWithDuration(ccTime duration, float scale);
    static CCScaleBy* actionWithDuration(ccTime duration, float scaleX, float scaleY);
    void startWithTarget(CCNode* target) override;
    CCScaleBy* reverse() override;
    CCScaleBy* copy() const override;
};

// Turns to an angle in degrees, the shorter way round.
class CCRotateTo : public CCActionInterval {
public:
    static CCRotateTo* actionWithDuration(ccTime duration, float angle);
    bool initWithDuration(ccTime duration, float angle);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCRotateTo* copy() const override;

private:
    using CCActionInterval::initWithDuration;
    float dstAngle = 0, startAngle = 0, diffAngle = 0;
};

// Turns by an angle in degrees.
class CCRotateBy : public CCActionInterval {
public:
    static CCRotateBy* actionWithDuration(ccTime duration, float angle);
    bool initWithDuration(ccTime duration, float angle);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCRotateBy* reverse() override;
    CCRotateBy* copy() const override;

private:
    using CCActionInterval::initWithDuration;
    float angle = 0, startAngle = 0;
};

// Opacity 0 to 255; the target must be a CCRGBAProtocol.
class CCFadeIn : public CCActionInterval {
public:
    static CCFadeIn* actionWithDuration(ccTime duration);
    void update(ccTime t) override;
    CCActionInterval* reverse() override;
    CCFadeIn* copy() const override;
};

// Opacity 255 to 0.
class CCFadeOut : public CCActionInterval {
public:
    static CCFadeOut* actionWithDuration(ccTime duration);
    void update(ccTime t) override;
    CCActionInterval* reverse() override;
    CCFadeOut* copy() const override;
};

class CCFadeTo : public CCActionInterval {
public:
    static CCFadeTo* actionWithDuration(ccTime duration, std::uint8_t opacity);
    bool initWithDuration(ccTime duration, std::uint8_t opacity);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCFadeTo* copy() const override;

private:
    using CCActionInterval::initWithDuration;
    std::uint8_t toOpacity = 0, fromOpacity = 0;
};

class CCTintTo : public CCActionInterval {
public:
    static CCTintTo* actionWithDuration(ccTime duration, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    bool initWithDuration(ccTime duration, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCTintTo* copy() const override;

private:
    using CCActionInterval::initWithDuration;
    ccColor3B to{}, from{};
};

class CCTintBy : public CCActionInterval {
public:
    static CCTintBy* actionWithDuration(ccTime duration, std::int16_t red, std::int16_t green, std::int16_t blue);
    bool initWithDuration(ccTime duration, std::int16_t red, std::int16_t green, std::int16_t blue);
    void startWithTarget(CCNode* target) override;
    void update(ccTime t) override;
    CCTintBy* reverse() override;
    CCTintBy* copy() const override;

private:
    using CCActionInterval::initWithDuration;
    std::int16_t deltaR = 0, deltaG = 0, deltaB = 0;
    std::int16_t fromR = 0, fromG = 0, fromB = 0;
};

// Hides then shows the target, `times` times over the duration.
class CCBlink : public CCActionInterval {
public:
    static CCBlink* actionWithDuration(ccTime duration, int blinks);
    bool initWithDuration(ccTime duration, int blinks);
    void update(ccTime t) override;
    CCBlink* reverse() override;
    CCBlink* copy() const override;

private:
    using CCActionInterval::initWithDuration;
    int times = 0;
};

// A float colour channel or opacity as 8 bits: truncated toward zero (negative gives 0),
// then the low 8 bits, so 255.9 gives 255 and 256 gives 0.
std::uint8_t ccActionChannel(float value);
