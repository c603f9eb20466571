#include "CCEnginePlatform.h"

#include <cctype>

#include "CCAssert.h"
#include "CCDirectorKinds.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "UIAccelerometer.h"
#include "UIDevice.h"
#include "UITouch.h"

namespace {
// "3.1.2" against "3.1": numeric, part by part; missing parts count as 0.
int compareVersions(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        long x = 0, y = 0;
        while (i < a.size() && a[i] != '.') x = x * 10 + (isdigit(static_cast<unsigned char>(a[i])) ? a[i] - '0' : 0), ++i;
        while (j < b.size() && b[j] != '.') y = y * 10 + (isdigit(static_cast<unsigned char>(b[j])) ? b[j] - '0' : 0), ++j;
        if (x != y) return x < y ? -1 : 1;
        ++i, ++j;
    }
    return 0;
}
} // namespace

bool CCEnginePlatform::makeDirector(int type) {
    switch (type) {
    case kCCDirectorTypeNSTimer:
        CCDirectorTimer::sharedDirector();
        return true;
    case kCCDirectorTypeMainLoop:
        CCDirectorFast::sharedDirector();
        return true;
    case kCCDirectorTypeThreadMainLoop:
        CCDirectorFastThreaded::sharedDirector();
        return true;
    case kCCDirectorTypeDisplayLink:
        if (compareVersions(systemVersion(), "3.1") < 0) return false;
        CCDirectorDisplayLink::sharedDirector();
        return true;
    default:
        CCAssert(false, "Unknown director type");
    }
    return false;
}

std::string CCEnginePlatform::systemVersion() { return UIDevice::currentDevice()->systemVersion(); }

void CCEnginePlatform::addStandardTouchDelegate(CCStandardTouchDelegate* delegate, int priority) {
    CCTouchDispatcher::sharedDispatcher()->addStandardDelegate(delegate, priority);
}

void CCEnginePlatform::removeTouchDelegate(CCObject* delegate) {
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(delegate);
}

void CCEnginePlatform::setTouchDispatchEnabled(bool enabled) {
    CCTouchDispatcher::sharedDispatcher()->setDispatchEvents(enabled);
}

CGPoint CCEnginePlatform::touchLocationInView(UITouch* touch) { return touch->locationInView(touch->view()); }

void CCEnginePlatform::startAccelerometer(UIAccelerometerDelegate* delegate) {
    UIAccelerometer::sharedAccelerometer()->setDelegate(delegate);
}

void CCEnginePlatform::stopAccelerometer(UIAccelerometerDelegate* delegate) {
    UIAccelerometer* accelerometer = UIAccelerometer::sharedAccelerometer();
    if (accelerometer->delegate() == delegate) accelerometer->setDelegate(nullptr);
}

EAGLContext* CCEnginePlatform::contextOfView(EAGLView* view) { return view ? view->context() : nullptr; }
