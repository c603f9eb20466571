#include "UIScreen.h"

#include "CCPtr.h"

UIScreen* UIScreen::mainScreen() {
    static CCPtr<UIScreen> shared = CCPtr<UIScreen>::adopt(new UIScreen);
    return shared.get();
}
