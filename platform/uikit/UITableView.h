#pragma once
// A list view in its plain or grouped style; this stand-in keeps the style and the scroll
// view's insets (no rows are drawn).
#include "UIScrollView.h"

enum UITableViewStyle { UITableViewStylePlain = 0, UITableViewStyleGrouped = 1 };

class UITableView : public UIScrollView {
public:
    static UITableView* tableViewWithFrame(CGRect frame, int style);
    bool initWithFrame(CGRect frame, int style);
    bool initWithFrame(CGRect frame) override { return initWithFrame(frame, UITableViewStylePlain); }
    int style() const { return style_; }

private:
    int style_ = UITableViewStylePlain;
};
