#pragma once
// A view controller whose view is a table view, made by the initialiser over the screen.
#include "UIViewController.h"

class UITableView;

class UITableViewController : public UIViewController {
public:
    bool init() override { return initWithStyle(0); }
    bool initWithStyle(int style);
    // The controller's view as a table view; nullptr when the view was replaced by another kind.
    UITableView* tableView() const;
    void setTableView(UITableView* tableView);
};
