#include "UIWindow.h"

#include "UIApplication.h"

UIWindow* UIWindow::windowWithFrame(CGRect frame) {
    return ccCreate<UIWindow>([&](UIWindow* w) { return w->initWithFrame(frame); });
}

UIWindow::~UIWindow() { UIApplication::sharedApplication()->windowWillDealloc(this); }

void UIWindow::makeKeyAndVisible() {
    setHidden(false);
    UIApplication::sharedApplication()->setKeyWindow(this);
}

bool UIWindow::isKeyWindow() const { return UIApplication::sharedApplication()->keyWindow() == this; }
