#include "CCApplicationInput.h"

#include <memory>

#include "CCWindowSurface.h"
#include "UIAccelerometer.h"
#include "UIApplication.h"
#include "UIOverlay.h"

namespace {
UITouchPhase touchPhase(CCSurfaceTouchPhase phase) {
    switch (phase) {
    case CCSurfaceTouchPhase::Began: return UITouchPhaseBegan;
    case CCSurfaceTouchPhase::Moved: return UITouchPhaseMoved;
    case CCSurfaceTouchPhase::Ended: break;
    }
    return UITouchPhaseEnded;
}
} // namespace

void CCApplicationInput::touch(long finger, CCSurfaceTouchPhase phase, CGPoint viewPoint, double timestamp) {
    UIApplication::sharedApplication()->sendTouch(finger, touchPhase(phase), viewPoint, timestamp);
}

void CCApplicationInput::focusLost(double timestamp) {
    UIApplication* app = UIApplication::sharedApplication();
    app->cancelAllTouches(timestamp);
    app->sendWillResignActive();
}

void CCApplicationInput::focusGained() { UIApplication::sharedApplication()->sendDidBecomeActive(); }

void CCApplicationInput::closeRequested() { UIApplication::sharedApplication()->sendWillTerminate(); }

int CCApplicationInput::orientation() const { return UIApplication::sharedApplication()->statusBarOrientation(); }

const char* ccChooseSurfaceBackend(bool headless, const char* title) {
    static CCApplicationInput input; // the window's receiver for the whole process
    std::unique_ptr<CCWindowSurface> window = headless ? nullptr : CCWindowSurface::open(title);
    const bool windowed = window != nullptr;
    if (windowed) {
        window->setInput(&input);
        // Looked up at each reading, so a replaced back end is never read after it is gone.
        UIAccelerometer::sharedAccelerometer()->setSource([] {
            auto* surface = dynamic_cast<CCWindowSurface*>(ccSurfaceBackend());
            CCTiltReading r = surface ? surface->tilt() : CCTiltReading{};
            return UIAccelerometerReading{r.x, r.y, r.z};
        });
        ccSetSurfaceBackend(std::move(window));
    } else {
        UIAccelerometer::sharedAccelerometer()->setSource(nullptr);
        ccSetSurfaceBackend(ccMakeHeadlessSurfaceBackend());
    }
    ccSurfaceBackend()->setOverlay(std::make_unique<UIOverlay>());
    UIApplication::sharedApplication()->setHeadless(!windowed);
    return windowed ? "window" : "headless";
}
