#pragma once
// Keeps a table view clear of the banner strip: while a banner is shown the table's content
// and scroll indicators end 50 points above the bottom. Subscribing makes the controller
// follow the strip's "BannerDidSlideIn" and "BannerWillSlideOut" notifications.
class UITableViewController;

void subscribeToBannerNotifications(UITableViewController* controller);
void unsubscribeFromBannerNotifications(UITableViewController* controller);
void adjustTableViewInsetsForBanner(UITableViewController* controller);
