#include "UITableViewController.h"

#include "UIScreen.h"
#include "UITableView.h"

bool UITableViewController::initWithStyle(int style) {
    setTableView(UITableView::tableViewWithFrame(UIScreen::mainScreen()->bounds(), style));
    return view() != nullptr;
}

UITableView* UITableViewController::tableView() const { return dynamic_cast<UITableView*>(view()); }

void UITableViewController::setTableView(UITableView* tableView) { setView(tableView); }
