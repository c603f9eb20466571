#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCAutoreleasePool.h"
#include "CCLog.h"
#include "NSNotification.h"
#include "NSNotificationCenter.h"
#include "Reachability.h"
#include "support/TestFiles.h"
#include "support/XDGHome.h"

namespace {

class ReachabilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = ccSetLogSink([this](const std::string& line) { log.push_back(line); });
    }
    void TearDown() override { ccSetLogSink(previous); }
    CCAutoreleaseScope pool;
    XDGHome env; // restores ZORVIK_REACHABILITY
    std::vector<std::string> log;
    CCLogSink previous;
};

class Watcher : public CCObject {
public:
    void changed(NSNotification* n) { objects.push_back(n->object()); }
    std::vector<CCObject*> objects;
};

} // namespace

TEST_F(ReachabilityTest, NetworkStatusForEveryFlagCombination) {
    Reachability* probe = Reachability::reachabilityForInternetConnection();
    ASSERT_TRUE(probe);
    const SCNetworkReachabilityFlags R = kSCNetworkReachabilityFlagsReachable, c = kSCNetworkReachabilityFlagsConnectionRequired,
                                     C = kSCNetworkReachabilityFlagsConnectionOnTraffic,
                                     D = kSCNetworkReachabilityFlagsConnectionOnDemand,
                                     i = kSCNetworkReachabilityFlagsInterventionRequired,
                                     W = kSCNetworkReachabilityFlagsIsWWAN;
    struct Case {
        SCNetworkReachabilityFlags flags;
        NetworkStatus status;
    } cases[] = {
        {0, NotReachable},      {W, NotReachable},            {c | C, NotReachable},    {R, ReachableViaWiFi},
        {R | c, NotReachable},  {R | c | C, ReachableViaWiFi}, {R | c | D, ReachableViaWiFi},
        {R | c | C | i, NotReachable}, {R | C | i, ReachableViaWiFi}, // no connection needed anyway
        {R | W, ReachableViaWWAN}, {R | c | W, ReachableViaWWAN},
    };
    for (auto& k : cases) EXPECT_EQ(probe->networkStatusForFlags(k.flags), k.status) << std::hex << k.flags;

    Reachability* wifi = Reachability::reachabilityForLocalWiFi();
    ASSERT_TRUE(wifi && wifi->isLocalWiFi());
    EXPECT_EQ(wifi->localWiFiStatusForFlags(R | kSCNetworkReachabilityFlagsIsDirect), ReachableViaWiFi);
    EXPECT_EQ(wifi->localWiFiStatusForFlags(R), NotReachable);
    EXPECT_EQ(wifi->localWiFiStatusForFlags(kSCNetworkReachabilityFlagsIsDirect), NotReachable);
}

TEST_F(ReachabilityTest, FlagsAreLoggedOneCharacterEach) {
    Reachability* probe = Reachability::reachabilityForInternetConnection();
    log.clear();
    probe->networkStatusForFlags(0x7003F);
    probe->localWiFiStatusForFlags(kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsDirect);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "Reachability Flag Status: WR tcCiDld networkStatusForFlags");
    EXPECT_EQ(log[1], "Reachability Flag Status: -R ------d localWiFiStatusForFlags");
}

TEST_F(ReachabilityTest, ForcedStatusFromTheEnvironment) {
    struct Case {
        const char* value;
        NetworkStatus internet, localWiFi;
        bool required;
    } cases[] = {
        {"none", NotReachable, NotReachable, false},
        {"wifi", ReachableViaWiFi, ReachableViaWiFi, false},
        {"cell", ReachableViaWWAN, NotReachable, false},
        {"0x6", NotReachable, NotReachable, true}, // raw: reachable, connection required
        {"262146", ReachableViaWWAN, NotReachable, false},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.value);
        env.set("ZORVIK_REACHABILITY", std::string(k.value));
        EXPECT_EQ(Reachability::reachabilityForInternetConnection()->currentReachabilityStatus(), k.internet);
        EXPECT_EQ(Reachability::reachabilityForLocalWiFi()->currentReachabilityStatus(), k.localWiFi);
        EXPECT_EQ(Reachability::reachabilityForInternetConnection()->connectionRequired(), k.required);
    }
    // A forced status needs no kernel notifications: the notifier starts and stops.
    Reachability* probe = Reachability::reachabilityWithHostName("ads.example");
    ASSERT_TRUE(probe);
    EXPECT_TRUE(probe->startNotifier());
    probe->stopNotifier();
    EXPECT_FALSE(Reachability::reachabilityWithHostName(""));
}

TEST_F(ReachabilityTest, FlagsFromTheKernelsRoutingState) {
    TempDir root;
    auto route = [&](const std::string& v4, const std::string& v6 = "") {
        root.write("proc/net/route", "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\tMTU\tWindow\tIRTT\n" + v4);
        root.write("proc/net/ipv6_route", v6);
    };
    auto link = [&](const std::string& name, const std::string& state, const std::string& devtype = "",
                    bool wireless = false) {
        root.write("sys/class/net/" + name + "/operstate", state + "\n");
        root.write("sys/class/net/" + name + "/flags", state == "down" ? "0x1002\n" : "0x1003\n");
        root.write("sys/class/net/" + name + "/uevent", "INTERFACE=" + name + (devtype.empty() ? "" : "\nDEVTYPE=" + devtype) + "\n");
        if (wireless) root.write("sys/class/net/" + name + "/wireless/.keep", "");
    };
    auto flags = [&](SCNetworkReachability::Target t) {
        return SCNetworkReachability::flagsFromSystem(t, root.file("proc"), root.file("sys"));
    };
    using T = SCNetworkReachability::Target;
    const std::string defaultVia = "\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";

    link("eth0", "up");
    link("wwan0", "up", "wwan");
    link("wlan0", "down", "wlan", true);
    route("eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"); // no default route
    EXPECT_EQ(flags(T::Internet), 0u);
    route("wwan0" + defaultVia);
    EXPECT_EQ(flags(T::Internet), kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN);
    route("wwan0" + defaultVia + "eth0" + defaultVia); // the wired route is preferred
    EXPECT_EQ(flags(T::Internet), kSCNetworkReachabilityFlagsReachable);
    link("eth0", "down");
    route("eth0" + defaultVia);
    EXPECT_EQ(flags(T::Internet), 0u);
    // An IPv6 default route counts too; the kernel's unreachable default on "lo" does not.
    route("", "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
              "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n");
    EXPECT_EQ(flags(T::Internet), 0u);
    route("", "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
              "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     wwan0\n");
    EXPECT_EQ(flags(T::Internet), kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN);

    EXPECT_EQ(flags(T::LinkLocal), 0u); // the Wi-Fi link is down
    link("wlan0", "up", "wlan", true);
    EXPECT_EQ(flags(T::LinkLocal), kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsDirect);
}

TEST_F(ReachabilityTest, CallbackPostsTheChangeWithTheProbe) {
    Reachability* probe = Reachability::reachabilityForInternetConnection();
    CCPtr<Watcher> watcher = CCPtr<Watcher>::adopt(new Watcher);
    NSNotificationCenter::defaultCenter()->addObserver(watcher, notification_selector(Watcher::changed),
                                                       kReachabilityChangedNotification);
    Reachability::reachabilityCallback(probe->reachabilityRef(), 0, static_cast<CCObject*>(probe));
    NSNotificationCenter::defaultCenter()->removeObserver(watcher);
    EXPECT_EQ(watcher->objects, (std::vector<CCObject*>{probe}));
}

using ReachabilityDeathTest = ReachabilityTest;

TEST_F(ReachabilityDeathTest, CallbackChecksItsContext) {
    CCPtr<CCObject> other = CCPtr<CCObject>::adopt(new CCObject);
    EXPECT_DEATH(Reachability::reachabilityCallback(nullptr, 0, nullptr), "info was NULL in ReachabilityCallback");
    EXPECT_DEATH(Reachability::reachabilityCallback(nullptr, 0, static_cast<CCObject*>(other.get())),
                 "info was wrong class in ReachabilityCallback");
}
