#include "UIViewController.h"

#include "UIView.h"

UIViewController::UIViewController() = default;
UIViewController::~UIViewController() = default;
