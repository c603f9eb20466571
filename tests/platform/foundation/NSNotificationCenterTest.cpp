#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "CCAutoreleasePool.h"
#include "NSNotification.h"
#include "NSNotificationCenter.h"
#include "UIApplication.h"

namespace {

class Listener : public CCObject {
public:
    ~Listener() override { NSNotificationCenter::defaultCenter()->removeObserver(this); }
    void heard(NSNotification* n) {
        names.push_back(n->name());
        objects.push_back(n->object());
        threads.push_back(std::this_thread::get_id());
        if (onHeard) onHeard();
    }
    void other(NSNotification* n) { others.push_back(n->name()); }
    std::vector<std::string> names, others;
    std::vector<CCObject*> objects;
    std::vector<std::thread::id> threads;
    std::function<void()> onHeard;
};

SEL_NOTIFICATION heardSel() { return notification_selector(Listener::heard); }

class NotificationTest : public ::testing::Test {
protected:
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    CCAutoreleaseScope pool;
};

} // namespace

TEST_F(NotificationTest, ObserversHearTheirNameAndSenderOnlyInOrderAdded) {
    CCPtr<Listener> a = CCPtr<Listener>::adopt(new Listener), b = CCPtr<Listener>::adopt(new Listener);
    CCPtr<CCObject> sender = CCPtr<CCObject>::adopt(new CCObject), stranger = CCPtr<CCObject>::adopt(new CCObject);
    std::vector<std::string> order;
    a->onHeard = [&] { order.push_back("a"); };
    b->onHeard = [&] { order.push_back("b"); };
    center->addObserver(a, heardSel(), "BannerDidSlideIn");
    center->addObserver(b, heardSel(), "BannerDidSlideIn", sender);
    center->addObserver(a, notification_selector(Listener::other), ""); // every name

    center->postNotificationName("BannerDidSlideIn");
    center->postNotificationName("BannerDidSlideIn", stranger);
    center->postNotificationName("BannerDidSlideIn", sender);
    center->postNotificationName("BannerWillSlideOut", sender);

    EXPECT_EQ(a->names.size(), 3u);
    EXPECT_EQ(a->objects, (std::vector<CCObject*>{nullptr, stranger.get(), sender.get()}));
    ASSERT_EQ(b->names.size(), 1u); // only its sender
    EXPECT_EQ(b->objects[0], sender.get());
    EXPECT_EQ(order, (std::vector<std::string>{"a", "a", "a", "b"}));
    EXPECT_EQ(a->others, (std::vector<std::string>{"BannerDidSlideIn", "BannerDidSlideIn", "BannerDidSlideIn",
                                                   "BannerWillSlideOut"}));
    center->removeObserver(a);
    center->removeObserver(b);
    EXPECT_EQ(center->observerCount(), 0u);
}

TEST_F(NotificationTest, RemovalByNameAndDuringDelivery) {
    CCPtr<Listener> a = CCPtr<Listener>::adopt(new Listener), b = CCPtr<Listener>::adopt(new Listener);
    center->addObserver(a, heardSel(), "In");
    center->addObserver(a, heardSel(), "Out");
    center->removeObserver(a, "In");
    center->postNotificationName("In");
    center->postNotificationName("Out");
    EXPECT_EQ(a->names, (std::vector<std::string>{"Out"}));

    // The first observer removes the second while the notification is on its way: the second
    // must not be called (it may already be gone).
    a->onHeard = [&] { center->removeObserver(b); };
    center->addObserver(b, heardSel(), "Out");
    center->postNotificationName("Out");
    EXPECT_TRUE(b->names.empty());
    center->removeObserver(a);
    EXPECT_EQ(center->observerCount(), 0u);
}

TEST_F(NotificationTest, DeliveredOnThePostingThread) {
    CCPtr<Listener> a = CCPtr<Listener>::adopt(new Listener);
    center->addObserver(a, heardSel(), "FromWorker");
    std::thread::id worker;
    std::thread t([&] {
        worker = std::this_thread::get_id();
        center->postNotificationName("FromWorker");
    });
    t.join();
    ASSERT_EQ(a->threads.size(), 1u);
    EXPECT_EQ(a->threads[0], worker);
    center->removeObserver(a);
}

TEST_F(NotificationTest, BecomingActiveAgainIsPostedWithTheApplication) {
    UIApplication::purgeSharedApplication();
    UIApplication* app = UIApplication::sharedApplication();
    CCPtr<Listener> a = CCPtr<Listener>::adopt(new Listener);
    center->addObserver(a, heardSel(), UIApplicationDidBecomeActiveNotification);
    app->sendDidBecomeActive(); // already active: nothing changes, nothing posted
    EXPECT_TRUE(a->names.empty());
    app->sendWillResignActive();
    app->sendDidBecomeActive();
    ASSERT_EQ(a->names.size(), 1u);
    EXPECT_EQ(a->objects[0], app);
    center->removeObserver(a);
    UIApplication::purgeSharedApplication();
}
