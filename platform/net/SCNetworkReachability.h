#pragma once
// Whether a destination can be reached over the machine's networks, and news when that
// changes. The flags come from the kernel's routing state: a default route through an
// interface that is up makes the internet reachable (through a cellular modem when that
// interface is a WWAN device); a Wi-Fi interface that is up makes the link-local network
// (169.254.0.0) reachable directly. Changes arrive on an rtnetlink socket that the run loop
// polls as an input source.
//
// ZORVIK_REACHABILITY forces the flags for every handle (tests, demonstrations): "none"
// (nothing reachable), "wifi", "cell", or a number (decimal or 0x...) taken as the raw flags.
#include <cstdint>
#include <netinet/in.h>
#include <string>

#include "CCObject.h"
#include "NSRunLoop.h"

using SCNetworkReachabilityFlags = uint32_t;
enum : SCNetworkReachabilityFlags {
    kSCNetworkReachabilityFlagsTransientConnection = 1u << 0,
    kSCNetworkReachabilityFlagsReachable = 1u << 1,
    kSCNetworkReachabilityFlagsConnectionRequired = 1u << 2,
    kSCNetworkReachabilityFlagsConnectionOnTraffic = 1u << 3,
    kSCNetworkReachabilityFlagsInterventionRequired = 1u << 4,
    kSCNetworkReachabilityFlagsConnectionOnDemand = 1u << 5,
    kSCNetworkReachabilityFlagsIsLocalAddress = 1u << 16,
    kSCNetworkReachabilityFlagsIsDirect = 1u << 17,
    kSCNetworkReachabilityFlagsIsWWAN = 1u << 18,
};

class SCNetworkReachability : public CCObject, private NSRunLoopInputSource {
public:
    using Callback = void (*)(SCNetworkReachability* target, SCNetworkReachabilityFlags flags, void* info);
    enum class Target { Internet, LinkLocal, Loopback };

    // Owned handles (the caller releases them); nullptr for an address that is not IPv4 or an
    // empty host name.
    static SCNetworkReachability* createWithAddress(const sockaddr_in* address);
    static SCNetworkReachability* createWithName(const std::string& hostName);
    ~SCNetworkReachability() override;

    Target target() const { return target_; }
    // The current flags; false when they cannot be read.
    bool getFlags(SCNetworkReachabilityFlags* flags) const;

    // The function called with `info` when the flags change (nullptr removes it).
    bool setCallback(Callback callback, void* info);
    // Starts / stops watching for changes on the run loop; false when the kernel's change
    // notifications cannot be had or the handle is not scheduled there.
    bool scheduleWithRunLoop(NSRunLoop* runLoop);
    bool unscheduleFromRunLoop(NSRunLoop* runLoop);

    // Flags forced by ZORVIK_REACHABILITY for a target; false when it is not set (or not
    // understood, which is logged once).
    static bool forcedFlags(Target target, SCNetworkReachabilityFlags* flags);
    // The flags for a target as read from a /proc and /sys tree (the real ones: "/proc", "/sys").
    static SCNetworkReachabilityFlags flagsFromSystem(Target target, const std::string& procRoot,
                                                      const std::string& sysRoot);

private:
    bool poll() override;
    void closeSocket();

    Target target_ = Target::Internet;
    Callback callback_ = nullptr;
    void* info_ = nullptr;
    NSRunLoop* runLoop_ = nullptr;
    int socket_ = -1;
    SCNetworkReachabilityFlags lastFlags_ = 0;
};
