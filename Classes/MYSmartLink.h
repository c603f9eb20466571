#pragma once
// A web link resolved through its redirects: the address the last redirect leads to becomes
// `url`, which is opened once known when asked. When the link cannot be loaded the
// destination itself is used.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"
#include "NSURL.h"
#include "NSURLConnection.h"
#include "NSURLConnectionDelegate.h"

class MYSmartLink : public CCObject, public NSURLConnectionDelegate {
public:
    static MYSmartLink* shared();
    // Releases the shared instance (tests); a resolution under way is cancelled.
    static void purgeShared();
    ~MYSmartLink() override;

    // Starts resolving the link and opens the result when it is known.
    void setDestination(const std::string& destination);
    const std::string& destination() const { return destinationURL_; }
    NSURL* url() const { return actualURL_; }
    void setUrl(NSURL* url) { actualURL_ = url; }
    bool shouldFollowRedirects() const { return shouldFollowRedirects_; }
    void setShouldFollowRedirects(bool follow) { shouldFollowRedirects_ = follow; }

    // Opens the resolved address; resolves first when that is still to do.
    void activate();
    // Opens `url` when there is one.
    void openURL();
    // Loads the destination, following each redirect.
    void followRedirects();
    // The link has no text of its own.
    std::string text() const { return {}; }
    bool isResolving() const { return connection_ && connection_->isLoading(); }

    NSURLRequest* connectionWillSendRequestRedirectResponse(NSURLConnection* connection, NSURLRequest* request,
                                                            NSHTTPURLResponse* redirectResponse) override;
    void connectionDidFinishLoading(NSURLConnection* connection) override;
    void connectionDidFailWithError(NSURLConnection* connection, NSError* error) override;

private:
    bool shouldFollowRedirects_ = false;
    bool launchURLWhenReceived_ = false;
    std::string destinationURL_;
    CCPtr<NSURL> m_redirectURL_;
    CCPtr<NSURL> actualURL_;
    CCPtr<NSURLConnection> connection_;
};
