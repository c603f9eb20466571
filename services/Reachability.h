#pragma once
// A probe of whether the internet (or the local Wi-Fi network) can be reached, and by which
// kind of network, over the platform's reachability handle. With its notifier started it posts
// kReachabilityChangedNotification (object: the probe) whenever the status changes.
#include <netinet/in.h>
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "SCNetworkReachability.h"

enum NetworkStatus { NotReachable = 0, ReachableViaWiFi = 1, ReachableViaWWAN = 2 };

inline constexpr const char* kReachabilityChangedNotification = "kNetworkReachabilityChangedNotification";

class Reachability : public CCObject {
public:
    // Autoreleased probes; nullptr when the platform handle cannot be made.
    static Reachability* reachabilityWithHostName(const std::string& hostName);
    static Reachability* reachabilityWithAddress(const sockaddr_in* hostAddress);
    // 0.0.0.0: the internet at large.
    static Reachability* reachabilityForInternetConnection();
    // 169.254.0.0: the local Wi-Fi network.
    static Reachability* reachabilityForLocalWiFi();

    ~Reachability() override;

    // Watches for changes on the current run loop; true when the callback and the scheduling
    // both succeed.
    bool startNotifier();
    void stopNotifier();

    NetworkStatus currentReachabilityStatus();
    NetworkStatus localWiFiStatusForFlags(SCNetworkReachabilityFlags flags);
    NetworkStatus networkStatusForFlags(SCNetworkReachabilityFlags flags);
    // Whether a connection must first be set up (the connection-required flag).
    bool connectionRequired();

    bool isLocalWiFi() const { return localWiFiRef_; }
    SCNetworkReachability* reachabilityRef() const { return reachabilityRef_; }

    // The handle's callback: posts the change notification for the probe in `info`.
    static void reachabilityCallback(SCNetworkReachability* target, SCNetworkReachabilityFlags flags, void* info);

private:
    static Reachability* withHandle(SCNetworkReachability* owned);

    bool localWiFiRef_ = false;
    CCPtr<SCNetworkReachability> reachabilityRef_;
    bool notifying_ = false;
};
