// The maker's promotion list as the downloader takes it: whatever the bytes, a list flags its
// titled entries, shows at most one alert per urgent one, and choosing "Download" on them opens
// only links that entries with the alert's title carry.
#include <cstdlib>
#include <set>
#include <string>

#include <unistd.h>

#include "FuzzTarget.h"
#include "MZDownloader.h"
#include "NSUserDefaults.h"
#include "UIAlertView.h"
#include "UIApplication.h"

namespace {
// The settings the downloader writes go to a folder of the fuzzer's own, never the user's.
bool useOwnSettings() {
    char folder[] = "/tmp/zorvik-fuzz-XXXXXX";
    if (!mkdtemp(folder)) return false;
    setenv("XDG_CONFIG_HOME", folder, 1);
    NSUserDefaults::resetStandardUserDefaults();
    return true;
}
} // namespace

ZORVIK_FUZZ_TARGET(promotions) {
    static const bool ready = useOwnSettings();
    if (!ready) return 0;
    PropertyList list = PropertyList::fromBytes(data, size);
    std::set<std::string> titles, links;
    std::size_t urgent = 0;
    if (list.isDictionary())
        for (const auto& [key, entry] : list.dictionaryValue()) {
            (void)key;
            if (!entry.isDictionary() || entry.stringForKey("title").empty()) continue;
            titles.insert(entry.stringForKey("title"));
            links.insert(entry.stringForKey("link"));
            if (entry.boolForKey("urgent")) ++urgent;
        }

    UIApplication* app = UIApplication::sharedApplication();
    app->setHeadless(true); // addresses are recorded, no program is started
    MZDownloader::shared()->received(std::move(list), "fuzz");
    FUZZ_CHECK(app->alerts().size() <= urgent);
    for (std::size_t i = 0; i <= urgent && !app->alerts().empty(); ++i) {
        UIAlertView* alert = app->alerts().front().get();
        FUZZ_CHECK(titles.count(alert->title()) == 1);
        alert->dismissWithClickedButtonIndex(1, false); // "Download"
    }
    for (const std::string& url : app->openedURLs()) FUZZ_CHECK(links.count(url) == 1);

    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    for (const std::string& title : titles) defaults->removeObjectForKey(title);
    UIApplication::purgeSharedApplication(); // first: an alert left would name the downloader
    MZDownloader::purgeShared();
    return 0;
}
