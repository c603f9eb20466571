#include <gtest/gtest.h>

#include <cmath>

#include "CCActionEase.h"
#include "support/ActionTestSupport.h"

namespace {

using Ease = ActionTest;

// The time an ease passes to the action it wraps, for each t.
template <class E, class... P> std::vector<float> curve(std::initializer_list<float> ts, P... params) {
    std::vector<float> out;
    Probe* probe = Probe::make(1, nullptr, "p");
    probe->onUpdate = [&](float v) { out.push_back(v); };
    E* ease = E::actionWithAction(probe, params...);
    ease->startWithTarget(CCNode::node());
    for (float t : ts) ease->update(t);
    return out;
}

template <class E, class... P> float at(float t, P... params) { return curve<E>({t}, params...)[0]; }

TEST_F(Ease, ExponentialCurves) {
    EXPECT_EQ(at<CCEaseExponentialIn>(0), 0);
    EXPECT_FLOAT_EQ(at<CCEaseExponentialIn>(1), 0.999f);
    EXPECT_EQ(at<CCEaseExponentialOut>(1), 1);
    EXPECT_FLOAT_EQ(at<CCEaseExponentialOut>(0.5f), 0.96875f);
    EXPECT_FLOAT_EQ(at<CCEaseExponentialInOut>(0.25f), 0.5f * std::pow(2.0f, -5.0f));
    EXPECT_FLOAT_EQ(at<CCEaseExponentialInOut>(1), 0.5f * (2 - std::pow(2.0f, -10.0f))); // just short of 1
}

TEST_F(Ease, RateCurves) {
    EXPECT_FLOAT_EQ(at<CCEaseIn>(0.5f, 2.0f), 0.25f);
    EXPECT_FLOAT_EQ(at<CCEaseOut>(0.25f, 2.0f), 0.5f);
    EXPECT_EQ(curve<CCEaseInOut>({0.25f, 0.75f}, 2.0f), (std::vector<float>{0.125f, 0.875f}));
    EXPECT_FLOAT_EQ(at<CCEaseInOut>(0.75f, 3.0f), 0.9375f);
    auto* in = CCEaseIn::actionWithAction(CCDelayTime::actionWithDuration(1), 4);
    EXPECT_FLOAT_EQ(static_cast<CCEaseIn*>(in->reverse())->rate(), 0.25f);
}

TEST_F(Ease, SineAndBackCurves) {
    EXPECT_NEAR(at<CCEaseSineIn>(1), 1, 1e-6);
    EXPECT_FLOAT_EQ(at<CCEaseSineOut>(1), 1);
    EXPECT_FLOAT_EQ(at<CCEaseSineInOut>(0.5f), 0.5f);
    float minimum = at<CCEaseBackIn>(0.42f);
    EXPECT_LT(minimum, -0.09f);
    EXPECT_GT(minimum, -0.11f);
    EXPECT_GT(at<CCEaseBackOut>(0.6f), 1.05f);
    EXPECT_FLOAT_EQ(at<CCEaseBackOut>(1), 1);
    EXPECT_FLOAT_EQ(at<CCEaseBackInOut>(0.25f), 0.5f * 0.25f * (3.5949094f * 0.5f - 2.5949094f));
    EXPECT_FLOAT_EQ(at<CCEaseBackInOut>(1), 1);
}

TEST_F(Ease, ElasticCurves) {
    EXPECT_EQ(curve<CCEaseElasticOut>({0, 1}, 0.3f), (std::vector<float>{0, 1}));
    EXPECT_EQ(curve<CCEaseElasticIn>({0, 1}), (std::vector<float>{0, 1}));
    EXPECT_FLOAT_EQ(at<CCEaseElasticOut>(0.5f),
                    1 + std::pow(2.0f, -5.0f) * std::sin((0.5f - 0.075f) * 3.1415927f * 2 / 0.3f));
    EXPECT_FLOAT_EQ(at<CCEaseElasticIn>(0.5f),
                    -std::pow(2.0f, -5.0f) * std::sin((-0.5f - 0.075f) * 3.1415927f * 2 / 0.3f));

    auto* inOut = CCEaseElasticInOut::actionWithAction(Probe::make(1, nullptr, "p"), 0);
    inOut->startWithTarget(CCNode::node());
    inOut->update(0.75f);
    EXPECT_EQ(inOut->period(), 0.45000002f);
    auto* reversed = static_cast<CCEaseElastic*>(inOut->reverse());
    EXPECT_EQ(reversed->period(), 0.45000002f);
    auto* out = static_cast<CCEaseElastic*>(CCEaseElasticIn::actionWithAction(Probe::make(1, nullptr, "p"), 0.5f)->reverse());
    EXPECT_NE(dynamic_cast<CCEaseElasticOut*>(out), nullptr);
    EXPECT_EQ(out->period(), 0.5f);
}

TEST_F(Ease, BounceCurves) {
    EXPECT_NEAR(at<CCEaseBounceOut>(1), 1, 1e-6);
    EXPECT_FLOAT_EQ(at<CCEaseBounceOut>(1), 0.984375f + 7.5625f * (1 - 0.95454544f) * (1 - 0.95454544f));
    EXPECT_FLOAT_EQ(at<CCEaseBounceOut>(0.2f), 7.5625f * 0.04f);
    EXPECT_FLOAT_EQ(at<CCEaseBounceOut>(0.5f), 7.5625f * (0.5f - 0.54545456f) * (0.5f - 0.54545456f) + 0.75f);
    EXPECT_NEAR(at<CCEaseBounceIn>(0), 0, 1e-6);
    EXPECT_FLOAT_EQ(at<CCEaseBounceInOut>(0.5f), 0.5f);
    // The float nearest 1/2.75 lies above it and starts the second arc.
    auto* bounce = CCEaseBounce::actionWithAction(CCDelayTime::actionWithDuration(1));
    float edge = static_cast<float>(1 / 2.75);
    EXPECT_EQ(bounce->bounceTime(edge), 7.5625f * (edge - 0.54545456f) * (edge - 0.54545456f) + 0.75f);
    float below = std::nextafter(edge, 0.0f);
    EXPECT_EQ(bounce->bounceTime(below), 7.5625f * below * below);
}

TEST_F(Ease, EasesFollowTheWrappedActionAndReverseAndCopyByClass) {
    Log log;
    CCNode* node = runningNode();
    auto* ease = CCEaseSineIn::actionWithAction(Probe::make(2, &log, "p"));
    EXPECT_FLOAT_EQ(ease->duration(), 2);
    node->runAction(ease);
    tick(0.1f);
    tick(2);
    EXPECT_EQ(log, (Log{"p:start", "p:0", "p:1", "p:stop"}));
    EXPECT_NE(dynamic_cast<CCEaseSineOut*>(ease->reverse()), nullptr);
    EXPECT_NE(dynamic_cast<CCEaseBounceIn*>(CCEaseBounceOut::actionWithAction(Probe::make(1, &log, "q"))->reverse()),
              nullptr);
    CCPtr<CCEaseSineIn> copy = CCPtr<CCEaseSineIn>::adopt(ease->copy());
    EXPECT_NE(copy->innerAction(), ease->innerAction());
    EXPECT_EQ(static_cast<Probe*>(copy->innerAction())->name, "p");
    CCPtr<CCEaseOut> rateCopy =
        CCPtr<CCEaseOut>::adopt(CCEaseOut::actionWithAction(CCDelayTime::actionWithDuration(1), 3)->copy());
    EXPECT_EQ(rateCopy->rate(), 3);
    EXPECT_FLOAT_EQ(CCActionEase::actionWithAction(CCDelayTime::actionWithDuration(0))->duration(), 1.1920929e-7f);
}

using EaseDeathTest = ActionTest;

TEST_F(EaseDeathTest, FailsOnProgrammingErrors) {
    EXPECT_DEATH(CCEaseSineIn::actionWithAction(nullptr), "Ease: arguments must be non-nil");
    EXPECT_DEATH(CCEaseElastic::actionWithAction(CCDelayTime::actionWithDuration(1))->reverse(), "Override me");
}

} // namespace
