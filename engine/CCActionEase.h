#pragma once
// Easing actions: wrap an interval action and pass it a reshaped time f(t). Start, stop and
// duration follow the wrapped action. Curves are evaluated in single precision; some
// (back, elastic) leave 0..1 and the wrapped action receives those values unchanged.
#include "CCActionInterval.h"

class CCActionEase : public CCActionInterval {
public:
    static CCActionEase* actionWithAction(CCActionInterval* action);
    bool initWithAction(CCActionInterval* action);
    ~CCActionEase() override;

    CCActionInterval* innerAction() const;

    void startWithTarget(CCNode* target) override;
    void stop() override;
    // The identity curve.
    void update(ccTime t) override;
    CCActionEase* reverse() override;
    CCActionEase* copy() const override;

protected:
    // The wrapped action's reverse, as an interval action (nullptr when it has none).
    CCActionInterval* innerReverse() const;

    CCPtr<CCActionInterval> other;
};

// Power curves with a rate.
class CCEaseRateAction : public CCActionEase {
public:
    static CCEaseRateAction* actionWithAction(CCActionInterval* action, float rate);
    bool initWithAction(CCActionInterval* action, float rate);
    float rate() const { return rate_; }
    void setRate(float rate) { rate_ = rate; }
    CCActionEase* reverse() override;
    CCEaseRateAction* copy() const override;

protected:
    using CCActionEase::initWithAction;
    float rate_ = 0;
};

#define CC_EASE_RATE_CLASS(Name)                                                                           \
    class Name : public CCEaseRateAction {                                                                 \
    public:                                                                                                \
        static Name* actionWithAction(CCActionInterval* action, float rate);                               \
        void update(ccTime t) override;                                                                    \
        CCActionEase* reverse() override;                                                                  \
        Name* copy() const override;                                                                       \
    };
CC_EASE_RATE_CLASS(CCEaseIn)
CC_EASE_RATE_CLASS(CCEaseOut)
// A rate that is not a whole number gives NaN in the second half (a negative power base).
CC_EASE_RATE_CLASS(CCEaseInOut)
#undef CC_EASE_RATE_CLASS

#define CC_EASE_CLASS(Name, Base)                                                                          \
    class Name : public Base {                                                                             \
    public:                                                                                                \
        static Name* actionWithAction(CCActionInterval* action);                                           \
        void update(ccTime t) override;                                                                    \
        CCActionEase* reverse() override;                                                                  \
        Name* copy() const override;                                                                       \
    };
// Ends at 0.999 rather than 1 at t = 1.
CC_EASE_CLASS(CCEaseExponentialIn, CCActionEase)
CC_EASE_CLASS(CCEaseExponentialOut, CCActionEase)
CC_EASE_CLASS(CCEaseExponentialInOut, CCActionEase)
CC_EASE_CLASS(CCEaseSineIn, CCActionEase)
CC_EASE_CLASS(CCEaseSineOut, CCActionEase)
CC_EASE_CLASS(CCEaseSineInOut, CCActionEase)
CC_EASE_CLASS(CCEaseBackIn, CCActionEase)
CC_EASE_CLASS(CCEaseBackOut, CCActionEase)
CC_EASE_CLASS(CCEaseBackInOut, CCActionEase)

// The bounce curves' shared shape; without a direction it is the identity curve.
class CCEaseBounce : public CCActionEase {
public:
    static CCEaseBounce* actionWithAction(CCActionInterval* action);
    float bounceTime(float t) const;
    CCActionEase* reverse() override;
    CCEaseBounce* copy() const override;
};
CC_EASE_CLASS(CCEaseBounceIn, CCEaseBounce)
CC_EASE_CLASS(CCEaseBounceOut, CCEaseBounce)
CC_EASE_CLASS(CCEaseBounceInOut, CCEaseBounce)
#undef CC_EASE_CLASS

// Elastic curves with a period (0.3 by default). The base has no reverse of its own.
class CCEaseElastic : public CCActionEase {
public:
    static CCEaseElastic* actionWithAction(CCActionInterval* action);
    static CCEaseElastic* actionWithAction(CCActionInterval* action, float period);
    bool initWithAction(CCActionInterval* action);
    bool initWithAction(CCActionInterval* action, float period);
    float period() const { return period_; }
    void setPeriod(float period) { period_ = period; }
    // Fails: "Override me".
    CCActionEase* reverse() override;
    CCEaseElastic* copy() const override;

protected:
    float period_ = 0;
};

#define CC_EASE_ELASTIC_CLASS(Name)                                                                        \
    class Name : public CCEaseElastic {                                                                    \
    public:                                                                                                \
        static Name* actionWithAction(CCActionInterval* action);                                           \
        static Name* actionWithAction(CCActionInterval* action, float period);                             \
        void update(ccTime t) override;                                                                    \
        CCActionEase* reverse() override;                                                                  \
        Name* copy() const override;                                                                       \
    };
CC_EASE_ELASTIC_CLASS(CCEaseElasticIn)
CC_EASE_ELASTIC_CLASS(CCEaseElasticOut)
// A period of 0 becomes 0.45 (0.3 x 1.5) at the first update and stays.
CC_EASE_ELASTIC_CLASS(CCEaseElasticInOut)
#undef CC_EASE_ELASTIC_CLASS
