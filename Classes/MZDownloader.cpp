#include "MZDownloader.h"

#include <utility>

#include "AppConfiguration.h"
#include "CCAssert.h"
#include "CCAutoreleasePool.h"
#include "CCBackgroundWork.h"
#include "CCLog.h"
#include "CCTrace.h"
#include "NSRunLoop.h"
#include "NSUserDefaults.h"
#include "PropertyListURL.h"
#include "UIAlertView.h"
#include "UIApplication.h"

namespace {
MZDownloader* gShared = nullptr;
}

std::mutex& MZDownloader::lock() {
    static std::mutex m;
    return m;
}

MZDownloader* MZDownloader::shared() {
    std::lock_guard guard(lock());
    if (!gShared) gShared = new MZDownloader;
    return gShared;
}

void MZDownloader::purgeShared() {
    MZDownloader* old = nullptr;
    {
        std::lock_guard guard(lock());
        old = gShared;
    }
    if (old) old->release();
}

MZDownloader::~MZDownloader() {
    std::lock_guard guard(lock());
    if (gShared == this) gShared = nullptr;
}

std::string MZDownloader::promotionsURL() { return AppConfiguration::stringForKey("PromotionsURL"); }

PropertyList MZDownloader::fetch(const std::string& url, std::string* error) {
    CCAutoreleaseScope pool; // the worker's own pool
    return ccDictionaryWithContentsOfURL(url, error);
}

void MZDownloader::startUpdates() {
    std::string url = promotionsURL();
    if (url.empty()) {
        CCLog("Promotions: no list to fetch (%s)", AppConfiguration::isOffline() ? "offline" : "no address configured");
        return;
    }
    // The worker hands back plain values; the alerts are made on the main thread.
    struct Fetched {
        PropertyList list;
        std::string error;
    };
    ccPerformInBackground<Fetched>(
        [url] {
            Fetched f;
            f.list = fetch(url, &f.error);
            return f;
        },
        [](Fetched f) { MZDownloader::shared()->received(std::move(f.list), f.error); });
}

void MZDownloader::startAll() {
    std::string url = promotionsURL();
    if (url.empty()) return;
    std::string error;
    PropertyList list = fetch(url, &error);
    received(std::move(list), error);
}

void MZDownloader::received(PropertyList list, const std::string& reason) {
    CCAssert(NSRunLoop::isMainThread(), "MZDownloader: promotions are handled on the main thread");
    if (!list.isDictionary()) {
        CCLog("Promotions: no list (%s)", reason.empty() ? "not a dictionary" : reason.c_str());
        CCTrace::event("promotions", {{"entries", 0LL}, {"urgent", 0LL}, {"reason", reason}});
        return;
    }
    dict_ = std::move(list);
    long long entries = 0, urgent = 0;
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    for (auto& [key, entry] : dict_.dictionaryValue()) {
        std::string description = entry.stringForKey("description");
        std::string title = entry.stringForKey("title");
        (void)entry.objectForKey("image"); // read and not used
        bool isUrgent = entry.boolForKey("urgent");
        // An entry that is not a dictionary or has no title has nothing to flag or show.
        if (!entry.isDictionary() || title.empty()) {
            CCLog("Promotions: entry \"%s\" has no title; skipped", key.c_str());
            continue;
        }
        ++entries;
        defaults->setBool(true, title);
        if (!isUrgent) continue;
        ++urgent;
        UIAlertView* alert = ccCreate<UIAlertView>([&](UIAlertView* a) {
            return a->initWithTitle(title, description, this, nullptr, {"Cancel", "Download"});
        });
        if (alert) alert->show();
    }
    CCTrace::event("promotions", {{"entries", entries}, {"urgent", urgent}});
}

void MZDownloader::alertViewDidDismissWithButtonIndex(UIAlertView* alertView, int buttonIndex) {
    if (buttonIndex == 0 || !alertView) return; // "Cancel"
    for (auto& [key, entry] : dict_.dictionaryValue()) {
        (void)key;
        if (entry.stringForKey("title") != alertView->title()) continue;
        std::string link = entry.stringForKey("link");
        if (!link.empty()) UIApplication::sharedApplication()->openURL(link);
    }
}
