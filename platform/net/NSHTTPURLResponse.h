#pragma once
// The head of an HTTP answer: the address it came from, its status code and header fields.
#include <string>
#include <utility>
#include <vector>

#include "CCObject.h"
#include "CCPtr.h"
#include "NSURL.h"

class NSHTTPURLResponse : public CCObject {
public:
    using Headers = std::vector<std::pair<std::string, std::string>>;
    // Autoreleased.
    static NSHTTPURLResponse* responseWithURL(NSURL* url, long statusCode, Headers headers);
    bool initWithURL(NSURL* url, long statusCode, Headers headers);

    NSURL* URL() const { return url_; }
    long statusCode() const { return statusCode_; }
    const Headers& allHeaderFields() const { return headers_; }
    // First field of that name, compared without case; empty when absent.
    std::string valueForHTTPHeaderField(const std::string& name) const;

private:
    CCPtr<NSURL> url_;
    long statusCode_ = 0;
    Headers headers_;
};
