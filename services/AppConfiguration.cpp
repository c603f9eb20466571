#include "AppConfiguration.h"

#include <cctype>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <strings.h>

#include "CCLog.h"
#include "NSBundle.h"
#include "PropertyList.h"

namespace {

struct State {
    std::mutex mutex;
    std::optional<PropertyList> file;
    bool offline = false;
    std::string house;
};

State& state() {
    static State* s = new State; // shared by the main thread and background fetches
    return *s;
}

constexpr const char* kHouse = "{house}";

bool looksLikeAddress(const std::string& key, const std::string& value) {
    return value.find("://") != std::string::npos || (key.size() > 3 && key.compare(key.size() - 3, 3, "URL") == 0);
}

} // namespace

std::string AppConfiguration::environmentName(const std::string& key) {
    static const std::pair<const char*, const char*> known[] = {
        {"StoreURL", "ZORVIK_STORE_URL"},
        {"PromotionsURL", "ZORVIK_PROMOTIONS_URL"},
        {"RewardURL", "ZORVIK_REWARD_URL"},
        {"RewardAppID", "ZORVIK_REWARD_APP_ID"},
        {"AppSecret", "ZORVIK_APP_SECRET"},
        {"MobFoxAdURL", "ZORVIK_MOBFOX_AD_URL"},
        {"AdMobAdURL", "ZORVIK_ADMOB_AD_URL"},
        {"PlatformAdURL", "ZORVIK_PLATFORM_AD_URL"},
        {"MobFoxPublisherID", "ZORVIK_MOBFOX_PUBLISHER_ID"},
        {"AdMobPublisherID", "ZORVIK_ADMOB_PUBLISHER_ID"},
    };
    for (auto& [k, env] : known)
        if (key == k) return env;
    // Others: capitals with underscores between words ("HouseBanner" -> ZORVIK_HOUSE_BANNER).
    std::string name = "ZORVIK_";
    for (std::size_t i = 0; i < key.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(key[i]);
        if (i > 0 && std::isupper(c) && std::islower(static_cast<unsigned char>(key[i - 1]))) name += '_';
        name += static_cast<char>(std::toupper(c));
    }
    return name;
}

bool AppConfiguration::isOffline() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.offline) return true;
    const char* env = std::getenv("ZORVIK_OFFLINE");
    return env && (std::string(env) == "1" || strcasecmp(env, "true") == 0 || strcasecmp(env, "yes") == 0);
}

void AppConfiguration::setOffline(bool offline) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.offline = offline;
}

std::string AppConfiguration::houseAddress() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.house;
}

void AppConfiguration::setHouseAddress(const std::string& address) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.house = address;
}

void AppConfiguration::reload() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.file.reset();
}

std::string AppConfiguration::stringForKey(const std::string& key) {
    std::string value;
    if (const char* env = std::getenv(environmentName(key).c_str()); env && *env) {
        value = env;
    } else {
        State& s = state();
        std::lock_guard lock(s.mutex);
        if (!s.file) {
            std::string path = NSBundle::mainBundle()->pathForResource("Configuration", "plist", "");
            s.file = path.empty() ? PropertyList() : PropertyList::dictionaryWithContentsOfFile(path);
            if (!s.file->isDictionary()) CCLog("No configuration: Configuration.plist is missing or unreadable");
        }
        value = s.file->stringForKey(key);
    }
    if (value.empty()) return value;
    if (looksLikeAddress(key, value) && isOffline()) return {};
    if (auto at = value.find(kHouse); at != std::string::npos) {
        std::string house = houseAddress();
        if (house.empty()) return {}; // the house server is not running
        value.replace(at, std::string(kHouse).size(), house);
    }
    return value;
}
