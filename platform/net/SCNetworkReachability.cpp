#include "SCNetworkReachability.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "CCLog.h"
#include "CCPtr.h"

namespace {

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

struct Interface {
    bool up = false;
    bool wireless = false;
    bool wwan = false;
};

Interface describe(const std::string& sysRoot, const std::string& name) {
    Interface i;
    std::string base = sysRoot + "/class/net/" + name;
    std::string state = firstLine(base + "/operstate");
    // "unknown" is what many virtual and point-to-point links report while working.
    if (state == "up") i.up = true;
    else if (state == "unknown") i.up = (std::strtoul(firstLine(base + "/flags").c_str(), nullptr, 16) & 0x1) != 0;
    i.wireless = exists(base + "/wireless") || exists(base + "/phy80211");
    std::ifstream uevent(base + "/uevent");
    for (std::string line; std::getline(uevent, line);)
        if (line == "DEVTYPE=wwan") i.wwan = true;
    return i;
}

// Names of the interfaces that carry a default route (IPv4 and IPv6).
std::vector<std::string> defaultRouteInterfaces(const std::string& procRoot) {
    std::vector<std::string> names;
    std::ifstream v4(procRoot + "/net/route");
    std::string line;
    std::getline(v4, line); // header
    while (std::getline(v4, line)) {
        std::istringstream fields(line);
        std::string name, destination, gateway, flags, refs, use, metric, mask;
        if (!(fields >> name >> destination >> gateway >> flags >> refs >> use >> metric >> mask)) continue;
        unsigned long f = std::strtoul(flags.c_str(), nullptr, 16);
        if (destination == "00000000" && mask == "00000000" && (f & 0x1)) names.push_back(name);
    }
    std::ifstream v6(procRoot + "/net/ipv6_route");
    while (std::getline(v6, line)) {
        std::istringstream fields(line);
        std::string destination, prefix, source, sourcePrefix, next, metric, refs, use, flags, name;
        if (!(fields >> destination >> prefix >> source >> sourcePrefix >> next >> metric >> refs >> use >> flags >> name))
            continue;
        unsigned long f = std::strtoul(flags.c_str(), nullptr, 16);
        // Up (0x1), not a reject route (0x200); "lo" holds the unreachable default.
        if (destination == std::string(32, '0') && prefix == "00" && (f & 0x1) && !(f & 0x200) && name != "lo")
            names.push_back(name);
    }
    return names;
}

std::vector<std::string> interfaceNames(const std::string& sysRoot) {
    std::vector<std::string> names;
    std::string listing = sysRoot + "/class/net";
    if (auto* dir = opendir(listing.c_str())) {
        while (auto* entry = readdir(dir))
            if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

// What ZORVIK_REACHABILITY asks for: -1 not set, -2 not understood, else the flags of the
// internet handle.
long long forcedSetting(std::string* word) {
    const char* value = std::getenv("ZORVIK_REACHABILITY");
    if (!value || !*value) return -1;
    std::string v = value;
    if (word) *word = v;
    if (v == "none") return 0;
    if (v == "wifi") return kSCNetworkReachabilityFlagsReachable;
    if (v == "cell") return kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN;
    char* end = nullptr;
    errno = 0;
    unsigned long long raw = std::strtoull(v.c_str(), &end, 0);
    if (errno || end == v.c_str() || *end || raw > 0xffffffffull) return -2;
    return static_cast<long long>(raw);
}

} // namespace

bool SCNetworkReachability::forcedFlags(Target target, SCNetworkReachabilityFlags* flags) {
    std::string word;
    long long setting = forcedSetting(&word);
    if (setting == -1) return false;
    if (setting == -2) {
        static bool told = false;
        if (!told) CCLog("ZORVIK_REACHABILITY=%s is not none, wifi, cell or a number; ignored", word.c_str());
        told = true;
        return false;
    }
    auto raw = static_cast<SCNetworkReachabilityFlags>(setting);
    if (word == "none" || word == "wifi" || word == "cell") {
        if (target == Target::Loopback)
            raw = kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsLocalAddress |
                  kSCNetworkReachabilityFlagsIsDirect;
        else if (target == Target::LinkLocal)
            raw = word == "wifi" ? kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsDirect : 0;
    }
    *flags = raw;
    return true;
}

SCNetworkReachabilityFlags SCNetworkReachability::flagsFromSystem(Target target, const std::string& procRoot,
                                                                  const std::string& sysRoot) {
    switch (target) {
    case Target::Loopback:
        return kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsLocalAddress |
               kSCNetworkReachabilityFlagsIsDirect;
    case Target::LinkLocal:
        for (auto& name : interfaceNames(sysRoot)) {
            Interface i = describe(sysRoot, name);
            if (i.up && i.wireless) return kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsDirect;
        }
        return 0;
    case Target::Internet: {
        SCNetworkReachabilityFlags best = 0;
        for (auto& name : defaultRouteInterfaces(procRoot)) {
            Interface i = describe(sysRoot, name);
            if (!i.up) continue;
            // A route that is not over a cellular modem wins: it is what traffic would take.
            if (!i.wwan) return kSCNetworkReachabilityFlagsReachable;
            best = kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN;
        }
        return best;
    }
    }
    return 0;
}

SCNetworkReachability* SCNetworkReachability::createWithAddress(const sockaddr_in* address) {
    if (!address || address->sin_family != AF_INET) return nullptr;
    auto* handle = new SCNetworkReachability;
    uint32_t ip = ntohl(address->sin_addr.s_addr);
    if ((ip >> 24) == 127) handle->target_ = Target::Loopback;
    else if ((ip >> 16) == 0xA9FE) handle->target_ = Target::LinkLocal; // 169.254.0.0/16
    else handle->target_ = Target::Internet;
    return handle;
}

SCNetworkReachability* SCNetworkReachability::createWithName(const std::string& hostName) {
    if (hostName.empty()) return nullptr;
    // Names are not resolved here (that would block): they count as internet destinations,
    // except the loopback names.
    auto* handle = new SCNetworkReachability;
    if (hostName == "localhost" || hostName.rfind("127.", 0) == 0) handle->target_ = Target::Loopback;
    return handle;
}

SCNetworkReachability::~SCNetworkReachability() {
    if (runLoop_) runLoop_->removeInputSource(this);
    closeSocket();
}

bool SCNetworkReachability::getFlags(SCNetworkReachabilityFlags* flags) const {
    if (!flags) return false;
    if (forcedFlags(target_, flags)) return true;
    *flags = flagsFromSystem(target_, "/proc", "/sys");
    return true;
}

bool SCNetworkReachability::setCallback(Callback callback, void* info) {
    callback_ = callback;
    info_ = callback ? info : nullptr;
    return true;
}

bool SCNetworkReachability::scheduleWithRunLoop(NSRunLoop* runLoop) {
    if (!runLoop || runLoop_) return false;
    SCNetworkReachabilityFlags ignored;
    if (!forcedFlags(target_, &ignored)) {
        socket_ = ::socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE);
        sockaddr_nl local{};
        local.nl_family = AF_NETLINK;
        local.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_IFADDR | RTMGRP_IPV6_ROUTE;
        if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            CCLog("Reachability: no route change notifications (%s)", std::strerror(errno));
            closeSocket();
            return false;
        }
    }
    getFlags(&lastFlags_);
    runLoop_ = runLoop;
    runLoop_->addInputSource(this);
    return true;
}

bool SCNetworkReachability::unscheduleFromRunLoop(NSRunLoop* runLoop) {
    if (!runLoop || runLoop != runLoop_) return false;
    runLoop_->removeInputSource(this);
    runLoop_ = nullptr;
    closeSocket();
    return true;
}

void SCNetworkReachability::closeSocket() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
}

bool SCNetworkReachability::poll() {
    if (socket_ < 0) return false;
    bool changed = false;
    char buffer[8192];
    // Drain everything the kernel sent: one look at the flags answers all of it.
    while (::recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT) > 0) changed = true;
    if (!changed) return false;
    SCNetworkReachabilityFlags flags = 0;
    getFlags(&flags);
    if (flags == lastFlags_) return false;
    lastFlags_ = flags;
    // The callback may release the last reference to this handle.
    CCPtr<SCNetworkReachability> keep(this);
    if (callback_) callback_(this, flags, info_);
    return true;
}
