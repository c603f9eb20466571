#include "GameKeys.h"

#include "GameAutopilot.h"
#include "UIApplication.h"

bool zorvikHandleKey(CCWindowKey key, double now) {
    switch (key) {
    case CCWindowKey::Space:
        GameAutopilot::tap(now);
        return true;
    case CCWindowKey::Escape:
        UIApplication::sharedApplication()->sendWillTerminate();
        return true;
    case CCWindowKey::Other:
        break;
    }
    return false;
}
