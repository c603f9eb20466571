#pragma once
// A view controller that shows a tab bar along the bottom of its view; views laid over its
// content keep clear of the bar.
#include "UIViewController.h"

class UITabBarController : public UIViewController {
public:
    // The bar's height in points.
    static constexpr float kTabBarHeight = 49;
};
