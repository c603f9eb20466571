#include "UITableViewControllerBannerInsets.h"

#include <map>

#include "CCPtr.h"
#include "DTBannerClipView.h"
#include "DTBannerManager.h"
#include "NSNotificationCenter.h"
#include "UITableView.h"
#include "UITableViewController.h"

namespace {
// Hears the strip's notifications for one controller (not retained: it unsubscribes first).
class BannerInsetsObserver : public CCObject {
public:
    explicit BannerInsetsObserver(UITableViewController* controller) : controller_(controller) {}
    void bannerDidChange(NSNotification*) { adjustTableViewInsetsForBanner(controller_); }

private:
    UITableViewController* controller_;
};

std::map<UITableViewController*, CCPtr<BannerInsetsObserver>>& observers() {
    static std::map<UITableViewController*, CCPtr<BannerInsetsObserver>> table;
    return table;
}
} // namespace

void subscribeToBannerNotifications(UITableViewController* controller) {
    if (!controller || observers().count(controller)) return;
    auto observer = CCPtr<BannerInsetsObserver>::adopt(new BannerInsetsObserver(controller));
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    for (const char* name : {kBannerDidSlideIn, kBannerWillSlideOut})
        center->addObserver(observer, notification_selector(BannerInsetsObserver::bannerDidChange), name, nullptr);
    observers()[controller] = observer;
}

void unsubscribeFromBannerNotifications(UITableViewController* controller) {
    auto it = observers().find(controller);
    if (it == observers().end()) return;
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->removeObserver(it->second, kBannerDidSlideIn, nullptr);
    center->removeObserver(it->second, kBannerWillSlideOut, nullptr);
    observers().erase(it);
}

void adjustTableViewInsetsForBanner(UITableViewController* controller) {
    UITableView* table = controller ? controller->tableView() : nullptr;
    if (!table) return;
    const UIEdgeInsets insets = DTBannerManager::sharedManager()->isBannerVisible()
                                    ? UIEdgeInsetsMake(0, 0, 50, 0)
                                    : UIEdgeInsetsZero;
    table->setContentInset(insets);
    table->setScrollIndicatorInsets(insets);
}
