#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CCAutoreleasePool.h"
#include "NSRunLoop.h"
#include "UIAccelerometer.h"
#include "support/DeterministicClock.h"

namespace {

struct Recorder : UIAccelerometerDelegate {
    void accelerometer(UIAccelerometer* a, UIAcceleration* acc) override {
        from = a;
        readings.push_back({acc->x(), acc->y(), acc->z()});
        stamps.push_back(acc->timestamp());
    }
    UIAccelerometer* from = nullptr;
    std::vector<UIAccelerometerReading> readings;
    std::vector<double> stamps;
};

class Accelerometer : public ::testing::Test {
protected:
    void TearDown() override {
        accel->setDelegate(nullptr);
        accel->setSource(nullptr);
        accel->setUpdateInterval(0.1);
    }
    CCAutoreleaseScope pool;
    UIAccelerometer* accel = UIAccelerometer::sharedAccelerometer();
    Recorder recorder;
};

TEST_F(Accelerometer, DeliversTheSourcesReadingToTheDelegateOnly) {
    EXPECT_EQ(accel, UIAccelerometer::sharedAccelerometer());
    accel->deliverReading(0.5); // no delegate: nothing to do
    accel->setDelegate(&recorder);
    accel->deliverReading(1.0);
    double tilt = 0.25;
    accel->setSource([&] { return UIAccelerometerReading{0.1, tilt, -0.9}; });
    accel->deliverReading(1.1);
    tilt = std::nan("");
    accel->deliverReading(1.2);
    accel->setDelegate(nullptr);
    accel->deliverReading(1.3);

    ASSERT_EQ(recorder.readings.size(), 3u);
    EXPECT_EQ(recorder.from, accel);
    EXPECT_EQ(recorder.readings[0], (UIAccelerometerReading{0, 0, -1})); // lying flat
    EXPECT_EQ(recorder.readings[1], (UIAccelerometerReading{0.1, 0.25, -0.9}));
    EXPECT_EQ(recorder.readings[2], (UIAccelerometerReading{0, 0, -1})); // nonsense is not passed on
    EXPECT_EQ(recorder.stamps, (std::vector<double>{1.0, 1.1, 1.2}));
}

TEST_F(Accelerometer, UpdateIntervalRefusesZeroNegativeAndNaN) {
    accel->setUpdateInterval(0.25);
    EXPECT_DOUBLE_EQ(accel->updateInterval(), 0.25);
    for (double bad : {0.0, -1.0, std::nan("")}) {
        accel->setUpdateInterval(bad);
        EXPECT_DOUBLE_EQ(accel->updateInterval(), 0.01);
    }
}

TEST_F(Accelerometer, DeliversEveryUpdateIntervalOnTheMainRunLoopWhileThereIsADelegate) {
    DeterministicClock clock(0);
    NSRunLoop* loop = NSRunLoop::mainRunLoop();
    accel->setUpdateInterval(0.1);
    accel->setDelegate(&recorder);
    accel->setDelegate(&recorder); // the same delegate again: still one timer
    loop->runUntilDate(0.35);
    ASSERT_EQ(recorder.stamps.size(), 3u);
    EXPECT_NEAR(recorder.stamps[2], 0.3, 1e-6);

    // A new interval takes effect at once.
    accel->setUpdateInterval(0.25);
    loop->runUntilDate(0.35 + 0.5);
    EXPECT_EQ(recorder.stamps.size(), 5u);

    accel->setDelegate(nullptr);
    EXPECT_FALSE(accel->isDelivering());
    loop->runUntilDate(2);
    EXPECT_EQ(recorder.stamps.size(), 5u);
}

} // namespace

namespace {

// Keeps every reading it is given.
struct Keeper : UIAccelerometerDelegate {
    void accelerometer(UIAccelerometer*, UIAcceleration* acc) override { kept.emplace_back(acc); }
    std::vector<CCPtr<UIAcceleration>> kept;
};

} // namespace

TEST_F(Accelerometer, AReadingKeptByTheDelegateStaysAsItWasDelivered) {
    double y = 0.25;
    accel->setSource([&y] { return UIAccelerometerReading{0, y, -1}; });
    Keeper keeper;
    accel->setDelegate(&keeper);
    accel->deliverReading(1.0);
    y = -0.5;
    accel->deliverReading(2.0);
    ASSERT_EQ(keeper.kept.size(), 2u);
    EXPECT_NE(keeper.kept[0].get(), keeper.kept[1].get());
    EXPECT_DOUBLE_EQ(keeper.kept[0]->y(), 0.25);
    EXPECT_DOUBLE_EQ(keeper.kept[0]->timestamp(), 1.0);
    EXPECT_DOUBLE_EQ(keeper.kept[1]->y(), -0.5);

    // A delegate that only looks gets every reading's own values, in a reused object.
    accel->setDelegate(&recorder);
    for (int i = 0; i < 3; ++i) {
        CCAutoreleaseScope frame; // the run loop's pass
        y = 0.1 * i;
        accel->deliverReading(3.0 + i);
    }
    ASSERT_EQ(recorder.readings.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(recorder.readings[i].y, 0.1 * i);
        EXPECT_DOUBLE_EQ(recorder.stamps[i], 3.0 + i);
    }
    EXPECT_DOUBLE_EQ(keeper.kept[1]->y(), -0.5);
}
