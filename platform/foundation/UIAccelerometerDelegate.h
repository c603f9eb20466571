#pragma once
// Receives the shared accelerometer's readings. A bare interface with no platform types in it,
// kept low so that the engine's layers can be delegates without seeing UIKit.
class UIAcceleration;
class UIAccelerometer;

class UIAccelerometerDelegate {
public:
    virtual ~UIAccelerometerDelegate() = default;
    // accelerometer:didAccelerate:
    virtual void accelerometer(UIAccelerometer* accelerometer, UIAcceleration* acceleration) = 0;
};
