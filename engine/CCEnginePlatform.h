#pragma once
// What the engine's core asks of the platform half it runs with. The core is built without the
// UIKit stand-ins and without engine/Platforms/iOS; the platform half defines these functions
// (engine/Platforms/iOS/CCEnginePlatform.cpp) and both halves go into the one engine library.
#include <string>

#include "CGGeometry.h"

class CCObject;
class CCStandardTouchDelegate;
class EAGLView;
class EAGLContext;
class UIAccelerometerDelegate;
class UITouch;

class CCEnginePlatform {
public:
    // Makes the shared director of a kind (kCCDirectorType…) unless one exists. False when this
    // system cannot run the kind; an unknown kind fails an assertion.
    static bool makeDirector(int type);
    // The system's version, as "3.1.3".
    static std::string systemVersion();

    // The shared touch dispatcher: a layer's default registration, leaving it, and whether
    // touches are dispatched at all (off while a transition runs).
    static void addStandardTouchDelegate(CCStandardTouchDelegate* delegate, int priority);
    static void removeTouchDelegate(CCObject* delegate);
    static void setTouchDispatchEnabled(bool enabled);
    // Where a touch is now in its view's coordinates (origin top-left, portrait).
    static CGPoint touchLocationInView(UITouch* touch);

    // The shared accelerometer's readings go to this delegate (not retained) from now on.
    static void startAccelerometer(UIAccelerometerDelegate* delegate);
    // Stops the readings if they still go to this delegate; another one is left alone.
    static void stopAccelerometer(UIAccelerometerDelegate* delegate);

    // The GL context of a view, which background loaders share objects with.
    static EAGLContext* contextOfView(EAGLView* view);
};
