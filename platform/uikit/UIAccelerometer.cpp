#include "UIAccelerometer.h"

#include <cmath>
#include <cstdio>

#include "CCClock.h"
#include "NSRunLoop.h"
#include "NSTimer.h"

UIAcceleration* UIAcceleration::accelerationWithValues(UIAccelerationValue x, UIAccelerationValue y,
                                                       UIAccelerationValue z, double timestamp) {
    auto* a = new UIAcceleration;
    a->x_ = x;
    a->y_ = y;
    a->z_ = z;
    a->timestamp_ = timestamp;
    return ccAutorelease(a);
}

std::string UIAcceleration::description() const {
    char text[160];
    std::snprintf(text, sizeof text, "<UIAcceleration x: %g y: %g z: %g timestamp: %g>", x_, y_, z_, timestamp_);
    return text;
}

UIAccelerometer* UIAccelerometer::sharedAccelerometer() {
    static UIAccelerometer* shared = new UIAccelerometer;
    return shared;
}

void UIAccelerometer::setUpdateInterval(double interval) {
    constexpr double kMinimumInterval = 0.01;
    if (!(interval >= kMinimumInterval)) interval = kMinimumInterval; // also catches NaN
    updateInterval_ = interval;
    if (timer_) {
        stopTimer();
        startTimer();
    }
}

void UIAccelerometer::setDelegate(UIAccelerometerDelegate* delegate) {
    delegate_ = delegate;
    if (delegate_ && !timer_) startTimer();
    if (!delegate_) stopTimer();
}

void UIAccelerometer::startTimer() {
    timer_ = NSTimer::timerWithTimeInterval(updateInterval_, this, ccSelector<void(NSTimer*)>(&UIAccelerometer::timerFired, "accelerometer"),
                                            nullptr, true);
    NSRunLoop::mainRunLoop()->addSource(timer_);
}

void UIAccelerometer::stopTimer() {
    if (!timer_) return;
    timer_->invalidate();
    timer_ = nullptr;
}

void UIAccelerometer::timerFired(NSTimer*) {
    if (!timerHeld_) deliverReading(CCClock::now());
}

void UIAccelerometer::setSource(Source source) {
    auto shared = source ? std::make_shared<const Source>(std::move(source)) : nullptr;
    std::lock_guard<std::mutex> guard(sourceLock_);
    source_ = std::move(shared);
}

UIAccelerometerReading UIAccelerometer::currentReading() const {
    std::shared_ptr<const Source> source;
    {
        std::lock_guard<std::mutex> guard(sourceLock_);
        source = source_;
    }
    if (!source) return {};
    UIAccelerometerReading r = (*source)();
    // A sensor that reports nonsense is read as lying flat rather than passed on.
    if (!std::isfinite(r.x) || !std::isfinite(r.y) || !std::isfinite(r.z)) return {};
    return r;
}

void UIAccelerometer::deliverReading(double timestamp) {
    if (!delegate_) return;
    UIAccelerometerReading r = currentReading();
    if (readingObserver_) readingObserver_(r);
    // A delegate that keeps a reading keeps it as it was: only one held by nobody else is reused.
    if (reading_ && reading_->retainCount() == 1) {
        reading_->x_ = r.x;
        reading_->y_ = r.y;
        reading_->z_ = r.z;
        reading_->timestamp_ = timestamp;
    } else {
        reading_ = UIAcceleration::accelerationWithValues(r.x, r.y, r.z, timestamp);
    }
    CCPtr<UIAcceleration> reading = reading_; // the delegate may set another delegate meanwhile
    delegate_->accelerometer(this, reading.get());
}
