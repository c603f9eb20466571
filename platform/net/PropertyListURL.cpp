#include "PropertyListURL.h"

#include "CCBackgroundWork.h"
#include "CCHTTPTransfer.h"

PropertyList ccDictionaryWithContentsOfURL(const std::string& url, std::string* error) {
    CCHTTPTransfer::Request request;
    request.url = url;
    // Background work stops early when the application exits.
    request.isCancelled = [] { return ccIsBackgroundWorkCancelled(); };
    CCHTTPTransfer::Result result = CCHTTPTransfer::performFollowingRedirects(request);
    auto failed = [&](std::string why) {
        if (error) *error = std::move(why);
        return PropertyList();
    };
    if (!result.ok()) return failed(result.errorDescription);
    if (result.statusCode != 200) return failed("status " + std::to_string(result.statusCode));
    PropertyList list = PropertyList::fromBytes(result.body.data(), result.body.size());
    if (!list.isDictionary()) return failed(list.isNil() ? "not a property list" : "not a dictionary");
    if (error) error->clear();
    return list;
}
