#pragma once
// The cross-promotion downloader: at every launch it fetches the maker's list of promotion
// entries (a property-list dictionary of entry dictionaries with "title", "description",
// "image", "urgent" and "link"), records a flag in the user defaults under each entry's title,
// and offers every urgent entry in an alert whose "Download" opens the links of the entries
// with that title. The fetch runs in the background; the list is handled on the main thread.
#include <mutex>
#include <string>

#include "CCObject.h"
#include "PropertyList.h"
#include "UIAlertViewDelegate.h"

class MZDownloader : public CCObject, public UIAlertViewDelegate {
public:
    // The one instance, made on first use (under a lock: any thread may ask).
    static MZDownloader* shared();
    // Releases the shared instance (tests); the next use makes a fresh one.
    static void purgeShared();
    ~MZDownloader() override;

    // Fetches the list on a background worker and returns at once; the list is handled on the
    // main run loop. Nothing happens when no list address is configured (offline).
    void startUpdates();
    // Fetches and handles the list on the calling thread (the main thread: it raises alerts).
    void startAll();

    // The list's address from the configuration; empty when there is none.
    static std::string promotionsURL();
    // Plain fetch of the list, safe on any thread: nil when it cannot be had (reason in `error`).
    static PropertyList fetch(const std::string& url, std::string* error);
    // Takes a fetched list (nil: the fetch failed, with `reason`): flags, alerts, trace.
    void received(PropertyList list, const std::string& reason = "");

    void alertViewDidDismissWithButtonIndex(UIAlertView* alertView, int buttonIndex) override;

    // The last list handled (kept so that an alert can be matched to its entries).
    const PropertyList& dict() const { return dict_; }

private:
    static std::mutex& lock();

    PropertyList dict_;
};
