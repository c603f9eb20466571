#pragma once
// A failure with a domain, a code and a readable description.
#include <string>

#include "CCObject.h"

class NSError : public CCObject {
public:
    // Autoreleased.
    static NSError* errorWithDomain(const std::string& domain, long code, const std::string& localizedDescription);
    const std::string& domain() const { return domain_; }
    long code() const { return code_; }
    const std::string& localizedDescription() const { return localizedDescription_; }
    // "Error Domain=<domain> Code=<code> "<description>""
    std::string description() const override;

private:
    std::string domain_;
    long code_ = 0;
    std::string localizedDescription_;
};
