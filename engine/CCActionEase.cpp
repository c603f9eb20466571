#include "CCActionEase.h"

#include <cmath>

#include "CCAssert.h"

namespace {
constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kTwoPi = kPi * 2.0f;

template <class E, class... P> E* create(CCActionInterval* action, P... params) {
    return ccCreate<E>([&](E* e) { return e->initWithAction(action, params...); });
}
// A new ease around an owned copy of the wrapped action.
template <class E, class... P> E* around(const CCActionInterval* inner, P... params) {
    CCPtr<CCActionInterval> copy = CCPtr<CCActionInterval>::adopt(inner->copy());
    return ccNew<E>([&](E* e) { return e->initWithAction(copy, params...); });
}
} // namespace

// --- CCActionEase ---

CCActionEase* CCActionEase::actionWithAction(CCActionInterval* action) { return create<CCActionEase>(action); }

bool CCActionEase::initWithAction(CCActionInterval* action) {
    CCAssert(action != nullptr, "Ease: arguments must be non-nil");
    if (!initWithDuration(action->duration())) return false;
    other = action;
    return true;
}

CCActionEase::~CCActionEase() = default;

CCActionInterval* CCActionEase::innerAction() const { return other; }

CCActionInterval* CCActionEase::innerReverse() const { return dynamic_cast<CCActionInterval*>(other->reverse()); }

void CCActionEase::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    other->startWithTarget(target);
}

void CCActionEase::stop() {
    other->stop();
    CCActionInterval::stop();
}

void CCActionEase::update(ccTime t) { other->update(t); }

CCActionEase* CCActionEase::reverse() { return actionWithAction(innerReverse()); }

CCActionEase* CCActionEase::copy() const { return around<CCActionEase>(other); }

// --- rate family ---

CCEaseRateAction* CCEaseRateAction::actionWithAction(CCActionInterval* action, float rate) {
    return create<CCEaseRateAction>(action, rate);
}

bool CCEaseRateAction::initWithAction(CCActionInterval* action, float rate) {
    if (!CCActionEase::initWithAction(action)) return false;
    setRate(rate);
    return true;
}

CCActionEase* CCEaseRateAction::reverse() { return actionWithAction(innerReverse(), rate_); }

CCEaseRateAction* CCEaseRateAction::copy() const { return around<CCEaseRateAction>(other, rate_); }

#define CC_EASE_RATE_COMMON(Name)                                                                          \
    Name* Name::actionWithAction(CCActionInterval* action, float rate) { return create<Name>(action, rate); } \
    Name* Name::copy() const { return around<Name>(other, rate_); }

CC_EASE_RATE_COMMON(CCEaseIn)
CC_EASE_RATE_COMMON(CCEaseOut)
CC_EASE_RATE_COMMON(CCEaseInOut)
#undef CC_EASE_RATE_COMMON

void CCEaseIn::update(ccTime t) { other->update(std::pow(t, rate_)); }
CCActionEase* CCEaseIn::reverse() { return actionWithAction(innerReverse(), 1 / rate_); }

void CCEaseOut::update(ccTime t) { other->update(std::pow(t, 1 / rate_)); }
CCActionEase* CCEaseOut::reverse() { return actionWithAction(innerReverse(), 1 / rate_); }

void CCEaseInOut::update(ccTime t) {
    float u = t * 2;
    if (u < 1) {
        other->update(0.5f * std::pow(u, rate_));
    } else {
        float sign = static_cast<int>(rate_) % 2 == 0 ? -1.0f : 1.0f;
        other->update(sign * 0.5f * (std::pow(u - 2, rate_) + sign * 2));
    }
}
CCActionEase* CCEaseInOut::reverse() { return actionWithAction(innerReverse(), rate_); }

// --- parameterless families ---

#define CC_EASE_COMMON(Name)                                                                               \
    Name* Name::actionWithAction(CCActionInterval* action) { return create<Name>(action); }                \
    Name* Name::copy() const { return around<Name>(other); }

CC_EASE_COMMON(CCEaseExponentialIn)
CC_EASE_COMMON(CCEaseExponentialOut)
CC_EASE_COMMON(CCEaseExponentialInOut)
CC_EASE_COMMON(CCEaseSineIn)
CC_EASE_COMMON(CCEaseSineOut)
CC_EASE_COMMON(CCEaseSineInOut)
CC_EASE_COMMON(CCEaseBackIn)
CC_EASE_COMMON(CCEaseBackOut)
CC_EASE_COMMON(CCEaseBackInOut)
CC_EASE_COMMON(CCEaseBounce)
CC_EASE_COMMON(CCEaseBounceIn)
CC_EASE_COMMON(CCEaseBounceOut)
CC_EASE_COMMON(CCEaseBounceInOut)
#undef CC_EASE_COMMON

void CCEaseExponentialIn::update(ccTime t) { other->update(t == 0 ? 0 : std::pow(2.0f, 10 * (t - 1)) - 0.001f); }
CCActionEase* CCEaseExponentialIn::reverse() { return CCEaseExponentialOut::actionWithAction(innerReverse()); }

void CCEaseExponentialOut::update(ccTime t) { other->update(t == 1 ? 1 : 1 - std::pow(2.0f, -10 * t)); }
CCActionEase* CCEaseExponentialOut::reverse() { return CCEaseExponentialIn::actionWithAction(innerReverse()); }

void CCEaseExponentialInOut::update(ccTime t) {
    float u = t * 2;
    if (u < 1)
        other->update(0.5f * std::pow(2.0f, 10 * (u - 1)));
    else
        other->update(0.5f * (2 - std::pow(2.0f, -10 * (u - 1))));
}
CCActionEase* CCEaseExponentialInOut::reverse() { return actionWithAction(innerReverse()); }

void CCEaseSineIn::update(ccTime t) { other->update(1 - std::cos(t * kHalfPi)); }
CCActionEase* CCEaseSineIn::reverse() { return CCEaseSineOut::actionWithAction(innerReverse()); }

void CCEaseSineOut::update(ccTime t) { other->update(std::sin(t * kHalfPi)); }
CCActionEase* CCEaseSineOut::reverse() { return CCEaseSineIn::actionWithAction(innerReverse()); }

void CCEaseSineInOut::update(ccTime t) { other->update(-0.5f * (std::cos(kPi * t) - 1)); }
CCActionEase* CCEaseSineInOut::reverse() { return actionWithAction(innerReverse()); }

void CCEaseBackIn::update(ccTime t) { other->update(t * t * (2.70158f * t - 1.70158f)); }
CCActionEase* CCEaseBackIn::reverse() { return CCEaseBackOut::actionWithAction(innerReverse()); }

void CCEaseBackOut::update(ccTime t) {
    float u = t - 1;
    other->update(1 + u * u * (2.70158f * u + 1.70158f));
}
CCActionEase* CCEaseBackOut::reverse() { return CCEaseBackIn::actionWithAction(innerReverse()); }

void CCEaseBackInOut::update(ccTime t) {
    constexpr float overshoot = 2.5949094f; // 1.70158 x 1.525
    float u = t * 2;
    if (u < 1) {
        other->update(0.5f * u * u * ((overshoot + 1) * u - overshoot));
    } else {
        float v = u - 2;
        other->update(1 + 0.5f * v * v * ((overshoot + 1) * v + overshoot));
    }
}
CCActionEase* CCEaseBackInOut::reverse() { return actionWithAction(innerReverse()); }

// --- bounce ---

float CCEaseBounce::bounceTime(float t) const {
    // The thresholds compare in double, as the constants are doubles.
    if (double(t) < 1 / 2.75) return 7.5625f * t * t;
    if (double(t) < 2 / 2.75) {
        t -= 0.54545456f; // 1.5 / 2.75
        return 7.5625f * t * t + 0.75f;
    }
    if (double(t) < 2.5 / 2.75) {
        t -= 0.8181818f; // 2.25 / 2.75
        return 7.5625f * t * t + 0.9375f;
    }
    t -= 0.95454544f; // 2.625 / 2.75
    return 7.5625f * t * t + 0.984375f;
}

CCActionEase* CCEaseBounce::reverse() { return actionWithAction(innerReverse()); }

void CCEaseBounceIn::update(ccTime t) { other->update(1 - bounceTime(1 - t)); }
CCActionEase* CCEaseBounceIn::reverse() { return CCEaseBounceOut::actionWithAction(innerReverse()); }

void CCEaseBounceOut::update(ccTime t) { other->update(bounceTime(t)); }
CCActionEase* CCEaseBounceOut::reverse() { return CCEaseBounceIn::actionWithAction(innerReverse()); }

void CCEaseBounceInOut::update(ccTime t) {
    if (t < 0.5f)
        other->update(0.5f * (1 - bounceTime(1 - t * 2)));
    else
        other->update(0.5f + 0.5f * bounceTime(t * 2 - 1));
}
CCActionEase* CCEaseBounceInOut::reverse() { return actionWithAction(innerReverse()); }

// --- elastic ---

CCEaseElastic* CCEaseElastic::actionWithAction(CCActionInterval* action) { return create<CCEaseElastic>(action); }

CCEaseElastic* CCEaseElastic::actionWithAction(CCActionInterval* action, float period) {
    return create<CCEaseElastic>(action, period);
}

bool CCEaseElastic::initWithAction(CCActionInterval* action) { return initWithAction(action, 0.3f); }

bool CCEaseElastic::initWithAction(CCActionInterval* action, float period) {
    if (!CCActionEase::initWithAction(action)) return false;
    period_ = period;
    return true;
}

CCActionEase* CCEaseElastic::reverse() {
    CCAssert(false, "Override me");
    return nullptr;
}

CCEaseElastic* CCEaseElastic::copy() const { return around<CCEaseElastic>(other, period_); }

#define CC_EASE_ELASTIC_COMMON(Name)                                                                       \
    Name* Name::actionWithAction(CCActionInterval* action) { return create<Name>(action); }                \
    Name* Name::actionWithAction(CCActionInterval* action, float period) { return create<Name>(action, period); } \
    Name* Name::copy() const { return around<Name>(other, period_); }

CC_EASE_ELASTIC_COMMON(CCEaseElasticIn)
CC_EASE_ELASTIC_COMMON(CCEaseElasticOut)
CC_EASE_ELASTIC_COMMON(CCEaseElasticInOut)
#undef CC_EASE_ELASTIC_COMMON

void CCEaseElasticIn::update(ccTime t) {
    if (t == 0 || t == 1) {
        other->update(t);
        return;
    }
    float s = period_ / 4;
    float u = t - 1;
    other->update(-std::pow(2.0f, 10 * u) * std::sin((u - s) * kTwoPi / period_));
}
CCActionEase* CCEaseElasticIn::reverse() { return CCEaseElasticOut::actionWithAction(innerReverse(), period_); }

void CCEaseElasticOut::update(ccTime t) {
    if (t == 0 || t == 1) {
        other->update(t);
        return;
    }
    float s = period_ / 4;
    other->update(std::pow(2.0f, -10 * t) * std::sin((t - s) * kTwoPi / period_) + 1);
}
CCActionEase* CCEaseElasticOut::reverse() { return CCEaseElasticIn::actionWithAction(innerReverse(), period_); }

void CCEaseElasticInOut::update(ccTime t) {
    if (t == 0 || t == 1) {
        other->update(t);
        return;
    }
    float u = t * 2 - 1;
    if (period_ == 0) period_ = 0.3f * 1.5f;
    float s = period_ / 4;
    float q = (u - s) * kTwoPi / period_;
    if (u < 0)
        other->update(-0.5f * std::pow(2.0f, 10 * u) * std::sin(q));
    else
        other->update(1 + 0.5f * std::pow(2.0f, -10 * u) * std::sin(q));
}
CCActionEase* CCEaseElasticInOut::reverse() { return actionWithAction(innerReverse(), period_); }
