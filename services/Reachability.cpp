#include "Reachability.h"

#include <cstring>

#include "CCAssert.h"
#include "CCLog.h"
#include "NSNotificationCenter.h"
#include "NSRunLoop.h"

namespace {

void printReachabilityFlags(SCNetworkReachabilityFlags flags, const char* comment) {
    auto c = [flags](SCNetworkReachabilityFlags bit, char on) { return (flags & bit) ? on : '-'; };
    CCLog("Reachability Flag Status: %c%c %c%c%c%c%c%c%c %s\n", c(kSCNetworkReachabilityFlagsIsWWAN, 'W'),
          c(kSCNetworkReachabilityFlagsReachable, 'R'), c(kSCNetworkReachabilityFlagsTransientConnection, 't'),
          c(kSCNetworkReachabilityFlagsConnectionRequired, 'c'), c(kSCNetworkReachabilityFlagsConnectionOnTraffic, 'C'),
          c(kSCNetworkReachabilityFlagsInterventionRequired, 'i'), c(kSCNetworkReachabilityFlagsConnectionOnDemand, 'D'),
          c(kSCNetworkReachabilityFlagsIsLocalAddress, 'l'), c(kSCNetworkReachabilityFlagsIsDirect, 'd'), comment);
}

sockaddr_in ipv4(uint32_t hostOrderAddress) {
    sockaddr_in address;
    std::memset(&address, 0, sizeof address); // a zeroed 16-byte record
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(hostOrderAddress);
    return address;
}

} // namespace

Reachability* Reachability::withHandle(SCNetworkReachability* owned) {
    if (!owned) return nullptr;
    auto* probe = new Reachability;
    probe->reachabilityRef_ = CCPtr<SCNetworkReachability>::adopt(owned);
    return ccAutorelease(probe);
}

Reachability* Reachability::reachabilityWithHostName(const std::string& hostName) {
    return withHandle(SCNetworkReachability::createWithName(hostName));
}

Reachability* Reachability::reachabilityWithAddress(const sockaddr_in* hostAddress) {
    return withHandle(SCNetworkReachability::createWithAddress(hostAddress));
}

Reachability* Reachability::reachabilityForInternetConnection() {
    sockaddr_in zero = ipv4(0);
    return reachabilityWithAddress(&zero);
}

Reachability* Reachability::reachabilityForLocalWiFi() {
    sockaddr_in linkLocal = ipv4(0xA9FE0000); // 169.254.0.0
    Reachability* probe = reachabilityWithAddress(&linkLocal);
    if (probe) probe->localWiFiRef_ = true;
    return probe;
}

Reachability::~Reachability() {
    stopNotifier();
    reachabilityRef_ = nullptr;
}

void Reachability::reachabilityCallback(SCNetworkReachability*, SCNetworkReachabilityFlags, void* info) {
    CCAssert(info != nullptr, "info was NULL in ReachabilityCallback");
    auto* probe = dynamic_cast<Reachability*>(static_cast<CCObject*>(info));
    CCAssert(probe != nullptr, "info was wrong class in ReachabilityCallback");
    CCPtr<Reachability> keep(probe); // observers may drop their reference
    NSNotificationCenter::defaultCenter()->postNotificationName(kReachabilityChangedNotification, probe);
}

bool Reachability::startNotifier() {
    if (!reachabilityRef_ || notifying_) return notifying_;
    if (!reachabilityRef_->setCallback(&Reachability::reachabilityCallback, static_cast<CCObject*>(this))) return false;
    if (!reachabilityRef_->scheduleWithRunLoop(NSRunLoop::currentRunLoop())) {
        reachabilityRef_->setCallback(nullptr, nullptr);
        return false;
    }
    notifying_ = true;
    return true;
}

void Reachability::stopNotifier() {
    if (!notifying_ || !reachabilityRef_) return;
    reachabilityRef_->unscheduleFromRunLoop(NSRunLoop::currentRunLoop());
    reachabilityRef_->setCallback(nullptr, nullptr);
    notifying_ = false;
}

NetworkStatus Reachability::localWiFiStatusForFlags(SCNetworkReachabilityFlags flags) {
    printReachabilityFlags(flags, "localWiFiStatusForFlags");
    if ((flags & kSCNetworkReachabilityFlagsReachable) && (flags & kSCNetworkReachabilityFlagsIsDirect))
        return ReachableViaWiFi;
    return NotReachable;
}

NetworkStatus Reachability::networkStatusForFlags(SCNetworkReachabilityFlags flags) {
    printReachabilityFlags(flags, "networkStatusForFlags");
    if (!(flags & kSCNetworkReachabilityFlagsReachable)) return NotReachable;
    NetworkStatus status = NotReachable;
    // No connection needed: the route is there.
    if (!(flags & kSCNetworkReachabilityFlagsConnectionRequired)) status = ReachableViaWiFi;
    // A connection made on demand or on traffic, with nobody asked to intervene.
    if ((flags & (kSCNetworkReachabilityFlagsConnectionOnDemand | kSCNetworkReachabilityFlagsConnectionOnTraffic)) &&
        !(flags & kSCNetworkReachabilityFlagsInterventionRequired))
        status = ReachableViaWiFi;
    if (flags & kSCNetworkReachabilityFlagsIsWWAN) status = ReachableViaWWAN;
    return status;
}

NetworkStatus Reachability::currentReachabilityStatus() {
    CCAssert(reachabilityRef_ != nullptr, "currentNetworkStatus called with NULL reachabilityRef");
    SCNetworkReachabilityFlags flags = 0;
    if (!reachabilityRef_->getFlags(&flags)) return NotReachable;
    return localWiFiRef_ ? localWiFiStatusForFlags(flags) : networkStatusForFlags(flags);
}

bool Reachability::connectionRequired() {
    CCAssert(reachabilityRef_ != nullptr, "connectionRequired called with NULL reachabilityRef");
    SCNetworkReachabilityFlags flags = 0;
    if (reachabilityRef_->getFlags(&flags)) return (flags & kSCNetworkReachabilityFlagsConnectionRequired) != 0;
    return false;
}
