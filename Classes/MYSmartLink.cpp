#include "MYSmartLink.h"

#include "CCLog.h"
#include "CCTrace.h"
#include "NSError.h"
#include "NSURLRequest.h"
#include "UIApplication.h"

namespace {
MYSmartLink* gShared = nullptr;
}

MYSmartLink* MYSmartLink::shared() {
    if (!gShared) gShared = new MYSmartLink;
    return gShared;
}

void MYSmartLink::purgeShared() {
    if (MYSmartLink* old = gShared) {
        gShared = nullptr;
        old->release();
    }
}

MYSmartLink::~MYSmartLink() {
    if (connection_) connection_->cancel();
    if (gShared == this) gShared = nullptr;
}

void MYSmartLink::setDestination(const std::string& destination) {
    shouldFollowRedirects_ = true;
    destinationURL_ = destination;
    setUrl(nullptr);
    launchURLWhenReceived_ = true;
    followRedirects();
}

void MYSmartLink::activate() {
    if (!actualURL_ && shouldFollowRedirects_) {
        launchURLWhenReceived_ = true;
        followRedirects();
    } else {
        setUrl(NSURL::URLWithString(destinationURL_));
        openURL();
    }
}

void MYSmartLink::openURL() {
    if (actualURL_) UIApplication::sharedApplication()->openURL(actualURL_->absoluteString());
}

void MYSmartLink::followRedirects() {
    // A newer destination replaces a resolution still under way: its late answer must not win.
    if (connection_) connection_->cancel();
    connection_ = nullptr;
    m_redirectURL_ = nullptr;
    NSURLRequest* request = NSURLRequest::requestWithURL(NSURL::URLWithString(destinationURL_));
    if (!request) {
        CCLog("Smart link: \"%s\" is not an address", destinationURL_.c_str());
        connectionDidFailWithError(nullptr, nullptr);
        return;
    }
    connection_ = NSURLConnection::connectionWithRequest(request, this);
}

NSURLRequest* MYSmartLink::connectionWillSendRequestRedirectResponse(NSURLConnection*, NSURLRequest* request,
                                                                     NSHTTPURLResponse*) {
    m_redirectURL_ = request->URL();
    return request;
}

void MYSmartLink::connectionDidFinishLoading(NSURLConnection*) {
    setUrl(m_redirectURL_);
    m_redirectURL_ = nullptr;
    connection_ = nullptr;
    CCTrace::event("link-resolved", [&] {
        return CCTraceFields{{"url", actualURL_ ? actualURL_->absoluteString() : std::string()}, {"resolved", true}};
    });
    if (launchURLWhenReceived_) openURL();
}

void MYSmartLink::connectionDidFailWithError(NSURLConnection*, NSError* error) {
    if (error) CCLog("Smart link: %s; using the destination", error->localizedDescription().c_str());
    setUrl(NSURL::URLWithString(destinationURL_));
    connection_ = nullptr;
    CCTrace::event("link-resolved", [&] {
        return CCTraceFields{{"url", actualURL_ ? actualURL_->absoluteString() : std::string()}, {"resolved", false}};
    });
    if (launchURLWhenReceived_) openURL();
}
