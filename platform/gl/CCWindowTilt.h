#pragma once
// The window's tilt: a game controller's motion sensor when one is there, else the machine's
// own, else the keyboard's (held within its ±0.5 g). Sensors push against gravity in m/s²;
// readings are gravity in g on the device's portrait axes. The SDL side reads the devices and
// hands their samples in, so the conversion runs without them.
#include <optional>

#include "CCKeyboardTilt.h"
#include "CCSurfaceInput.h"

// An accelerometer sample in m/s², on the sensor's own axes.
struct CCMotionSample {
    float x = 0, y = 0, z = 0;
};

class CCWindowTilt {
public:
    static constexpr double kStandardGravity = 9.80665;

    CCKeyboardTilt& keyboard() { return keyboard_; }

    // The reading at `now` from the samples that could be read (nullopt: no such device, or
    // it gave nothing). A sample with a non-finite value counts as none.
    CCTiltReading reading(double now, std::optional<CCMotionSample> controller,
                          std::optional<CCMotionSample> sensor) const;

    // A controller held like the landscape device: its right is the portrait's top.
    static CCTiltReading fromController(const CCMotionSample& sample);
    // A machine's sensor on the portrait axes already.
    static CCTiltReading fromSensor(const CCMotionSample& sample);

private:
    CCKeyboardTilt keyboard_;
};
