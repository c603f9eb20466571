#include "UIDevice.h"

UIDevice* UIDevice::currentDevice() {
    static UIDevice* device = new UIDevice; // lives for the whole process
    return device;
}
