#pragma once
// What went wrong: a domain, a code and a sentence for people.
#include <string>

#include "CCObject.h"

// The domain of URL-loading errors (codes as CCHTTPTransfer::ErrorCode).
inline constexpr const char* NSURLErrorDomain = "NSURLErrorDomain";

class NSError : public CCObject {
public:
    // Autoreleased.
    static NSError* errorWithDomain(const std::string& domain, long code, const std::string& localizedDescription);
    bool initWithDomain(const std::string& domain, long code, const std::string& localizedDescription);

    const std::string& domain() const { return domain_; }
    long code() const { return code_; }
    const std::string& localizedDescription() const { return description_; }

    std::string description() const override;

private:
    std::string domain_;
    long code_ = 0;
    std::string description_;
};
