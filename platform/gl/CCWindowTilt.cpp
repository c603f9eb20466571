#include "CCWindowTilt.h"

#include <cmath>

namespace {
bool usable(const std::optional<CCMotionSample>& s) {
    return s && std::isfinite(s->x) && std::isfinite(s->y) && std::isfinite(s->z);
}
} // namespace

CCTiltReading CCWindowTilt::fromController(const CCMotionSample& s) {
    return {-s.y / kStandardGravity, s.x / kStandardGravity, -s.z / kStandardGravity};
}

CCTiltReading CCWindowTilt::fromSensor(const CCMotionSample& s) {
    return {-s.x / kStandardGravity, -s.y / kStandardGravity, -s.z / kStandardGravity};
}

CCTiltReading CCWindowTilt::reading(double now, std::optional<CCMotionSample> controller,
                                    std::optional<CCMotionSample> sensor) const {
    if (usable(controller)) return fromController(*controller);
    if (usable(sensor)) return fromSensor(*sensor);
    return keyboard_.reading(now);
}
