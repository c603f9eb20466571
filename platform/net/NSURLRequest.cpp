#include "NSURLRequest.h"

#include <algorithm>

NSURLRequest* NSURLRequest::requestWithURL(NSURL* url) {
    return ccCreate<NSURLRequest>([&](NSURLRequest* r) { return r->initWithURL(url); });
}

NSURLRequest* NSURLRequest::requestWithURL(NSURL* url, double timeoutInterval) {
    return ccCreate<NSURLRequest>([&](NSURLRequest* r) { return r->initWithURL(url, timeoutInterval); });
}

bool NSURLRequest::initWithURL(NSURL* url, double timeoutInterval) {
    if (!url) return false;
    url_ = url;
    timeout_ = timeoutInterval > 0 ? timeoutInterval : kDefaultTimeout;
    return true;
}

CCHTTPTransfer::Request NSURLRequest::transferRequest() const {
    CCHTTPTransfer::Request r;
    r.url = url_->absoluteString();
    r.timeout = timeout_;
    r.connectTimeout = std::min(connectTimeout_, timeout_);
    r.maxBodyBytes = maxBodyBytes_;
    return r;
}

std::string NSURLRequest::description() const {
    return "<NSURLRequest = " + ccAddressString(this) + " | URL = " + url_->absoluteString() + ">";
}
