#pragma once
// The device's shared accelerometer: readings (x, y, z in units of gravity) go to one
// delegate, on the main thread, every update interval. Where the readings come from is
// pluggable: the window backend (a game controller's motion sensor) or a scripted headless
// run sets the source; by default the device lies flat, face up: (0, 0, -1).
#include <functional>
#include <memory>
#include <mutex>

#include "CCObject.h"
#include "CCPtr.h"
#include "UIAccelerometerDelegate.h"

class NSTimer;

using UIAccelerationValue = double;

class UIAcceleration : public CCObject {
public:
    static UIAcceleration* accelerationWithValues(UIAccelerationValue x, UIAccelerationValue y,
                                                  UIAccelerationValue z, double timestamp);
    UIAccelerationValue x() const { return x_; }
    UIAccelerationValue y() const { return y_; }
    UIAccelerationValue z() const { return z_; }
    // Seconds of the frame clock when the reading was taken.
    double timestamp() const { return timestamp_; }
    std::string description() const override;

private:
    friend class UIAccelerometer; // refills a reading nobody else holds
    UIAccelerationValue x_ = 0, y_ = 0, z_ = 0;
    double timestamp_ = 0;
};

// One reading of the source.
struct UIAccelerometerReading {
    UIAccelerationValue x = 0, y = 0, z = -1;
    bool operator==(const UIAccelerometerReading&) const = default;
};

class UIAccelerometer : public CCObject {
public:
    using Source = std::function<UIAccelerometerReading()>;

    static UIAccelerometer* sharedAccelerometer();

    // Seconds between readings; values below 0.01 s (or not numbers) become 0.01 s.
    double updateInterval() const { return updateInterval_; }
    void setUpdateInterval(double interval);
    // Not retained; nullptr stops the readings. While there is a delegate, a timer on the main
    // run loop delivers a reading every update interval (main thread only).
    UIAccelerometerDelegate* delegate() const { return delegate_; }
    void setDelegate(UIAccelerometerDelegate* delegate);

    // Replaces where readings come from (nullptr restores the flat default). Any thread.
    void setSource(Source source);
    // What the source reports now; a reading that is not finite counts as lying flat.
    UIAccelerometerReading currentReading() const;

    // Takes one reading now and hands it to the delegate, if there is one. The accelerometer's
    // timer on the main run loop calls this every update interval with the frame clock's time.
    void deliverReading(double timestamp);

    // Sees every reading handed to the delegate (a recording of the run); nullptr: nobody.
    using ReadingObserver = std::function<void(const UIAccelerometerReading& reading)>;
    void setReadingObserver(ReadingObserver observer) { readingObserver_ = std::move(observer); }

    // While held, the timer delivers nothing and readings reach the delegate only through
    // deliverReading: a recorded run played back brings every reading the run had, at its frame.
    void setTimerHeld(bool held) { timerHeld_ = held; }
    bool isTimerHeld() const { return timerHeld_; }

    // True while the delivery timer runs.
    bool isDelivering() const { return timer_ != nullptr; }

private:
    UIAccelerometer() = default;
    void startTimer();
    void stopTimer();
    void timerFired(NSTimer* timer);

    CCPtr<NSTimer> timer_;

    double updateInterval_ = 0.1;
    UIAccelerometerDelegate* delegate_ = nullptr;
    mutable std::mutex sourceLock_;
    std::shared_ptr<const Source> source_; // shared, so that a reading copies no closure
    // The last reading handed out; filled again when the delegate kept no reference to it.
    CCPtr<UIAcceleration> reading_;
    ReadingObserver readingObserver_;
    bool timerHeld_ = false;
};
