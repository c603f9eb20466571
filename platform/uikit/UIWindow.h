#pragma once
// The application's window: the root view the overlay draws and fingers are routed through.
#include "UIView.h"

class UIWindow : public UIView {
public:
    static UIWindow* windowWithFrame(CGRect frame);
    ~UIWindow() override;

    // Makes this the application's key window and shows it.
    void makeKeyAndVisible();
    bool isKeyWindow() const;
};
