#pragma once
// The application's addresses and identifiers: Resources/Configuration.plist, each value
// overridable by an environment variable (ZORVIK_ + the key in capitals, as listed below).
// Addresses may name the house server, the HTTP server the game runs itself, as "{house}"
// ("http://{house}/MZPromo.plist"); that resolves to its 127.0.0.1 address once it runs.
// Offline (--offline or ZORVIK_OFFLINE=1) every address is empty: no network service starts.
//
//   key                 variable                     what
//   StoreURL            ZORVIK_STORE_URL             store page of the full edition
//   PromotionsURL       ZORVIK_PROMOTIONS_URL        cross-promotion property list
//   RewardURL           ZORVIK_REWARD_URL            reward service (the install report)
//   RewardAppID         ZORVIK_REWARD_APP_ID         application id at the reward service
//   AppSecret           ZORVIK_APP_SECRET            application secret of the report's key
//   MobFoxAdURL         ZORVIK_MOBFOX_AD_URL         MobFox ad server
//   AdMobAdURL          ZORVIK_ADMOB_AD_URL          AdMob ad server
//   PlatformAdURL       ZORVIK_PLATFORM_AD_URL       the platform banner's ad server
//   MobFoxPublisherID   ZORVIK_MOBFOX_PUBLISHER_ID   32 hexadecimal digits
//   AdMobPublisherID    ZORVIK_ADMOB_PUBLISHER_ID    15 hexadecimal digits
#include <string>

class AppConfiguration {
public:
    // The value for a key, environment first; placeholders resolved. Empty when unset, when
    // it names the house server and that is not running, or (for addresses) when offline.
    static std::string stringForKey(const std::string& key);
    // The environment variable that overrides a key.
    static std::string environmentName(const std::string& key);

    // Offline: set by --offline, or by ZORVIK_OFFLINE=1 (also "true", "yes").
    static bool isOffline();
    static void setOffline(bool offline);

    // "127.0.0.1:PORT" of the running house server, or empty (stopped).
    static std::string houseAddress();
    static void setHouseAddress(const std::string& address);

    // Reads the file again (tests that change Configuration.plist or the resource folder).
    static void reload();
};
