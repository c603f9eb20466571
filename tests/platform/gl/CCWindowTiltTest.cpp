#include <gtest/gtest.h>

#include <limits>

#include "CCWindowTilt.h"

namespace {

constexpr float g = float(CCWindowTilt::kStandardGravity);

TEST(CCWindowTilt, AControllerHeldLandscapeTurnsItsAxesToThePortraitDevicesInG) {
    // Lying flat: the sensor is pushed up against gravity; the device reads gravity down.
    CCTiltReading flat = CCWindowTilt::fromController({0, 0, g});
    EXPECT_NEAR(flat.x, 0, 1e-6);
    EXPECT_NEAR(flat.y, 0, 1e-6);
    EXPECT_NEAR(flat.z, -1, 1e-6);
    // Its right side lowered (push towards its +x) is the portrait's top lowered: +y.
    CCTiltReading r = CCWindowTilt::fromController({0.5f * g, -0.25f * g, 0});
    EXPECT_NEAR(r.x, 0.25, 1e-6);
    EXPECT_NEAR(r.y, 0.5, 1e-6);
}

TEST(CCWindowTilt, AMachinesSensorKeepsItsAxes) {
    CCTiltReading r = CCWindowTilt::fromSensor({0.5f * g, -0.25f * g, g});
    EXPECT_NEAR(r.x, -0.5, 1e-6);
    EXPECT_NEAR(r.y, 0.25, 1e-6);
    EXPECT_NEAR(r.z, -1, 1e-6);
}

TEST(CCWindowTilt, TheControllerComesFirstThenTheSensorThenTheKeyboardWithinItsLimit) {
    CCWindowTilt tilt;
    tilt.keyboard().press(CCKeyboardTilt::Left, 0);
    const CCMotionSample controller{0, 0.3f * g, g}, sensor{0, 0.2f * g, g};
    EXPECT_NEAR(tilt.reading(0, controller, sensor).x, -0.3, 1e-6);
    EXPECT_NEAR(tilt.reading(0, std::nullopt, sensor).y, -0.2, 1e-6);
    EXPECT_NEAR(tilt.reading(0, std::nullopt, std::nullopt).y, CCKeyboardTilt::kStep, 1e-9);
    // Held for long, the keyboard stops at its limit.
    EXPECT_NEAR(tilt.reading(100, std::nullopt, std::nullopt).y, CCKeyboardTilt::kLimit, 1e-9);
}

TEST(CCWindowTilt, ASampleThatIsNotANumberIsNoReading) {
    CCWindowTilt tilt;
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const CCMotionSample sensor{0, 0.2f * g, g};
    EXPECT_NEAR(tilt.reading(0, CCMotionSample{nan, 0, g}, sensor).y, -0.2, 1e-6);
    EXPECT_EQ(tilt.reading(0, std::nullopt, CCMotionSample{0, inf, g}), CCTiltReading{});
}

} // namespace
