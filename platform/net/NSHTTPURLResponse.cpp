#include "NSHTTPURLResponse.h"

#include <strings.h>

NSHTTPURLResponse* NSHTTPURLResponse::responseWithURL(NSURL* url, long statusCode, Headers headers) {
    return ccCreate<NSHTTPURLResponse>(
        [&](NSHTTPURLResponse* r) { return r->initWithURL(url, statusCode, std::move(headers)); });
}

bool NSHTTPURLResponse::initWithURL(NSURL* url, long statusCode, Headers headers) {
    url_ = url;
    statusCode_ = statusCode;
    headers_ = std::move(headers);
    return true;
}

std::string NSHTTPURLResponse::valueForHTTPHeaderField(const std::string& name) const {
    for (auto& [key, value] : headers_)
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    return {};
}
