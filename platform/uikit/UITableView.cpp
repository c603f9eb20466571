#include "UITableView.h"

UITableView* UITableView::tableViewWithFrame(CGRect frame, int style) {
    return ccCreate<UITableView>([&](UITableView* t) { return t->initWithFrame(frame, style); });
}

bool UITableView::initWithFrame(CGRect frame, int style) {
    style_ = style == UITableViewStyleGrouped ? UITableViewStyleGrouped : UITableViewStylePlain;
    return UIScrollView::initWithFrame(frame);
}
