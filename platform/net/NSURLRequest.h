#pragma once
// What to fetch: the address, with the limits every request carries (connect and total
// time-outs, the largest body accepted).
#include <cstddef>
#include <string>

#include "CCHTTPTransfer.h"
#include "CCObject.h"
#include "CCPtr.h"
#include "NSURL.h"

class NSURLRequest : public CCObject {
public:
    static constexpr double kDefaultTimeout = 30.0;
    static constexpr double kDefaultConnectTimeout = 10.0;
    static constexpr std::size_t kDefaultMaxBodyBytes = 8u << 20;

    // Autoreleased; nullptr without an address.
    static NSURLRequest* requestWithURL(NSURL* url);
    static NSURLRequest* requestWithURL(NSURL* url, double timeoutInterval);
    bool initWithURL(NSURL* url, double timeoutInterval = kDefaultTimeout);

    NSURL* URL() const { return url_; }
    double timeoutInterval() const { return timeout_; }
    void setTimeoutInterval(double seconds) { timeout_ = seconds; }
    double connectTimeout() const { return connectTimeout_; }
    void setConnectTimeout(double seconds) { connectTimeout_ = seconds; }
    std::size_t maxBodyBytes() const { return maxBodyBytes_; }
    void setMaxBodyBytes(std::size_t bytes) { maxBodyBytes_ = bytes; }

    // The plain description a transfer runs from (safe to hand to another thread).
    CCHTTPTransfer::Request transferRequest() const;

    std::string description() const override;

private:
    CCPtr<NSURL> url_;
    double timeout_ = kDefaultTimeout;
    double connectTimeout_ = kDefaultConnectTimeout;
    std::size_t maxBodyBytes_ = kDefaultMaxBodyBytes;
};
